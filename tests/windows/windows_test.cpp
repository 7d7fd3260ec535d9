// What only the Windows build does: the command line taken as typed, roots written with
// backslashes and drives, the hand-over through the system's process calls, and runs
// started together that wait for each other's lock.
#include <gtest/gtest.h>

#include "app/esegui.h"
#include "core/run_record.h"

namespace gencampi::test {
namespace {

const char* const rettangolo = "100\n4\n0,0\n400,0\n400,300\n0,300\n0\n0\n0\n0\n";

void metti_gemello(const JobTree& t) {
  fs::copy_file(GENCAMPI_TRAMAFORO, t.progra() / "tramaforo.exe");
}

// The program's name may be quoted and hold blanks; what follows it and its blanks is
// comando, lower-cased and trimmed, with its quotes and double blanks, and the sibling
// program gets exactly that after its own path.
TEST(Windows, TheCommandLineIsTakenAsTyped) {
  JobTree t("riga");
  t.pavimento(rettangolo);
  metti_gemello(t);
  const fs::path err = file_messaggi();
  const int stato = stato_di(avvia(t.progra(),
                                   "\"c:\\programmi\\gen campi\\gencampi.exe\" \t |TIPO=2|  "
                                   "\"Piano  Uno\"\tx  ",
                                   err, true));
  EXPECT_EQ(stato, 0) << leggi(err);
  fs::remove(err);
  EXPECT_EQ(leggi(t.progra() / "argomenti.txt"), "tramaforo.exe\n|tipo=2|\npiano  uno\nx\n");
  const std::optional<RunRecord> r = leggi_registro((t.progra() / "gencampi.run").string());
  ASSERT_TRUE(r);
  EXPECT_EQ(r->comando, "|tipo=2|  \"piano  uno\"\tx");

  // A blank in the root's name: the system is told which program to start, and the
  // sibling program still sees the command line as written.
  JobTree b("piano uno");
  b.pavimento(rettangolo);
  metti_gemello(b);
  EXPECT_EQ(esegui(b.progra(), {"|tipo=2|"}).stato, 0);
  const std::string argomenti = leggi(b.progra() / "argomenti.txt");
  EXPECT_EQ(argomenti.substr(argomenti.size() - 9), "|tipo=2|\n") << argomenti;
}

// A root given with backslashes and a trailing one, a jobs directory written with
// backslashes, and a run from a drive's root, whose root is the drive itself.
TEST(Windows, BackslashRootsAndDriveRoots) {
  JobTree t("rovescia");
  t.pavimento(rettangolo);
  std::string radice = t.radice.string();
  for (char& c : radice)
    if (c == '/') c = '\\';
  scrivi(t.impostazioni() / "dirlav", "  " + radice + "\\lavori  \r\n");
  const Esito e = esegui(t.lavoro(), {"|DIROOT=" + radice + "\\|"});
  EXPECT_EQ(e.stato, 0) << e.messaggi;
  EXPECT_TRUE(fs::exists(t.progra() / "campi.txt"));
  EXPECT_TRUE(fs::exists(t.lavoro() / "campi.dis"));

  const fs::path unita = fs::path(radice.substr(0, 2) + "\\");
  ASSERT_FALSE(fs::exists(unita / "impostazioni"));
  const Esito d = esegui(unita);
  EXPECT_EQ(d.stato, 1);
  EXPECT_EQ(d.messaggi,
            "ERRORE !!: Non trovo il file " + radice.substr(0, 2) + "\\impostazioni\\dirlav\n");
}

// Runs started together on one job: one waits for the other's lock, and each leaves
// exactly what a single run leaves.
TEST(Windows, RunsStartedTogetherGiveTheResultOfOne) {
  JobTree t("insieme");
  esempio(t, "villetta");
  ASSERT_EQ(esegui(t.progra()).stato, 0);
  const auto singola = t.istantanea();
  for (int prova = 0; prova < 2; ++prova) {
    std::vector<fs::path> err;
    std::vector<HANDLE> runs;
    for (int i = 0; i < 3; ++i) {
      err.push_back(file_messaggi());
      runs.push_back(avvia(t.progra(), "\"" + programma() + "\"", err.back(), false));
    }
    for (int i = 0; i < 3; ++i) {
      EXPECT_EQ(stato_di(runs[static_cast<std::size_t>(i)]), 0);
      const std::string m = leggi(err[static_cast<std::size_t>(i)]);
      EXPECT_TRUE(m.empty() || m.rfind("gencampi: in attesa che finisca", 0) == 0) << m;
      fs::remove(err[static_cast<std::size_t>(i)]);
    }
    EXPECT_EQ(t.istantanea(), singola) << "prova " << prova;
  }
}

}  // namespace
}  // namespace gencampi::test
