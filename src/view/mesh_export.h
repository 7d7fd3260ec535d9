// The fields as a mesh file for other programs: Gmsh MSH 4.1 ASCII or legacy VTK.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "view/model.h"

namespace gencampi::view {

enum class MeshFormat { msh, vtk };

// The format named by the file's extension (".msh" or ".vtk", any letter case).
std::optional<MeshFormat> format_for(const std::string& path);

// A 2-D element: a field, or a triangle of a field split at the nodes on its sides.
struct Element {
  std::vector<int> nodes;  // into ExportMesh::nodes, counter-clockwise
  int field = 0;           // the field it covers, 1-based in file order
  double area = 0;
};

// Lines (two nodes each) or points (one node each) that a solver can hang supports and
// loads on: the perimeter, a hole, a wall, or the pillars.
struct Group {
  std::string name;
  int dimension = 1;
  std::vector<std::vector<int>> elements;
};

struct ExportMesh {
  // The mesh's vertices in order, then the points of the outline that are none of them.
  std::vector<Point> nodes;
  std::vector<Element> elements;
  std::vector<Group> groups;
  // What the conforming split did: fields split, and nodes taken into their sides.
  int split_fields = 0;
  int side_nodes = 0;
};

// The fields counter-clockwise (so that their normal points up, +z), each from its
// first corner in the file, and the outline's lines cut at every node lying on them.
// With `conforming`, a field with nodes on its sides is split into triangles that use
// them, so that neighbouring elements share every node along a common side.
ExportMesh export_mesh(const Mesh& mesh, const Outline& outline, bool conforming);

// Nodes numbered from 1, 2-D elements first, then the groups' lines and points, each
// group an elementary entity of its own (a pillar one each) carrying its physical group.
std::string to_msh(const ExportMesh& m);
// The same nodes numbered from 0, and the 2-D elements only.
std::string to_vtk(const ExportMesh& m, const std::string& title);

}  // namespace gencampi::view
