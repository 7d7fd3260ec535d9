#include "view/viewer.h"

#include <gtest/gtest.h>

#include <sstream>

#include "view_fixture.h"

namespace gencampi::view {
namespace {

namespace fs = std::filesystem;
using testing::TempJob;

struct Outcome {
  int status;
  std::string out, err;
};

Outcome view(const std::vector<std::string>& args) {
  std::ostringstream out, err;
  int status = run_viewer(args, out, err);
  return {status, out.str(), err.str()};
}

TEST(ViewCommand, ReadsTheJobAndLeavesItUntouched) {
  TempJob j;
  j.fields_job(testing::square_fields());
  auto before = j.snapshot();
  fs::path out = fs::temp_directory_path() / ("gencampi-view-out-" + j.root.filename().string());
  fs::create_directories(out);
  Outcome r = view({"--root", j.root.string(), "--svg", (out / "a.svg").string(), "--export",
                    (out / "a.msh").string()});
  EXPECT_EQ(r.status, esito_ok) << r.err;
  EXPECT_EQ(j.snapshot(), before);
  EXPECT_NE(r.out.find("job casa1"), std::string::npos);
  EXPECT_TRUE(fs::exists(out / "a.svg"));
  EXPECT_EQ(testing::read_text(out / "a.msh").rfind("$MeshFormat\n2.2 0 8\n", 0), 0u);

  // The same job named by its two directories, in the wrong letter case.
  Outcome r2 = view({"--progra", (j.root / "PROGRA").string(), "--job", (j.jobs / "CASA1").string(),
                     "--json", "--export=" + (out / "b.vtk").string()});
  EXPECT_EQ(r2.status, esito_ok) << r2.err;
  EXPECT_NE(r2.out.find("\"job\": \"CASA1\""), std::string::npos);
  EXPECT_EQ(testing::read_text(out / "b.vtk").rfind("# vtk DataFile Version 3.0\n", 0), 0u);
  EXPECT_EQ(j.snapshot(), before);
  fs::remove_all(out);
}

TEST(ViewCommand, GapsAboveToleranceGiveStatusThree) {
  TempJob j;
  auto fields = testing::square_fields();
  fields.erase(fields.begin());
  j.fields_job(fields);
  EXPECT_EQ(view({"--root", j.root.string()}).status, esito_copertura);
  // 400000 of 960000 uncovered is 41.67 %.
  EXPECT_EQ(view({"--root", j.root.string(), "--tolerance", "41.6"}).status, esito_copertura);
  EXPECT_EQ(view({"--root", j.root.string(), "--tolerance", "41.7"}).status, esito_ok);
}

TEST(ViewCommand, RigidFloorReadsTriangleNumbers) {
  TempJob j;
  testing::write_text(j.progra() / "impalcato.txt", testing::square_floor("-100"));
  testing::write_text(j.job / "punti.dis",
                      testing::punti_dis({{0, 0}, {1000, 0}, {1000, 1000}, {0, 1000}}));
  testing::write_text(j.job / "triang.txt", testing::crlf({" 2 ", " 1  2  3 ", " 1  3  4 "}));
  Outcome r = view({"--root", j.root.string(), "--json"});
  // The two triangles span the hole: reported, but a rigid floor is meant to do that.
  EXPECT_EQ(r.status, esito_ok) << r.err;
  EXPECT_NE(r.out.find("\"build\": \"rigid\""), std::string::npos);
  EXPECT_NE(r.out.find("\"outside\": 40000"), std::string::npos);
  // Half the square left uncovered is a gap like any other.
  testing::write_text(j.job / "triang.txt", testing::crlf({" 1 ", " 1  2  3 "}));
  r = view({"--root", j.root.string(), "--json"});
  EXPECT_EQ(r.status, esito_copertura) << r.err;
  EXPECT_NE(r.out.find("\"gaps\": 480000"), std::string::npos);
}

TEST(ViewCommand, UsageAndReadErrorsGiveStatusOne) {
  TempJob j;
  j.fields_job(testing::square_fields());
  const std::string root = j.root.string();
  const std::vector<std::vector<std::string>> bad = {
      {},
      {"--progra", root + "/progra"},
      {"--root"},
      {"--root", root, "--bogus"},
      {"--root", root, "--export", "x.stl"},
      {"--root", root, "--tolerance", "-1"},
      {"--root", root + "/nowhere"},
      {"--root", root, "--svg", root + "/no/such/dir/a.svg"},
  };
  for (const auto& args : bad) {
    Outcome r = view(args);
    EXPECT_EQ(r.status, esito_errore) << (args.empty() ? "" : args.back());
    EXPECT_EQ(r.err.rfind("gencampi-view: ", 0), 0u) << r.err;
  }
  fs::remove(j.job / "punti.dis");
  Outcome missing = view({"--root", root});
  EXPECT_EQ(missing.status, esito_errore);
  EXPECT_NE(missing.err.find("punti.dis"), std::string::npos);

  testing::write_text(j.root / "impostazioni" / "lavoro", "  \r\n");
  EXPECT_EQ(view({"--root", root}).status, esito_errore);
  EXPECT_EQ(view({"--help"}).status, esito_ok);
}

TEST(ViewCommand, RelativeJobsDirectoryIsTakenFromProgra) {
  TempJob j;
  j.fields_job(testing::square_fields());
  testing::write_text(j.root / "impostazioni" / "dirlav", "../lavori\r\n");
  Outcome r = view({"--root", j.root.string()});
  EXPECT_EQ(r.status, esito_ok) << r.err;
}

}  // namespace
}  // namespace gencampi::view
