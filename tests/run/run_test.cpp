// The run as its progress window shows it. The files and messages of whole runs are the
// business of the jobs under tests/jobs; what a person sees while waiting is checked here.
#include "run/run.h"

#include <gtest/gtest.h>

#include "support/job_tree.h"

namespace gencampi {
namespace {

const char* const rettangolo = "100\n4\n0,0\n400,0\n400,300\n0,300\n0\n0\n0\n0\n";

struct RunOnDisk {
  test::JobTree albero{"run"};
  std::optional<Run> run;
  int stato = -1;

  explicit RunOnDisk(std::string_view pavimento) { albero.pavimento(pavimento); }
  // A fresh run on the tree, waiting at most `attesa` seconds for its turn; with
  // `terminale`, as at a terminal writing to it.
  RunOnDisk& esegui(double attesa = 600, std::FILE* terminale = nullptr) {
    run.emplace(terminale);
    run->attesa_massima_s = attesa;
    run->ui.status_line = terminale != nullptr;
    try {
      form_load(*run, {"|diroot=" + albero.radice.string()}, "/");
    } catch (const RunEnd& f) {
      stato = termina(*run, f);
    }
    return *this;
  }
  std::optional<RunRecord> registro() const {
    return leggi_registro((albero.progra() / "gencampi.run").string());
  }
};

// The state of one output in a record: "assente", "scritto" or "invariato".
std::string come(const RunRecord& r, const std::string& nome) {
  for (const RunRecord::Output& o : r.file)
    if (o.nome == nome) return !o.presente ? "assente" : o.scritto ? "scritto" : "invariato";
  return "-";
}

// A rigid floor says so and counts its nodes and, at the last node turn, the four
// triangles' sides and the tentative sides that passed; the view is redrawn at start-up,
// for the placed nodes and after the triangulation. After an outline error there is no
// placement to fit the view to, and the run goes on to the fields.
TEST(RunWindow, ShowsTheFloorAndTheProgress) {
  RunOnDisk rigido("-1\n4\n0,0\n100,0\n100,100\n0,100\n0\n0\n1\n50 50\n0\n");
  const Console& r = rigido.esegui().run->ui;
  EXPECT_EQ(rigido.stato, 0);
  EXPECT_EQ(r.form1.caption, "COSTRUZIONE PIANO RIGIDO");
  EXPECT_EQ(r.form1.label1, "4 NODI");
  EXPECT_EQ(r.form1.label2, std::to_string(rigido.run->job.store.nlati));
  EXPECT_FALSE(r.form1.visibile);
  EXPECT_EQ(r.main.ridisegni, 3);
  RunOnDisk buco("100\n4\n0,0\n100,0\n100,100\n0,100\n1\n2\n10,10\n20,20\n");
  const Console& b = buco.esegui().run->ui;
  EXPECT_EQ(b.messaggi, std::vector<std::string>{"gencampi: ERRORE BUCHI"});
  EXPECT_EQ(b.form1.caption, "GENERAZIONE CAMPI");
  EXPECT_EQ(b.main.ridisegni, 2);
}

// At a terminal, a run that went through ends with one line saying what it wrote.
TEST(RunWindow, AtATerminalTheRunSaysWhatItWrote) {
  std::FILE* f = std::tmpfile();
  ASSERT_NE(f, nullptr);
  RunOnDisk(rettangolo).esegui(600, f);
  std::rewind(f);
  std::string testo;
  for (int c; (c = std::fgetc(f)) != EOF;) testo.push_back(static_cast<char>(c));
  std::fclose(f);
  const std::string riga = testo.substr(testo.rfind("gencampi: "));
  EXPECT_EQ(riga.rfind("gencampi: scritti punti.dis, campi.txt, campi.dis: ", 0), 0u) << riga;
  EXPECT_NE(riga.find("4 nodi, 1 campo, in "), std::string::npos) << riga;
  EXPECT_TRUE(riga.ends_with(" s\n")) << riga;
}

// The record says how the last run ended and which outputs it changed, so that outputs
// of different runs can be told apart; temporaries of a killed run are gone.
TEST(RunRecordTest, SaysHowTheRunEndedAndWhatItChanged) {
  RunOnDisk e(rettangolo);
  test::scrivi(e.albero.lavoro() / "triang.txt", "vecchio\r\n");
  test::scrivi(e.albero.progra() / "campi.txt.tmp~4242", "mezzo");
  e.esegui();
  ASSERT_EQ(e.stato, 0);
  EXPECT_FALSE(test::fs::exists(e.albero.progra() / "campi.txt.tmp~4242"));
  std::optional<RunRecord> r = e.registro();
  ASSERT_TRUE(r);
  EXPECT_FALSE(r->fine.empty());
  EXPECT_EQ(r->stato, 0);
  EXPECT_TRUE(r->messaggi.empty());
  EXPECT_EQ(come(*r, "progra/campi.txt"), "scritto");
  EXPECT_EQ(come(*r, "lavoro/punti.dis"), "scritto");
  EXPECT_EQ(come(*r, "lavoro/triang.txt"), "invariato");  // a stale file of another run
  EXPECT_EQ(come(*r, "impostazioni/tirnel.ini"), "invariato");
  const std::string campi = test::leggi(e.albero.progra() / "campi.txt");
  for (const RunRecord::Output& o : r->file)
    if (o.nome == "progra/campi.txt") {
      EXPECT_EQ(o.impronta, impronta(campi));
    }

  // A run that ends on an error records the message; what it did not reach stays.
  test::scrivi(e.albero.pavimento(), "100\r\n4\r\n0,0\r\n");
  RunOnDisk& f = e.esegui();
  EXPECT_EQ(f.stato, 1);
  r = e.registro();
  ASSERT_TRUE(r);
  EXPECT_EQ(r->stato, 1);
  ASSERT_EQ(r->messaggi.size(), 1u);
  EXPECT_EQ(r->messaggi[0].rfind("ERRORE !!: Errore in lettura del file ", 0), 0u);
  EXPECT_EQ(come(*r, "progra/campi.txt"), "invariato");
}

// While another run holds the root, a run waits; when the wait is over it ends with its
// message and touches nothing.
TEST(RunRecordTest, ASecondRunOnTheSameRootWaitsThenGivesUp) {
  RunOnDisk e(rettangolo);
  sistema::FileLock altro;
  ASSERT_EQ(altro.prendi((e.albero.progra() / "gencampi.lock").string(), true),
            sistema::FileLock::Outcome::acquired);
  const auto prima = e.albero.istantanea();
  e.esegui(0.2);
  EXPECT_EQ(e.stato, 1);
  ASSERT_EQ(e.run->ui.messaggi.size(), 1u);
  EXPECT_EQ(e.run->ui.messaggi[0], "ERRORE !!: Elaborazione gia' in corso in " +
                                       e.albero.radice.string() +
                                       ": riprovare quando sara' finita");
  EXPECT_EQ(e.albero.istantanea(), prima);
  EXPECT_FALSE(e.registro());
  // Once the other run is over, the next one goes ahead.
  altro.lascia();
  RunOnDisk& g = e.esegui();
  EXPECT_EQ(g.stato, 0);
}

}  // namespace
}  // namespace gencampi
