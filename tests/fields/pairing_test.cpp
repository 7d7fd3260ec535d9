#include "fields/pairing.h"

#include <gtest/gtest.h>

#include "core/store.h"

namespace gencampi {
namespace {

int nodo(Job& job, double x, double y) {
  return aggiungi_nodo(job.store, x, y);
}

int triangolo(Job& job, int a, int b, int c) {
  auto& r = job.fields.campo[++job.fields.ncampi];
  r[1] = a, r[2] = b, r[3] = c, r[4] = c;
  return job.fields.ncampi;
}

std::array<int, 3> partner(const Job& job, int f) {
  const auto& r = job.fields.coppie[f];
  return {r[1], r[2], r[3]};
}

// Pairs a triangle P, Q, R with the triangle Q, P, S across the side P-Q, as the field
// stage does: both rows cleared, then filled in increasing field number.
std::array<int, 3> accoppia_due(double rx, double ry, double sx, double sy, double qx, double qy) {
  Job job;
  int P = nodo(job, 0, 0), Q = nodo(job, qx, qy);
  int R = nodo(job, rx, ry), S = nodo(job, sx, sy);
  triangolo(job, P, Q, R);
  triangolo(job, Q, P, S);
  cercacoppie(job, 1);
  cercacoppie(job, 2);
  EXPECT_EQ(partner(job, 2), (std::array<int, 3>{0, 0, 0}));
  return partner(job, 1);
}

TEST(FieldsPairing, ConvexPairIsListedOnceInTheLowerRow) {
  EXPECT_EQ(accoppia_due(10, 0, 0, 10, 10, 10), (std::array<int, 3>{2, 0, 0}));
}

TEST(FieldsPairing, ReflexOrStraightUnionIsNotPaired) {
  // The diagonal R-S passes beyond Q: reflex corner at Q.
  EXPECT_EQ(accoppia_due(10, 0, 0, 10, 4, 4), (std::array<int, 3>{0, 0, 0}));
  // The diagonal passes exactly through Q: a straight angle there.
  EXPECT_EQ(accoppia_due(10, 0, 0, 10, 5, 5), (std::array<int, 3>{0, 0, 0}));
}

TEST(FieldsPairing, StopsAtThreeAndLeavesTheSideTableAsItWas) {
  Job job;
  int a = nodo(job, 0, 0), b = nodo(job, 10, 0), c = nodo(job, 5, 8);
  int ab = nodo(job, 5, -6), bc = nodo(job, 12, 8), ca = nodo(job, -2, 8);
  kreali(job.store, a, b, col_perimetro);
  triangolo(job, a, b, c);
  triangolo(job, b, a, ab);
  triangolo(job, c, b, bc);
  triangolo(job, a, c, ca);
  triangolo(job, a, b, ab);  // a fourth convex neighbour, never reached
  job.fields.coppie[1][1] = job.fields.coppie[1][2] = job.fields.coppie[1][3] = 7;
  cercacoppie(job, 1);
  EXPECT_EQ(partner(job, 1), (std::array<int, 3>{2, 3, 4}));
  // A fourth partner would have been written just past the row, into the unused slot 0
  // of the next one.
  EXPECT_EQ(job.fields.coppie[2][0], 0);
  EXPECT_EQ(job.store.nlati, 1);
  EXPECT_EQ(job.store.tipolato[1], col_perimetro);

  // Field 5 is field 2 again: its far corner is the same node, so the diagonal has no
  // length and crosses nothing. Entries above the partners found stay as they were.
  job.fields.coppie[5][1] = job.fields.coppie[5][2] = job.fields.coppie[5][3] = 9;
  cercacoppie(job, 5);
  EXPECT_EQ(partner(job, 5), (std::array<int, 3>{1, 9, 9}));
}

}  // namespace
}  // namespace gencampi
