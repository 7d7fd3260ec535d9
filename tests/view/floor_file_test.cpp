#include "view/floor_file.h"

#include <gtest/gtest.h>

#include "view_fixture.h"

namespace gencampi::view {
namespace {

using testing::crlf;

TEST(ViewFloor, ReadsEveryItemOfTheSquareSlab) {
  Outline o = parse_floor(testing::square_floor(), "impalcato.txt");
  EXPECT_EQ(o.passo, 100);
  EXPECT_FALSE(o.rigid());
  ASSERT_EQ(o.perimeter.size(), 4u);
  EXPECT_EQ(o.perimeter[2], (Point{1000, 1000}));
  ASSERT_EQ(o.holes.size(), 1u);
  EXPECT_EQ(o.holes[0][3], (Point{400, 600}));
  ASSERT_EQ(o.walls.size(), 1u);
  EXPECT_EQ(o.walls[0].size(), 2u);
  ASSERT_EQ(o.pillars.size(), 1u);
  EXPECT_EQ(o.pillars[0].centre, (Point{800, 800}));
  EXPECT_TRUE(o.pillars[0].corners.empty());
  ASSERT_EQ(o.polylines.size(), 1u);
  EXPECT_FALSE(o.polylines[0].closed);
  EXPECT_TRUE(o.stopped.empty());
}

TEST(ViewFloor, FollowsTheFieldRulesOfTheMesher) {
  // Coordinates blank-separated or split over two lines; "baricentro" brings four
  // corner points; n = 2.5 rounds to 2; c = 1 closes; LF line ends, no final break.
  std::string text =
      "-50\n3\n0 0\n900\n0\n0,900\n0\n0\n2\n300 200 baricentro\n290,190\n310,190\n310,210\n"
      "290,210\n100 100 Baricentro\n2\n2.5 1\n1,1\n5,5\n3 0\n7,7\n8,8\n9,9";
  Outline o = parse_floor(text, "f");
  EXPECT_TRUE(o.rigid());
  EXPECT_EQ(o.perimeter[1], (Point{900, 0}));
  ASSERT_EQ(o.pillars.size(), 2u);
  EXPECT_EQ(o.pillars[0].corners.size(), 4u);
  EXPECT_EQ(o.pillars[0].corners[3], (Point{290, 210}));
  EXPECT_TRUE(o.pillars[1].corners.empty());  // the word is matched in exact case
  ASSERT_EQ(o.polylines.size(), 2u);
  EXPECT_EQ(o.polylines[0].vertices.size(), 2u);
  EXPECT_TRUE(o.polylines[0].closed);
  EXPECT_EQ(o.polylines[1].vertices.size(), 3u);
  EXPECT_FALSE(o.polylines[1].closed);
}

TEST(ViewFloor, StopsWhereTheMesherStops) {
  // A hole of two vertices ends the reading: walls and pillars after it are absent.
  Outline o = parse_floor(crlf({"100", "3", "0,0", "10,0", "0,10", "2", "3", "1,1", "2,1", "1,2",
                                "2", "5,5", "6,6", "0", "0", "0"}),
                          "f");
  EXPECT_EQ(o.stopped, "ERRORE BUCHI");
  EXPECT_EQ(o.holes.size(), 1u);
  EXPECT_TRUE(o.walls.empty());

  o = parse_floor(crlf({"100", "3", "0,0", "10,0", "0,10", "0", "1", "1", "5,5", "1", "1 1"}), "f");
  EXPECT_EQ(o.stopped, "ERRORE MURI");

  // A polyline with n below 1 still reads its first vertex.
  o = parse_floor(crlf({"100", "3", "0,0", "10,0", "0,10", "0", "0", "0", "1", "0 0", "4,4"}), "f");
  ASSERT_EQ(o.polylines.size(), 1u);
  EXPECT_EQ(o.polylines[0].vertices.size(), 1u);
}

TEST(ViewFloor, BrokenFilesAreErrorsNotCrashes) {
  const std::vector<std::string> broken = {
      "",                                                               // nothing at all
      crlf({"100", "2", "0,0", "1,1"}),                                 // ERRORE PERIMETRO
      crlf({"100", "4", "0,0", "10,0", "10,10"}),                       // ends in the perimeter
      crlf({"100", "3", "0,0", "10,x", "0,10", "0", "0", "0", "0"}),    // not a number
      crlf({"100", "3", "0,0", "10,0", "0,1e9", "0", "0", "0", "0"}),   // beyond 1e8
      crlf({"1e999", "3", "0,0", "10,0", "0,10", "0", "0", "0", "0"}),  // not finite
      crlf({"100", "40000", "0,0"}),                                    // count out of range
      crlf({"100", "3", "0,0", "10,0", "0,10", "0", "0", "0", "1", "40000 0"}),
      crlf({"100", "3", "0,0", "10,0", "0,10", "0", "0", "1", "1e9 1"}),  // pillar far off
  };
  for (const std::string& text : broken) EXPECT_THROW(parse_floor(text, "f"), ViewError) << text;

  std::string many = crlf({"100", "3", "0,0", "10,0", "0,10", "101"});
  for (int h = 0; h < 101; ++h) many += crlf({"3", "1,1", "2,1", "1,2"});
  EXPECT_THROW(parse_floor(many, "f"), ViewError);
}

TEST(ViewFloor, MissingFileNamesThePath) {
  try {
    read_floor("/nonexistent-gencampi/progra/impalcato.txt");
    FAIL();
  } catch (const ViewError& e) {
    EXPECT_NE(std::string(e.what()).find("/nonexistent-gencampi/progra/impalcato.txt"),
              std::string::npos);
  }
}

}  // namespace
}  // namespace gencampi::view
