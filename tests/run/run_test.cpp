// The run as its progress window shows it. The files and messages of whole runs are the
// business of the jobs under tests/jobs; what a person sees while waiting is checked here.
#include "run/run.h"

#include <gtest/gtest.h>

#include "support/job_tree.h"

namespace gencampi {
namespace {

struct RunOnDisk {
  test::JobTree albero{"run"};
  Run run;
  int stato = -1;

  explicit RunOnDisk(std::string_view pavimento) {
    albero.pavimento(pavimento);
    try {
      form_load(run, {"|diroot=" + albero.radice.string()}, "/");
    } catch (const RunEnd& f) {
      stato = termina(run, f);
    }
  }
};

TEST(RunWindow, ARigidFloorSaysSoAndCountsTheSides) {
  RunOnDisk e("-1\n4\n0,0\n100,0\n100,100\n0,100\n0\n0\n1\n50 50\n0\n");
  EXPECT_EQ(e.stato, 0);
  EXPECT_EQ(e.run.ui.form1.caption, "COSTRUZIONE PIANO RIGIDO");
  EXPECT_EQ(e.run.ui.form1.label1, "4 NODI");
  // The count shown at the last node turn: the four triangles' sides and the tentative
  // sides that passed.
  EXPECT_EQ(e.run.ui.form1.label2, std::to_string(e.run.job.store.nlati));
  EXPECT_FALSE(e.run.ui.form1.visibile);
  // Once at start-up, once for the placed nodes, once after the triangulation.
  EXPECT_EQ(e.run.ui.main.ridisegni, 3);
}

TEST(RunWindow, AnOutlineErrorIsShownAndTheRunGoesOn) {
  RunOnDisk e("100\n4\n0,0\n100,0\n100,100\n0,100\n1\n2\n10,10\n20,20\n");
  EXPECT_EQ(e.stato, 1);
  EXPECT_EQ(e.run.ui.messaggi, std::vector<std::string>{"gencampi: ERRORE BUCHI"});
  EXPECT_EQ(e.run.ui.form1.caption, "GENERAZIONE CAMPI");
  // No placement: the view is not fitted to the nodes, so only two redraws.
  EXPECT_EQ(e.run.ui.main.ridisegni, 2);
  EXPECT_TRUE(test::fs::exists(e.albero.progra() / "campi.txt"));
}

}  // namespace
}  // namespace gencampi
