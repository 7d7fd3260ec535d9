#include "fields/candidate.h"

#include <gtest/gtest.h>

#include <cmath>
#include <utility>
#include <vector>

#include "core/angles.h"
#include "core/store.h"
#include "support/job_builder.h"

namespace gencampi {
namespace {

using test::con_nodi;

bool ingloba(const Job& job, int uno, int due, int tre) {
  return ingloba(job, uno, due, tre, job.nodes.punti, job.nodes.npunti);
}

bool accetta(const Job& job, int uno, int due, int tre) {
  bool ok = false;
  percorso(job, uno, due, tre, job.nodes.punti, job.nodes.npunti, ok);
  return ok;
}

// The triangle (0,0), (10,0), (0,10) with one more node at (x, y).
bool nodo_incluso(double x, double y) {
  return ingloba(con_nodi({{0, 0}, {10, 0}, {0, 10}, {x, y}}), 1, 2, 3);
}

TEST(CandidateEnclosure, NodesOnEdgesFollowTheHalfOpenRay) {
  EXPECT_TRUE(nodo_incluso(2, 2));
  EXPECT_TRUE(nodo_incluso(0, 5));   // left edge: the triangle lies towards +X
  EXPECT_FALSE(nodo_incluso(5, 5));  // slanted edge: the triangle lies towards -X
  EXPECT_TRUE(nodo_incluso(5, 0));   // bottom edge: the triangle lies above
  EXPECT_FALSE(nodo_incluso(8, 8));  // inside the box, outside the triangle
  EXPECT_FALSE(nodo_incluso(-1, 5));
  // The same node seen from a triangle lying below a horizontal edge.
  EXPECT_FALSE(ingloba(con_nodi({{0, 10}, {10, 10}, {0, 0}, {5, 10}}), 1, 2, 3));
  // The corner order does not matter.
  Job job = con_nodi({{0, 0}, {10, 0}, {0, 10}, {0, 5}});
  EXPECT_TRUE(ingloba(job, 3, 1, 2));
  EXPECT_TRUE(ingloba(job, 2, 3, 1));
}

TEST(CandidateEnclosure, OnlyListedNodesCount) {
  Job job = con_nodi({{0, 0}, {10, 0}, {0, 10}, {2, 2}});
  job.nodes.npunti = 3;
  EXPECT_FALSE(ingloba(job, 1, 2, 3));
  // The list is read as a list: entry 3 naming node 4 brings it in.
  job.nodes.punti[3] = 4;
  EXPECT_TRUE(ingloba(job, 1, 2, 3));
}

TEST(CandidateEnclosure, SidesShowThroughTheirMidpoint) {
  // Triangle 1-2-3 = (0,0), (10,0), (0,10); only the corners are listed.
  Job job = con_nodi({{0, 0},
                      {10, 0},
                      {0, 10},  // 1 2 3
                      {-2, 1},
                      {6, 3},  // 4 5: through, midpoint (2, 2)
                      {6, 6},
                      {10, 10},  // 6 7: midpoint (8, 8) outside
                      {-5, 0},
                      {7, 0},  // 8 9: along the bottom edge, midpoint on the box
                      {4, -6},
                      {4, 6},  // 10 11: midpoint (4, 0) on the box
                      {3, 3},
                      {-3, -3},
                      {1, 1}});  // 12 13 14
  job.nodes.npunti = 3;
  Store& s = job.store;
  auto con_lato = [&](int p, int q, int tag = col_buchi) {
    s.nlati = 0;
    kreali(s, p, q, tag);
    return ingloba(job, 1, 2, 3);
  };
  EXPECT_TRUE(con_lato(4, 5));
  EXPECT_TRUE(con_lato(5, 4));
  EXPECT_TRUE(con_lato(4, 5, col_perimetro));
  EXPECT_FALSE(con_lato(4, 5, col_provvisorio));
  EXPECT_FALSE(con_lato(6, 7));
  EXPECT_FALSE(con_lato(8, 9));
  EXPECT_FALSE(con_lato(10, 11));
  EXPECT_FALSE(con_lato(1, 2));  // the triangle's own sides, either way round
  EXPECT_FALSE(con_lato(3, 1));
  EXPECT_FALSE(con_lato(12, 13));  // midpoint (0, 0) is a corner, on the box border
  EXPECT_TRUE(con_lato(12, 14));   // a short side wholly inside

  // Every side up to nlati is looked at, in order.
  s.nlati = 0;
  kreali(s, 6, 7, col_buchi);
  kreali(s, 4, 5, col_buchi);
  EXPECT_TRUE(ingloba(job, 1, 2, 3));
  --s.nlati;
  EXPECT_FALSE(ingloba(job, 1, 2, 3));
}

TEST(CandidateEnclosure, ASideAlongAnEdgeLineNeedsBothPointsStraight) {
  // Triangle (10,0), (10,10), (0,10): it lies on the +X side of its slanted edge, so a
  // point on that edge has an odd count and would be enclosed.
  Job job = con_nodi({{10, 0}, {10, 10}, {0, 10}, {2, 8}, {12, -2}, {3, 4}, {7, 6}});
  job.nodes.npunti = 3;
  Store& s = job.store;
  // Side 4-5 lies along the slanted edge's line: midpoint (7, 3) and one-third point
  // both on it, so the side is dropped whatever its count.
  kreali(s, 4, 5, col_buchi);
  EXPECT_FALSE(ingloba(job, 1, 2, 3));
  // Side 6-7 only has its midpoint (5, 5) on that line: counted, and enclosed.
  s.nlati = 0;
  kreali(s, 6, 7, col_buchi);
  EXPECT_TRUE(ingloba(job, 1, 2, 3));
  // A listed node at that same midpoint is enclosed too: the node test has no
  // along-the-line rule.
  job.store.nlati = 0;
  job.store.nnodi = 8;
  job.store.xnodo[8] = 7;
  job.store.ynodo[8] = 3;
  job.nodes.npunti = 4;
  job.nodes.punti[4] = 8;
  EXPECT_TRUE(ingloba(job, 1, 2, 3));
}

TEST(CandidateTriangle, ExistingFieldsInAnyOrderAreRefused) {
  Job job = con_nodi({{0, 0}, {10, 0}, {0, 10}, {10, 10}});
  job.floor.passo = -1;
  EXPECT_TRUE(accetta(job, 1, 2, 3));
  job.fields.ncampi = 2;
  job.fields.campo[1] = {0, 2, 4, 3, 3};
  job.fields.campo[2] = {0, 3, 1, 2, 2};
  EXPECT_FALSE(accetta(job, 1, 2, 3));
  EXPECT_FALSE(accetta(job, 2, 3, 1));
  EXPECT_FALSE(accetta(job, 3, 4, 2));
  // Sharing two corners is no duplicate.
  job.fields.ncampi = 1;
  EXPECT_TRUE(accetta(job, 1, 2, 3));
}

TEST(CandidateTriangle, FlatnessAtTheMiddleCorner) {
  const double r = 1000;
  auto con_angolo = [&](double gradi) {
    double t = gradi / gradi_per_radiante;
    Job job = con_nodi({{r, 0}, {0, 0}, {r * std::cos(t), r * std::sin(t)}});
    job.floor.passo = -1;
    return accetta(job, 1, 2, 3);
  };
  EXPECT_FALSE(con_angolo(0.4));
  EXPECT_TRUE(con_angolo(0.6));
  EXPECT_TRUE(con_angolo(90));
  EXPECT_TRUE(con_angolo(179.4));
  EXPECT_FALSE(con_angolo(179.6));
  // Only the angle at the middle corner is measured: a thin right triangle with 0.29
  // degrees at node 2 passes when its right angle is in the middle.
  Job job = con_nodi({{0, 0}, {1000, 0}, {0, 5}});
  job.floor.passo = -1;
  EXPECT_TRUE(accetta(job, 2, 1, 3));
  EXPECT_FALSE(accetta(job, 1, 2, 3));
}

TEST(CandidateTriangle, OutsideTheSlabOnlyForRigidFloors) {
  // Perimeter 1-4 is an L: the notch (10..20, 10..20) lies outside the slab.
  Job job = con_nodi({{0, 0}, {20, 0}, {20, 10}, {10, 10}, {10, 20}, {0, 20}});
  job.floor.primo_perimetro = 1;
  job.floor.nperimetro = 6;
  job.floor.passo = 50;
  EXPECT_FALSE(accetta(job, 3, 4, 5));  // centroid (13.3, 13.3) in the notch
  EXPECT_TRUE(accetta(job, 1, 2, 4));
  job.floor.passo = -50;
  EXPECT_TRUE(accetta(job, 3, 4, 5));
}

}  // namespace
}  // namespace gencampi
