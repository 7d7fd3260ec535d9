#include "view/report.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <numbers>

namespace gencampi::view {

namespace {

// Range ends of the two histograms, in degrees. The mesher merges only nearly
// rectangular pairs, so the quadrilaterals crowd the first ranges and the finer steps
// sit there; a triangle's smallest angle runs from 0 to 60.
constexpr double gradini_deviazione[] = {0, 1, 5, 10, 20, 30, 45, 90};
constexpr double gradini_angolo[] = {0, 5, 10, 20, 30, 40, 50, 60};

// The table lists the first few hanging nodes; the JSON lists them all.
constexpr std::size_t nodi_elencati = 5;

template <std::size_t n>
std::vector<Bin> bins(const double (&edges)[n]) {
  std::vector<Bin> b;
  for (std::size_t i = 0; i + 1 < n; ++i) b.push_back({edges[i], edges[i + 1], 0});
  return b;
}

void tally(std::vector<Bin>& b, double v) {
  auto it = std::find_if(b.begin(), b.end(), [v](const Bin& x) { return v < x.to; });
  (it == b.end() ? b.back() : *it).count += 1;
}

// Three significant digits, enough to tell a measure from its limit in the verdict.
std::string about(double v) {
  char buf[48];
  std::snprintf(buf, sizeof buf, std::fabs(v) >= 1000 ? "%.0f" : "%.3g", v);
  return buf;
}

double shoelace(const Mesh& mesh, const Field& f) {
  // Twice the signed area, summed corner by corner in boundary order so that the
  // same file always gives the same bits.
  double s = 0;
  const std::size_t n = f.corners.size();
  for (std::size_t i = 0; i < n; ++i) {
    Point p = mesh.corner(f, i);
    Point q = mesh.corner(f, (i + 1) % n);
    s += p.x * q.y - q.x * p.y;
  }
  return s;
}

Point centroid(const Mesh& mesh, const Field& f) {
  Point c;
  for (std::size_t i = 0; i < f.corners.size(); ++i) {
    c.x += mesh.corner(f, i).x;
    c.y += mesh.corner(f, i).y;
  }
  c.x /= static_cast<double>(f.corners.size());
  c.y /= static_cast<double>(f.corners.size());
  return c;
}

// Keeps the first field on ties, so the report does not depend on anything but the
// file order.
void keep(std::optional<FieldMark>& slot, const FieldMark& m, bool larger) {
  if (!slot || (larger ? m.value > slot->value : m.value < slot->value)) slot = m;
}

std::string fixed(double v, int decimals) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
  return buf;
}

std::string percent(double part, double whole) {
  if (!(whole > 0)) return "-";
  return fixed(100.0 * part / whole, 4) + " %";
}

std::string pad(const std::string& s, std::size_t width, bool right = false) {
  if (s.size() >= width) return s;
  std::string fill(width - s.size(), ' ');
  return right ? fill + s : s + fill;
}

std::string json_string(const std::string& s) {
  std::string out = "\"";
  for (unsigned char ch : s) {
    if (ch == '"' || ch == '\\') {
      out += '\\';
      out += static_cast<char>(ch);
    } else if (ch < 0x20) {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\u%04x", ch);
      out += buf;
    } else {
      out += static_cast<char>(ch);
    }
  }
  return out + "\"";
}

std::string json_mark(const std::optional<FieldMark>& m, const char* value_name) {
  if (!m) return "null";
  return "{\"field\": " + std::to_string(m->field) + ", \"" + value_name +
         "\": " + shortest(m->value) + ", \"x\": " + shortest(m->at.x) +
         ", \"y\": " + shortest(m->at.y) + "}";
}

std::string table_mark(const std::optional<FieldMark>& m, int decimals) {
  if (!m) return "-";
  return fixed(m->value, decimals) + "  (field " + std::to_string(m->field) + " near " +
         fixed(m->at.x, 1) + ", " + fixed(m->at.y, 1) + ")";
}

// Two rows under a heading: the ranges, and how many fields fall in each.
std::string table_bins(const std::vector<Bin>& bins) {
  std::string ranges = "    ", counts = "    ";
  for (const Bin& b : bins) {
    ranges += pad(about(b.from) + "-" + about(b.to), 8, true);
    counts += pad(std::to_string(b.count), 8, true);
  }
  return ranges + "\n" + counts + "\n";
}

std::string json_bins(const std::vector<Bin>& bins) {
  std::string s = "[";
  for (std::size_t i = 0; i < bins.size(); ++i)
    s += (i ? ", " : "") + std::string("{\"from\": ") + shortest(bins[i].from) +
         ", \"to\": " + shortest(bins[i].to) + ", \"count\": " + std::to_string(bins[i].count) +
         "}";
  return s + "]";
}

std::string json_hanging(const HangingNode& h) {
  return "{\"node\": " + std::to_string(h.vertex + 1) + ", \"field\": " + std::to_string(h.field) +
         ", \"side\": " + std::to_string(h.side + 1) + ", \"x\": " + shortest(h.at.x) +
         ", \"y\": " + shortest(h.at.y) + "}";
}

}  // namespace

