#include "view/report.h"

#include <gtest/gtest.h>

#include <cmath>

#include "view/floor_file.h"
#include "view/mesh_files.h"
#include "view_fixture.h"

namespace gencampi::view {
namespace {

Report report_of(const std::vector<testing::FieldRec>& fields, double tolerance = 0.01) {
  Outline o = parse_floor(testing::square_floor(), "impalcato.txt");
  Mesh m;
  parse_fields(testing::campi_txt(fields), "campi.txt", m);
  m.nodes = m.vertices;
  return make_report("casa1", o, m, cover(o, m), tolerance);
}

TEST(ViewReport, CornerAngles) {
  EXPECT_DOUBLE_EQ(corner_angle({1, 0}, {0, 0}, {0, 1}), 90);
  EXPECT_DOUBLE_EQ(corner_angle({1, 0}, {0, 0}, {-1, 0}), 180);
  EXPECT_NEAR(corner_angle({1, 0}, {0, 0}, {1, 1}), 45, 1e-12);
  EXPECT_NEAR(corner_angle({0, 1}, {0, 0}, {1, 0}), 90, 1e-12);  // orientation does not matter
}

TEST(ViewReport, CountsExtremesAndSquareness) {
  auto fields = testing::square_fields();
  // Field 2 becomes a parallelogram leaning 100 over 400: corners 90 -/+ atan(1/4).
  fields[1] = {{{0, 600}, {1000, 600}, {1100, 1000}, {100, 1000}}};
  Report r = report_of(fields);
  EXPECT_EQ(r.quadrilaterals, 3);
  EXPECT_EQ(r.triangles, 2);
  EXPECT_EQ(r.nodes, 12);
  const double lean = std::atan(0.25) * 180 / std::acos(-1.0);
  ASSERT_TRUE(r.mean_deviation.has_value());
  EXPECT_NEAR(*r.mean_deviation, lean * 4 / 12, 1e-9);
  ASSERT_TRUE(r.worst_corner.has_value());
  EXPECT_EQ(r.worst_corner->field, 2);
  EXPECT_NEAR(r.worst_corner->value, lean, 1e-9);
  EXPECT_EQ(r.smallest->field, 4);  // first of the two equal triangles
  EXPECT_DOUBLE_EQ(r.smallest->value, 40000);
  EXPECT_EQ(r.largest->field, 1);
  EXPECT_DOUBLE_EQ(r.shortest_side->value, 200);
  EXPECT_EQ(r.shortest_side->field, 3);
  // The leaning field spills 100 x 400 / 2 beyond the perimeter and leaves as much
  // uncovered on the other side.
  EXPECT_NEAR(r.outside_area, 20000, 1e-6);
  EXPECT_NEAR(r.gap_area, 20000, 1e-6);
  EXPECT_FALSE(r.within_tolerance);
}

TEST(ViewReport, ToleranceIsAShareOfTheSlab) {
  auto fields = testing::square_fields();
  fields.push_back({{{0, 0}, {10, 0}, {10, 9}, {0, 9}}});   // 90 covered twice
  EXPECT_TRUE(report_of(fields).within_tolerance);          // 96 allowed
  EXPECT_FALSE(report_of(fields, 0.009).within_tolerance);  // 86.4 allowed
  EXPECT_DOUBLE_EQ(report_of(fields, 0.5).tolerance_area, 4800);
}

TEST(ViewReport, TableAndJson) {
  auto fields = testing::square_fields();
  fields.erase(fields.begin() + 4);
  Report r = report_of(fields);
  std::string t = format_table(r);
  EXPECT_NE(t.find("job casa1"), std::string::npos);
  EXPECT_NE(t.find("40000.00"), std::string::npos);  // the gap
  EXPECT_NE(t.find("4.1667 %"), std::string::npos);  // 40000 of 960000
  EXPECT_NE(t.find("GAPS OR OVERLAPS ABOVE TOLERANCE"), std::string::npos);

  std::string j = format_json(r);
  EXPECT_NE(j.find("\"slab\": 960000,"), std::string::npos);
  EXPECT_NE(j.find("\"gaps\": 40000,"), std::string::npos);
  EXPECT_NE(j.find("\"within_tolerance\": false"), std::string::npos);
  EXPECT_NE(j.find("\"counts\": {\"nodes\": 11, \"fields\": 4, \"quadrilaterals\": 3, "
                   "\"triangles\": 1"),
            std::string::npos);

  Report none = r;
  none.mean_deviation.reset();
  none.worst_corner.reset();
  none.job = "a\"b";
  std::string jn = format_json(none);
  EXPECT_NE(jn.find("\"mean\": null, \"worst\": null"), std::string::npos);
  EXPECT_NE(jn.find("\"job\": \"a\\\"b\""), std::string::npos);
}

TEST(ViewReport, ShortestNumberText) {
  EXPECT_EQ(shortest(400000), "400000");
  EXPECT_EQ(shortest(0.1), "0.1");
  EXPECT_EQ(shortest(-12.5), "-12.5");
  EXPECT_EQ(shortest(0), "0");
  EXPECT_EQ(shortest(1e-9), "1e-09");
  EXPECT_EQ(std::stod(shortest(1.0 / 3)), 1.0 / 3);
}

}  // namespace
}  // namespace gencampi::view
