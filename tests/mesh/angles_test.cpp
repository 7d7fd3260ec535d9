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

using Punto = std::array<double, 2>;

Store nodi(const std::vector<Punto>& punti) {
  Store s(Capacities{});
  for (const auto& [x, y] : punti) aggiungi_nodo(s, x, y);
  return s;
}

TEST(Angles, AngleAndShapeMeasure) {
  const double h = std::sqrt(3.0) / 2;
  // The angle at the middle point; two coincident points or a middle point beyond both
  // others give 0.
  const struct {
    Punto i, j, k;
    double gradi;
  } angoli[] = {{{10, 0}, {0, 0}, {0, 10}, 90},   {{1, 0}, {0, 0}, {1, 1}, 45},
                {{1, 0}, {0, 0}, {-1, 1}, 135},   {{1, 0}, {0, 0}, {0.5, h}, 60},
                {{-10, 0}, {0, 0}, {10, 0}, 180}, {{0, 0}, {10, 0}, {-10, 0}, 0},
                {{0, 0}, {0, 0}, {0, 10}, 0},     {{0, 10}, {0, 0}, {0, 10}, 0}};
  for (const auto& c : angoli)
    EXPECT_NEAR(ang_xy(c.i[0], c.i[1], c.j[0], c.j[1], c.k[0], c.k[1]), c.gradi, 1e-9) << c.gradi;

  // Area squared over the semi-perimeter to the fourth, whatever the size.
  const double sp = 1 + std::sqrt(2.0) / 2;  // right isosceles with legs 1: area 1/2
  const struct {
    std::vector<Punto> t;
    double misura;
  } forme[] = {{{{0, 0}, {1, 0}, {0.5, h}}, 1.0 / 27},
               {{{0, 0}, {1, 0}, {0, 1}}, 0.25 / std::pow(sp, 4)},
               {{{0, 0}, {1000, 0}, {0, 1000}}, 0.25 / std::pow(sp, 4)},
               {{{0, 0}, {4, 0}, {0, 3}}, 1.0 / 36},  // 3-4-5: 3 * 2 * 1 / 6^3
               {{{0, 0}, {1, 0}, {2, 0}}, 0}};
  for (const auto& f : forme) EXPECT_NEAR(areasuperim(nodi(f.t), 1, 2, 3), f.misura, 1e-15);
}

TEST(Angles, RotationsPutTheChosenSideFirst) {
  // Triangles: the longest side first, the earlier side on a tie, all of zero length
  // left alone.
  const struct {
    std::vector<Punto> t;
    std::array<int, 3> prima, dopo;
  } terne[] = {{{{0, 0}, {4, 0}, {1, 1}}, {1, 2, 3}, {1, 2, 3}},
               {{{0, 0}, {0, 1}, {4, 0}}, {1, 2, 3}, {2, 3, 1}},
               {{{0, 0}, {1, 0}, {5, 3}}, {1, 2, 3}, {3, 1, 2}},
               {{{0, 0}, {2, 0}, {1, 3}}, {1, 2, 3}, {2, 3, 1}},
               {{{0, 0}}, {1, 1, 1}, {1, 1, 1}}};
  for (const auto& c : terne) {
    auto [a, b, d] = c.prima;
    sorta_3lati(nodi(c.t), a, b, d);
    EXPECT_EQ((std::array{a, b, d}), c.dopo) << c.t.size() << " " << c.dopo[0];
  }

  // Quadrilaterals: a long side near an axis, a deviation below 10 whole degrees from
  // either axis counting as none. The last four differ only in a tilt of side 1-2 of
  // 9.4 or 9.6 degrees, from the horizontal or from the vertical.
  auto inclinato = [](double gradi, bool verticale) {
    const double t = std::tan(gradi / gradi_per_radiante);
    std::vector<Punto> q = {{0, 0}, {12, 12 * t}, {12, 10}, {0, 10}};
    if (verticale)
      for (auto& [x, y] : q) x = -std::exchange(y, x);
    return q;
  };
  const struct {
    std::vector<Punto> q;
    std::array<int, 4> prima, dopo;
  } quaterne[] = {{{{0, 0}, {40, 0}, {40, 20}, {0, 20}}, {2, 3, 4, 1}, {3, 4, 1, 2}},
                  {{{0, 0}, {10, 0}, {10, 10}, {0, 10}}, {3, 4, 1, 2}, {3, 4, 1, 2}},
                  // Side 1-2 (10.8 long, 21.8 degrees) loses to 3-4: 23/116 against 1/100.
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

TEST(Angles, StraightAngleRuleRoundsHalvesToEven) {
  const struct {
    double gradi;
    bool piatto;
  } casi[] = {{0, true},     {0.4, true},    {0.5, true},    {0.6, false},
              {1.5, false},  {2.5, false},   {90, false},    {179.4, false},
              {179.5, true}, {179.6, true},  {180, true},    {-0.4, true}};
  for (const auto& c : casi) EXPECT_EQ(angolo_piatto(c.gradi), c.piatto) << c.gradi;
}

}  // namespace
}  // namespace gencampi
