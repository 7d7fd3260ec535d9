#include "mesh/nearest.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace gencampi
