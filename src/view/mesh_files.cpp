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

// Reads the mesher's files item by item, as the mesher does, but a line at a time, so
// that a message can name the line where a file contradicts itself.
class ResultReader {
 public:
  ResultReader(const std::string& text, const std::string& path) : path_(path) {
    // Line ends are CR LF or a bare LF, as for every file of the job.
    std::size_t start = 0;
    while (start < text.size()) {
      std::size_t lf = text.find('\n', start);
      std::size_t end = lf == std::string::npos ? text.size() : lf;
      std::size_t cut =
          (lf != std::string::npos && end > start && text[end - 1] == '\r') ? end - 1 : end;
      lines_.push_back(text.substr(start, cut - start));
      start = lf == std::string::npos ? text.size() : lf + 1;
    }
  }

  // The next number, or nullopt when nothing but blanks and line ends is left.
  std::optional<double> maybe_number(const char* what) {
    for (;;) {
      if (in_) {
        std::optional<std::string> s = in_->numero();
        if (s) return value(*s, what);
      }
      if (next_ >= lines_.size()) return std::nullopt;
      in_.emplace(lines_[next_++]);
    }
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

  // Skips a whole line that holds no item the viewer needs.
  void line() {
    if (next_ >= lines_.size()) fail("the file is empty");
    in_.reset();
    ++next_;
  }

  // The line of the item read last, from 1.
  std::size_t line_number() const { return next_; }

  [[noreturn]] void fail(const std::string& why) const {
    throw ViewError("read error in " + path_ + ": " + why);
  }

  // For what contradicts the file itself, which the line locates.
  [[noreturn]] void fail_here(const std::string& why) const {
    throw ViewError("read error in " + path_ + ", line " + std::to_string(line_number()) + ": " +
                    why);
  }

 private:
  double value(const std::string& s, const char* what) const {
    std::optional<double> v = letterale(s);
    if (!v || !std::isfinite(*v)) fail(std::string(what) + ": \"" + s + "\" is not a number");
    if (std::fabs(*v) > valore_massimo) fail(std::string(what) + ": value out of range");
    return *v;
  }

  std::vector<std::string> lines_;
  std::size_t next_ = 0;  // the line after the one being read
  std::optional<Reader> in_;
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
  const std::size_t count_line = r.line_number();
  VertexTable vertices(mesh.vertices);
  for (int f = 0; f < n; ++f) {
    // The field count is written before the records are copied and never corrected,
    // so a scratch file the mesher could not open leaves fewer whole records than
    // announced: that is the mesher's own result, shown with a warning.
    std::optional<double> kv = r.maybe_number("a field's corner count");
    if (!kv) {
      mesh.warnings.push_back(path + " announces " + std::to_string(n) + " fields but holds " +
                              std::to_string(f));
      return;
    }
    int k = r.as_count(*kv, "a field's corner count");
    // The mesher writes only triangles and quadrilaterals; any other count is a file
    // that was not written by it, and reading on would misplace every later corner.
    if (k != 3 && k != 4)
      r.fail_here("field " + std::to_string(f + 1) + " has " + std::to_string(k) +
                  " corners, not 3 or 4");
    Field& field = mesh.fields.emplace_back();
    for (int i = 0; i < k; ++i) field.corners.push_back(vertices.add(r.point("a field corner")));
  }
  if (r.maybe_number("a field's corner count"))
    r.fail_here("more records than the " + std::to_string(n) + " fields announced on line " +
                std::to_string(count_line));
}

void parse_triangles(const std::string& text, const std::string& path, Mesh& mesh) {
  ResultReader r(text, path);
  int n = r.count("the triangle count");
  const std::size_t count_line = r.line_number();
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
  // The mesher writes the count and then exactly that many triangles.
  if (r.maybe_number("a triangle's node"))
    r.fail_here("more records than the " + std::to_string(n) + " triangles announced on line " +
                std::to_string(count_line));
}

Mesh read_mesh(const std::string& dirprogra, const std::string& dirlavoro, bool rigid,
               const std::string& stopped) {
  Mesh mesh;
  mesh.rigid = rigid;
  // After an outline error the mesher places no nodes, so it writes no punti.dis, and its
  // triangulation runs on no nodes: such a job is shown as far as it goes, and each file
  // it lacks is named with the reason.
  auto read = [&](const std::string& p, const char* lacking) -> std::optional<std::string> {
    std::optional<std::string> t = leggi_tutto(p);
    if (!t && stopped.empty()) throw ViewError("cannot find " + p);
    if (!t)
      mesh.warnings.push_back(p + " is missing: the mesher stopped on an outline error (" +
                              stopped + ") and " + lacking);
    return t;
  };
  const std::string punti = dirlavoro + "/punti.dis";
  if (std::optional<std::string> t = read(punti, "placed no nodes"))
    mesh.nodes = parse_nodes(*t, punti);
  const std::string risultati = rigid ? dirlavoro + "/triang.txt" : dirprogra + "/campi.txt";
  std::optional<std::string> t = read(risultati, "left no fields");
  if (!t)
    mesh.vertices = mesh.nodes;
  else if (rigid)
    parse_triangles(*t, risultati, mesh);
  else
    parse_fields(*t, risultati, mesh);
  return mesh;
}

}  // namespace gencampi::view
