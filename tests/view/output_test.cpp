// What the viewer writes: the picture and the field table.
#include <gtest/gtest.h>

#include "view/field_table.h"
#include "view/svg.h"
#include "view/viewer.h"
#include "view_fixture.h"

namespace gencampi::view {
namespace {

using namespace gencampi::test;

std::string picture(const std::vector<FieldRec>& fields, const std::string& job = "casa1",
                    bool labels = false) {
  Read r = read(fields);
  r.report.job = job;
  return draw_svg(r.outline, r.mesh, r.coverage, r.report, "cm", labels);
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
  // The slab's 1000 fill 1400 pixels; (0, 0) is bottom left, after the 24-pixel margin,
  // 46 pixels for the tick values "1000" and a 72-pixel header.
  EXPECT_EQ(group(s, "outline").at(0),
            "<polygon stroke-width=\"2\" points=\"70.00,1496.00 1470.00,1496.00 1470.00,96.00 "
            "70.00,96.00\"/>");
  EXPECT_EQ(group(s, "triangles").at(0),
            "<polygon points=\"910.00,936.00 1470.00,656.00 910.00,656.00\"><title>field 4: 3 "
            "corners; area 40000; angles 63.43, 26.57, 90; shortest side 200; aspect 2.24"
            "</title></polygon>");
  const std::pair<const char*, std::size_t> layers[] = {
      {"quadrilaterals", 3}, {"gaps", 1},          {"nodes", 12},  {"walls", 1},
      {"pillars", 1},        {"polylines", 1},     {"outline", 2}, {"overlaps", 0},
      {"off-slab", 0},       {"hanging-nodes", 4}, {"labels", 0},  {"axes", 1 + 11 + 11 + 1}};
  for (auto [id, n] : layers) EXPECT_EQ(group(s, id).size(), n) << id;
  EXPECT_NE(s.find(">200 cm</text>"), std::string::npos);  // a quarter of 1000 is 250
  EXPECT_NE(s.find(">over tolerance</text>"), std::string::npos);
  EXPECT_NE(s.find(">gaps 4.17% over 0.01%</text>"), std::string::npos);
}

// Three quadrilaterals around the hole, a sliver triangle and a fair one: the
// quadrilaterals' sides along the hole carry the corners of the fields beside it.
std::vector<FieldRec> sliver_fields() {
  auto fields = square_fields();
  fields[3] = {{600, 400}, {1000, 400}, {1000, 410}};
  return fields;
}

TEST(ViewReport, NamesHangingNodesSliversAndEveryMeasureOverItsLimit) {
  Read in = read(sliver_fields());
  Report r = make_report("casa1", in.outline, in.mesh, in.coverage, 0.01, {2, 30, 3});
  EXPECT_EQ(r.over, std::vector<std::string>(
                        {"gaps 3.96% over 0.01%", "triangle angle 1.43 deg (field 4) under 2 deg",
                         "triangle aspect 40 (field 4) over 30", "hanging nodes 4 over 3"}));
  ASSERT_EQ(r.hanging.size(), 4u);
  EXPECT_EQ(r.hanging[0].at, (Point{600, 400}));
  EXPECT_EQ(r.hanging[3].field, 2);
  EXPECT_EQ(r.smallest_angle->field, 4);
  EXPECT_EQ(r.smallest_angle->at, (Point{2600.0 / 3, 1210.0 / 3}));
  EXPECT_EQ(r.worst_aspect->field, 4);
  std::vector<int> counts;
  for (const Bin& b : r.angle_bins) counts.push_back(b.count);
  EXPECT_EQ(counts, std::vector({1, 0, 0, 1, 0, 0, 0}));
  EXPECT_EQ(r.deviation_bins.front().count, 3);
  // A corner of 45 degrees exactly falls in the range that starts there.
  EXPECT_EQ(read({{{0, 0}, {2000, 0}, {1000, 1000}, {0, 1000}}}).report.deviation_bins[6].count, 1);

  const std::string t = format_table(r), j = format_json(r);
  const auto node = [&in](double x, double y) {
    const auto& v = in.mesh.vertices;
    return std::to_string(std::find(v.begin(), v.end(), Point{x, y}) - v.begin() + 1);
  };
  for (const std::string& part :
       {"  hanging nodes               4\n    mesh node " + node(600, 400) +
            " at 600.0, 400.0 on a side of field 1\n",
        std::string("  smallest triangle angle     1.43  (field 4 near 866.7, 403.3)\n"),
        std::string("\n         0-5    5-10   10-20   20-30   30-40   40-50   50-60\n"
                    "           1       0       0       1       0       0       0\n"),
        std::string("result: OVER TOLERANCE: gaps 3.96% over 0.01%; triangle angle")})
    EXPECT_NE(t.find(part), std::string::npos) << part << "\n" << t;
  for (const std::string& part :
       {"{\"node\": " + node(600, 600) + ", \"field\": 2, \"side\": 1, \"x\": 600, \"y\": 600}",
        std::string("\"histogram\": [{\"from\": 0, \"to\": 5, \"count\": 1}, "),
        std::string("\"over_tolerance\": [\"gaps 3.96% over 0.01%\", ")})
    EXPECT_NE(j.find(part), std::string::npos) << part << "\n" << j;
  EXPECT_TRUE(in.report.over == std::vector<std::string>{"gaps 3.96% over 0.01%"});
  EXPECT_NE(format_table(read(square_fields()).report).find("result: within tolerance\n"),
            std::string::npos);
}

TEST(ViewSvg, FieldTitlesLabelsAndWorstFields) {
  const std::string s = picture(sliver_fields(), "casa1", true);
  EXPECT_TRUE(well_formed(s));
  std::size_t titles = 0;
  for (const char* id : {"quadrilaterals", "triangles"})
    for (const std::string& e : group(s, id))
      titles += e.find("<title>field ") != std::string::npos;
  EXPECT_EQ(titles, 5u);
  const std::vector<std::string> labels = group(s, "labels");
  ASSERT_EQ(labels.size(), 5u);
  EXPECT_TRUE(labels[3].ends_with(">4</text>")) << labels[3];
  // The sliver is both the sharpest and the longest triangle: one outline, one ring,
  // one tag naming both.
  const std::vector<std::string> worst = group(s, "worst-fields");
  ASSERT_EQ(worst.size(), 3u);
  EXPECT_TRUE(worst[2].ends_with(">field 4: smallest angle 1.43 deg, worst aspect 40.01</text>"))
      << worst[2];
}

TEST(ViewSvg, NewOptions) {
  Options o = parse_options({"--root", "r", "--labels", "--min-angle", "2.5", "--max-hanging=0"});
  EXPECT_TRUE(o.labels);
  EXPECT_EQ(o.limits.min_triangle_angle, 2.5);
  EXPECT_EQ(o.limits.hanging_nodes, 0);
  EXPECT_EQ(o.limits.max_triangle_aspect, 50);
  for (const char* bad : {"--min-angle=-1", "--max-aspect=0.5", "--max-hanging=1.5"})
    EXPECT_THROW(parse_options({"--root", "r", bad}), ViewError) << bad;
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
