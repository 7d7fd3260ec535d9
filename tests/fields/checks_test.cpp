#include "fields/checks.h"

#include <gtest/gtest.h>

#include "core/store.h"
#include "support/cases.h"
#include "support/job_builder.h"

namespace gencampi {
namespace {

TEST(MeshChecks, CrossingNeedsBothInteriorsAndEveryProductBeyondTheTolerance) {
  for (const auto& c : test::tabella("fields/data/crossings.txt")) {
    Store s(Capacities{});
    aggiungi_nodo(s, 1e6, 1e6);
    aggiungi_nodo(s, c.at(0), c.at(1));
    aggiungi_nodo(s, c.at(2), c.at(3));
    kreali(s, 1, 1, col_buchi);  // only the last side is looked at
    kreali(s, 2, 3, col_provvisorio);
    EXPECT_EQ(interseca(s, c.at(4), c.at(5), c.at(6), c.at(7)), c.at(8) != 0)
        << testing::PrintToString(c);
  }
}

// Appends the tentative side a-b and lets controlla judge it: a refused side is gone
// again, its entry left for the next append to overwrite.
bool prova(Job& job, int a, int b) {
  const int nlati = job.store.nlati;
  kreali(job.store, a, b, col_provvisorio);
  bool ok = false;
  controlla(job, ok);
  EXPECT_EQ(job.store.nlati, nlati + (ok ? 1 : 0));
  EXPECT_EQ(job.store.lato[nlati + 1][1], a);
  return ok;
}

TEST(MeshChecks, ASideThroughAListedNodeOrTooShortIsRefused) {
  for (const auto& c : test::tabella("fields/data/sides.txt")) {
    Job job = test::con_nodi({{0, 0}, {10, 0}});
    job.store.nnodi = 3;
    job.store.xnodo[3] = c.at(0), job.store.ynodo[3] = c.at(1);
    job.nodes.npunti = static_cast<int>(c.at(2));
    job.nodes.punti[3] = 1;
    EXPECT_EQ(prova(job, static_cast<int>(c.at(3)), static_cast<int>(c.at(4))), c.at(5) != 0)
        << testing::PrintToString(c);
  }
}

}  // namespace
}  // namespace gencampi
