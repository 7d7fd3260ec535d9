#include "view/svg.h"

#include <gtest/gtest.h>

#include "view/floor_file.h"
#include "view/mesh_files.h"
#include "view_fixture.h"
#include "xml_check.h"

namespace gencampi::view {
namespace {

std::size_t count(const std::string& s, const std::string& what) {
  std::size_t n = 0;
  for (std::size_t p = s.find(what); p != std::string::npos; p = s.find(what, p + 1)) ++n;
  return n;
}

std::string picture(const std::vector<testing::FieldRec>& fields, const std::string& job) {
  Outline o = parse_floor(testing::square_floor(), "impalcato.txt");
  Mesh m;
  parse_fields(testing::campi_txt(fields), "campi.txt", m);
  m.nodes = m.vertices;
  Coverage c = cover(o, m);
  return draw_svg(o, m, c, make_report(job, o, m, c, 0.01), "cm");
}

TEST(ViewSvg, WellFormedAndDeterministic) {
  std::string a = picture(testing::square_fields(), "casa <1> & \"2\"");
  EXPECT_TRUE(testing::well_formed(a));
  EXPECT_EQ(a, picture(testing::square_fields(), "casa <1> & \"2\""));
  EXPECT_NE(a.find("Job casa &lt;1&gt; &amp; &quot;2&quot;"), std::string::npos);
  EXPECT_FALSE(testing::well_formed("<?xml version=\"1.0\"?>\n<svg><g></svg>"));
  EXPECT_FALSE(testing::well_formed("<?xml version=\"1.0\"?>\n<svg a=1></svg>"));
}

TEST(ViewSvg, DrawsEveryLayer) {
  auto fields = testing::square_fields();
  fields.erase(fields.begin() + 3);
  std::string s = picture(fields, "casa1");
  auto group = [&s](const std::string& id) {
    std::size_t b = s.find("<g id=\"" + id + "\"");
    EXPECT_NE(b, std::string::npos) << id;
    return s.substr(b, s.find("</g>", b) - b);
  };
  EXPECT_EQ(count(group("quadrilaterals"), "<polygon"), 3u);
  EXPECT_EQ(count(group("triangles"), "<polygon"), 1u);
  EXPECT_EQ(count(group("gaps"), "<path"), 1u);
  EXPECT_EQ(count(group("nodes"), "<circle"), 12u);
  EXPECT_EQ(count(group("walls"), "<polyline"), 1u);
  EXPECT_EQ(count(group("pillars"), "<rect"), 1u);
  EXPECT_EQ(count(group("polylines"), "<polyline"), 1u);
  EXPECT_EQ(count(group("outline"), "<polygon"), 2u);           // perimeter and hole
  EXPECT_NE(group("scale").find("200 cm"), std::string::npos);  // a quarter of 1000 is 250
  EXPECT_NE(s.find("gaps or overlaps above tolerance"), std::string::npos);
  EXPECT_EQ(s.find("id=\"overlaps\""), std::string::npos);  // nothing covered twice
  // Y grows upwards on the floor and downwards on screen: (0, 0) is bottom left.
  EXPECT_NE(
      group("outline").find("points=\"24.00,1496.00 1424.00,1496.00 1424.00,96.00 24.00,96.00\""),
      std::string::npos);
}

TEST(ViewSvg, RegionsTooSmallToSeeAreRinged) {
  auto fields = testing::square_fields();
  fields[0].corners[2].second = 399.9;  // a sliver of 1000 x 0.1 / 2 left uncovered
  std::string s = picture(fields, "casa1");
  EXPECT_NE(s.find("<g id=\"gaps-marks\""), std::string::npos);
  EXPECT_EQ(s.find("<g id=\"overlaps\""), std::string::npos);
  fields = testing::square_fields();
  fields.erase(fields.begin());  // a gap anybody sees
  s = picture(fields, "casa1");
  EXPECT_NE(s.find("<g id=\"gaps\""), std::string::npos);
  EXPECT_EQ(s.find("<g id=\"gaps-marks\""), std::string::npos);
}

}  // namespace
}  // namespace gencampi::view
