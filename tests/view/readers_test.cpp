// The two readers: impalcato.txt as the mesher reads it, and the files the mesher leaves.
#include <gtest/gtest.h>

#include "view/floor_file.h"
#include "view/mesh_files.h"
#include "view_fixture.h"

namespace gencampi::view {
namespace {

using namespace gencampi::test;
using Points = std::vector<Point>;

// Coordinates blank-separated or split over two lines; "baricentro" (exact case) brings
// four corner points; n = 2.5 rounds to 2; only c = 1 closes; a polyline with n below 1
// still reads its first vertex; LF line ends and no final line break.
TEST(ViewFloor, ReadsByTheMeshersFieldRules) {
  Outline o = parse_floor(
      "-50\n3\n0 0\n900\n0\n0,900\n1\n3\n1,1\n2,1\n1,2\n1\n2\n5,5\n6,6\n2\n300 200 baricentro\n"
      "290,190\n310,190\n310,210\n290,210\n100 100 Baricentro\n4\n2.5 1\n1,1\n5,5\n3 0\n7,7\n8,8\n"
      "9,9\n2 2\n1,1\n2,2\n0 0\n4,4",
      "f");
  EXPECT_TRUE(o.rigid());
  EXPECT_EQ(o.perimeter, (Ring{{0, 0}, {900, 0}, {0, 900}}));
  EXPECT_EQ(o.holes, (std::vector<Ring>{{{1, 1}, {2, 1}, {1, 2}}}));
  EXPECT_EQ(o.walls, (std::vector<Points>{{{5, 5}, {6, 6}}}));
  EXPECT_EQ(o.pillars,
            (std::vector<Pillar>{{{300, 200}, {{290, 190}, {310, 190}, {310, 210}, {290, 210}}},
                                 {{100, 100}, {}}}));
  EXPECT_EQ(o.polylines, (std::vector<Polyline>{{{{1, 1}, {5, 5}}, true},
                                                {{{7, 7}, {8, 8}, {9, 9}}, false},
                                                {{{1, 1}, {2, 2}}, false},
                                                {{{4, 4}}, false}}));
  EXPECT_TRUE(o.stopped.empty());
}

TEST(ViewFloor, StopsWhereTheMesherStopsAndRefusesBrokenFiles) {
  const std::string ok = "100\n3\n0,0\n10,0\n0,10\n";
  // A hole of two vertices ends the reading, and a wall of one: what follows is absent.
  Outline o = parse_floor(crlf(ok + "2\n3\n1,1\n2,1\n1,2\n2\n5,5\n6,6\n1\n2\n1,1\n2,2\n"), "f");
  EXPECT_EQ(o.stopped, "ERRORE BUCHI");
  EXPECT_TRUE(o.holes.size() == 1 && o.walls.empty());
  o = parse_floor(crlf(ok + "0\n2\n2\n1,1\n2,2\n1\n5,5\n1\n1 1\n"), "f");
  EXPECT_EQ(o.stopped, "ERRORE MURI");
  EXPECT_TRUE(o.walls.size() == 1 && o.pillars.empty());
  // A perimeter of 2 vertices stops before them.
  o = parse_floor(crlf("100\n2\n0,0\n1,1\n"), "f");
  EXPECT_TRUE(o.stopped == "ERRORE PERIMETRO" && o.perimeter.empty());

  std::string holes;
  for (int h = 0; h < 100; ++h) holes += "3\n1,1\n2,1\n1,2\n";
  EXPECT_EQ(parse_floor(crlf(ok + "100\n" + holes + "0\n0\n0\n"), "f").holes.size(), 100u);
  const std::string broken[] = {
      "",
      "100\n4\n0,0\n10,0\n10,10\n",               // ends in the perimeter
      "100\n3\n0,0\n10,x\n0,10\n0\n0\n0\n0\n",    // not a number
      "100\n3\n0,0\n10,0\n0,1e9\n0\n0\n0\n0\n",   // beyond 1e8
      "1e999\n3\n0,0\n10,0\n0,10\n0\n0\n0\n0\n",  // not finite
      "100\n40000\n0,0\n",                        // a count out of range
      ok + "0\n0\n0\n1\n40000 0\n",
      ok + "0\n0\n1\n1e9 1\n",                               // a pillar far off
      ok + "101\n" + holes + "3\n1,1\n2,1\n1,2\n0\n0\n0\n",  // no room for 101 holes
  };
  for (const std::string& text : broken)
    EXPECT_THROW(parse_floor(crlf(text), "f"), ViewError) << text;
}

// Corners within the node tolerance (1e-6 in X and in Y) are one vertex, the
// lowest-numbered one, also across the cells the lookup files them in.
TEST(ViewMeshFiles, FieldCornersMergeLikeTheMeshersNodes) {
  Mesh m;
  parse_fields(campi_txt({{{0, 0}, {10 - 4e-7, 0}, {10, 10}},
                          {{5e-7, 0}, {10, 10}, {0, 10}, {-5, 5}},
                          {{10 + 4e-7, 1e-7}, {10, 10 + 9e-7}, {0, 10 + 2e-6}},
                          {{1.4e-6, 0}, {7e-7, 0}, {0, 10}}}),
               "campi.txt", m);
  ASSERT_EQ(m.fields.size(), 4u);
  EXPECT_EQ(m.fields[0].corners, (std::vector<int>{0, 1, 2}));
  EXPECT_EQ(m.fields[1].corners, (std::vector<int>{0, 2, 3, 4}));
  EXPECT_EQ(m.fields[2].corners, (std::vector<int>{1, 2, 5}));
  EXPECT_EQ(m.fields[3].corners, (std::vector<int>{6, 0, 3}));  // 7e-7: near 0 and 6
  EXPECT_EQ(m.vertices.size(), 7u);
  EXPECT_TRUE(m.warnings.empty());
}

TEST(ViewMeshFiles, NodesAndFieldsShortFilesWarnBrokenOnesAreErrors) {
  Mesh m;
  parse_fields(campi_txt(square_fields(), 7), "campi.txt", m);
  EXPECT_EQ(m.fields.size(), 5u);
  EXPECT_EQ(m.warnings, (std::vector<std::string>{"campi.txt announces 7 fields but holds 5"}));
  // A file that contradicts itself names the line; the others name what is wrong.
  const std::pair<const char*, const char*> broken[] = {
      {" 100 \n 1 \n4\n0  0 \n1  0 \n", "c: the file ends before a field corner"},
      {" 100 \n 1 \n3\n0  0 \n1  x \n0 1\n", "c: a field corner: \"x\" is not a number"},
      {" 100 \n 1 \n3\n0  0 \n1  1E+300 \n0 1\n", "c: a field corner: value out of range"},
      {" 100 \n 1.5 \n", "c: the field count: not a count"},
      {" 100 \n -1 \n", "c: the field count: not a count"},
      {" 100 \n 2000000 \n", "c: the field count: not a count"},
      {" 100 \n 2 \n3\n0 0\n1 0\n0 1\n\n5\n0 0\n", "c, line 8: field 2 has 5 corners, not 3 or 4"},
      {" 100 \n 1 \n1700\n0 0\n", "c, line 3: field 1 has 1700 corners, not 3 or 4"},
      {" 100 \n\n 1 \n3\n0 0\n1 0\n0 1\n3\n",
       "c, line 8: more records than the 1 fields announced on line 3"},
  };
  for (const auto& [text, message] : broken) {
    Mesh bad;
    try {
      parse_fields(crlf(text), "c", bad);
      ADD_FAILURE() << text;
    } catch (const ViewError& e) {
      EXPECT_EQ(std::string(e.what()), std::string("read error in ") + message);
    }
  }
  EXPECT_EQ(parse_nodes(punti_dis({{0, 0}, {10, -5}, {.25, 3}}), "p"),
            (Points{{0, 0}, {10, -5}, {0.25, 3}}));
  EXPECT_THROW(parse_nodes(crlf("3\nh\nh\nh\n 2 \n 0  0   0.0\n"), "p"), ViewError);
}

}  // namespace
}  // namespace gencampi::view
