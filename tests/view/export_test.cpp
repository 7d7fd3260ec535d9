// The mesh files for other programs: nodes on sides, the layouts, the conforming split.
#include <gtest/gtest.h>

#include <map>

#include "view/hanging.h"
#include "view/mesh_export.h"
#include "view/report.h"

namespace gencampi::view {
namespace {

// A grid of vertices 10 apart under one triangle whose sides run across it, one of
// them diagonally through a hundred cells of the search grid; beside its diagonal, a
// vertex within the side tolerance and one just beyond it.
TEST(ViewHanging, FindsEveryVertexOnASideAndOnlyThose) {
  Mesh m;
  for (int i = 0; i <= 10; ++i)
    for (int j = 0; j <= 10; ++j) m.vertices.push_back({10.0 * i, 10.0 * j});
  const int near = static_cast<int>(m.vertices.size());
  m.vertices.push_back({55 + 1e-5, 55 - 1e-5});      // 1e-7 of the side's length off it
  m.vertices.push_back({45 + 1e-3, 45 - 1e-3});      // 1e-5 off it
  m.fields = {{{0, 120, 10}}, {{0, 110, 120, 10}}};  // (0,0) (100,100) (0,100), a square

  const std::vector<HangingNode> h = hanging_nodes(m);
  std::map<std::pair<int, int>, int> per_side;
  for (std::size_t k = 0; k < h.size(); ++k) {
    ++per_side[{h[k].field, h[k].side}];
    if (k > 0) {
      EXPECT_TRUE(std::tie(h[k - 1].field, h[k - 1].side, h[k - 1].t) <
                  std::tie(h[k].field, h[k].side, h[k].t));
    }
    EXPECT_TRUE(h[k].t > 0 && h[k].t < 1);
    EXPECT_EQ(h[k].at, m.vertices[static_cast<std::size_t>(h[k].vertex)]);
    EXPECT_NE(h[k].vertex, near + 1);
  }
  EXPECT_EQ(per_side, (std::map<std::pair<int, int>, int>{{{1, 0}, 10},
                                                          {{1, 1}, 9},
                                                          {{1, 2}, 9},
                                                          {{2, 0}, 9},
                                                          {{2, 1}, 9},
                                                          {{2, 2}, 9},
                                                          {{2, 3}, 9}}));
  // The near vertex, at 0.55 of the diagonal; (10, 100) at 0.9 from (100, 100).
  EXPECT_EQ(h[5].vertex, near);
  EXPECT_NEAR(h[5].t, 0.55, 1e-12);
  EXPECT_EQ(h[18].at, (Point{10, 100}));
  EXPECT_DOUBLE_EQ(h[18].t, 0.9);
}

// A unit square written clockwise and a triangle on its right side, counter-clockwise:
// both files turn the square counter-clockwise from its first corner. The pillar is no
// mesh vertex and gets a node of its own; the perimeter's corners are mesh vertices.
TEST(ViewExport, GmshAndVtkLayouts) {
  Mesh m;
  m.vertices = {{0, 0}, {0, 1}, {1, 1}, {1, 0}, {2, 0.5}};
  m.fields = {{{0, 1, 2, 3}}, {{3, 4, 2}}};
  Outline o;
  o.perimeter = {{0, 0}, {1, 0}, {2, 0.5}, {1, 1}, {0, 1}};
  o.pillars = {{{0.5, 0.5}, {}}};
  EXPECT_EQ(format_for("a/B.VTK"), MeshFormat::vtk);
  EXPECT_FALSE(format_for(".msh").has_value());
  const ExportMesh e = export_mesh(m, o, false);
  EXPECT_EQ(to_msh(e),
            "$MeshFormat\n4.1 0 8\n$EndMeshFormat\n"
            "$PhysicalNames\n3\n2 1 \"slab\"\n1 2 \"perimeter\"\n0 3 \"pillars\"\n"
            "$EndPhysicalNames\n"
            "$Entities\n1 1 1 0\n1 0.5 0.5 0 1 3\n2 0 0 0 2 1 0 1 2 0\n1 0 0 0 2 1 0 1 1 0\n"
            "$EndEntities\n"
            "$Nodes\n1 6 1 6\n2 1 0 6\n1\n2\n3\n4\n5\n6\n"
            "0 0 0\n0 1 0\n1 1 0\n1 0 0\n2 0.5 0\n0.5 0.5 0\n$EndNodes\n"
            "$Elements\n4 8 1 8\n2 1 3 1\n1 1 4 3 2\n2 1 2 1\n2 4 5 3\n"
            "1 2 1 5\n3 1 4\n4 4 5\n5 5 3\n6 3 2\n7 2 1\n0 1 15 1\n8 6\n$EndElements\n"
            "$ElementData\n1\n\"campo\"\n1\n0\n3\n0\n1\n8\n1 1\n2 2\n3 0\n4 0\n5 0\n6 0\n7 0\n8 0\n"
            "$EndElementData\n"
            "$ElementData\n1\n\"area\"\n1\n0\n3\n0\n1\n8\n1 1\n2 0.5\n3 0\n4 0\n5 0\n6 0\n7 0\n"
            "8 0\n$EndElementData\n");
  EXPECT_EQ(to_vtk(e, "casa1"),
            "# vtk DataFile Version 3.0\ngencampi fields: casa1\nASCII\n"
            "DATASET UNSTRUCTURED_GRID\n"
            "POINTS 6 double\n0 0 0\n0 1 0\n1 1 0\n1 0 0\n2 0.5 0\n0.5 0.5 0\n"
            "CELLS 2 9\n4 0 3 2 1\n3 3 4 2\n"
            "CELL_TYPES 2\n9\n5\n"
            "CELL_DATA 2\nSCALARS campo int 1\nLOOKUP_TABLE default\n1\n2\n"
            "SCALARS area double 1\nLOOKUP_TABLE default\n1\n0.5\n");
  EXPECT_EQ(to_vtk(export_mesh(Mesh{}, Outline{}, false), "x\ny"),
            "# vtk DataFile Version 3.0\ngencampi fields: x y\nASCII\n"
            "DATASET UNSTRUCTURED_GRID\nPOINTS 0 double\nCELLS 0 0\nCELL_TYPES 0\n");
}

// Two squares side by side on a rectangle (clockwise): their common corner hangs on the
// rectangle's top side. The perimeter is cut at every node on it; a wall ends on the
// rectangle's bottom side, at a point that is no vertex, and on a corner of the squares.
TEST(ViewExport, ConformingSplitSharesEveryNodeAndKeepsTheArea) {
  Mesh m;
  m.vertices = {{0, 0}, {0, 1}, {2, 1}, {2, 0}, {1, 1}, {1, 2}, {0, 2}, {2, 2}};
  m.fields = {{{0, 1, 2, 3}}, {{1, 4, 5, 6}}, {{4, 2, 7, 5}}};
  Outline o;
  o.perimeter = {{0, 0}, {2, 0}, {2, 2}, {0, 2}};
  o.walls = {{{1, 1}, {0.5, 0}}};
  ASSERT_EQ(hanging_nodes(m).size(), 1u);
  EXPECT_EQ(hanging_nodes(m)[0].field, 1);
  EXPECT_EQ(hanging_nodes(m)[0].side, 1);

  const ExportMesh plain = export_mesh(m, o, false), split = export_mesh(m, o, true);
  EXPECT_EQ(plain.elements.size(), 3u);
  EXPECT_EQ(plain.split_fields, 0);
  EXPECT_EQ(split.split_fields, 1);
  EXPECT_EQ(split.side_nodes, 2);  // (1, 1) on the top side, the wall's end on the bottom
  ASSERT_EQ(split.groups.size(), 3u);
  EXPECT_EQ(split.groups[0].elements.size(), 8u);  // the perimeter, cut at 4 nodes
  EXPECT_EQ(split.groups[1].elements, (std::vector<std::vector<int>>{{4, 8}}));

  // The split fields as a mesh of their own have no node on any side, turn
  // counter-clockwise, and cover what the fields covered.
  Mesh pieces;
  pieces.vertices = split.nodes;
  double area = 0;
  for (const Element& e : split.elements) {
    pieces.fields.push_back({e.nodes});
    EXPECT_GT(e.area, 0);
    EXPECT_NEAR(e.area, field_area(pieces, pieces.fields.back()), 1e-12);
    area += e.area;
  }
  EXPECT_TRUE(hanging_nodes(pieces).empty());
  EXPECT_DOUBLE_EQ(area, 4);
  std::map<int, int> per_field;
  for (const Element& e : split.elements) ++per_field[e.field];
  EXPECT_EQ(per_field, (std::map<int, int>{{1, 4}, {2, 1}, {3, 1}}));
  // The four triangles of field 1 in a block of their own, before fields 2 and 3.
  EXPECT_NE(to_msh(split).find("$Elements\n4 15 1 15\n2 1 2 4\n"), std::string::npos);
}

}  // namespace
}  // namespace gencampi::view
