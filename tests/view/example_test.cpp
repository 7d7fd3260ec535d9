// The example job meshed by the real program, then read by the viewer.
#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

#include "view/viewer.h"
#include "view_fixture.h"
#include "xml_check.h"

namespace gencampi::view {
namespace {

namespace fs = std::filesystem;

TEST(ViewExample, MeshedExampleJob) {
  testing::TempJob t;
  const fs::path root = t.root / "palazzina";
  fs::copy(fs::path(GENCAMPI_SOURCE_DIR) / "examples" / "palazzina", root,
           fs::copy_options::recursive);
  const std::string run =
      "cd '" + (root / "progra").string() + "' && '" + GENCAMPI_BINARY + "' 2>/dev/null";
  const int mesher = std::system(run.c_str());
  if (!fs::exists(root / "progra" / "campi.txt"))
    GTEST_SKIP() << "the mesher wrote no campi.txt for the example (status " << mesher << ")";

  auto before = t.snapshot();
  const fs::path out = t.root / "out";
  fs::create_directories(out);
  std::ostringstream json, err;
  int status = run_viewer({"--root", root.string(), "--json", "--svg", (out / "a.svg").string(),
                           "--export", (out / "a.vtk").string()},
                          json, err);
  ASSERT_NE(status, esito_errore) << err.str();
  // The example's perimeter encloses 2000 x 1200 plus a 700 x 150 balcony; its holes
  // are 250 x 400 and 200 x 200.
  EXPECT_NE(json.str().find("\"slab\": 2365000,"), std::string::npos) << json.str();
  EXPECT_EQ(status == esito_ok, json.str().find("\"within_tolerance\": true") != std::string::npos);
  EXPECT_TRUE(testing::well_formed(testing::read_text(out / "a.svg")));

  std::ostringstream again, err2;
  run_viewer({"--root", root.string(), "--svg", (out / "b.svg").string(), "--export",
              (out / "b.msh").string()},
             again, err2);
  EXPECT_EQ(testing::read_text(out / "a.svg"), testing::read_text(out / "b.svg"));
  EXPECT_EQ(testing::read_text(out / "b.msh").rfind("$MeshFormat\n2.2 0 8\n", 0), 0u);
  fs::remove_all(out);
  EXPECT_EQ(t.snapshot(), before);
}

}  // namespace
}  // namespace gencampi::view