std::string shortest(double v) {
  // Plain decimals over the range lengths and areas of a floor take; exponent form
  // only for the extremes, where plain digits would run long.
  const double m = std::fabs(v);
  const bool plain = (m == 0) || (m >= 1e-6 && m < 1e17);
  char buf[400];
  auto res = plain ? std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed)
                   : std::to_chars(buf, buf + sizeof buf, v);
  return std::string(buf, res.ptr);
}

std::string printable(const std::string& s) {
  static const char hex[] = "0123456789abcdef";
  std::string out;
  out.reserve(s.size());
  auto code = [&out](unsigned char ch) {
    out += "\\x";
    out += hex[ch >> 4];
    out += hex[ch & 15];
  };
  for (std::size_t i = 0; i < s.size(); ++i) {
    const auto ch = static_cast<unsigned char>(s[i]);
    const auto next = i + 1 < s.size() ? static_cast<unsigned char>(s[i + 1]) : 0;
    if (ch < 0x20 || ch == 0x7f) {
      code(ch);
    } else if (ch == 0xc2 && next >= 0x80 && next <= 0x9f) {
      code(ch);
      code(next);
      ++i;
    } else {
      out += static_cast<char>(ch);
    }
  }
  return out;
}

std::string how_many(long n, const std::string& one, const std::string& many) {
  return std::to_string(n) + " " + (n == 1 ? one : many);
}

double field_area(const Mesh& mesh, const Field& f) {
  return std::fabs(shoelace(mesh, f)) / 2;
}

double corner_angle(Point a, Point b, Point c) {
  const double ux = a.x - b.x, uy = a.y - b.y;
  const double vx = c.x - b.x, vy = c.y - b.y;
  const double cross = ux * vy - uy * vx;
  const double dot = ux * vx + uy * vy;
  // atan2 of cross and dot stays accurate near 0 and 180 degrees, where acos of a
  // normalised dot product loses digits.
  return std::atan2(std::fabs(cross), dot) * 180.0 / std::numbers::pi;
}

