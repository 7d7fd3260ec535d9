// What the viewer writes: the picture and the mesh files.
#include <gtest/gtest.h>

#include "view/field_table.h"
#include "view/mesh_export.h"
#include "view/svg.h"
#include "view_fixture.h"

namespace gencampi::view {
namespace {

using namespace gencampi::test;

std::string picture(const std::vector<FieldRec>& fields, const std::string& job = "casa1") {
  Read r = read(fields);
  r.report.job = job;
  return draw_svg(r.outline, r.mesh, r.coverage, r.report, "cm");
}

// The elements of one group of the picture.
std::vector<std::string> group(const std::string& s, const std::string& id) {
  std::vector<std::string> out;
  const std::size_t b = s.find("<g id=\"" + id + "\"");
  if (b == std::string::npos) return out;
  const std::size_t e = s.find("</g>", b);
  for (std::size_t p = s.find("\n<", b); p + 1 < e; p = s.find("\n<", p + 1))
    out.push_back(s.substr(p + 1, s.find('\n', p + 1) - p - 1));
  return out;
}

// A unit square written clockwise and a triangle on its right side, counter-clockwise:
// both files turn the square counter-clockwise from its first corner.
TEST(ViewExport, GmshAndVtkLayouts) {
  Mesh m;
  m.vertices = {{0, 0}, {0, 1}, {1, 1}, {1, 0}, {2, 0.5}};
  m.fields = {{{0, 1, 2, 3}}, {{3, 4, 2}}};
  EXPECT_EQ(format_for("a/B.VTK"), MeshFormat::vtk);
  EXPECT_FALSE(format_for(".msh").has_value());
  EXPECT_EQ(to_msh(m),
            "$MeshFormat\n2.2 0 8\n$EndMeshFormat\n"
            "$PhysicalNames\n1\n2 1 \"slab\"\n$EndPhysicalNames\n"
            "$Nodes\n5\n1 0 0 0\n2 0 1 0\n3 1 1 0\n4 1 0 0\n5 2 0.5 0\n$EndNodes\n"
            "$Elements\n2\n1 3 2 1 1 1 4 3 2\n2 2 2 1 1 4 5 3\n$EndElements\n");
  EXPECT_EQ(to_vtk(m, "casa1"),
            "# vtk DataFile Version 3.0\ngencampi fields: casa1\nASCII\n"
            "DATASET UNSTRUCTURED_GRID\n"
            "POINTS 5 double\n0 0 0\n0 1 0\n1 1 0\n1 0 0\n2 0.5 0\n"
            "CELLS 2 9\n4 0 3 2 1\n3 3 4 2\n"
            "CELL_TYPES 2\n9\n5\n"
            "CELL_DATA 2\nSCALARS campo int 1\nLOOKUP_TABLE default\n1\n2\n"
            "SCALARS area double 1\nLOOKUP_TABLE default\n1\n0.5\n");
  EXPECT_EQ(to_vtk(Mesh{}, "x\ny"),
            "# vtk DataFile Version 3.0\ngencampi fields: x y\nASCII\n"
            "DATASET UNSTRUCTURED_GRID\nPOINTS 0 double\nCELLS 0 0\nCELL_TYPES 0\n");
}

// A clockwise unit square and a triangle folded flat onto one side: corners in file
// order, a triangle's missing fourth column left empty, no aspect ratio for a side of 0.
TEST(ViewExport, FieldTable) {
  Mesh m;
  m.vertices = {{0, 0}, {0, 1}, {1, 1}, {1, 0}, {1, 0}};
  m.fields = {{{0, 1, 2, 3}}, {{3, 4, 2}}};
  const std::vector<FieldRow> rows = field_rows(m);
  EXPECT_EQ(fields_csv(rows),
            "field,corners,x1,y1,x2,y2,x3,y3,x4,y4,area,angle1,angle2,angle3,angle4,"
            "shortest_side,longest_side,aspect_ratio\n"
            "1,4,0,0,0,1,1,1,1,0,1,90,90,90,90,1,1,1\n"
            "2,3,1,0,1,0,1,1,,,0,0,0,0,,0,1,\n");
  EXPECT_EQ(fields_json(rows),
            "[\n    {\"field\": 1, \"corners\": [[0, 0], [0, 1], [1, 1], [1, 0]], \"area\": 1, "
            "\"angles\": [90, 90, 90, 90], \"shortest_side\": 1, \"longest_side\": 1, "
            "\"aspect_ratio\": 1},\n    {\"field\": 2, \"corners\": [[1, 0], [1, 0], [1, 1]], "
            "\"area\": 0, \"angles\": [0, 0, 0], \"shortest_side\": 0, \"longest_side\": 1, "
            "\"aspect_ratio\": null}\n  ]");
}

TEST(ViewSvg, DrawsEveryLayerYUpTheSameEveryTime) {
  auto fields = square_fields();
  fields.erase(fields.begin() + 3);
  const std::string job = "casa <1> & \"2\"", s = picture(fields, job);
  EXPECT_TRUE(well_formed(s));
  EXPECT_EQ(s, picture(fields, job));
  EXPECT_NE(s.find(">Job casa &lt;1&gt; &amp; &quot;2&quot;</text>"), std::string::npos);
  for (const char* broken : {"<svg><g></svg>", "<svg a=1></svg>", "<svg>a & b</svg>",
                             "<svg></svg><svg/>", "<svg>a > b</svg>"})
    EXPECT_FALSE(well_formed(std::string("<?xml version=\"1.0\"?>\n") + broken)) << broken;
  // The slab's 1000 fill 1400 pixels; (0, 0) is bottom left, after the 24-pixel margin
  // and the 72-pixel header.
  EXPECT_EQ(group(s, "outline").at(0),
            "<polygon stroke-width=\"2\" points=\"24.00,1496.00 1424.00,1496.00 1424.00,96.00 "
            "24.00,96.00\"/>");
  EXPECT_EQ(group(s, "triangles").at(0),
            "<polygon points=\"864.00,936.00 1424.00,656.00 864.00,656.00\"/>");
  const std::pair<const char*, std::size_t> layers[] = {
      {"quadrilaterals", 3}, {"gaps", 1},    {"nodes", 12},   {"walls", 1},   {"pillars", 1},
      {"polylines", 1},      {"outline", 2}, {"overlaps", 0}, {"off-slab", 0}};
  for (auto [id, n] : layers) EXPECT_EQ(group(s, id).size(), n) << id;
  EXPECT_NE(s.find(">200 cm</text>"), std::string::npos);  // a quarter of 1000 is 250
  EXPECT_NE(s.find("gaps or overlaps above tolerance"), std::string::npos);
}

TEST(ViewSvg, RegionsTooSmallToSeeAreRinged) {
  auto fields = square_fields();
  fields[0][2].second = 399.9;  // a sliver of 1000 x 0.1 / 2 left uncovered
  std::string s = picture(fields);
  EXPECT_EQ(group(s, "gaps").size(), 1u);
  EXPECT_EQ(group(s, "gaps-marks").size(), 1u);
  fields = square_fields();
  fields.erase(fields.begin());  // a gap anybody sees
  s = picture(fields);
  EXPECT_EQ(group(s, "gaps").size(), 1u);
  EXPECT_TRUE(group(s, "gaps-marks").empty());
}

}  // namespace
}  // namespace gencampi::view
