#include "core/angles.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <utility>
#include <vector>

#include "core/store.h"

namespace gencampi {
namespace {

Store nodi(const std::vector<std::pair<double, double>>& punti) {
  Store s(Capacities{});
  for (const auto& [x, y] : punti) aggiungi_nodo(s, x, y);
  return s;
}

TEST(MeshAngles, RightCollinearAndCoincident) {
  Store s = nodi({{10, 0}, {0, 0}, {0, 10}, {-10, 0}, {20, 0}});
  EXPECT_NEAR(ang(s, 1, 2, 3), 90, 1e-9);
  EXPECT_NEAR(ang(s, 1, 2, 4), 180, 1e-9);  // middle node between the others
  EXPECT_NEAR(ang(s, 2, 1, 5), 180, 1e-9);
  EXPECT_EQ(ang(s, 2, 1, 4), 0);  // middle node beyond both others
  EXPECT_EQ(ang(s, 1, 1, 3), 0);  // coincident nodes
  EXPECT_EQ(ang(s, 1, 2, 1), 0);
  // The angle does not depend on which side is named first.
  EXPECT_EQ(ang(s, 1, 2, 3), ang(s, 3, 2, 1));
  // 60 degrees from an equilateral triangle.
  Store e = nodi({{0, 0}, {1, 0}, {0.5, std::sqrt(3.0) / 2}});
  EXPECT_NEAR(ang(e, 2, 1, 3), 60, 1e-9);
}

TEST(MeshAngles, ShapeMeasureIsScaleFreeAndPeaksAtEquilateral) {
  const double h = std::sqrt(3.0) / 2;
  Store s = nodi({{0, 0}, {1, 0}, {0.5, h}, {0, 1}, {1000, 0}, {0, 1000}, {2, 0}});
  EXPECT_NEAR(areasuperim(s, 1, 2, 3), 1.0 / 27, 1e-15);
  // Right isosceles: area 1/2, semi-perimeter 1 + sqrt(2)/2.
  const double sp = 1 + std::sqrt(2.0) / 2;
  const double isoscele = 0.25 / (sp * sp * sp * sp);
  EXPECT_NEAR(areasuperim(s, 1, 2, 4), isoscele, 1e-15);
  EXPECT_NEAR(isoscele, 0.0294, 1e-4);
  EXPECT_NEAR(areasuperim(s, 1, 5, 6), isoscele, 1e-15);
  EXPECT_EQ(areasuperim(s, 1, 2, 7), 0);  // three nodes on a line
  EXPECT_LT(areasuperim(s, 1, 2, 4), areasuperim(s, 1, 2, 3));
}

TEST(MeshAngles, TriangleRotationPutsTheLongestSideFirst) {
  Store s = nodi({{0, 0}, {1, 0}, {5, 3}, {1, 5}});
  int a = 1, b = 2, c = 3;
  sorta_3lati(s, a, b, c);  // |31|^2 = 34 beats |23|^2 = 25
  EXPECT_EQ((std::array{a, b, c}), (std::array{3, 1, 2}));
  a = 2, b = 4, c = 1;  // |41|^2 = 26 beats |24|^2 = 25
  sorta_3lati(s, a, b, c);
  EXPECT_EQ((std::array{a, b, c}), (std::array{4, 1, 2}));
  a = 1, b = 2, c = 4;  // |24|^2 = 25, |41|^2 = 26: the third side wins
  sorta_3lati(s, a, b, c);
  EXPECT_EQ((std::array{a, b, c}), (std::array{4, 1, 2}));

  Store t = nodi({{0, 0}, {0, 1}, {4, 0}});
  a = 1, b = 2, c = 3;  // longest is side 2, pv2-pv3
  sorta_3lati(t, a, b, c);
  EXPECT_EQ((std::array{a, b, c}), (std::array{2, 3, 1}));

  // Ties go to the earlier side; all sides of zero length leave the corners alone.
  Store e = nodi({{0, 0}, {2, 0}, {1, 3}});
  a = 1, b = 2, c = 3;  // |23|^2 = |31|^2 = 10
  sorta_3lati(e, a, b, c);
  EXPECT_EQ((std::array{a, b, c}), (std::array{2, 3, 1}));
  a = 1, b = 1, c = 1;
  sorta_3lati(e, a, b, c);
  EXPECT_EQ((std::array{a, b, c}), (std::array{1, 1, 1}));
}

TEST(MeshAngles, QuadrilateralStartSideIsLongAndAxisAligned) {
  // Rectangle 40 x 20 given from a short side: the long bottom side comes first.
  Store r = nodi({{0, 0}, {40, 0}, {40, 20}, {0, 20}});
  int a = 2, b = 3, c = 4, d = 1;
  sorta_lati2(r, a, b, c, d);
  EXPECT_EQ((std::array{a, b, c, d}), (std::array{3, 4, 1, 2}));
  a = 1, b = 2, c = 3, d = 4;
  sorta_lati2(r, a, b, c, d);
  EXPECT_EQ((std::array{a, b, c, d}), (std::array{1, 2, 3, 4}));

  // Square: all weights equal, the earliest side stays.
  Store q = nodi({{0, 0}, {10, 0}, {10, 10}, {0, 10}});
  a = 3, b = 4, c = 1, d = 2;
  sorta_lati2(q, a, b, c, d);
  EXPECT_EQ((std::array{a, b, c, d}), (std::array{3, 4, 1, 2}));

  // The longest side (1-2, length 10.8, tilted 21.8 degrees) loses to the shorter
  // horizontal one (3-4, length 10): weights 23/116 against 1/100.
  Store t = nodi({{0, 0}, {10, 4}, {10, 9}, {0, 9}});
  a = 1, b = 2, c = 3, d = 4;
  sorta_lati2(t, a, b, c, d);
  EXPECT_EQ((std::array{a, b, c, d}), (std::array{3, 4, 1, 2}));

  // A tilt below 10 degrees counts as aligned: the longest side keeps its place.
  Store u = nodi({{0, 0}, {12, 1.5}, {12, 10}, {0, 10}});
  a = 2, b = 3, c = 4, d = 1;
  sorta_lati2(u, a, b, c, d);
  EXPECT_EQ((std::array{a, b, c, d}), (std::array{1, 2, 3, 4}));
}

TEST(MeshAngles, StraightAngleRuleRoundsHalvesToEven) {
  EXPECT_TRUE(angolo_piatto(0));
  EXPECT_TRUE(angolo_piatto(0.4));
  EXPECT_TRUE(angolo_piatto(0.5));
  EXPECT_FALSE(angolo_piatto(0.6));
  EXPECT_FALSE(angolo_piatto(1.5));
  EXPECT_FALSE(angolo_piatto(90));
  EXPECT_FALSE(angolo_piatto(179.4));
  EXPECT_TRUE(angolo_piatto(179.5));
  EXPECT_TRUE(angolo_piatto(179.6));
  EXPECT_TRUE(angolo_piatto(180));
}

}  // namespace
}  // namespace gencampi
