#include "view/coverage.h"

#include <gtest/gtest.h>

#include "view/floor_file.h"
#include "view/mesh_files.h"
#include "view_fixture.h"

namespace gencampi::view {
namespace {

using testing::FieldRec;

Coverage cover_square(const std::vector<FieldRec>& fields,
                      const std::string& floor = testing::square_floor()) {
  Outline o = parse_floor(floor, "impalcato.txt");
  Mesh m;
  parse_fields(testing::campi_txt(fields), "campi.txt", m);
  return cover(o, m);
}

// Areas here are sums of products of small whole numbers: exact in doubles, up to
// what the clipping's own rounding leaves.
constexpr double eps = 1e-6;

TEST(ViewCoverage, ExactTilingHasNoGapsOrOverlaps) {
  Coverage c = cover_square(testing::square_fields());
  EXPECT_NEAR(c.slab_area, 960000, eps);
  EXPECT_NEAR(c.field_area, 960000, eps);
  EXPECT_NEAR(c.covered_area, 960000, eps);
  EXPECT_NEAR(c.gap_area, 0, eps);
  EXPECT_NEAR(c.overlap_area, 0, eps);
  EXPECT_NEAR(c.outside_area, 0, eps);
  EXPECT_TRUE(c.gaps.empty());
  EXPECT_TRUE(c.overlaps.empty());
  EXPECT_TRUE(c.outside.empty());
  ASSERT_EQ(c.slab.size(), 1u);
  EXPECT_EQ(c.slab[0].inners.size(), 1u);
}

TEST(ViewCoverage, AMissingFieldIsAGapOfItsArea) {
  auto fields = testing::square_fields();
  fields.erase(fields.begin() + 3);  // the triangle 600,400 1000,400 1000,600
  Coverage c = cover_square(fields);
  EXPECT_NEAR(c.gap_area, 40000, eps);
  EXPECT_NEAR(c.covered_area, 920000, eps);
  ASSERT_EQ(c.gaps.size(), 1u);
  EXPECT_EQ(c.gaps[0].outer.size(), 3u);
  EXPECT_NEAR(c.overlap_area, 0, eps);
}

TEST(ViewCoverage, OverlapsAndFieldsOffTheSlab) {
  auto fields = testing::square_fields();
  // Field 3 reaches 50 into the hole, over 200: 10000 off the slab; the extra square
  // 0..100 x 0..100 lies on field 1 and is covered twice.
  fields[2] = {{{0, 400}, {450, 400}, {450, 600}, {0, 600}}};
  fields.push_back({{{0, 0}, {100, 0}, {100, 100}, {0, 100}}});
  Coverage c = cover_square(fields);
  EXPECT_NEAR(c.outside_area, 10000, eps);
  EXPECT_NEAR(c.overlap_area, 10000, eps);
  EXPECT_NEAR(c.gap_area, 0, eps);
  EXPECT_NEAR(c.field_area, 960000 + 10000 + 10000, eps);
  EXPECT_EQ(c.overlaps.size(), 1u);
  EXPECT_EQ(c.outside.size(), 1u);
}

TEST(ViewCoverage, AreaCoveredThreeTimesCountsOnce) {
  auto fields = testing::square_fields();
  fields.push_back({{{0, 0}, {100, 0}, {100, 100}, {0, 100}}});
  fields.push_back({{{0, 0}, {100, 0}, {100, 100}}});
  Coverage c = cover_square(fields);
  EXPECT_NEAR(c.overlap_area, 10000, eps);
}

TEST(ViewCoverage, HolesMayOverlapAndReachBeyondThePerimeter) {
  // Two holes overlapping in 100 x 200, one of them also 100 x 200 beyond the edge.
  std::string floor =
      testing::crlf({"100",      "4",        "0,0",     "1000,0",  "1000,1000", "0,1000", "2",
                     "4",        "400,400",  "600,400", "600,600", "400,600",   "4",      "500,400",
                     "1100,400", "1100,600", "500,600", "0",       "0",         "0"});
  Coverage c = cover_square({}, floor);
  EXPECT_NEAR(c.slab_area, 1000000 - 700 * 200 + 100 * 200, eps);
  EXPECT_NEAR(c.gap_area, c.slab_area, eps);
  EXPECT_EQ(c.gaps.size(), 1u);
}

TEST(ViewCoverage, OutlinesAreReadByTheEvenOddRule) {
  // A bow-tie perimeter encloses its two triangles, 50 x 100 / 2 each.
  std::string bow =
      testing::crlf({"100", "4", "0,0", "100,100", "100,0", "0,100", "0", "0", "0", "0"});
  EXPECT_NEAR(cover_square({}, bow).slab_area, 5000, eps);
  // A closing vertex that repeats the first adds nothing.
  std::string closed =
      testing::crlf({"100", "5", "0,0", "100,0", "100,100", "0,100", "0,0", "0", "0", "0", "0"});
  EXPECT_NEAR(cover_square({}, closed).slab_area, 10000, eps);
  // A hole given clockwise is a hole all the same.
  std::string cw = testing::crlf({"100", "4", "0,0", "100,0", "100,100", "0,100", "1", "4", "10,10",
                                  "10,20", "20,20", "20,10", "0", "0", "0"});
  EXPECT_NEAR(cover_square({}, cw).slab_area, 9900, eps);
}

TEST(ViewCoverage, FieldsWithoutAreaAreLeftOutAndNamed) {
  auto fields = testing::square_fields();
  fields.push_back({{{0, 0}, {50, 0}, {100, 0}}});               // collinear
  fields.push_back({{{0, 0}, {100, 100}, {100, 0}, {0, 100}}});  // sides cross
  Coverage c = cover_square(fields);
  EXPECT_EQ(c.degenerate, (std::vector<int>{6, 7}));
  EXPECT_NEAR(c.overlap_area, 0, eps);
  EXPECT_NEAR(c.field_area, 960000, eps);
}

}  // namespace
}  // namespace gencampi::view
