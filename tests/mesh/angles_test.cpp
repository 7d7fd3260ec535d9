// Angles, the shape measure, the corner rotations and the straight-angle rule, on values
// worked out by hand.
#include "core/angles.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <utility>
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

TEST(Angles, RotationsPutTheChosenSideFirst) {
  // Triangles: the longest side first, the earlier one on a tie, no side of length.
  const struct {
    Punti t;
    std::array<int, 3> prima, dopo;
  } terne[] = {{{{0, 0}, {4, 0}, {1, 1}}, {1, 2, 3}, {1, 2, 3}},
               {{{0, 0}, {0, 1}, {4, 0}}, {1, 2, 3}, {2, 3, 1}},
               {{{0, 0}, {1, 0}, {5, 3}}, {1, 2, 3}, {3, 1, 2}},
               {{{0, 0}, {2, 0}, {1, 3}}, {1, 2, 3}, {2, 3, 1}},
               {{{0, 0}}, {1, 1, 1}, {1, 1, 1}}};
  for (const auto& c : terne) {
    auto [a, b, d] = c.prima;
    sorta_3lati(nodi(c.t), a, b, d);
    EXPECT_EQ((std::array{a, b, d}), c.dopo) << c.dopo[0];
  }

  // Quadrilaterals: the least (deviation + 1) / length^2, a deviation from the nearer
  // axis below 10 whole degrees counting as none. A 40 x 20 rectangle, a square, then
  // side 1-2 (10.8 long, tilted 21.8 degrees) losing to 3-4 (10 long, level), then side
  // 1-2 tilted 9.4 or 9.6 degrees from the horizontal or from the vertical.
  auto inclinato = [](double gradi, bool verticale) {
    Punti q = {{0, 0}, {12, 12 * std::tan(gradi / gradi_per_radiante)}, {12, 10}, {0, 10}};
    for (auto& [x, y] : q)
      if (verticale) x = -std::exchange(y, x);
    return q;
  };
  const struct {
    Punti q;
    std::array<int, 4> prima, dopo;
  } quaterne[] = {{{{0, 0}, {40, 0}, {40, 20}, {0, 20}}, {2, 3, 4, 1}, {3, 4, 1, 2}},
                  {{{0, 0}, {10, 0}, {10, 10}, {0, 10}}, {3, 4, 1, 2}, {3, 4, 1, 2}},
                  {{{0, 0}, {10, 4}, {10, 9}, {0, 9}}, {1, 2, 3, 4}, {3, 4, 1, 2}},
                  {inclinato(9.4, false), {2, 3, 4, 1}, {1, 2, 3, 4}},
                  {inclinato(9.6, false), {2, 3, 4, 1}, {3, 4, 1, 2}},
                  {inclinato(9.4, true), {2, 3, 4, 1}, {1, 2, 3, 4}},
                  {inclinato(9.6, true), {2, 3, 4, 1}, {3, 4, 1, 2}}};
  for (const auto& c : quaterne) {
    auto [a, b, d, e] = c.prima;
    sorta_lati2(nodi(c.q), a, b, d, e);
    EXPECT_EQ((std::array{a, b, d, e}), c.dopo) << c.q[1][0] << "," << c.q[1][1];
  }
}

}  // namespace
}  // namespace gencampi
