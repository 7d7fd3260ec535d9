// Coverage and the report on the square test slab (960000 = 1000 x 1000 less the hole
// 200 x 200), with areas and angles worked out by hand. The mesher writes fields in
// either turning sense, so each case is also read with its fields clockwise. Then the
// tiled coverage against the whole floor clipped at once, on generated floors.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "support/floor_generator.h"
#include "view_fixture.h"

namespace gencampi::view {
namespace {

using namespace gencampi::test;

constexpr double eps = 1e-6;

// turn 1: every field clockwise; turn 2: every other field clockwise.
std::vector<FieldRec> turned(std::vector<FieldRec> fields, int turn) {
  for (std::size_t k = 0; k < fields.size(); ++k)
    if (turn == 1 || (turn == 2 && k % 2 == 1)) std::reverse(fields[k].begin(), fields[k].end());
  return fields;
}

TEST(ViewCoverage, HandWorkedCasesInEitherTurningSense) {
  const FieldRec square100 = {{0, 0}, {100, 0}, {100, 100}, {0, 100}};
  auto without4 = square_fields(), spilled = square_fields(), thrice = square_fields();
  without4.erase(without4.begin() + 3);
  // Field 1 a hundred-thousandth off the perimeter: a slit of 0.01, not a gap region.
  auto slit = square_fields();
  slit[0] = {{0, 1e-5}, {1000, 1e-5}, {1000, 400}, {0, 400}};
  // Field 3 reaches 50 into the hole, over 200; a square 100 x 100 lies on field 1.
  spilled[2] = {{0, 400}, {450, 400}, {450, 600}, {0, 600}};
  spilled.push_back({{300, 0}, {400, 0}, {400, 100}, {300, 100}});
  // A spot under three fields counts once; fields 6 (on one line), 7 and 8 (bow ties)
  // have no inside and are left out.
  thrice.insert(thrice.end(), {{{0, 0}, {50, 0}, {100, 0}},
                               {{0, 0}, {100, 100}, {100, 0}, {0, 50}},
                               {{0, 0}, {100, 0}, {0, 100}, {50, 100}},
                               square100,
                               {{0, 0}, {100, 0}, {100, 100}}});
  const struct {
    std::vector<FieldRec> fields;
    double field, covered, gap, overlap, outside;
    std::size_t gaps, overlaps, outsides;
    std::vector<int> degenerate;
  } cases[] = {{square_fields(), 960000, 960000, 0, 0, 0, 0, 0, 0, {}},
               {without4, 920000, 920000, 40000, 0, 0, 1, 0, 0, {}},
               {slit, 959999.99, 959999.99, 0.01, 0, 0, 0, 0, 0, {}},
               {spilled, 980000, 960000, 0, 10000, 10000, 0, 1, 1, {}},
               {thrice, 975000, 960000, 0, 10000, 0, 0, 1, 0, {6, 7, 8}}};
  for (const auto& c : cases) {
    for (int turn : {0, 1, 2}) {
      SCOPED_TRACE(std::to_string(&c - cases) + " turn " + std::to_string(turn));
      Coverage v = read(turned(c.fields, turn)).coverage;
      const double got[] = {v.slab_area, v.field_area,   v.covered_area,
                            v.gap_area,  v.overlap_area, v.outside_area},
                   want[] = {960000, c.field, c.covered, c.gap, c.overlap, c.outside};
      for (int k = 0; k < 6; ++k) EXPECT_NEAR(got[k], want[k], eps) << k;
      EXPECT_EQ(std::vector({v.gaps.size(), v.overlaps.size(), v.outside.size()}),
                std::vector({c.gaps, c.overlaps, c.outsides}));
      EXPECT_EQ(v.degenerate, c.degenerate);
    }
  }
}

// A few hundred fields on a jittered grid over a slab with a slanted corner and openings,
// with every defect the coverage must find: cells left out, cells split so that corners
// lie on a neighbour's side, fields shifted, doubled or spilling off the slab, bow ties,
// and on every third floor all fields enlarged, so that the doubly covered area is one
// region with a hole per field that crosses every tile border. Corners are on whole
// units, so that a corner set on a neighbour's side lies exactly on it: whether two
// regions touch is decided by the floor, not by a rounding.
Mesh generated_mesh(unsigned seed, Outline& outline) {
  SeededRandom rnd(seed);
  const int nx = rnd.intero(6, 24), ny = rnd.intero(6, 24);
  const double w = nx * 100, h = ny * 100, cut = rnd.tra(0, 300);
  outline.passo = 100;
  outline.perimeter = {{0, 0}, {w, 0}, {w, h - cut}, {w - cut, h}, {0, h}};
  outline.holes.push_back({{-100, -100}, {-90, -100}, {-90, -90}});  // off the slab
  for (int k = rnd.intero(0, 3); k > 0; --k) {
    const double x = rnd.intero(-50, nx * 100), y = rnd.intero(-50, ny * 100),
                 a = rnd.intero(20, 400), b = rnd.intero(20, 400);
    outline.holes.push_back({{x, y}, {x + a, y}, {x + a, y + b}, {x, y + b}});
    if (rnd.moneta(0.5)) std::reverse(outline.holes.back().begin(), outline.holes.back().end());
  }
  std::vector<Point> nodes;
  for (int j = 0; j <= ny; ++j)
    for (int i = 0; i <= nx; ++i) {
      const bool edge = i == 0 || j == 0 || i == nx || j == ny;
      nodes.push_back({i * 100.0 + (edge ? 0 : 2 * rnd.intero(-12, 12)),
                       j * 100.0 + (edge ? 0 : 2 * rnd.intero(-12, 12))});
    }
  auto node = [&](int i, int j) { return nodes[static_cast<std::size_t>(j * (nx + 1) + i)]; };
  auto mid = [](Point a, Point b) { return Point{(a.x + b.x) / 2, (a.y + b.y) / 2}; };
  const double grow = seed % 3 == 0 ? rnd.tra(1.2, 1.6) : 1;
  std::vector<std::vector<Point>> fields;
  for (int j = 0; j < ny; ++j)
    for (int i = 0; i < nx; ++i) {
      const Point a = node(i, j), b = node(i + 1, j), c = node(i + 1, j + 1), d = node(i, j + 1);
      const double pick = rnd.tra(0, 1);
      if (pick < 0.05) continue;
      if (pick < 0.25) {
        fields.push_back({a, b, c});
        fields.push_back({a, c, d});
      } else if (pick < 0.32) {
        fields.push_back({a, mid(a, b), mid(c, d), d});
        fields.push_back({mid(a, b), b, c, mid(c, d)});
      } else {
        fields.push_back({a, b, c, d});
      }
      if (pick > 0.96 || (pick > 0.93 && (i == 0 || j == ny - 1))) {
        const double dx = rnd.tra(-60, 60), dy = rnd.tra(-60, 60);
        fields.push_back({{a.x + dx, a.y + dy}, {b.x + dx, b.y + dy}, {c.x + dx, c.y + dy}});
      }
    }
  fields.push_back({node(1, 1), node(2, 2), node(2, 1), node(1, 2)});       // a bow tie
  fields.push_back({node(0, 0), mid(node(0, 0), node(1, 0)), node(1, 0)});  // no area
  Mesh mesh;
  for (auto& f : fields) {
    if (grow != 1) {
      Point m{0, 0};
      for (Point p : f) m = {m.x + p.x / f.size(), m.y + p.y / f.size()};
      for (Point& p : f) p = {m.x + (p.x - m.x) * grow, m.y + (p.y - m.y) * grow};
    }
    if (rnd.moneta(0.5)) std::reverse(f.begin(), f.end());
    Field& field = mesh.fields.emplace_back();
    for (Point p : f) {
      field.corners.push_back(static_cast<int>(mesh.vertices.size()));
      mesh.vertices.push_back(p);
    }
  }
  return mesh;
}

// Each region's area (holes taken away), smallest first.
std::vector<double> areas(const Shapes& shapes) {
  auto ring = [](const Ring& r) {
    double a = 0;
    for (std::size_t i = 0; i < r.size(); ++i)
      a += r[i].x * r[(i + 1) % r.size()].y - r[(i + 1) % r.size()].x * r[i].y;
    return std::fabs(a) / 2;
  };
  std::vector<double> out;
  for (const Shape& s : shapes) {
    double a = ring(s.outer);
    for (const Ring& h : s.inners) a -= ring(h);
    out.push_back(a);
  }
  std::sort(out.begin(), out.end());
  return out;
}

// The tiles against the whole floor clipped at once: the same areas to rounding, the same
// regions with the same areas (a hole lost when two pieces are joined changes one), the
// same fields left out. Tiles of 2 and 7 fields make borders cut nearly every region.
TEST(ViewCoverage, TilesAgreeWithTheWholeFloorClippedAtOnce) {
  for (unsigned seed = 1; seed <= 40; ++seed) {
    SCOPED_TRACE(seed);
    Outline outline;
    const Mesh mesh = generated_mesh(seed, outline);
    const Coverage want = cover(outline, mesh, Engine::reference);
    const double near = 1e-9 * want.slab_area;
    for (std::size_t per_tile : {std::size_t{2}, std::size_t{7}, campi_per_tessera}) {
      SCOPED_TRACE(per_tile);
      const Coverage got = cover(outline, mesh, Engine::fast, per_tile);
      EXPECT_EQ(got.field_area, want.field_area);
      EXPECT_NEAR(got.covered_area, want.covered_area, near);
      EXPECT_NEAR(got.gap_area, want.gap_area, near);
      EXPECT_NEAR(got.overlap_area, want.overlap_area, near);
      EXPECT_NEAR(got.outside_area, want.outside_area, near);
      EXPECT_EQ(got.degenerate, want.degenerate);
      const Shapes* kinds[][2] = {
          {&got.gaps, &want.gaps}, {&got.overlaps, &want.overlaps}, {&got.outside, &want.outside}};
      for (int k = 0; k < 3; ++k) {
        const std::vector<double> a = areas(*kinds[k][0]), b = areas(*kinds[k][1]);
        ASSERT_EQ(a.size(), b.size()) << "gaps, overlaps, off the slab: " << k;
        for (std::size_t r = 0; r < a.size(); ++r) EXPECT_NEAR(a[r], b[r], near);
      }
    }
  }
}

TEST(ViewCoverage, SlabAsThePointInSlabTestReadsIt) {
  const std::string square = "100\n4\n0,0\n100,0\n100,100\n0,100\n";
  const std::tuple<std::string, double, std::size_t> floors[] = {
      // Two holes overlapping in 100 x 200, one also 100 x 200 beyond the perimeter.
      {"100\n4\n0,0\n1000,0\n1000,1000\n0,1000\n2\n4\n400,400\n600,400\n600,600\n400,600\n"
       "4\n500,400\n1100,400\n1100,600\n500,600\n",
       1000000 - 700 * 200 + 100 * 200, 1},
      {"100\n4\n0,0\n100,100\n100,0\n0,100\n0\n", 5000, 2},      // a bow tie
      {square + "1\n4\n10,10\n10,20\n20,20\n20,10\n", 9900, 1},  // a clockwise hole
      // A perimeter that winds twice around 10..20 x 10..20 leaves it out (even-odd).
      {"100\n10\n0,0\n100,0\n100,100\n0,100\n0,0\n10,10\n20,10\n20,20\n10,20\n10,10\n0\n", 9900, 1},
  };
  for (const auto& [floor, area, regions] : floors) {
    Coverage v = read({}, crlf(floor + "0\n0\n0\n")).coverage;
    EXPECT_NEAR(v.slab_area, area, eps) << floor;
    EXPECT_NEAR(v.gap_area, area, eps) << floor;
    EXPECT_EQ(v.gaps.size(), regions) << floor;
  }
}

// Field 2 leans 100 over its height of 400: two corners are 90 + atan(1/4) degrees,
// two 90 - atan(1/4); it spills 100 x 400 / 2 beyond the perimeter and leaves as much
// uncovered.
TEST(ViewReport, CountsExtremesAndSquarenessInEitherTurningSense) {
  auto fields = square_fields();
  fields[1] = {{0, 600}, {1000, 600}, {1100, 1000}, {100, 1000}};
  const double lean = std::atan(0.25) * 180 / std::numbers::pi;
  for (int turn : {0, 1, 2}) {
    SCOPED_TRACE(turn);
    Report r = read(turned(fields, turn)).report;
    EXPECT_EQ(std::vector({r.quadrilaterals, r.triangles, r.nodes}), std::vector({3, 2, 12}));
    ASSERT_TRUE(r.mean_deviation && r.worst_corner && r.smallest && r.largest && r.shortest_side);
    EXPECT_NEAR(*r.mean_deviation, lean * 4 / 12, 1e-9);
    EXPECT_NEAR(r.worst_corner->value, lean, 1e-9);
    // Field 4 is the first of the two equal triangles; field 2 is as large as field 1.
    EXPECT_EQ(std::vector({r.worst_corner->field, r.smallest->field, r.largest->field,
                           r.shortest_side->field}),
              std::vector({2, 4, 1, 3}));
    EXPECT_EQ(std::vector({r.smallest->value, r.largest->value, r.shortest_side->value}),
              std::vector({40000.0, 400000.0, 200.0}));
    EXPECT_EQ(r.largest->at, (Point{500, 200}));
    EXPECT_NEAR(r.field_area, 960000, eps);
    EXPECT_NEAR(r.outside_area, 20000, eps);
    EXPECT_NEAR(r.gap_area, 20000, eps);
    EXPECT_FALSE(r.within_tolerance);
  }
}

TEST(ViewReport, ToleranceTableAndJson) {
  auto fields = square_fields();
  fields.push_back({{0, 0}, {10, 0}, {10, 9}, {0, 9}});                       // 90 covered twice
  EXPECT_TRUE(read(fields).report.within_tolerance);                          // 96 allowed
  EXPECT_FALSE(read(fields, square_floor(), 0.009).report.within_tolerance);  // 86.4
  EXPECT_DOUBLE_EQ(read(fields, square_floor(), 0.5).report.tolerance_area, 4800);
  EXPECT_TRUE(read(square_fields(), square_floor(), 0).report.within_tolerance);

  fields = square_fields();
  fields.erase(fields.begin() + 4);
  Report r = read(fields).report;
  const std::string t = format_table(r), j = format_json(r);
  for (const char* part :
       {"job casa1  (fields of campi.txt)\n",
        "  fields                      4  (3 quadrilaterals, 1 triangle, 11 mesh nodes)\n",
        "  gaps                                40000.00      4.1667 %  1 region\n",
        "  smallest field (area)       40000.00  (field 4 near 866.7, 466.7)\n",
        "result: OVER TOLERANCE: gaps 4.17% over 0.01%\n"})
    EXPECT_NE(t.find(part), std::string::npos) << part << "\n" << t;
  for (const char* part :
       {"\"counts\": {\"nodes\": 11, \"fields\": 4, \"quadrilaterals\": 3, \"triangles\": 1",
        "\"areas\": {\"slab\": 960000, \"fields\": 920000, \"covered\": 920000, \"gaps\": 40000,",
        "\"within_tolerance\": false", "\"smallest_field\": {\"field\": 4, \"area\": 40000, "})
    EXPECT_NE(j.find(part), std::string::npos) << part << "\n" << j;

  r = read({{{0, 0}, {1000, 0}, {0, 1000}}}).report;
  r.job = "a\"b";
  EXPECT_NE(format_json(r).find("\"job\": \"a\\\"b\""), std::string::npos);
  EXPECT_NE(format_json(r).find("\"mean\": null, \"worst\": null"), std::string::npos);
  EXPECT_NE(format_table(r).find("- (no quadrilaterals)"), std::string::npos);
}

}  // namespace
}  // namespace gencampi::view
