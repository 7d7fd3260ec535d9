#include "mesh/nearest.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "core/store.h"

namespace gencampi {
namespace {

// The fast engine measures only the steps near the corner: it must give the scan's
// answer to the last bit, on ties between two steps and on long sides too.
TEST(NearestNode, DivisionPointMatchesTheScanOverEveryStep) {
  std::mt19937_64 gen(20261205);
  std::uniform_real_distribution<double> u(-1, 1);
  auto confronta = [](double passo, double x1, double y1, double x2, double y2, double x3,
                      double y3) {
    Job job;
    job.floor.passo = passo;
    Store& s = job.store;
    s.nnodi = 3;
    s.xnodo[1] = x1, s.ynodo[1] = y1, s.xnodo[2] = x2, s.ynodo[2] = y2, s.xnodo[3] = x3;
    s.ynodo[3] = y3;
    double xa = -7, ya = -7, xb = -7, yb = -7;
    bool ea = false, eb = false;
    piuvicino(job, 1, 2, 3, xa, ya, ea);
    job.engine = Engine::reference;
    piuvicino(job, 1, 2, 3, xb, yb, eb);
    ASSERT_TRUE(xa == xb && ya == yb && ea == eb) << passo << " (" << x1 << "," << y1 << ") (" << x2
                                                  << "," << y2 << ") (" << x3 << "," << y3 << ")";
  };
  confronta(1, 0, 0, 10, 0, 4.5, 3);  // straight above the middle of two steps
  confronta(1, 10, 0, 0, 0, 4.5, 3);
  confronta(2.5, 0, 0, 0, 100, -30, 50);
  for (double scala : {1.0, 1e3, 1e5, 1e8}) {
    for (int i = 0; i < 300; ++i) {
      // Sides from a hundredth of the scale to all of it, in up to 20000 steps; the
      // corner near the side, beyond its ends or far away, then on the side's line.
      const double x1 = u(gen) * scala, y1 = u(gen) * scala, a = u(gen) * 3.14159;
      const double lato = scala * std::pow(10, -(u(gen) + 1));
      const double x2 = x1 + lato * std::cos(a), y2 = y1 + lato * std::sin(a);
      const double passo = lato / std::pow(10, 0.5 + 1.9 * (u(gen) + 1));
      const double lontano = i % 5 == 0 ? 100 : 1.5, t = (u(gen) + 1) / 2;
      confronta(passo, x1, y1, x2, y2, x1 + u(gen) * lato * lontano, y1 + u(gen) * lato * lontano);
      confronta(passo, x1, y1, x2, y2, x1 + t * (x2 - x1), y1 + t * (y2 - y1));
    }
  }
  for (int i = 0; i < 20; ++i)  // a hundred thousand steps and more
    confronta(0.01 + i * 0.001, 0, 0, 2000, 10, u(gen) * 3000, u(gen) * 300);
}

}  // namespace
}  // namespace gencampi
