#include "view/field_table.h"

#include <algorithm>
#include <cmath>

#include "view/report.h"

namespace gencampi::view {

namespace {

// The widest field the mesher writes is a quadrilateral.
constexpr std::size_t angoli_massimi = 4;

}  // namespace

std::optional<double> FieldRow::aspect_ratio() const {
  if (!(shortest_side > 0)) return std::nullopt;
  return longest_side / shortest_side;
}

std::vector<FieldRow> field_rows(const Mesh& mesh) {
  std::vector<FieldRow> rows;
  rows.reserve(mesh.fields.size());
  for (std::size_t k = 0; k < mesh.fields.size(); ++k) {
    const Field& f = mesh.fields[k];
    FieldRow& row = rows.emplace_back();
    row.field = static_cast<int>(k) + 1;
    row.area = field_area(mesh, f);
    const std::size_t n = f.corners.size();
    for (std::size_t i = 0; i < n; ++i) {
      const Point p = mesh.corner(f, i), q = mesh.corner(f, (i + 1) % n);
      row.corners.push_back(p);
      row.angles.push_back(corner_angle(mesh.corner(f, (i + n - 1) % n), p, q));
      const double side = std::hypot(q.x - p.x, q.y - p.y);
      row.shortest_side = i == 0 ? side : std::min(row.shortest_side, side);
      row.longest_side = std::max(row.longest_side, side);
    }
  }
  return rows;
}

std::string fields_csv(const std::vector<FieldRow>& rows) {
  std::string s = "field,corners";
  for (std::size_t i = 1; i <= angoli_massimi; ++i)
    s += ",x" + std::to_string(i) + ",y" + std::to_string(i);
  s += ",area";
  for (std::size_t i = 1; i <= angoli_massimi; ++i) s += ",angle" + std::to_string(i);
  s += ",shortest_side,longest_side,aspect_ratio\n";
  for (const FieldRow& r : rows) {
    s += std::to_string(r.field) + "," + std::to_string(r.corners.size());
    for (std::size_t i = 0; i < angoli_massimi; ++i)
      s += i < r.corners.size() ? "," + shortest(r.corners[i].x) + "," + shortest(r.corners[i].y)
                                : std::string(",,");
    s += "," + shortest(r.area);
    for (std::size_t i = 0; i < angoli_massimi; ++i)
      s += "," + (i < r.angles.size() ? shortest(r.angles[i]) : std::string());
    const std::optional<double> aspect = r.aspect_ratio();
    s += "," + shortest(r.shortest_side) + "," + shortest(r.longest_side) + "," +
         (aspect ? shortest(*aspect) : std::string()) + "\n";
  }
  return s;
}

std::string fields_json(const std::vector<FieldRow>& rows) {
  if (rows.empty()) return "[]";
  std::string s = "[";
  for (std::size_t k = 0; k < rows.size(); ++k) {
    const FieldRow& r = rows[k];
    s += (k ? ",\n    " : "\n    ");
    s += "{\"field\": " + std::to_string(r.field) + ", \"corners\": [";
    for (std::size_t i = 0; i < r.corners.size(); ++i)
      s += (i ? ", [" : "[") + shortest(r.corners[i].x) + ", " + shortest(r.corners[i].y) + "]";
    s += "], \"area\": " + shortest(r.area) + ", \"angles\": [";
    for (std::size_t i = 0; i < r.angles.size(); ++i) s += (i ? ", " : "") + shortest(r.angles[i]);
    const std::optional<double> aspect = r.aspect_ratio();
    s += "], \"shortest_side\": " + shortest(r.shortest_side) +
         ", \"longest_side\": " + shortest(r.longest_side) +
         ", \"aspect_ratio\": " + (aspect ? shortest(*aspect) : std::string("null")) + "}";
  }
  return s + "\n  ]";
}

}  // namespace gencampi::view
