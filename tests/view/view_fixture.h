// Hand-made jobs on disk for the viewer's tests: a root with impostazioni/, progra/ and
// a jobs directory, removed again when the test ends.
#pragma once

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace gencampi::view::testing {

namespace fs = std::filesystem;

inline std::string read_text(const fs::path& p) {
  std::ifstream f(p, std::ios::binary);
  std::ostringstream ss;
  ss << f.rdbuf();
  return ss.str();
}

inline void write_text(const fs::path& p, const std::string& text) {
  fs::create_directories(p.parent_path());
  std::ofstream f(p, std::ios::binary);
  f << text;
}

// Lines joined with CR LF, as the mesher writes them.
inline std::string crlf(const std::vector<std::string>& lines) {
  std::string s;
  for (const std::string& l : lines) s += l + "\r\n";
  return s;
}

// The square slab 1000 x 1000 with the hole 400..600 x 400..600, a wall, a pillar and
// an open polyline: slab area 960000.
inline std::string square_floor(const std::string& passo = "100") {
  return crlf({passo, "4",   "0,0",     "1000,0",  "1000,1000", "0,1000",
               "1",   "4",   "400,400", "600,400", "600,600",   "400,600",
               "1",   "2",   "100,100", "100,300", "1",         "800 800",
               "1",   "2 0", "0,500",   "1000,500"});
}

// A field as the corner count and corner coordinates.
struct FieldRec {
  std::vector<std::pair<double, double>> corners;
};

// Five fields tiling the square slab around its hole exactly: three quadrilaterals
// and two triangles.
inline std::vector<FieldRec> square_fields() {
  return {{{{0, 0}, {1000, 0}, {1000, 400}, {0, 400}}},
          {{{0, 600}, {1000, 600}, {1000, 1000}, {0, 1000}}},
          {{{0, 400}, {400, 400}, {400, 600}, {0, 600}}},
          {{{600, 400}, {1000, 400}, {1000, 600}}},
          {{{600, 400}, {1000, 600}, {600, 600}}}};
}

// A number as the mesher prints it: sign position, up to 15 significant digits, blank.
inline std::string num(double v) {
  std::ostringstream ss;
  ss.precision(15);
  ss << (v < 0 ? "-" : " ") << (v < 0 ? -v : v) << " ";
  return ss.str();
}

// campi.txt as the mesher writes it (leading blank of a coordinate line dropped).
inline std::string campi_txt(const std::vector<FieldRec>& fields, int announced = -1) {
  std::vector<std::string> lines{
      " 100 ", num(announced < 0 ? static_cast<double>(fields.size()) : announced)};
  for (const FieldRec& f : fields) {
    lines.push_back(std::to_string(f.corners.size()));
    for (auto [x, y] : f.corners) {
      std::string l = num(x) + num(y);
      lines.push_back(l[0] == ' ' ? l.substr(1) : l);
    }
  }
  return crlf(lines);
}

// punti.dis for the given nodes.
inline std::string punti_dis(const std::vector<std::pair<double, double>>& nodes) {
  std::vector<std::string> lines{"3", "-10000.00000000     10000.000000",
                                 "-10000.00000000     10000.000000",
                                 "-10000.00000000     10000.000000", num(nodes.size())};
  for (auto [x, y] : nodes) lines.push_back(num(x) + num(y) + "  0.0");
  lines.push_back(num(nodes.size()));
  for (std::size_t i = 0; i < nodes.size(); ++i)
    lines.push_back(num(static_cast<double>(i)) + " 1                   0");
  for (int i = 0; i < 4; ++i) lines.push_back("0");
  return crlf(lines);
}

inline std::vector<std::pair<double, double>> corners_of(const std::vector<FieldRec>& fields) {
  std::vector<std::pair<double, double>> nodes;
  for (const FieldRec& f : fields)
    for (auto c : f.corners)
      if (std::find(nodes.begin(), nodes.end(), c) == nodes.end()) nodes.push_back(c);
  return nodes;
}

class TempJob {
 public:
  TempJob() {
    std::string tmpl = (fs::temp_directory_path() / "gencampi-view-XXXXXX").string();
    root = ::mkdtemp(tmpl.data());
    jobs = root / "lavori";
    job = jobs / "casa1";
    fs::create_directories(job);
    write_text(root / "impostazioni" / "dirlav", jobs.string() + "\r\n");
    write_text(root / "impostazioni" / "lavoro", " casa1 \r\n");
    write_text(root / "impostazioni" / "tirnel.ini", "[generali]\r\n");
  }
  ~TempJob() {
    std::error_code ec;
    fs::remove_all(root, ec);
  }
  TempJob(const TempJob&) = delete;
  TempJob& operator=(const TempJob&) = delete;

  fs::path progra() const { return root / "progra"; }

  // A complete job: floor, punti.dis and campi.txt.
  void fields_job(const std::vector<FieldRec>& fields, const std::string& floor = square_floor()) {
    write_text(progra() / "impalcato.txt", floor);
    write_text(progra() / "campi.txt", campi_txt(fields));
    write_text(job / "punti.dis", punti_dis(corners_of(fields)));
  }

  // Every file under the root with its content, to see that nothing changed.
  std::map<std::string, std::string> snapshot() const {
    std::map<std::string, std::string> m;
    for (const auto& e : fs::recursive_directory_iterator(root))
      m[e.path().string()] = e.is_regular_file() ? read_text(e.path()) : "<dir>";
    return m;
  }

  fs::path root, jobs, job;
};

}  // namespace gencampi::view::testing
