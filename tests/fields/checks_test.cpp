#include "fields/checks.h"

#include <gtest/gtest.h>

#include <array>
#include <utility>
#include <vector>

#include "core/store.h"
#include "support/job_builder.h"

namespace gencampi {
namespace {

TEST(MeshChecks, CrossingNeedsBothInteriorsAndEveryProductBeyondTheTolerance) {
  // The last side A-B against the segment P1-P2: two X; a shared end or start; a T either
  // way; one line; boxes apart, overlapping, touching. Then an end 1.2e-8 off the other
  // line (as a cross product) is off it and 0.8e-8 is on it, for each of the four ends;
  // both products of a side must be below -1e-8 (2e-8 times 0.6 is, times 0.3 not); and
  // a crossing so flat that the ends lie within the tolerance of the other line.
  const struct {
    double xa, ya, xb, yb, x1, y1, x2, y2;
    bool incrocia;
  } casi[] = {
      {0, 0, 10, 10, 0, 10, 10, 0, true},         {0, 0, 10, 0, 5, -1, 5, 1, true},
      {0, 0, 10, 10, 10, 10, 20, 0, false},       {0, 0, 10, 10, 0, 0, 10, 0, false},
      {0, 0, 10, 0, 5, 0, 5, 5, false},           {5, 0, 5, 5, 0, 0, 10, 0, false},
      {0, 0, 10, 0, 5, 0, 15, 0, false},          {0, 0, 10, 0, 11, -1, 11, 1, false},
      {0, 0, 10, 10, 6, 4, 10, 0, false},         {0, 0, 10, 10, 10, 10, 10, 20, false},
      {0.5, 1.2e-8, 0.5, -10, 0, 0, 1, 0, true},  {0.5, 0.8e-8, 0.5, -10, 0, 0, 1, 0, false},
      {0.5, -10, 0.5, 0.8e-8, 0, 0, 1, 0, false}, {0, 0, 1, 0, 0.5, 1.2e-8, 0.5, -10, true},
      {0, 0, 1, 0, 0.5, 0.8e-8, 0.5, -10, false}, {0, 0, 1, 0, 0.5, -10, 0.5, 0.8e-8, false},
      {0.5, 2e-8, 0.5, -0.6, 0, 0, 1, 0, true},   {0.5, 2e-8, 0.5, -0.3, 0, 0, 1, 0, false},
      {0, 0, 1, 0, 0.5, 2e-8, 0.5, -0.6, true},   {0, 0, 1, 0, 0.5, 2e-8, 0.5, -0.3, false},
      {0, 0, 1, 0, -1, 1e-9, 2, -1e-9, false},    {0, 0, 1, 0, -1, 1e-3, 2, -1e-3, true}};
  for (const auto& c : casi) {
    Store s(Capacities{});
    aggiungi_nodo(s, 1e6, 1e6);
    aggiungi_nodo(s, c.xa, c.ya);
    aggiungi_nodo(s, c.xb, c.yb);
    kreali(s, 1, 1, col_buchi);  // only the last side is looked at
    kreali(s, 2, 3, col_provvisorio);
    EXPECT_EQ(interseca(s, c.x1, c.y1, c.x2, c.y2), c.incrocia)
        << c.xa << "," << c.ya << " " << c.xb << "," << c.yb << " / " << c.x1 << "," << c.y1 << " "
        << c.x2 << "," << c.y2;
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
  // Side 1-2 is (0,0)-(10,0), node 3 sits at (x, y): on the side; 0.00046 and 0.0023
  // degrees from straight; on the line beyond an end; numbered above npunti (the check
  // reads the numbers 1..npunti, not the list). Side 1-3 shorter or longer than 1e-6;
  // side 2-2 of one node.
  const struct {
    double x, y;
    int npunti, a, b;
    bool ok;
  } casi[] = {{5, 0, 3, 1, 2, false},   {5, 2e-5, 3, 1, 2, false}, {5, 1e-4, 3, 1, 2, true},
              {15, 0, 3, 1, 2, true},   {5, 0, 2, 1, 2, true},     {0, 5e-7, 0, 1, 3, false},
              {0, 2e-6, 0, 1, 3, true}, {0, 5, 0, 2, 2, false}};
  for (const auto& c : casi) {
    Job job = test::con_nodi({{0, 0}, {10, 0}});
    job.store.nnodi = 3;  // placed by hand: some lie within the duplicate tolerance
    job.store.xnodo[3] = c.x, job.store.ynodo[3] = c.y;
    job.nodes.npunti = c.npunti;
    job.nodes.punti[3] = 1;
    EXPECT_EQ(prova(job, c.a, c.b), c.ok) << c.x << "," << c.y << " npunti " << c.npunti;
  }
}

}  // namespace
}  // namespace gencampi
