#include "view/mesh_export.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "view/report.h"

namespace gencampi::view {

namespace {

// Gmsh element types and VTK cell types of the two field shapes.
constexpr int msh_triangolo = 2;
constexpr int msh_quadrilatero = 3;
constexpr int vtk_triangolo = 5;
constexpr int vtk_quadrilatero = 9;

std::vector<int> counter_clockwise(const Mesh& mesh, const Field& f) {
  double twice = 0;
  const std::size_t n = f.corners.size();
  for (std::size_t i = 0; i < n; ++i) {
    Point p = mesh.corner(f, i), q = mesh.corner(f, (i + 1) % n);
    twice += p.x * q.y - q.x * p.y;
  }
  std::vector<int> c = f.corners;
  if (twice < 0) std::reverse(c.begin() + 1, c.end());
  return c;
}

std::string lower(std::string s) {
  for (char& ch : s) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
  return s;
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

std::string to_msh(const Mesh& mesh) {
  std::string s = "$MeshFormat\n2.2 0 8\n$EndMeshFormat\n";
  s += "$PhysicalNames\n1\n2 1 \"slab\"\n$EndPhysicalNames\n";
  s += "$Nodes\n" + std::to_string(mesh.vertices.size()) + "\n";
  for (std::size_t i = 0; i < mesh.vertices.size(); ++i)
    s += std::to_string(i + 1) + " " + shortest(mesh.vertices[i].x) + " " +
         shortest(mesh.vertices[i].y) + " 0\n";
  s += "$EndNodes\n$Elements\n" + std::to_string(mesh.fields.size()) + "\n";
  for (std::size_t k = 0; k < mesh.fields.size(); ++k) {
    const Field& f = mesh.fields[k];
    // Two tags: the physical group and the elementary entity, both the slab.
    s += std::to_string(k + 1) + " " +
         std::to_string(f.corners.size() == 4 ? msh_quadrilatero : msh_triangolo) + " 2 1 1";
    for (int v : counter_clockwise(mesh, f)) {
      s += ' ';
      s += std::to_string(v + 1);
    }
    s += "\n";
  }
  s += "$EndElements\n";
  return s;
}

std::string to_vtk(const Mesh& mesh, const std::string& title) {
  // The title is one line of at most 256 characters.
  std::string t = "gencampi fields: " + title;
  for (char& ch : t)
    if (static_cast<unsigned char>(ch) < 0x20) ch = ' ';
  if (t.size() > 255) t.resize(255);

  std::string s = "# vtk DataFile Version 3.0\n" + t + "\nASCII\nDATASET UNSTRUCTURED_GRID\n";
  s += "POINTS " + std::to_string(mesh.vertices.size()) + " double\n";
  for (const Point& p : mesh.vertices) s += shortest(p.x) + " " + shortest(p.y) + " 0\n";
  std::size_t size = 0;
  for (const Field& f : mesh.fields) size += 1 + f.corners.size();
  s += "CELLS " + std::to_string(mesh.fields.size()) + " " + std::to_string(size) + "\n";
  for (const Field& f : mesh.fields) {
    s += std::to_string(f.corners.size());
    for (int v : counter_clockwise(mesh, f)) {
      s += ' ';
      s += std::to_string(v);
    }
    s += "\n";
  }
  s += "CELL_TYPES " + std::to_string(mesh.fields.size()) + "\n";
  for (const Field& f : mesh.fields)
    s += std::to_string(f.corners.size() == 4 ? vtk_quadrilatero : vtk_triangolo) + "\n";
  if (!mesh.fields.empty()) {
    s += "CELL_DATA " + std::to_string(mesh.fields.size()) + "\n";
    s += "SCALARS campo int 1\nLOOKUP_TABLE default\n";
    for (std::size_t k = 0; k < mesh.fields.size(); ++k) s += std::to_string(k + 1) + "\n";
    s += "SCALARS area double 1\nLOOKUP_TABLE default\n";
    for (const Field& f : mesh.fields) s += shortest(field_area(mesh, f)) + "\n";
  }
  return s;
}

}  // namespace gencampi::view
