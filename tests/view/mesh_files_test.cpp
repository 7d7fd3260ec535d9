#include "view/mesh_files.h"

#include <gtest/gtest.h>

#include "view_fixture.h"

namespace gencampi::view {
namespace {

using testing::crlf;

TEST(ViewMeshFiles, NodesOfPuntiDis) {
  std::vector<Point> nodes = parse_nodes(testing::punti_dis({{0, 0}, {10, -5}, {.25, 3}}), "p");
  ASSERT_EQ(nodes.size(), 3u);
  EXPECT_EQ(nodes[1], (Point{10, -5}));
  EXPECT_EQ(nodes[2], (Point{0.25, 3}));
  EXPECT_THROW(parse_nodes(crlf({"3", "h", "h", "h", " 2 ", " 0  0   0.0"}), "p"), ViewError);
}

TEST(ViewMeshFiles, FieldCornersAreMergedLikeTheMeshersDrawing) {
  // A triangle and a quadrilateral sharing two corners, one of them written 5e-7 off:
  // within the node tolerance it is the same vertex.
  Mesh m;
  parse_fields(crlf({" 100 ", " 2 ", "3", "0  0 ", "10  0 ", "10  10 ", "4", ".0000005  0 ",
                     "10  10 ", "0  10 ", "-5  5 "}),
               "campi.txt", m);
  ASSERT_EQ(m.fields.size(), 2u);
  EXPECT_EQ(m.vertices.size(), 5u);
  EXPECT_EQ(m.fields[1].corners, (std::vector<int>{0, 2, 3, 4}));
  EXPECT_TRUE(m.warnings.empty());
}

TEST(ViewMeshFiles, ACornerCountOtherThanFourIsATriangle) {
  Mesh m;
  parse_fields(crlf({" 100 ", " 1 ", "5", "0  0 ", "1  0 ", "0  1 "}), "campi.txt", m);
  ASSERT_EQ(m.fields.size(), 1u);
  EXPECT_EQ(m.fields[0].corners.size(), 3u);
}

TEST(ViewMeshFiles, FewerRecordsThanAnnouncedIsAWarning) {
  Mesh m;
  parse_fields(testing::campi_txt(testing::square_fields(), 7), "campi.txt", m);
  EXPECT_EQ(m.fields.size(), 5u);
  ASSERT_EQ(m.warnings.size(), 1u);
  EXPECT_NE(m.warnings[0].find("announces 7 fields but holds 5"), std::string::npos);
  // A record cut in the middle is an error.
  Mesh cut;
  EXPECT_THROW(parse_fields(crlf({" 100 ", " 1 ", "4", "0  0 ", "1  0 "}), "c", cut), ViewError);
  Mesh bad;
  EXPECT_THROW(parse_fields(crlf({" 100 ", " 1 ", "3", "0  0 ", "1  x ", "0 1"}), "c", bad),
               ViewError);
  Mesh far;
  EXPECT_THROW(parse_fields(crlf({" 100 ", " 1 ", "3", "0  0 ", "1  1E+300 ", "0 1"}), "c", far),
               ViewError);
}

TEST(ViewMeshFiles, TrianglesByNodeNumber) {
  Mesh m;
  m.rigid = true;
  m.nodes = {{0, 0}, {10, 0}, {0, 10}, {10, 10}};
  parse_triangles(crlf({" 2 ", " 1  2  3 ", " 2  4  3 "}), "triang.txt", m);
  ASSERT_EQ(m.fields.size(), 2u);
  EXPECT_EQ(m.fields[1].corners, (std::vector<int>{1, 3, 2}));
  EXPECT_EQ(m.vertices.size(), 4u);

  Mesh out_of_range;
  out_of_range.nodes = m.nodes;
  EXPECT_THROW(parse_triangles(crlf({" 1 ", " 1  2  5 "}), "t", out_of_range), ViewError);
  Mesh zero;
  zero.nodes = m.nodes;
  EXPECT_THROW(parse_triangles(crlf({" 1 ", " 0  2  3 "}), "t", zero), ViewError);
  Mesh empty;
  parse_triangles(crlf({" 0 "}), "t", empty);
  EXPECT_TRUE(empty.fields.empty());
}

}  // namespace
}  // namespace gencampi::view
