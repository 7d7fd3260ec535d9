#include "fields/candidate.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <utility>
#include <vector>

#include "core/angles.h"
#include "core/store.h"
#include "support/job_builder.h"

namespace gencampi {
namespace {

using test::con_nodi;

bool ingloba(const Job& job, int uno = 1, int due = 2, int tre = 3) {
  return ingloba(job, uno, due, tre, job.nodes.punti, job.nodes.npunti);
}

bool accetta(const Job& job, int uno, int due, int tre) {
  bool ok = false;
  percorso(job, uno, due, tre, job.nodes.punti, job.nodes.npunti, ok);
  return ok;
}

TEST(CandidateTriangle, ListedNodesAreEnclosedByTheHalfOpenRayRule) {
  // The triangle (x1,y1), (x2,y2), (x3,y3) and a listed node at (x, y): inside; on the
  // left, slanted, bottom and top edges of a triangle lying towards +X, -X, above and
  // below them; another corner order; in the box only; outside; on a slanted edge with
  // the triangle towards +X; by an edge rising 1e-9 (horizontal, never crossed) or 2e-9.
  const struct {
    double x1, y1, x2, y2, x3, y3, x, y;
    bool dentro;
  } casi[] = {{0, 0, 10, 0, 0, 10, 2, 2, true},         {0, 0, 10, 0, 0, 10, 0, 5, true},
              {0, 0, 10, 0, 0, 10, 5, 5, false},        {0, 0, 10, 0, 0, 10, 5, 0, true},
              {0, 10, 10, 10, 0, 0, 5, 10, false},      {0, 10, 0, 0, 10, 0, 0, 5, true},
              {0, 0, 10, 0, 0, 10, 8, 8, false},        {0, 0, 10, 0, 0, 10, -1, 5, false},
              {10, 0, 10, 10, 0, 10, 7, 3, true},       {0, 0, 10, 1e-9, 0, 10, 0.5, 5e-10, false},
              {0, 0, 10, 2e-9, 0, 10, 0.5, 5e-10, true}};
  for (const auto& c : casi) {
    Job job = con_nodi({{c.x1, c.y1}, {c.x2, c.y2}, {c.x3, c.y3}});
    job.store.xnodo[4] = c.x, job.store.ynodo[4] = c.y;  // may lie within 1e-6 of a corner
    job.store.nnodi = 4;
    job.nodes.npunti = 4;
    job.nodes.punti[4] = 4;
    EXPECT_EQ(ingloba(job), c.dentro) << c.x << "," << c.y;
    // Only listed nodes count, read through the list.
    job.nodes.punti[4] = 1;
    EXPECT_FALSE(ingloba(job));
  }
}

TEST(CandidateTriangle, SidesAreEnclosedThroughTheirMidpointUnlessAlongAnEdge) {
  // Triangles A (1, 2, 3) and B (2, 4, 3); only nodes 1 to 3 are listed. Sides 5-6 and
  // 14-12 have their midpoint (2, 2) inside A; 7-8 runs along its bottom edge; 9-10 has its
  // midpoint (4, 0) on A's box, 11-4 at (8, 8) in the box but outside, 12-13 at a corner.
  // B lies on the +X side of its slanted edge: a midpoint on that edge counts, unless the
  // one-third point lies on the edge's line too (15-16), as it does not for 17-18.
  const std::vector<std::pair<double, double>> nodi = {
      {0, 0}, {10, 0}, {0, 10}, {10, 10}, {-2, 1}, {6, 3},   {-5, 0}, {7, 0}, {4, -6},
      {4, 6}, {6, 6},  {3, 3},  {-3, -3}, {1, 1},  {12, -2}, {2, 8},  {3, 4}, {7, 6}};
  Job job = con_nodi(nodi);
  job.nodes.npunti = 3;
  const struct {
    std::array<int, 3> t;
    int p, q, tag;
    bool dentro;
  } casi[] = {{{1, 2, 3}, 5, 6, col_buchi, true},     {{1, 2, 3}, 6, 5, col_buchi, true},
              {{1, 2, 3}, 5, 6, col_perimetro, true}, {{1, 2, 3}, 5, 6, col_provvisorio, false},
              {{1, 2, 3}, 1, 2, col_buchi, false},    {{1, 2, 3}, 3, 1, col_buchi, false},
              {{1, 2, 3}, 7, 8, col_buchi, false},    {{1, 2, 3}, 9, 10, col_buchi, false},
              {{1, 2, 3}, 11, 4, col_buchi, false},   {{1, 2, 3}, 12, 13, col_buchi, false},
              {{1, 2, 3}, 14, 12, col_buchi, true},   {{2, 4, 3}, 15, 16, col_buchi, false},
              {{2, 4, 3}, 17, 18, col_buchi, true}};
  for (const auto& c : casi) {
    job.store.nlati = 0;
    kreali(job.store, c.p, c.q, c.tag);
    EXPECT_EQ(ingloba(job, c.t[0], c.t[1], c.t[2]), c.dentro) << c.p << "-" << c.q;
  }
  // Every side up to nlati is looked at.
  kreali(job.store, 5, 6, col_buchi);
  EXPECT_TRUE(ingloba(job));
  --job.store.nlati;
  EXPECT_FALSE(ingloba(job));
}

TEST(CandidateTriangle, FlatAndOutsideTrianglesAreRefused) {
  // Only the angle at the middle corner is measured, by the straight-angle rule.
  for (const auto& [gradi, ok] :
       {std::pair{0.4, false}, {0.6, true}, {90.0, true}, {179.4, true}, {179.6, false}}) {
    const double t = gradi / gradi_per_radiante;
    Job angolo = con_nodi({{1000, 0}, {0, 0}, {1000 * std::cos(t), 1000 * std::sin(t)}});
    angolo.floor.passo = -1;
    EXPECT_EQ(accetta(angolo, 1, 2, 3), ok) << gradi;
  }
  Job sottile = con_nodi({{0, 0}, {1000, 0}, {0, 5}});  // 0.29 degrees at node 2
  sottile.floor.passo = -1;
  EXPECT_FALSE(accetta(sottile, 1, 2, 3));
  EXPECT_TRUE(accetta(sottile, 2, 1, 3));

  // An L-shaped slab: the notch (10..20, 10..20) lies outside, which only a rigid floor
  // ignores.
  Job elle = con_nodi({{0, 0}, {20, 0}, {20, 10}, {10, 10}, {10, 20}, {0, 20}});
  elle.floor.primo_perimetro = 1;
  elle.floor.nperimetro = 6;
  elle.floor.passo = 50;
  EXPECT_FALSE(accetta(elle, 3, 4, 5));
  EXPECT_TRUE(accetta(elle, 1, 2, 4));
  elle.floor.passo = -50;
  EXPECT_TRUE(accetta(elle, 3, 4, 5));
}

}  // namespace
}  // namespace gencampi
