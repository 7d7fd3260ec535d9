#include "view/coverage.h"

#include <gtest/gtest.h>

#include <cmath>

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

// A slab W x H cut into columns by slanted lines, each column cut into trapezoids by
// rungs of its own, some split into triangles. Neighbouring columns put their corners
// at different heights of the shared slanted line, so corners lie on other fields'
// sides only up to rounding: the case where clipping libraries stumble.
std::vector<FieldRec> slanted_columns(unsigned seed, double W, double H) {
  auto next = [&seed]() {
    seed = seed * 1103515245u + 12345u;
    return static_cast<double>((seed >> 8) & 0xFFFF) / 65536.0;
  };
  const int columns = 9;
  std::vector<double> u{0}, v{0};
  for (int i = 1; i < columns; ++i) {
    u.push_back(W * (i + 0.6 * (next() - 0.5)) / columns);
    v.push_back(W * (i + 0.6 * (next() - 0.5)) / columns);
  }
  u.push_back(W);
  v.push_back(W);
  auto on_line = [&](int i, double t) {
    return std::pair<double, double>{u[i] + (v[i] - u[i]) * t, H * t};
  };
  std::vector<FieldRec> fields;
  for (int i = 0; i < columns; ++i) {
    std::vector<double> a{0}, b{0};
    const int rungs = 6 + static_cast<int>(next() * 6);
    for (int k = 1; k < rungs; ++k) {
      a.push_back((k + 0.8 * (next() - 0.5)) / rungs);
      b.push_back((k + 0.8 * (next() - 0.5)) / rungs);
    }
    a.push_back(1);
    b.push_back(1);
    for (int k = 0; k < rungs; ++k) {
      auto p1 = on_line(i, a[k]), p2 = on_line(i + 1, b[k]);
      auto p3 = on_line(i + 1, b[k + 1]), p4 = on_line(i, a[k + 1]);
      if (next() < 0.25) {
        fields.push_back({{p1, p2, p3}});
        fields.push_back({{p1, p3, p4}});
      } else {
        fields.push_back({{p1, p2, p3, p4}});
      }
    }
  }
  return fields;
}

double shoelace(const FieldRec& f) {
  double s = 0;
  for (std::size_t i = 0; i < f.corners.size(); ++i) {
    auto [x1, y1] = f.corners[i];
    auto [x2, y2] = f.corners[(i + 1) % f.corners.size()];
    s += x1 * y2 - x2 * y1;
  }
  return std::fabs(s) / 2;
}

TEST(ViewCoverage, GeneratedMeshesWithCornersOnSlantedSides) {
  const double W = 2317.3, H = 1291.7;
  const std::string floor = testing::crlf(
      {"100", "4", "0,0", "2317.3,0", "2317.3,1291.7", "0,1291.7", "0", "0", "0", "0"});
  const double slab = W * H;
  for (unsigned seed = 1; seed <= 6; ++seed) {
    SCOPED_TRACE(seed);
    std::vector<FieldRec> fields = slanted_columns(seed, W, H);
    Coverage whole = cover_square(fields, floor);
    EXPECT_NEAR(whole.slab_area, slab, 1e-9 * slab);
    EXPECT_NEAR(whole.covered_area, slab, 1e-9 * slab);
    EXPECT_LT(whole.gap_area, 1e-9 * slab);
    EXPECT_LT(whole.overlap_area, 1e-9 * slab);
    EXPECT_LT(whole.outside_area, 1e-9 * slab);
    EXPECT_TRUE(whole.gaps.empty() && whole.overlaps.empty() && whole.outside.empty());

    // One field left out is one gap of its area; one field given twice, one overlap.
    const std::size_t k = (seed * 7919u) % fields.size();
    std::vector<FieldRec> less = fields;
    less.erase(less.begin() + static_cast<long>(k));
    Coverage gap = cover_square(less, floor);
    EXPECT_NEAR(gap.gap_area, shoelace(fields[k]), 1e-9 * slab);
    EXPECT_EQ(gap.gaps.size(), 1u);
    std::vector<FieldRec> more = fields;
    more.push_back(fields[k]);
    Coverage twice = cover_square(more, floor);
    EXPECT_NEAR(twice.overlap_area, shoelace(fields[k]), 1e-9 * slab);
    EXPECT_EQ(twice.overlaps.size(), 1u);
  }
}

}  // namespace
}  // namespace gencampi::view