Report make_report(const std::string& job, const Outline& outline, const Mesh& mesh,
                   const Coverage& coverage, double tolerance_percent, const Limits& limits) {
  Report r;
  r.job = job;
  r.rigid = mesh.rigid;
  r.nodes = static_cast<int>(mesh.nodes.size());
  r.vertices = static_cast<int>(mesh.vertices.size());
  r.slab_area = coverage.slab_area;
  r.field_area = coverage.field_area;
  r.covered_area = coverage.covered_area;
  r.gap_area = coverage.gap_area;
  r.overlap_area = coverage.overlap_area;
  r.outside_area = coverage.outside_area;
  r.degenerate = static_cast<int>(coverage.degenerate.size());
  r.gap_regions = static_cast<int>(coverage.gaps.size());
  r.overlap_regions = static_cast<int>(coverage.overlaps.size());
  r.outside_regions = static_cast<int>(coverage.outside.size());
  r.tolerance_percent = tolerance_percent;
  r.tolerance_area = tolerance_percent / 100.0 * coverage.slab_area;
  r.limits = limits;
  r.deviation_bins = bins(gradini_deviazione);
  r.angle_bins = bins(gradini_angolo);

  // Every measure from the per-field table, so that the report and --fields can never
  // disagree.
  r.fields = field_rows(mesh);
  double deviations = 0;
  long corners = 0;
  for (const FieldRow& row : r.fields) {
    const Point at = centroid(mesh, mesh.fields[static_cast<std::size_t>(row.field - 1)]);
    keep(r.smallest, {row.field, row.area, at}, false);
    keep(r.largest, {row.field, row.area, at}, true);
    keep(r.shortest_side, {row.field, row.shortest_side, at}, false);
    if (row.corners.size() == 4) {
      ++r.quadrilaterals;
      double worst = 0;
      for (const double angle : row.angles) {
        const double dev = std::fabs(angle - 90.0);
        deviations += dev;
        ++corners;
        worst = std::max(worst, dev);
        keep(r.worst_corner, {row.field, dev, at}, true);
      }
      tally(r.deviation_bins, worst);
      continue;
    }
    ++r.triangles;
    const double angle = *std::min_element(row.angles.begin(), row.angles.end());
    keep(r.smallest_angle, {row.field, angle, at}, false);
    tally(r.angle_bins, angle);
    if (const std::optional<double> aspect = row.aspect_ratio())
      keep(r.worst_aspect, {row.field, *aspect, at}, true);
  }
  if (corners > 0) r.mean_deviation = deviations / static_cast<double>(corners);

  // A vertex may lie on the sides of two fields that overlap; it is one hanging node.
  std::vector<bool> seen(mesh.vertices.size());
  for (const HangingNode& h : hanging_nodes(mesh)) {
    const auto v = static_cast<std::size_t>(h.vertex);
    if (!seen[v]) r.hanging.push_back(h);
    seen[v] = true;
  }

  // The rigid-floor build does not keep its triangles inside the slab: they only tie
  // the nodes together, and spanning a hole or a notch is what it means to do; nor
  // does their shape matter to a floor taken as rigid. Only the fields of a slab mesh
  // must stay on the slab and be fit for the solver.
  auto area_over = [&](const char* what, double a) {
    if (!(a > r.tolerance_area)) return;
    r.over.push_back(std::string(what) + " " +
                     (r.slab_area > 0 ? about(100.0 * a / r.slab_area) + "% over " +
                                            shortest(tolerance_percent) + "%"
                                      : about(a) + " over " + shortest(r.tolerance_area)));
  };
  area_over("gaps", r.gap_area);
  area_over("overlaps", r.overlap_area);
  if (!mesh.rigid) area_over("off-slab area", r.outside_area);
  if (!mesh.rigid && r.smallest_angle && r.smallest_angle->value < limits.min_triangle_angle)
    r.over.push_back("triangle angle " + about(r.smallest_angle->value) + " deg (field " +
                     std::to_string(r.smallest_angle->field) + ") under " +
                     shortest(limits.min_triangle_angle) + " deg");
  if (!mesh.rigid && r.worst_aspect && r.worst_aspect->value > limits.max_triangle_aspect)
    r.over.push_back("triangle aspect " + about(r.worst_aspect->value) + " (field " +
                     std::to_string(r.worst_aspect->field) + ") over " +
                     shortest(limits.max_triangle_aspect));
  if (limits.hanging_nodes && static_cast<long>(r.hanging.size()) > *limits.hanging_nodes)
    r.over.push_back("hanging nodes " + std::to_string(r.hanging.size()) + " over " +
                     std::to_string(*limits.hanging_nodes));
  r.within_tolerance = r.over.empty();

  r.outline_error = outline.stopped;
  if (!outline.stopped.empty())
    r.warnings.push_back("the floor file stops early for the mesher (" + outline.stopped +
                         "): later items are left out");
  for (const std::string& w : mesh.warnings) r.warnings.push_back(w);
  if (!coverage.degenerate.empty())
    r.warnings.push_back(std::to_string(coverage.degenerate.size()) +
                         " field(s) without area or with crossing sides left out of the "
                         "coverage, the first is field " +
                         std::to_string(coverage.degenerate.front()));
  return r;
}

