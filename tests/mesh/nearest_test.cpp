#include "mesh/nearest.h"

#include <gtest/gtest.h>

#include <cmath>
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
  for (int r = 1; r <= Npunti; ++r) vicini[r] = 99;  // every entry must be written
  sorta(s, centro, Npunti, vicini);
  std::vector<int> v;
  for (int r = 1; r <= Npunti; ++r) v.push_back(vicini[r]);
  return v;
}

TEST(NearestNode, TiesGoToTheLowerNumberAndFarNodesAreNeverFound) {
  Store s(Capacities{});
  // Centre 3; nodes 1, 2, 4 all at distance 5; node 5 farther; node 6 at a squared
  // distance just above 1e11 from node 3, node 7 just below it.
  nodi(s, {{3, 4}, {0, 5}, {0, 0}, {-5, 0}, {6, 6}, {316228, 0}, {0, 316227}});
  const struct {
    int inizio, fine, atteso;
  } casi[] = {{1, 5, 1}, {2, 5, 2}, {4, 5, 4}, {3, 3, -7}, {6, 6, -7}, {6, 7, 7}};
  for (const auto& c : casi) {
    int vicino = -7;  // left alone when nothing qualifies
    trova_vicino(s, 3, c.inizio, c.fine, vicino);
    EXPECT_EQ(vicino, c.atteso) << c.inizio << ".." << c.fine;
  }
  // Rankings cover the numbers 1..Npunti, nearest first, then zeros; the X coordinates
  // moved away during the ranking come back.
  EXPECT_EQ(classifica(s, 3, 5), (std::vector{1, 2, 4, 5, 0}));
  EXPECT_EQ(classifica(s, 1, 3), (std::vector{2, 3, 0}));
  EXPECT_EQ(classifica(s, 6, 7), (std::vector{5, 1, 0, 0, 0, 0, 0}));  // the rest beyond 1e11
  EXPECT_EQ(classifica(s, 1, 1), (std::vector{0}));
  EXPECT_EQ(s.xnodo[6], 316228);
  EXPECT_EQ(s.xnodo[1], 3);
  // A node in the centre's very place under another number is ranked first.
  s.xnodo[++s.nnodi] = 0, s.ynodo[s.nnodi] = 0;
  EXPECT_EQ(classifica(s, 3, 8)[0], 8);
}

TEST(NearestNode, DivisionPointAndEndPointRuleOnBothEngines) {
  // The side 1-2 is 4 steps of 100 long: candidates at X = 0, 100, 200 and 300.
  const struct {
    int p1, p2;
    double x3, y3, x, y;
    bool estremo;
  } casi[] = {
      {1, 2, 200, 300, 200, 0, false},  // 200 / 300 from the start
      {1, 2, 100, 500, 100, 0, true},   // 100 / 500 is below 1/3
      {1, 2, 100, 300, 100, 0, false},  // exactly 1/3 is not below it
      {1, 2, 100, 290, 100, 0, false},
      {1, 2, 100, 310, 100, 0, true},
      {1, 2, -50, 100, 0, 0, true},     // the start itself
      {1, 2, 400, 0, 300, 0, false},    // the end is never a candidate
      {1, 3, 30, 80, 0, 0, true},       // shorter than a step: only the start
      {1, 1, 30, 80, -1, -1, true},     // no length: no candidate at all
  };
  for (Engine e : {Engine::fast, Engine::reference}) {
    for (const auto& c : casi) {
      Job job;
      job.engine = e;
      job.floor.passo = 100;
      nodi(job.store, {{0, 0}, {400, 0}, {50, 0}});
      const int p3 = aggiungi_nodo(job.store, c.x3, c.y3);
      double x = -1, y = -1;
      bool estremo = !c.estremo;
      piuvicino(job, c.p1, c.p2, p3, x, y, estremo);
      EXPECT_TRUE(x == c.x && y == c.y && estremo == c.estremo)
          << (e == Engine::fast) << ": " << c.x3 << "," << c.y3 << " -> " << x << " " << estremo;
    }
  }
}

// The fast engine measures only the steps near the opposite corner: it must give the
// scan's answer to the last bit, ties between two steps and long sides included.
TEST(NearestNode, DivisionPointMatchesTheScanOverEveryStep) {
  std::mt19937_64 gen(20261205);
  std::uniform_real_distribution<double> unit(-1, 1);
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
    ASSERT_TRUE(xa == xb && ya == yb && ea == eb) << passo << " (" << x1 << "," << y1 << ") (" << x2
                                                  << "," << y2 << ") (" << x3 << "," << y3 << ")";
  };
  // A corner straight above the middle of two steps takes the first of them.
  confronta(1, 0, 0, 10, 0, 4.5, 3);
  confronta(1, 10, 0, 0, 0, 4.5, 3);
  confronta(2.5, 0, 0, 0, 100, -30, 50);
  for (double scala : {1.0, 1e3, 1e5, 1e8}) {
    for (int i = 0; i < 300; ++i) {
      const double x1 = unit(gen) * scala, y1 = unit(gen) * scala;
      // Sides from a hundredth of the scale to its whole, in up to 20000 steps.
      const double lato = scala * std::pow(10, -2 * (unit(gen) + 1) / 2);
      const double ang = unit(gen) * 3.14159;
      const double x2 = x1 + lato * std::cos(ang), y2 = y1 + lato * std::sin(ang);
      const double passo = lato / std::pow(10, 0.5 + 3.8 * (unit(gen) + 1) / 2);
      // The corner near the side, beyond its ends, or far away; then on the side's line,
      // where the steps tie most closely.
      const double lontano = i % 5 == 0 ? 100 : 1.5;
      confronta(passo, x1, y1, x2, y2, x1 + unit(gen) * lato * lontano,
                y1 + unit(gen) * lato * lontano);
      const double t = (unit(gen) + 1) / 2;
      confronta(passo, x1, y1, x2, y2, x1 + t * (x2 - x1), y1 + t * (y2 - y1));
    }
  }
  // Sides of a hundred thousand steps and more.
  for (int i = 0; i < 20; ++i)
    confronta(0.01 + i * 0.001, 0, 0, 2000, 10, unit(gen) * 3000, unit(gen) * 300);
}

}  // namespace
}  // namespace gencampi
