// Runs started together on one job, as a double click or a batch loop run twice starts
// them: one waits for the other, and each leaves exactly what a single run leaves.
#include <gtest/gtest.h>

#include "app/esegui.h"

namespace gencampi::test {
namespace {

TEST(Concurrency, RunsStartedTogetherGiveTheResultOfOne) {
  JobTree t("insieme");
  // The villetta example: slanted edges and a hexagonal opening, long enough for two
  // runs to overlap.
  const fs::path esempio = fs::path(GENCAMPI_SOURCE_DIR) / "examples" / "villetta";
  scrivi(t.pavimento(), leggi(esempio / "progra" / "impalcato.txt"));
  scrivi(t.ini(), leggi(esempio / "impostazioni" / "tirnel.ini"));
  ASSERT_EQ(esegui(t.progra()).stato, 0);
  const auto singola = t.istantanea();

  for (int coppia = 0; coppia < 4; ++coppia) {
    const std::string err = (t.radice / "err").string();
    std::string cmd = "cd " + quota(t.progra().string()) + " && (";
    for (int i = 0; i < 3; ++i) {
      const std::string n = err + std::to_string(i);
      cmd += "(" + quota(programma()) + " 2>" + quota(n) + " </dev/null; echo $? >" +
             quota(n + ".stato") + ") & ";
    }
    cmd += "wait)";
    ASSERT_EQ(std::system(cmd.c_str()), 0);
    for (int i = 0; i < 3; ++i) {
      // A run that had to wait says so; none shows a message box.
      const std::string n = err + std::to_string(i);
      const std::string m = leggi(n);
      EXPECT_TRUE(m.empty() || m.rfind("gencampi: in attesa che finisca", 0) == 0) << m;
      EXPECT_EQ(leggi(n + ".stato"), "0\n");
      fs::remove(n);
      fs::remove(n + ".stato");
    }
    EXPECT_EQ(t.istantanea(), singola) << "coppia " << coppia;
  }
}

}  // namespace
}  // namespace gencampi::test