std::string format_table(const Report& r) {
  std::string s;
  auto line = [&s](const std::string& label, const std::string& value) {
    s += "  " + pad(label, 28) + value + "\n";
  };
  auto area_line = [&](const std::string& label, double a, const std::string& extra) {
    line(label, pad(fixed(a, 2), 16, true) + "  " + pad(percent(a, r.slab_area), 12, true) + extra);
  };
  auto regions = [](int n) { return "  " + std::to_string(n) + (n == 1 ? " region" : " regions"); };

  s += "job " + printable(r.job) +
       (r.rigid ? "  (rigid floor: triangles of triang.txt)\n" : "  (fields of campi.txt)\n");
  s += "\n";
  line("nodes placed", std::to_string(r.nodes));
  line("fields", std::to_string(r.triangles + r.quadrilaterals) + "  (" +
                     how_many(r.quadrilaterals, "quadrilateral", "quadrilaterals") + ", " +
                     how_many(r.triangles, "triangle", "triangles") + ", " +
                     how_many(r.vertices, "mesh node", "mesh nodes") + ")");
  s += "\n";
  line("area", pad("", 16) + "  " + pad("of slab", 12, true));
  area_line("slab (perimeter - holes)", r.slab_area, "");
  area_line("covered by fields", r.covered_area, "");
  area_line("gaps", r.gap_area, regions(r.gap_regions));
  area_line("overlaps", r.overlap_area, regions(r.overlap_regions));
  area_line("fields off the slab", r.outside_area, regions(r.outside_regions));
  area_line("tolerance", r.tolerance_area, "");
  s += "\n";
  line("corner deviation from 90",
       r.mean_deviation ? "mean " + fixed(*r.mean_deviation, 2) + " deg" : "- (no quadrilaterals)");
  line("worst corner (deg)", table_mark(r.worst_corner, 2));
  if (r.quadrilaterals > 0)
    s += "  quadrilaterals by the deviation of their worst corner (deg)\n" +
         table_bins(r.deviation_bins);
  line("smallest triangle angle", table_mark(r.smallest_angle, 2));
  line("worst triangle aspect", table_mark(r.worst_aspect, 2));
  if (r.triangles > 0)
    s += "  triangles by their smallest angle (deg)\n" + table_bins(r.angle_bins);
  line("smallest field (area)", table_mark(r.smallest, 2));
  line("largest field (area)", table_mark(r.largest, 2));
  line("shortest side", table_mark(r.shortest_side, 3));
  line("hanging nodes", std::to_string(r.hanging.size()));
  for (std::size_t i = 0; i < r.hanging.size() && i < nodi_elencati; ++i) {
    const HangingNode& h = r.hanging[i];
    s += "    mesh node " + std::to_string(h.vertex + 1) + " at " + fixed(h.at.x, 1) + ", " +
         fixed(h.at.y, 1) + " on a side of field " + std::to_string(h.field) + "\n";
  }
  if (r.hanging.size() > nodi_elencati)
    s += "    and " + std::to_string(r.hanging.size() - nodi_elencati) +
         " more (the JSON report lists them all)\n";
  s += "\n";
  for (const std::string& w : r.warnings) s += "warning: " + printable(w) + "\n";
  // A job stopped on its outline is not a finished mesh, whatever its measures say.
  if (!r.outline_error.empty())
    s += "result: STOPPED ON AN OUTLINE ERROR (" + printable(r.outline_error) + ")" +
         (r.over.empty() ? "\n" : "; ");
  if (r.over.empty()) return r.outline_error.empty() ? s + "result: within tolerance\n" : s;
  s += r.outline_error.empty() ? "result: OVER TOLERANCE:" : "OVER TOLERANCE:";
  for (std::size_t i = 0; i < r.over.size(); ++i) s += (i ? "; " : " ") + r.over[i];
  return s + "\n";
}

