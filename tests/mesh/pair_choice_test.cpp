#include "mesh/pair_choice.h"

#include <gtest/gtest.h>

#include "core/store.h"

namespace gencampi {
namespace {

struct Scelta {
  int gA = -5, gB = -5, pv1 = -5, pv2 = -5, pv3 = -5, pv4 = -5;
};

class MeshPairChoice : public ::testing::Test {
 protected:
  int nodo(double x, double y) { return aggiungi_nodo(job.store, x, y); }

  int triangolo(int a, int b, int c) {
    auto& r = job.fields.campo[++job.fields.ncampi];
    r[1] = a, r[2] = b, r[3] = c, r[4] = c;
    return job.fields.ncampi;
  }

  // A square of side 10 at (x0, 0) as two right triangles (0,0)-(10,0)-(10,10) and
  // (0,0)-(10,10)-(0,10), listed as partners; returns the corner nodes.
  std::array<int, 4> quadrato(double x0) {
    std::array<int, 4> n = {nodo(x0, 0), nodo(x0 + 10, 0), nodo(x0 + 10, 10), nodo(x0, 10)};
    int f = triangolo(n[0], n[1], n[2]);
    triangolo(n[0], n[2], n[3]);
    job.fields.coppie[f][1] = f + 1;
    return n;
  }

  Scelta scegli() {
    Scelta s;
    angoli(job, 1, job.fields.ncampi, s.gA, s.gB, s.pv1, s.pv2, s.pv3, s.pv4);
    return s;
  }

  Job job;
};

TEST_F(MeshPairChoice, SquareIsReturnedWithItsCornersInBoundaryOrder) {
  auto n = quadrato(0);
  Scelta s = scegli();
  EXPECT_EQ(s.gA, 1);
  EXPECT_EQ(s.gB, 2);
  EXPECT_EQ((std::array<int, 4>{s.pv1, s.pv2, s.pv3, s.pv4}),
            (std::array<int, 4>{n[1], n[2], n[3], n[0]}));
}

TEST_F(MeshPairChoice, SharedSideOnAWallOrPerimeterMarksThePair) {
  auto n = quadrato(0);
  kreali(job.store, n[0], n[1], col_muri);
  kreali(job.store, n[2], n[0], col_buchi);  // on the shared side, but a hole side
  job.floor.nmuri = 1;
  job.floor.lato_muro[1] = 0;
  job.floor.nvmuro[1] = 2;  // the wall is side 1 only
  EXPECT_EQ(scegli().pv1, n[1]);
  job.floor.nvmuro[1] = 3;  // sides 1 and 2, whatever their tags
  EXPECT_EQ(scegli().pv1, -n[1]);

  // On a wall and a perimeter line at once: still marked.
  kreali(job.store, n[0], n[2], col_perimetro);
  Scelta s = scegli();
  EXPECT_EQ(s.gA, 1);
  EXPECT_EQ(s.pv1, -n[1]);
  EXPECT_EQ(s.pv3, n[3]);
}

TEST_F(MeshPairChoice, TiesKeepTheFirstPairAndOnlyABetterPairDisplacesARefusedOne) {
  // The same square listed twice scores exactly the same twice.
  auto n = quadrato(0);
  triangolo(n[0], n[1], n[2]);
  triangolo(n[0], n[2], n[3]);
  job.fields.coppie[3][1] = 4;
  kreali(job.store, n[2], n[0], col_perimetro);
  Scelta s = scegli();
  EXPECT_EQ(s.gA, 1);
  EXPECT_EQ(s.gB, 2);
  EXPECT_EQ(s.pv1, -n[1]);
}

TEST_F(MeshPairChoice, TheMostNearlyRectangularPairWinsWhereverItIsListed) {
  // A parallelogram first, refused for its perimeter side; then a square.
  int a = nodo(0, 0), b = nodo(10, 0), c = nodo(12, 10), d = nodo(2, 10);
  triangolo(a, b, c);
  triangolo(a, c, d);
  job.fields.coppie[1][1] = 2;
  kreali(job.store, c, a, col_perimetro);
  auto n = quadrato(100);
  Scelta s = scegli();
  EXPECT_EQ(s.gA, 3);
  EXPECT_EQ(s.gB, 4);
  EXPECT_EQ(s.pv1, n[1]);
}

TEST_F(MeshPairChoice, NothingListedLeavesTheCornersAlone) {
  quadrato(0);
  job.fields.coppie[1][1] = -1;
  job.fields.coppie[2][1] = -1;
  Scelta s = scegli();
  EXPECT_EQ(s.gA, 0);
  EXPECT_EQ(s.gB, 0);
  EXPECT_EQ(s.pv1, -5);
}

}  // namespace
}  // namespace gencampi
