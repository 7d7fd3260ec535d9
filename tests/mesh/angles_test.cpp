// Angles, the shape measure and the straight-angle rule, on values worked out by hand.
// The corner rotations show in the files of the stored jobs.
#include "core/angles.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <vector>

#include "core/store.h"

namespace gencampi {
namespace {

using Punti = std::vector<std::array<double, 2>>;

Store nodi(const Punti& punti) {
  Store s(Capacities{});
  for (const auto& [x, y] : punti) aggiungi_nodo(s, x, y);
  return s;
}

TEST(Angles, AngleShapeMeasureAndStraightAngleRule) {
  // The angle at the middle point, and the shape measure (area squared over the
  // semi-perimeter to the fourth): a right isosceles triangle of any size, an equilateral
  // one (1/27), a 3-4-5 one, three points on a line.
  const double h = std::sqrt(3.0) / 2, sp = 1 + std::sqrt(2.0) / 2;
  const struct {
    Punti p;
    double gradi, misura;
  } casi[] = {{{{10, 0}, {0, 0}, {0, 10}}, 90, 0.25 / std::pow(sp, 4)},
              {{{1000, 0}, {0, 0}, {0, 1000}}, 90, 0.25 / std::pow(sp, 4)},
              {{{0, 0}, {1, 0}, {0.5, h}}, 60, 1.0 / 27},
              {{{4, 0}, {0, 0}, {0, 3}}, 90, 1.0 / 36},  // 3 * 2 * 1 / 6^3
              {{{1, 0}, {0, 0}, {1, 1}}, 45, -1},
              {{{1, 0}, {0, 0}, {-1, 1}}, 135, -1},
              {{{-10, 0}, {0, 0}, {10, 0}}, 180, 0},
              {{{0, 0}, {10, 0}, {-10, 0}}, 0, 0}};
  for (const auto& c : casi) {
    const Store s = nodi(c.p);
    EXPECT_NEAR(ang(s, 1, 2, 3), c.gradi, 1e-9) << c.gradi;
    if (c.misura >= 0) {
      EXPECT_NEAR(areasuperim(s, 1, 2, 3), c.misura, 1e-15) << c.gradi;
    }
  }
  EXPECT_EQ(ang_xy(0, 0, 0, 0, 0, 10), 0);  // two points in one place
  EXPECT_EQ(ang_xy(0, 10, 0, 0, 0, 10), 0);

  // Round half to even after adding 180, then modulo 180.
  for (double a : {0.0, 0.4, 0.5, 179.5, 179.6, 180.0, -0.4}) EXPECT_TRUE(angolo_piatto(a)) << a;
  for (double a : {0.6, 1.5, 2.5, 90.0, 179.4}) EXPECT_FALSE(angolo_piatto(a)) << a;
}

}  // namespace
}  // namespace gencampi