std::string format_json(const Report& r) {
  std::string s = "{\n";
  s += "  \"job\": " + json_string(r.job) + ",\n";
  s += std::string("  \"build\": ") + (r.rigid ? "\"rigid\"" : "\"fields\"") + ",\n";
  s += "  \"counts\": {\"nodes\": " + std::to_string(r.nodes) +
       ", \"fields\": " + std::to_string(r.triangles + r.quadrilaterals) +
       ", \"quadrilaterals\": " + std::to_string(r.quadrilaterals) +
       ", \"triangles\": " + std::to_string(r.triangles) +
       ", \"mesh_nodes\": " + std::to_string(r.vertices) +
       ", \"degenerate\": " + std::to_string(r.degenerate) + "},\n";
  s += "  \"areas\": {\"slab\": " + shortest(r.slab_area) +
       ", \"fields\": " + shortest(r.field_area) + ", \"covered\": " + shortest(r.covered_area) +
       ", \"gaps\": " + shortest(r.gap_area) + ", \"overlaps\": " + shortest(r.overlap_area) +
       ", \"outside\": " + shortest(r.outside_area) + "},\n";
  s += "  \"regions\": {\"gaps\": " + std::to_string(r.gap_regions) +
       ", \"overlaps\": " + std::to_string(r.overlap_regions) +
       ", \"outside\": " + std::to_string(r.outside_regions) + "},\n";
  s += "  \"tolerance\": {\"percent\": " + shortest(r.tolerance_percent) +
       ", \"area\": " + shortest(r.tolerance_area) +
       ", \"min_triangle_angle\": " + shortest(r.limits.min_triangle_angle) +
       ", \"max_triangle_aspect\": " + shortest(r.limits.max_triangle_aspect) +
       ", \"hanging_nodes\": " +
       (r.limits.hanging_nodes ? std::to_string(*r.limits.hanging_nodes) : std::string("null")) +
       "},\n";
  s += "  \"within_tolerance\": " + std::string(r.within_tolerance ? "true" : "false") + ",\n";
  s += "  \"outline_error\": " + (r.outline_error.empty() ? "null" : json_string(r.outline_error)) +
       ",\n";
  s += "  \"over_tolerance\": [";
  for (std::size_t i = 0; i < r.over.size(); ++i) s += (i ? ", " : "") + json_string(r.over[i]);
  s += "],\n";
  s += "  \"corner_deviation\": {\"mean\": " +
       (r.mean_deviation ? shortest(*r.mean_deviation) : std::string("null")) +
       ", \"worst\": " + json_mark(r.worst_corner, "degrees") +
       ", \"histogram\": " + json_bins(r.deviation_bins) + "},\n";
  s += "  \"triangle_shape\": {\"smallest_angle\": " + json_mark(r.smallest_angle, "degrees") +
       ", \"worst_aspect\": " + json_mark(r.worst_aspect, "ratio") +
       ", \"histogram\": " + json_bins(r.angle_bins) + "},\n";
  s += "  \"hanging_nodes\": {\"count\": " + std::to_string(r.hanging.size()) + ", \"nodes\": [";
  for (std::size_t i = 0; i < r.hanging.size(); ++i)
    s += (i ? ",\n    " : "\n    ") + json_hanging(r.hanging[i]);
  s += r.hanging.empty() ? "]},\n" : "\n  ]},\n";
  s += "  \"smallest_field\": " + json_mark(r.smallest, "area") + ",\n";
  s += "  \"largest_field\": " + json_mark(r.largest, "area") + ",\n";
  s += "  \"shortest_side\": " + json_mark(r.shortest_side, "length") + ",\n";
  s += "  \"fields\": " + fields_json(r.fields) + ",\n";
  s += "  \"warnings\": [";
  for (std::size_t i = 0; i < r.warnings.size(); ++i)
    s += (i ? ", " : "") + json_string(r.warnings[i]);
  s += "]\n}\n";
  return s;
}

}  // namespace gencampi::view
