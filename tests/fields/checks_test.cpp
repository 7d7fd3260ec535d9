#include "fields/checks.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "core/store.h"
#include "support/job_builder.h"

namespace gencampi {
namespace {

using test::con_nodi;

// interseca against the last side a-b, for the segment (x1, y1)-(x2, y2).
bool incrocia(double xa, double ya, double xb, double yb, double x1, double y1, double x2,
              double y2) {
  Store s(Capacities{});
  s.nnodi = 2;
  s.xnodo[1] = xa, s.ynodo[1] = ya, s.xnodo[2] = xb, s.ynodo[2] = yb;
  kreali(s, 1, 2, col_provvisorio);
  return interseca(s, x1, y1, x2, y2);
}

TEST(MeshChecksCrossing, OnlyProperCrossingsOfTheInteriorsCount) {
  EXPECT_TRUE(incrocia(0, 0, 10, 10, 0, 10, 10, 0));  // an X
  EXPECT_TRUE(incrocia(0, 0, 10, 0, 5, -1, 5, 1));
  EXPECT_FALSE(incrocia(0, 0, 10, 10, 10, 10, 20, 0));  // shared end
  EXPECT_FALSE(incrocia(0, 0, 10, 10, 0, 0, 10, 0));    // shared start
  EXPECT_FALSE(incrocia(0, 0, 10, 0, 5, 0, 5, 5));      // T: end on the last side
  EXPECT_FALSE(incrocia(5, 0, 5, 5, 0, 0, 10, 0));      // T: last side ends on the segment
  EXPECT_FALSE(incrocia(0, 0, 10, 0, 5, 0, 15, 0));     // same line, overlapping
  EXPECT_FALSE(incrocia(0, 0, 10, 0, 2, 0, 8, 0));      // same line, inside
  EXPECT_FALSE(incrocia(0, 0, 10, 0, 11, -1, 11, 1));   // boxes apart
  EXPECT_FALSE(incrocia(0, 0, 10, 10, 6, 4, 10, 0));    // boxes overlap, no crossing
  // Boxes that only touch still go to the exact tests: the segment's end is on the
  // last side's end, which is no crossing.
  EXPECT_FALSE(incrocia(0, 0, 10, 10, 10, 10, 10, 20));
}

TEST(MeshChecksCrossing, FlatAndTinyCrossingsFallBelowTheTolerance) {
  // A genuine crossing at so flat an angle that an end of the last side lies within
  // 1e-8 (as a cross product) of the segment's line.
  EXPECT_FALSE(incrocia(0, 0, 1, 0, -1, 1e-9, 2, -1e-9));
  // The same crossing made steeper counts.
  EXPECT_TRUE(incrocia(0, 0, 1, 0, -1, 1e-3, 2, -1e-3));
  // Each product well above 1e-8, but their product is not below -1e-8.
  EXPECT_TRUE(incrocia(0, 0, 0, 2, -1e-4, 1, 1e-4, 1));
  EXPECT_FALSE(incrocia(0, 0, 0, 2, -2e-5, 1, 2e-5, 1));
}

TEST(MeshChecksCrossing, WorksOnTheLastSide) {
  Store s(Capacities{});
  aggiungi_nodo(s, 0, 0);
  aggiungi_nodo(s, 10, 10);
  aggiungi_nodo(s, 20, 0);
  aggiungi_nodo(s, 30, 10);
  kreali(s, 1, 2, col_buchi);
  kreali(s, 3, 4, col_buchi);
  EXPECT_FALSE(interseca(s, 0, 10, 10, 0));
  --s.nlati;
  EXPECT_TRUE(interseca(s, 0, 10, 10, 0));
}

TEST(MeshChecks, ShortSidesAreRemoved) {
  Job job = con_nodi({{0, 0}, {10, 0}});
  // Another number at (almost) the same place as node 1.
  job.store.nnodi = 3;
  job.store.xnodo[3] = 0.0000005;
  kreali(job.store, 1, 2, col_buchi);
  bool ok = true;
  kreali(job.store, 2, 2, col_provvisorio);
  controlla(job, ok);
  EXPECT_FALSE(ok);
  EXPECT_EQ(job.store.nlati, 1);
  kreali(job.store, 1, 3, col_provvisorio);
  controlla(job, ok);
  EXPECT_FALSE(ok);
  EXPECT_EQ(job.store.nlati, 1);
  kreali(job.store, 2, 3, col_provvisorio);
  controlla(job, ok);
  EXPECT_TRUE(ok);
  EXPECT_EQ(job.store.nlati, 2);
}

TEST(MeshChecks, CrossedSidesRejectUnlessTentativeOrTouching) {
  // 1 (0,0), 2 (10,10), 3 (0,10), 4 (10,0), 5 (20,10)
  Job job = con_nodi({{0, 0}, {10, 10}, {0, 10}, {10, 0}, {20, 10}});
  job.nodes.npunti = 0;  // keep the node scan out of this test
  kreali(job.store, 1, 2, col_provvisorio);
  bool ok = false;
  kreali(job.store, 3, 4, col_provvisorio);
  controlla(job, ok);
  EXPECT_TRUE(ok) << "tentative sides do not block each other";
  EXPECT_EQ(job.store.nlati, 2);

  job.store.nlati = 0;
  for (int tag : {col_perimetro, col_buchi, col_muri, col_disegno}) {
    job.store.nlati = 0;
    kreali(job.store, 1, 2, tag);
    kreali(job.store, 3, 4, col_provvisorio);
    controlla(job, ok);
    EXPECT_FALSE(ok) << "tag " << tag;
    EXPECT_EQ(job.store.nlati, 1);
    // The rejected entry stays in the table until the next append overwrites it.
    EXPECT_EQ(job.store.lato[2][1], 3);
  }

  // Sides that share an end with the new side are not tested at all, even the same
  // side again.
  job.store.nlati = 0;
  kreali(job.store, 1, 2, col_buchi);
  kreali(job.store, 2, 1, col_provvisorio);
  controlla(job, ok);
  EXPECT_TRUE(ok);
  kreali(job.store, 2, 4, col_provvisorio);
  controlla(job, ok);
  EXPECT_TRUE(ok);
  EXPECT_EQ(job.store.nlati, 3);
}

TEST(MeshChecks, FieldEdgesRejectEvenWithoutSides) {
  // Field (1, 2, 3); node 4 beyond its edge 2-3; node 5 far left; node 6 inside.
  Job job = con_nodi({{0, 0}, {10, 0}, {0, 10}, {10, 10}, {-10, 5}, {2, 2}, {-10, 20}});
  job.nodes.npunti = 0;
  job.fields.ncampi = 1;
  job.fields.campo[1] = {0, 1, 2, 3, 3};
  bool ok = false;

  // From a corner across the opposite edge: rejected through that single edge.
  kreali(job.store, 1, 4, col_provvisorio);
  controlla(job, ok);
  EXPECT_FALSE(ok);
  // Across two edges from outside.
  kreali(job.store, 5, 4, col_provvisorio);
  controlla(job, ok);
  EXPECT_FALSE(ok);
  // From inside to a corner, and along an edge: no proper crossing.
  kreali(job.store, 6, 2, col_provvisorio);
  controlla(job, ok);
  EXPECT_TRUE(ok);
  kreali(job.store, 2, 3, col_provvisorio);
  controlla(job, ok);
  EXPECT_TRUE(ok);
  // Wholly beside the field's box.
  kreali(job.store, 5, 7, col_provvisorio);
  controlla(job, ok);
  EXPECT_TRUE(ok);
  EXPECT_EQ(job.store.nlati, 3);

  // The fourth column is not looked at: a field whose fourth entry differs is still
  // the triangle of its first three.
  job.store.nlati = 0;
  job.fields.campo[1] = {0, 1, 2, 3, 7};
  kreali(job.store, 5, 4, col_provvisorio);
  controlla(job, ok);
  EXPECT_FALSE(ok);
}

TEST(MeshChecks, NodesOnTheSideCountByNodeNumber) {
  // Node 3 lies on the segment 1-2, node 4 just off it.
  Job job = con_nodi({{0, 0}, {10, 0}, {5, 0}, {5, 1}});
  bool ok = false;
  kreali(job.store, 1, 2, col_provvisorio);
  controlla(job, ok);
  EXPECT_FALSE(ok);
  EXPECT_EQ(job.store.nlati, 0);

  // Node 3 above npunti: not scanned, even though it is in the store.
  job.nodes.npunti = 2;
  kreali(job.store, 1, 2, col_provvisorio);
  controlla(job, ok);
  EXPECT_TRUE(ok);

  // The scan uses the numbers 1..npunti, not the entries of the list.
  job.store.nlati = 0;
  job.nodes.npunti = 3;
  job.nodes.punti[3] = 4;
  kreali(job.store, 1, 2, col_provvisorio);
  controlla(job, ok);
  EXPECT_FALSE(ok);

  // A node beyond an end of the side is on its line but not on the side.
  Job oltre = con_nodi({{0, 0}, {10, 0}, {15, 0}});
  kreali(oltre.store, 1, 2, col_provvisorio);
  controlla(oltre, ok);
  EXPECT_TRUE(ok);
}

}  // namespace
}  // namespace gencampi
