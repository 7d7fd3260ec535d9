// What the viewer reads, built from plain corner lists: the square test slab, campi.txt
// and punti.dis as the mesher writes them, in memory or in a job tree.
#pragma once

#include <algorithm>
#include <cmath>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "support/job_tree.h"
#include "view/coverage.h"
#include "view/floor_file.h"
#include "view/mesh_files.h"
#include "view/report.h"

namespace gencampi::test {

// A field's corners in the order campi.txt gives them; also a list of nodes.
using FieldRec = std::vector<std::pair<double, double>>;

// The square slab 1000 x 1000 with the hole 400..600 x 400..600, a wall, a pillar and
// an open polyline: slab area 960000.
inline std::string square_floor(const std::string& passo = "100") {
  return crlf(passo +
              "\n4\n0,0\n1000,0\n1000,1000\n0,1000\n1\n4\n400,400\n600,400\n600,600\n400,600\n"
              "1\n2\n100,100\n100,300\n1\n800 800\n1\n2 0\n0,500\n1000,500\n");
}

// Five fields tiling the square slab around its hole, all counter-clockwise: three
// quadrilaterals (400000, 400000, 80000) and two triangles (40000 each).
inline std::vector<FieldRec> square_fields() {
  return {{{0, 0}, {1000, 0}, {1000, 400}, {0, 400}},
          {{0, 600}, {1000, 600}, {1000, 1000}, {0, 1000}},
          {{0, 400}, {400, 400}, {400, 600}, {0, 600}},
          {{600, 400}, {1000, 400}, {1000, 600}},
          {{600, 400}, {1000, 600}, {600, 600}}};
}

// A number as the mesher prints it: a blank or the sign, up to 15 digits, a blank.
inline std::string num(double v) {
  std::ostringstream ss;
  ss.precision(15);
  ss << (v < 0 ? "-" : " ") << std::fabs(v) << " ";
  return ss.str();
}

// campi.txt as the mesher writes it, the leading blank of a corner line dropped.
inline std::string campi_txt(const std::vector<FieldRec>& fields, int announced = -1) {
  std::string s = " 100 \n" + num(announced < 0 ? static_cast<int>(fields.size()) : announced);
  for (const FieldRec& f : fields) {
    s += "\n" + std::to_string(f.size());
    for (auto [x, y] : f) s += "\n" + (num(x) + num(y)).substr(x < 0 ? 0 : 1);
  }
  return crlf(s + "\n");
}

inline std::string punti_dis(const FieldRec& nodes) {
  std::string s = "3\n";
  for (int i = 0; i < 3; ++i) s += "-10000.00000000     10000.000000\n";
  s += num(static_cast<double>(nodes.size())) + "\n";
  for (auto [x, y] : nodes) s += num(x) + num(y) + "  0.0\n";
  return crlf(s + "0\n0\n0\n0\n0\n");
}

// A fields job on the square slab, with a node at every corner.
inline void lavoro_campi(const JobTree& t, const std::vector<FieldRec>& fields) {
  FieldRec nodes;
  for (const FieldRec& f : fields)
    for (auto c : f)
      if (std::find(nodes.begin(), nodes.end(), c) == nodes.end()) nodes.push_back(c);
  scrivi(t.pavimento(), square_floor());
  scrivi(t.progra() / "campi.txt", campi_txt(fields));
  scrivi(t.lavoro() / "punti.dis", punti_dis(nodes));
}

// The same job read in memory, every corner a placed node, and its report.
struct Read {
  view::Outline outline;
  view::Mesh mesh;
  view::Coverage coverage;
  view::Report report;
};
inline Read read(const std::vector<FieldRec>& fields, const std::string& floor = square_floor(),
                 double tolerance = 0.01) {
  Read r;
  r.outline = view::parse_floor(floor, "impalcato.txt");
  view::parse_fields(campi_txt(fields), "campi.txt", r.mesh);
  r.mesh.nodes = r.mesh.vertices;
  r.coverage = view::cover(r.outline, r.mesh);
  r.report = view::make_report("casa1", r.outline, r.mesh, r.coverage, tolerance);
  return r;
}

// Well-formed XML as far as the pictures go: one root, every tag closed in order,
// attribute values quoted, "<" and ">" only around tags, "&" only in the five entities.
inline bool well_formed(const std::string& xml) {
  for (std::size_t a = xml.find('&'); a != std::string::npos; a = xml.find('&', a + 1))
    if (std::string(" &amp; &lt; &gt; &quot; &apos; ")
            .find(" " + xml.substr(a, xml.find(';', a) - a + 1) + " ") == std::string::npos)
      return false;
  std::size_t i = xml.find("?>");
  if (!xml.starts_with("<?xml") || i == std::string::npos) return false;
  std::vector<std::string> open;
  int roots = 0;
  for (i += 2; i < xml.size(); ++i) {
    if (xml[i] == '>') return false;
    if (xml[i] != '<') continue;
    const std::size_t end = xml.find('>', i);
    if (end == std::string::npos) return false;
    const std::string tag = xml.substr(i + 1, end - i - 1);
    bool quoted = false;
    for (std::size_t k = 0; k < tag.size(); ++k) {
      if (tag[k] == '"') quoted = !quoted;
      if (tag[k] == '<' || (!quoted && tag[k] == '=' && tag[k + 1] != '"')) return false;
    }
    const bool closing = tag.starts_with('/');
    const std::string name = tag.substr(closing, tag.find_first_of(" \n/", 1) - closing);
    if (quoted || name.empty() || (closing && (open.empty() || open.back() != name))) return false;
    if (closing) open.pop_back();
    if (!closing) roots += open.empty();
    if (!closing && !tag.ends_with('/')) open.push_back(name);
    i = end;
  }
  return open.empty() && roots == 1;
}

}  // namespace gencampi::test
