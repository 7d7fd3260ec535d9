#include "mesh/nearest.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <random>
#include <utility>
#include <vector>

#include "core/store.h"

namespace gencampi {
namespace {

void nodi(Store& s, const std::vector<std::pair<double, double>>& punti) {
  for (const auto& [x, y] : punti) aggiungi_nodo(s, x, y);
}

std::vector<int> classifica(Store& s, int centro, int Npunti) {
  Table<int> vicini(Npunti);
  for (int r = 1; r <= Npunti; ++r) vicini[r] = 99;  // sorta must overwrite every entry
  sorta(s, centro, Npunti, vicini);
  std::vector<int> v;
  for (int r = 1; r <= Npunti; ++r) v.push_back(vicini[r]);
  return v;
}

TEST(NearestNode, TiesGoToTheLowerNumberAndTheRangeIsRespected) {
  Store s(Capacities{});
  // Centre 3; nodes 1, 2, 4 all at distance 5; node 5 farther.
  nodi(s, {{3, 4}, {0, 5}, {0, 0}, {-5, 0}, {6, 6}});
  int vicino = 0;
  trova_vicino(s, 3, 1, 5, vicino);
  EXPECT_EQ(vicino, 1);
  trova_vicino(s, 3, 2, 5, vicino);
  EXPECT_EQ(vicino, 2);
  trova_vicino(s, 3, 4, 5, vicino);
  EXPECT_EQ(vicino, 4);
  // Only the centre itself in range: the preset answer stays.
  vicino = 7;
  trova_vicino(s, 3, 3, 3, vicino);
  EXPECT_EQ(vicino, 7);
}

TEST(NearestNode, SearchLimitLeavesFarNodesUnfound) {
  Store s(Capacities{});
  // 316228^2 is just above 1e11, 316227^2 just below.
  nodi(s, {{0, 0}, {316228, 0}, {0, 316227}});
  int vicino = 7;
  trova_vicino(s, 1, 2, 2, vicino);
  EXPECT_EQ(vicino, 7);
  trova_vicino(s, 1, 2, 3, vicino);
  EXPECT_EQ(vicino, 3);
}

TEST(NearestNode, RankingIsNearestFirstAndRestoresTheNodes) {
  Store s(Capacities{});
  nodi(s, {{0, 0}, {10, 0}, {0, 3}, {-3, 0}, {1, 1}});
  EXPECT_EQ(classifica(s, 1, 5), (std::vector{5, 3, 4, 2, 0}));
  EXPECT_EQ(classifica(s, 2, 5), (std::vector{5, 1, 3, 4, 0}));
  // Only nodes 1..Npunti are ranked.
  EXPECT_EQ(classifica(s, 1, 3), (std::vector{3, 2, 0}));
  EXPECT_EQ(s.xnodo[1], 0);
  EXPECT_EQ(s.xnodo[2], 10);
  EXPECT_EQ(s.xnodo[4], -3);
  EXPECT_EQ(s.xnodo[5], 1);
  EXPECT_EQ(classifica(s, 1, 1), (std::vector{0}));
}

TEST(NearestNode, RankingPutsCoincidentNodesFirstAndStopsAtTheLimit) {
  Store s(Capacities{});
  nodi(s, {{0, 0}, {4, 0}, {500000, 0}});
  // A node in the same place under another number: distance 0 is still found.
  s.nnodi = 4;
  s.xnodo[4] = 0;
  s.ynodo[4] = 0;
  EXPECT_EQ(classifica(s, 1, 4), (std::vector{4, 2, 0, 0}));
  EXPECT_EQ(classifica(s, 3, 4), (std::vector{0, 0, 0, 0}));
  EXPECT_EQ(s.xnodo[3], 500000);
}

TEST(NearestNode, DivisionPointOfASegment) {
  Job job;
  job.floor.passo = 100;
  nodi(job.store, {{0, 0}, {400, 0}, {200, 300}, {100, 500}, {50, 0}, {30, 80}});
  double x = -1, y = -1;
  bool estremo = false;

  // Length 4 * passo: four steps (0, 100, 200, 300); the one opposite p3 is k = 2.
  piuvicino(job, 1, 2, 3, x, y, estremo);
  EXPECT_EQ(x, 200);
  EXPECT_EQ(y, 0);
  EXPECT_FALSE(estremo);  // d1 / d3 = 200 / 300

  // Step 1 chosen, but it is too close to p1 against its distance from p3.
  piuvicino(job, 1, 2, 4, x, y, estremo);
  EXPECT_EQ(x, 100);
  EXPECT_TRUE(estremo);  // 100 / 500 is below 1/3

  // Shorter than passo: one step, the only candidate is p1.
  piuvicino(job, 1, 5, 6, x, y, estremo);
  EXPECT_EQ(x, 0);
  EXPECT_EQ(y, 0);
  EXPECT_TRUE(estremo);

  // The end p2 itself is never offered, even when p3 sits on it.
  piuvicino(job, 1, 2, 2, x, y, estremo);
  EXPECT_EQ(x, 300);
  EXPECT_FALSE(estremo);  // 300 / 100
}

TEST(NearestNode, ASideOfZeroLengthOffersOnlyItsEndWhateverTheStep) {
  for (double passo : {100.0, 1e-300}) {
    Job job;
    job.floor.passo = passo;
    nodi(job.store, {{10, 10}, {50, 10}});
    job.store.nnodi = 3;  // node 3 repeats node 1, as a repeated floor vertex leaves it
    job.store.xnodo[3] = 10;
    job.store.ynodo[3] = 10;
    double x = -1, y = -1;
    bool estremo = false;
    piuvicino(job, 1, 3, 2, x, y, estremo);
    EXPECT_TRUE(estremo) << passo;
    EXPECT_EQ(x, -1) << passo;
  }
}

// Only the steps near the opposite corner are measured; the result must be the plain
// scan's to the last bit, ties between two steps and the far-corner limit included.
TEST(NearestNode, DivisionPointMatchesTheScanOverEveryStep) {
  std::mt19937_64 gen(20261205);
  std::uniform_real_distribution<double> unit(-1, 1);
  int casi = 0, confronti_lunghi = 0;
  auto confronta = [&](double passo, double x1, double y1, double x2, double y2, double x3,
                       double y3) {
    Job job;
    job.floor.passo = passo;
    Store& s = job.store;
    s.nnodi = 3;
    s.xnodo[1] = x1, s.ynodo[1] = y1, s.xnodo[2] = x2, s.ynodo[2] = y2;
    s.xnodo[3] = x3, s.ynodo[3] = y3;
    double xa = -7, ya = -7, xb = -7, yb = -7;
    bool ea = false, eb = false;
    piuvicino(job, 1, 2, 3, xa, ya, ea);
    job.engine = Engine::reference;
    piuvicino(job, 1, 2, 3, xb, yb, eb);
    ++casi;
    ASSERT_TRUE(xa == xb && ya == yb && ea == eb) << passo << " (" << x1 << "," << y1 << ") (" << x2
                                                  << "," << y2 << ") (" << x3 << "," << y3 << ")";
  };
  // Ties: a corner straight above the middle of two steps takes the first of them.
  confronta(1, 0, 0, 10, 0, 4.5, 3);
  confronta(1, 10, 0, 0, 0, 4.5, 3);
  confronta(2.5, 0, 0, 0, 100, -30, 50);
  for (double scala : {1.0, 1e3, 1e5, 1e8}) {
    for (int i = 0; i < 400; ++i) {
      const double x1 = unit(gen) * scala, y1 = unit(gen) * scala;
      // Sides from a hundredth of the scale to its whole, in up to 20000 steps.
      const double lato = scala * std::pow(10, -2 * (unit(gen) + 1) / 2);
      const double ang = unit(gen) * 3.14159;
      const double x2 = x1 + lato * std::cos(ang), y2 = y1 + lato * std::sin(ang);
      const double passo = lato / std::pow(10, 0.5 + 3.8 * (unit(gen) + 1) / 2);
      // The corner near the side, beyond its ends, or far away.
      const double lontano = i % 5 == 0 ? 100 : 1.5;
      const double x3 = x1 + unit(gen) * lato * lontano, y3 = y1 + unit(gen) * lato * lontano;
      confronta(passo, x1, y1, x2, y2, x3, y3);
      // The same corner moved onto the side's line, where the steps tie most closely.
      const double t = (unit(gen) + 1) / 2;
      confronta(passo, x1, y1, x2, y2, x1 + t * (x2 - x1), y1 + t * (y2 - y1));
    }
  }
  // Long sides of a hundred thousand steps and more.
  for (int i = 0; i < 20; ++i) {
    const double x3 = unit(gen) * 3000, y3 = unit(gen) * 300;
    confronta(0.01 + i * 0.001, 0, 0, 2000, 10, x3, y3);
    ++confronti_lunghi;
  }
  EXPECT_EQ(casi, 3 + 4 * 800 + 20);
  EXPECT_EQ(confronti_lunghi, 20);
}

}  // namespace
}  // namespace gencampi
