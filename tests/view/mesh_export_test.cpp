#include "view/mesh_export.h"

#include <gtest/gtest.h>

namespace gencampi::view {
namespace {

// A unit square written clockwise and a triangle on its right side, counter-clockwise.
Mesh two_fields() {
  Mesh m;
  m.vertices = {{0, 0}, {0, 1}, {1, 1}, {1, 0}, {2, 0.5}};
  m.fields = {{{0, 1, 2, 3}}, {{3, 4, 2}}};
  return m;
}

TEST(ViewExport, FormatFromTheExtension) {
  EXPECT_EQ(format_for("a/b.msh"), MeshFormat::msh);
  EXPECT_EQ(format_for("B.VTK"), MeshFormat::vtk);
  EXPECT_FALSE(format_for("b.svg").has_value());
  EXPECT_FALSE(format_for(".msh").has_value());
}

TEST(ViewExport, GmshLayout) {
  EXPECT_EQ(to_msh(two_fields()),
            "$MeshFormat\n2.2 0 8\n$EndMeshFormat\n"
            "$PhysicalNames\n1\n2 1 \"slab\"\n$EndPhysicalNames\n"
            "$Nodes\n5\n1 0 0 0\n2 0 1 0\n3 1 1 0\n4 1 0 0\n5 2 0.5 0\n$EndNodes\n"
            "$Elements\n2\n"
            "1 3 2 1 1 1 4 3 2\n"  // turned counter-clockwise, first corner kept
            "2 2 2 1 1 4 5 3\n"
            "$EndElements\n");
}

TEST(ViewExport, VtkLayout) {
  EXPECT_EQ(to_vtk(two_fields(), "casa1"),
            "# vtk DataFile Version 3.0\ngencampi fields: casa1\nASCII\n"
            "DATASET UNSTRUCTURED_GRID\n"
            "POINTS 5 double\n0 0 0\n0 1 0\n1 1 0\n1 0 0\n2 0.5 0\n"
            "CELLS 2 9\n4 0 3 2 1\n3 3 4 2\n"
            "CELL_TYPES 2\n9\n5\n"
            "CELL_DATA 2\nSCALARS campo int 1\nLOOKUP_TABLE default\n1\n2\n"
            "SCALARS area double 1\nLOOKUP_TABLE default\n1\n0.5\n");
  Mesh empty;
  EXPECT_EQ(to_vtk(empty, "x\ny"),
            "# vtk DataFile Version 3.0\ngencampi fields: x y\nASCII\n"
            "DATASET UNSTRUCTURED_GRID\nPOINTS 0 double\nCELLS 0 0\nCELL_TYPES 0\n");
}

}  // namespace
}  // namespace gencampi::view
