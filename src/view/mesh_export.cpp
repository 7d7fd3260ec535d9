#include "view/mesh_export.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <limits>
#include <map>
#include <utility>

#include "view/hanging.h"
#include "view/report.h"

namespace gencampi::view {

namespace {

// Gmsh element types and VTK cell types.
constexpr int msh_punto = 15;
constexpr int msh_linea = 1;
constexpr int msh_triangolo = 2;
constexpr int msh_quadrilatero = 3;
constexpr int vtk_triangolo = 5;
constexpr int vtk_quadrilatero = 9;

// The physical group of the fields; the outline's groups follow it.
constexpr int gruppo_solaio = 1;

double twice_area(const std::vector<Point>& nodes, const std::vector<int>& ring) {
  double twice = 0;
  for (std::size_t i = 0; i < ring.size(); ++i) {
    const Point p = nodes[static_cast<std::size_t>(ring[i])];
    const Point q = nodes[static_cast<std::size_t>(ring[(i + 1) % ring.size()])];
    twice += p.x * q.y - q.x * p.y;
  }
  return twice;
}

std::vector<int> counter_clockwise(const std::vector<Point>& nodes, const Field& f) {
  std::vector<int> c = f.corners;
  if (twice_area(nodes, c) < 0) std::reverse(c.begin() + 1, c.end());
  return c;
}

// A point of a field's boundary while it is cut into triangles: a node, and the sides
// of the field it lies on (a corner lies on two, a node taken into a side on one).
struct Rim {
  int node;
  int side_before, side_after;
};

// A field's boundary counter-clockwise: its corners, and between two of them every node
// lying on the side they span.
std::vector<Rim> boundary(const std::vector<Point>& nodes, const std::vector<int>& corners,
                          const VertexSearch& search) {
  std::vector<Rim> rim;
  const int n = static_cast<int>(corners.size());
  auto node = [&](int i) { return corners[static_cast<std::size_t>(i % n)]; };
  auto at = [&](int i) { return nodes[static_cast<std::size_t>(node(i))]; };
  for (int i = 0; i < n; ++i) {
    rim.push_back({node(i), (i + n - 1) % n, i});
    for (const OnSegment& s : search.on_segment(at(i), at(i + 1)))
      if (std::find(corners.begin(), corners.end(), s.vertex) == corners.end())
        rim.push_back({s.vertex, i, i});
  }
  return rim;
}

// Cuts a field's boundary, corners and side nodes counter-clockwise, into triangles by
// clipping ears, taking each time the ear whose smallest angle is largest. A node taken
// into a side is never clipped while both its neighbours still lie on that side: the
// three are in line. Empty when no ear can be found, which only a field folded onto
// itself allows.
std::vector<std::vector<int>> clip_ears(const std::vector<Point>& nodes, std::vector<Rim> rim) {
  auto at = [&nodes](const Rim& r) { return nodes[static_cast<std::size_t>(r.node)]; };
  auto on = [](const Rim& r, int side) { return r.side_before == side || r.side_after == side; };
  // How far x lies to the left of the line a-b, relative to a-b's length: a node may sit
  // off its side by tolleranza_lato, so only more than that counts as off the line.
  auto left = [](Point a, Point b, Point x) {
    const double len = std::hypot(b.x - a.x, b.y - a.y);
    return ((b.x - a.x) * (x.y - a.y) - (b.y - a.y) * (x.x - a.x)) / (len * len);
  };
  std::vector<std::vector<int>> pieces;
  while (rim.size() >= 3) {
    const std::size_t n = rim.size();
    double best_quality = -1;
    std::size_t best = n;
    for (std::size_t j = 0; j < n; ++j) {
      const Rim &u = rim[(j + n - 1) % n], &v = rim[j], &w = rim[(j + 1) % n];
      if (v.side_before == v.side_after && on(u, v.side_after) && on(w, v.side_after)) continue;
      const Point a = at(u), b = at(v), c = at(w);
      if (!(left(a, b, c) > tolleranza_lato)) continue;
      bool empty = true;
      for (std::size_t k = 0; k < n && empty; ++k) {
        if (k == j || k == (j + n - 1) % n || k == (j + 1) % n) continue;
        const Point x = at(rim[k]);
        empty = left(a, b, x) < -tolleranza_lato || left(b, c, x) < -tolleranza_lato ||
                left(c, a, x) < -tolleranza_lato;
      }
      if (!empty) continue;
      const double quality =
          std::min({corner_angle(c, a, b), corner_angle(a, b, c), corner_angle(b, c, a)});
      if (quality > best_quality) {
        best_quality = quality;
        best = j;
      }
    }
    if (best == n) return {};
    pieces.push_back({rim[(best + n - 1) % n].node, rim[best].node, rim[(best + 1) % n].node});
    if (n == 3) break;
    rim.erase(rim.begin() + static_cast<std::ptrdiff_t>(best));
  }
  return pieces;
}

// Node numbers of the outline's points: a mesh vertex at exactly the same place, or a
// node of its own, shared by every outline point there.
class OutlineNodes {
 public:
  explicit OutlineNodes(std::vector<Point>& nodes) : nodes_(nodes) {
    for (std::size_t k = 0; k < nodes.size(); ++k)
      where_.emplace(std::pair{nodes[k].x, nodes[k].y}, static_cast<int>(k));
  }
  int node(Point p) {
    auto [it, added] = where_.emplace(std::pair{p.x, p.y}, static_cast<int>(nodes_.size()));
    if (added) nodes_.push_back(p);
    return it->second;
  }

