#include "view/svg.h"

#include <gtest/gtest.h>

#include <regex>

#include "view/floor_file.h"
#include "view/mesh_files.h"
#include "view_fixture.h"

namespace gencampi::view {
namespace {

// A minimal well-formedness check: one root, every tag closed in order, attributes
// quoted, no bare ampersand or angle bracket in text.
::testing::AssertionResult well_formed(const std::string& xml) {
  std::vector<std::string> open;
  std::size_t i = xml.find("?>");
  if (xml.rfind("<?xml", 0) != 0 || i == std::string::npos)
    return ::testing::AssertionFailure() << "no XML declaration";
  i += 2;
  int roots = 0;
  const std::regex attr(
      R"(^\s*[A-Za-z_:][-A-Za-z0-9_:.]*="[^"<&]*(&(amp|lt|gt|quot|apos);[^"<&]*)*")");
  while (i < xml.size()) {
    std::size_t lt = xml.find('<', i);
    std::string text = xml.substr(i, (lt == std::string::npos ? xml.size() : lt) - i);
    if (text.find('>') != std::string::npos)
      return ::testing::AssertionFailure() << "bare > in text near " << i;
    for (std::size_t a = text.find('&'); a != std::string::npos; a = text.find('&', a + 1))
      if (!std::regex_search(text.substr(a), std::regex("^&(amp|lt|gt|quot|apos);")))
        return ::testing::AssertionFailure() << "bare & in text near " << i;
    if (lt == std::string::npos) break;
    std::size_t gt = xml.find('>', lt);
    if (gt == std::string::npos) return ::testing::AssertionFailure() << "unclosed tag";
    std::string tag = xml.substr(lt + 1, gt - lt - 1);
    if (tag[0] == '/') {
      if (open.empty() || open.back() != tag.substr(1))
        return ::testing::AssertionFailure() << "mismatched </" << tag.substr(1) << ">";
      open.pop_back();
    } else {
      bool empty = tag.back() == '/';
      if (empty) tag.pop_back();
      std::size_t sp = tag.find_first_of(" \n");
      std::string name = tag.substr(0, sp);
      std::string rest = sp == std::string::npos ? "" : tag.substr(sp);
      std::smatch m;
      while (!rest.empty() && rest.find_first_not_of(" \n") != std::string::npos) {
        if (!std::regex_search(rest, m, attr))
          return ::testing::AssertionFailure() << "bad attributes in <" << name << ">: " << rest;
        rest = m.suffix();
      }
      if (open.empty()) ++roots;
      if (!empty) open.push_back(name);
    }
    i = gt + 1;
  }
  if (!open.empty()) return ::testing::AssertionFailure() << "<" << open.back() << "> not closed";
  if (roots != 1) return ::testing::AssertionFailure() << roots << " root elements";
  return ::testing::AssertionSuccess();
}

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
  EXPECT_TRUE(well_formed(a));
  EXPECT_EQ(a, picture(testing::square_fields(), "casa <1> & \"2\""));
  EXPECT_NE(a.find("Job casa &lt;1&gt; &amp; &quot;2&quot;"), std::string::npos);
  EXPECT_FALSE(well_formed("<?xml version=\"1.0\"?>\n<svg><g></svg>"));
  EXPECT_FALSE(well_formed("<?xml version=\"1.0\"?>\n<svg a=1></svg>"));
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

}  // namespace
}  // namespace gencampi::view
