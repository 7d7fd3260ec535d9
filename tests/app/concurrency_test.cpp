// Runs started together on one job, as a double click or a batch loop run twice starts
// them: one waits for the other, and each leaves exactly what a single run leaves.
#include <gtest/gtest.h>

#include <map>
#include <optional>

#include "app/esegui.h"
#include "core/run_record.h"

namespace gencampi::test {
namespace {

// The runs are started and killed through the POSIX shell; on Windows the runs started
// together are tested with the system's own process calls (tests/windows).
TEST(Concurrency, RunsStartedTogetherGiveTheResultOfOne) {
#ifdef _WIN32
  GTEST_SKIP() << "started through the POSIX shell; tests/windows starts them on Windows";
#else
  JobTree t("insieme");
  esempio(t, "villetta");
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
#endif
}

// A run killed at any moment leaves each result file with the previous run's whole
// content or its own, never empty or cut; and the record of a killed run has no end.
TEST(Concurrency, AKilledRunLeavesEveryResultOldOrNew) {
#ifdef _WIN32
  GTEST_SKIP() << "killed at a set moment by the POSIX shell's timeout";
#else
  JobTree t("ucciso");
  auto risultati = [&t] {
    std::map<std::string, std::string> m;
    for (const auto& [nome, testo] : t.istantanea())
      if (nome.ends_with("campi.txt") || nome.ends_with(".dis")) m[nome] = testo;
    return m;
  };
  esempio(t, "villetta");
  ASSERT_EQ(esegui(t.progra()).stato, 0);
  const auto nuovi = risultati();
  esempio(t, "palazzina");
  ASSERT_EQ(esegui(t.progra()).stato, 0);
  const auto vecchi = risultati();
  esempio(t, "villetta");

  for (int ms = 2; ms <= 80; ms += 6) {
    const std::string cmd = "cd " + quota(t.progra().string()) + " && timeout -s KILL " +
                            std::to_string(ms / 1000.0) + " " + quota(programma()) +
                            " 2>/dev/null </dev/null";
    const std::string registro_prima = leggi(t.progra() / "gencampi.run");
    const int st = std::system(cmd.c_str());
    for (const auto& [nome, testo] : risultati()) {
      const auto v = vecchi.find(nome), n = nuovi.find(nome);
      EXPECT_TRUE((v != vecchi.end() && v->second == testo) ||
                  (n != nuovi.end() && n->second == testo))
          << nome << " after a kill at " << ms << " ms";
    }
    const std::optional<RunRecord> r = leggi_registro((t.progra() / "gencampi.run").string());
    if (WIFEXITED(st) && WEXITSTATUS(st) == 0) {
      ASSERT_TRUE(r);
      EXPECT_EQ(r->stato, 0);
    } else if (leggi(t.progra() / "gencampi.run") != registro_prima) {
      // Killed after it had started its record: the record has no end, unless the run
      // had finished its work and its record when the kill came.
      ASSERT_TRUE(r);
      if (!r->fine.empty()) {
        EXPECT_EQ(risultati(), nuovi) << ms << " ms";
      }
    }
    // No temporary file outlives the next run, which puts everything back in order.
    ASSERT_EQ(esegui(t.progra()).stato, 0);
    EXPECT_EQ(risultati(), nuovi);
    esempio(t, "palazzina");
    ASSERT_EQ(esegui(t.progra()).stato, 0);
    esempio(t, "villetta");
    for (const auto& e : fs::recursive_directory_iterator(t.radice))
      EXPECT_EQ(e.path().string().find(".tmp~"), std::string::npos) << e.path();
  }
#endif
}

}  // namespace
}  // namespace gencampi::test