 private:
  std::vector<Point>& nodes_;
  std::map<std::pair<double, double>, int> where_;
};

std::string lower(std::string s) {
  for (char& ch : s) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
  return s;
}

// The extent of an entity's nodes, as its line in $Entities gives it: the lowest x, y
// and z, then the highest (z is 0 throughout).
class Box {
 public:
  void add(Point p) {
    lo_ = {std::min(lo_.x, p.x), std::min(lo_.y, p.y)};
    hi_ = {std::max(hi_.x, p.x), std::max(hi_.y, p.y)};
  }
  std::string text() const {
    return shortest(lo_.x) + " " + shortest(lo_.y) + " 0 " + shortest(hi_.x) + " " +
           shortest(hi_.y) + " 0";
  }

 private:
  static constexpr double inf = std::numeric_limits<double>::infinity();
  Point lo_{inf, inf}, hi_{-inf, -inf};
};

// Elements of one type on one entity, written one after the other.
struct Block {
  int dimension, entity, type;
  std::vector<const std::vector<int>*> elements;
};

// One value per element, in element order.
std::string msh_element_data(const std::string& name, const std::vector<std::string>& values) {
  // One name; one real tag, the time; three integer tags: the time step, the number of
  // components and the number of values.
  std::string s =
      "$ElementData\n1\n\"" + name + "\"\n1\n0\n3\n0\n1\n" + std::to_string(values.size()) + "\n";
  for (std::size_t k = 0; k < values.size(); ++k)
    s += std::to_string(k + 1) + " " + values[k] + "\n";
  return s + "$EndElementData\n";
}

}  // namespace

std::optional<MeshFormat> format_for(const std::string& path) {
  const std::string p = lower(path);
  auto ends = [&p](const char* ext) {
    const std::string e = ext;
    return p.size() > e.size() && p.compare(p.size() - e.size(), e.size(), e) == 0;
  };
  if (ends(".msh")) return MeshFormat::msh;
  if (ends(".vtk")) return MeshFormat::vtk;
  return std::nullopt;
}

ExportMesh export_mesh(const Mesh& mesh, const Outline& outline, bool conforming) {
  ExportMesh m;
  m.nodes = mesh.vertices;

  // The outline's points first, so that every node is known before any line or side
  // is cut at the nodes lying on it.
  OutlineNodes outline_nodes(m.nodes);
  auto chain = [&](const std::vector<Point>& points) {
    std::vector<int> c;
    for (const Point& p : points) c.push_back(outline_nodes.node(p));
    return c;
  };
  std::vector<std::pair<Group, std::vector<int>>> lines;  // each group with its chain
  auto ring = [&](std::string name, const Ring& r) {
    std::vector<int> c = chain(r);
    if (!c.empty()) c.push_back(c.front());
    lines.push_back({{std::move(name), 1, {}}, std::move(c)});
  };
  ring("perimeter", outline.perimeter);
  for (std::size_t h = 0; h < outline.holes.size(); ++h)
    ring("hole " + std::to_string(h + 1), outline.holes[h]);
  for (std::size_t w = 0; w < outline.walls.size(); ++w)
    lines.push_back({{"wall " + std::to_string(w + 1), 1, {}}, chain(outline.walls[w])});
  Group pillars{"pillars", 0, {}};
  for (const Pillar& p : outline.pillars)
    pillars.elements.push_back({outline_nodes.node(p.centre)});

  const VertexSearch search(m.nodes);
  for (auto& [group, c] : lines) {
    for (std::size_t i = 0; i + 1 < c.size(); ++i) {
      if (c[i] == c[i + 1]) continue;
      int from = c[i];
      for (const OnSegment& s : search.on_segment(m.nodes[static_cast<std::size_t>(c[i])],
                                                  m.nodes[static_cast<std::size_t>(c[i + 1])])) {
        group.elements.push_back({from, s.vertex});
        from = s.vertex;
      }
      group.elements.push_back({from, c[i + 1]});
    }
    m.groups.push_back(std::move(group));
  }
  m.groups.push_back(std::move(pillars));

  for (std::size_t k = 0; k < mesh.fields.size(); ++k) {
    const int field = static_cast<int>(k + 1);
    const std::vector<int> corners = counter_clockwise(m.nodes, mesh.fields[k]);
    if (conforming) {
      const std::vector<Rim> rim = boundary(m.nodes, corners, search);
      const int taken = static_cast<int>(rim.size() - corners.size());
      std::vector<std::vector<int>> pieces;
      if (taken > 0) pieces = clip_ears(m.nodes, rim);
      if (!pieces.empty()) {
        ++m.split_fields;
        m.side_nodes += taken;
        for (std::vector<int>& p : pieces) {
          const double area = twice_area(m.nodes, p) / 2;
          m.elements.push_back({std::move(p), field, area});
        }
        continue;
      }
    }
    m.elements.push_back({corners, field, field_area(mesh, mesh.fields[k])});
  }
  return m;
}

std::string to_msh(const ExportMesh& m) {
  std::string s = "$MeshFormat\n4.1 0 8\n$EndMeshFormat\n";

  // The elementary entities: the slab's surface, tag 1, which every node is classified
  // on, so that the nodes stay in one block in their own order; a curve for each line
  // group, tagged as its physical group; a point for each pillar, since a point entity
  // stands at one place. Every group keeps its tag whether or not it is written, so
  // that a tag always means the same item of the floor file; a group without elements
  // is left out. No entity names its boundary: the outline need not bound the fields.
  std::string names, points, curves, surfaces;
  int count = 0, npoints = 0, ncurves = 0, tag = gruppo_solaio;
  std::vector<Block> blocks;
  auto physical = [&](int dimension, const std::string& name) {
    names += std::to_string(dimension) + " " + std::to_string(tag) + " \"" + name + "\"\n";
    ++count;
    return " 1 " + std::to_string(tag);
  };
  std::string slab = " 0";
  if (!m.elements.empty()) {
    slab = physical(2, "slab");
    // A block ends where the element type changes, so that the elements keep the
    // fields' order: element k is field k.
    for (const Element& e : m.elements) {
      const int type = e.nodes.size() == 4 ? msh_quadrilatero : msh_triangolo;
      if (blocks.empty() || blocks.back().type != type) blocks.push_back({2, tag, type, {}});
      blocks.back().elements.push_back(&e.nodes);
    }
  }
  if (!m.nodes.empty()) {
    Box box;
    for (const Point& p : m.nodes) box.add(p);
    surfaces = std::to_string(gruppo_solaio) + " " + box.text() + slab + " 0\n";
  }
  for (const Group& g : m.groups) {
    ++tag;
    if (g.elements.empty()) continue;
    const std::string group = physical(g.dimension, g.name);
    if (g.dimension == 0) {
      for (const std::vector<int>& e : g.elements) {
        const Point p = m.nodes[static_cast<std::size_t>(e.front())];
        points += std::to_string(++npoints) + " " + shortest(p.x) + " " + shortest(p.y) + " 0" +
                  group + "\n";
        blocks.push_back({0, npoints, msh_punto, {&e}});
      }
      continue;
    }
    Box box;
    blocks.push_back({1, tag, msh_linea, {}});
    for (const std::vector<int>& e : g.elements) {
      for (int v : e) box.add(m.nodes[static_cast<std::size_t>(v)]);
      blocks.back().elements.push_back(&e);
    }
    curves += std::to_string(tag) + " " + box.text() + group + " 0\n";
    ++ncurves;
  }
  s += "$PhysicalNames\n" + std::to_string(count) + "\n" + names + "$EndPhysicalNames\n";
  s += "$Entities\n" + std::to_string(npoints) + " " + std::to_string(ncurves) + " " +
       std::to_string(surfaces.empty() ? 0 : 1) + " 0\n" + points + curves + surfaces +
       "$EndEntities\n";

  // Tags from 1 with no gaps: the header's count, lowest and highest tag.
  auto range = [](std::size_t nblocks, std::size_t n) {
    const std::string size = std::to_string(n);
    return std::to_string(nblocks) + " " + size + (n == 0 ? " 0 0\n" : " 1 " + size + "\n");
  };
  s += "$Nodes\n" + range(m.nodes.empty() ? 0 : 1, m.nodes.size());
  if (!m.nodes.empty()) {
    s += "2 " + std::to_string(gruppo_solaio) + " 0 " + std::to_string(m.nodes.size()) + "\n";
    for (std::size_t i = 0; i < m.nodes.size(); ++i) s += std::to_string(i + 1) + "\n";
    for (const Point& p : m.nodes) s += shortest(p.x) + " " + shortest(p.y) + " 0\n";
  }
  s += "$EndNodes\n";

  std::size_t number = 0;
  for (const Block& b : blocks) number += b.elements.size();
  s += "$Elements\n" + range(blocks.size(), number);
  number = 0;
  for (const Block& b : blocks) {
    s += std::to_string(b.dimension) + " " + std::to_string(b.entity) + " " +
         std::to_string(b.type) + " " + std::to_string(b.elements.size()) + "\n";
    for (const std::vector<int>* e : b.elements) {
      s += std::to_string(++number);
      for (int v : *e) s += " " + std::to_string(v + 1);
      s += "\n";
    }
  }
  s += "$EndElements\n";

  // Every element gets a value, the outline's lines and points 0: a reader that files
  // element data by the elements' order, not by their tags, still finds each value on
  // its own element.
  if (!m.elements.empty()) {
    std::vector<std::string> fields, areas;
    for (const Element& e : m.elements) {
      fields.push_back(std::to_string(e.field));
      areas.push_back(shortest(e.area));
    }
    fields.resize(number, "0");
    areas.resize(number, "0");
    s += msh_element_data("campo", fields) + msh_element_data("area", areas);
  }
  return s;
}

std::string to_vtk(const ExportMesh& m, const std::string& title) {
  // The title is one line of at most 256 characters.
  std::string t = "gencampi fields: " + title;
  for (char& ch : t)
    if (static_cast<unsigned char>(ch) < 0x20) ch = ' ';
  if (t.size() > 255) t.resize(255);

  std::string s = "# vtk DataFile Version 3.0\n" + t + "\nASCII\nDATASET UNSTRUCTURED_GRID\n";
  s += "POINTS " + std::to_string(m.nodes.size()) + " double\n";
  for (const Point& p : m.nodes) s += shortest(p.x) + " " + shortest(p.y) + " 0\n";
  std::size_t size = 0;
  for (const Element& e : m.elements) size += 1 + e.nodes.size();
  s += "CELLS " + std::to_string(m.elements.size()) + " " + std::to_string(size) + "\n";
  for (const Element& e : m.elements) {
    s += std::to_string(e.nodes.size());
    for (int v : e.nodes) s += " " + std::to_string(v);
    s += "\n";
  }
  s += "CELL_TYPES " + std::to_string(m.elements.size()) + "\n";
  for (const Element& e : m.elements)
    s += std::to_string(e.nodes.size() == 4 ? vtk_quadrilatero : vtk_triangolo) + "\n";
  if (!m.elements.empty()) {
    s += "CELL_DATA " + std::to_string(m.elements.size()) + "\n";
    s += "SCALARS campo int 1\nLOOKUP_TABLE default\n";
    for (const Element& e : m.elements) s += std::to_string(e.field) + "\n";
    s += "SCALARS area double 1\nLOOKUP_TABLE default\n";
    for (const Element& e : m.elements) s += shortest(e.area) + "\n";
  }
  return s;
}

}  // namespace gencampi::view
