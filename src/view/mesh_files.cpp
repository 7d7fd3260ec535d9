#include "view/mesh_files.h"

#include <cmath>
#include <cstdint>
#include <optional>
#include <unordered_map>

#include "core/numbers.h"
#include "core/store.h"
#include "core/textfile.h"

namespace gencampi::view {

namespace {

// No mesher file holds more entries than this; a larger count is a broken file and
// must not make the viewer reserve memory for it.
constexpr double conteggio_massimo = 1e6;
// Coordinates come from the floor file, which the mesher limits to this magnitude.
constexpr double valore_massimo = 1e8;

class ResultReader {
 public:
  ResultReader(const std::string& text, const std::string& path) : in_(text), path_(path) {}

  // The next number, or nullopt when nothing but blanks and line ends is left.
  std::optional<double> maybe_number(const char* what) {
    std::optional<std::string> s = in_.numero();
    if (!s) return std::nullopt;
    return value(*s, what);
  }

  double number(const char* what) {
    std::optional<double> v = maybe_number(what);
    if (!v) fail(std::string("the file ends before ") + what);
    return *v;
  }

  int count(const char* what) { return as_count(number(what), what); }

  int as_count(double v, const char* what) const {
    if (v != std::floor(v) || v < 0 || v > conteggio_massimo)
      fail(std::string(what) + ": not a count");
    return static_cast<int>(v);
  }

  Point point(const char* what) {
    double x = number(what);
    double y = number(what);
    return {x, y};
  }

  void line() {
    if (!in_.riga()) fail("the file is empty");
  }

  [[noreturn]] void fail(const std::string& why) const {
    throw ViewError("read error in " + path_ + ": " + why);
  }

 private:
  double value(const std::string& s, const char* what) const {
    std::optional<double> v = letterale(s);
    if (!v || !std::isfinite(*v)) fail(std::string(what) + ": \"" + s + "\" is not a number");
    if (std::fabs(*v) > valore_massimo) fail(std::string(what) + ": value out of range");
    return *v;
  }

  Reader in_;
  std::string path_;
};

// Merges corners the way the mesher's node store does: the lowest-numbered vertex
// within the node tolerance in both X and Y. A hash on unit cells, far wider than the
// tolerance, finds the candidates without scanning every vertex.
class VertexTable {
 public:
  explicit VertexTable(std::vector<Point>& v) : v_(v) {}

  int add(Point p) {
    const std::int64_t cx = cell(p.x), cy = cell(p.y);
    int best = -1;
    for (std::int64_t i = cx - 1; i <= cx + 1; ++i)
      for (std::int64_t j = cy - 1; j <= cy + 1; ++j) {
        auto it = cells_.find(key(i, j));
        if (it == cells_.end()) continue;
        for (int k : it->second) {
          const Point& q = v_[static_cast<std::size_t>(k)];
          if (std::fabs(p.x - q.x) < tolleranza_nodo && std::fabs(p.y - q.y) < tolleranza_nodo &&
              (best < 0 || k < best))
            best = k;
        }
      }
    if (best >= 0) return best;
    v_.push_back(p);
    int k = static_cast<int>(v_.size()) - 1;
    cells_[key(cx, cy)].push_back(k);
    return k;
  }

 private:
  static std::int64_t cell(double c) { return static_cast<std::int64_t>(std::floor(c)); }
  static std::uint64_t key(std::int64_t i, std::int64_t j) {
    return (static_cast<std::uint64_t>(i) * 0x9E3779B97F4A7C15ull) ^ static_cast<std::uint64_t>(j);
  }

  std::vector<Point>& v_;
  std::unordered_map<std::uint64_t, std::vector<int>> cells_;
};

}  // namespace

std::vector<Point> parse_nodes(const std::string& text, const std::string& path) {
  ResultReader r(text, path);
  for (int i = 0; i < 4; ++i) r.line();  // the fixed header
  int n = r.count("the node count");
  std::vector<Point> nodes;
  nodes.reserve(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) {
    nodes.push_back(r.point("a node"));
    r.number("a node's third coordinate");
  }
  return nodes;
}

void parse_fields(const std::string& text, const std::string& path, Mesh& mesh) {
  ResultReader r(text, path);
  r.line();  // the mesh step
  int n = r.count("the field count");
  VertexTable vertices(mesh.vertices);
  for (int f = 0; f < n; ++f) {
    // The field count is written before the records are copied and never corrected,
    // so a scratch file the mesher could not open leaves fewer records than announced.
    std::optional<double> kv = r.maybe_number("a field's corner count");
    if (!kv) {
      mesh.warnings.push_back(path + " announces " + std::to_string(n) + " fields but holds " +
                              std::to_string(f));
      return;
    }
    int k = r.as_count(*kv, "a field's corner count");
    // Any count other than 4 is a triangle, as in the mesher's drawing of the fields.
    int corners = (k == 4) ? 4 : 3;
    Field& field = mesh.fields.emplace_back();
    for (int i = 0; i < corners; ++i)
      field.corners.push_back(vertices.add(r.point("a field corner")));
  }
}

void parse_triangles(const std::string& text, const std::string& path, Mesh& mesh) {
  ResultReader r(text, path);
  int n = r.count("the triangle count");
  const int nnodi = static_cast<int>(mesh.nodes.size());
  mesh.vertices = mesh.nodes;
  for (int t = 0; t < n; ++t) {
    Field& field = mesh.fields.emplace_back();
    for (int i = 0; i < 3; ++i) {
      int k = r.count("a triangle's node");
      if (k < 1 || k > nnodi)
        r.fail("node " + std::to_string(k) + " is not in punti.dis (" + std::to_string(nnodi) +
               " nodes)");
      field.corners.push_back(k - 1);
    }
  }
}

Mesh read_mesh(const std::string& dirprogra, const std::string& dirlavoro, bool rigid) {
  auto read = [](const std::string& p) {
    std::optional<std::string> t = leggi_tutto(p);
    if (!t) throw ViewError("cannot find " + p);
    return *t;
  };
  Mesh mesh;
  mesh.rigid = rigid;
  const std::string punti = dirlavoro + "/punti.dis";
  mesh.nodes = parse_nodes(read(punti), punti);
  if (rigid) {
    const std::string triang = dirlavoro + "/triang.txt";
    parse_triangles(read(triang), triang, mesh);
  } else {
    const std::string campi = dirprogra + "/campi.txt";
    parse_fields(read(campi), campi, mesh);
  }
  return mesh;
}

}  // namespace gencampi::view
