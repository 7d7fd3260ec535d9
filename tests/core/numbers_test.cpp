#include "core/numbers.h"

#include <gtest/gtest.h>

#include <cmath>

namespace gencampi {
namespace {

TEST(PrintForm, DoublesAndIntegers) {
  EXPECT_EQ(formato(0.25), " .25 ");
  EXPECT_EQ(formato(-0.25), "-.25 ");
  EXPECT_EQ(formato(1.5e16), " 1.5E+16 ");
  EXPECT_EQ(formato(1e-5), " 1E-05 ");
  EXPECT_EQ(formato(50.0), " 50 ");
  EXPECT_EQ(formato(-0.0), " 0 ");
  EXPECT_EQ(formato(250.5), " 250.5 ");
  EXPECT_EQ(formato(-12.5), "-12.5 ");
  EXPECT_EQ(formato(1.0 / 3.0), " .333333333333333 ");
  EXPECT_EQ(formato(57), " 57 ");
  EXPECT_EQ(formato(-3), "-3 ");
  EXPECT_EQ(formato(0), " 0 ");
}

TEST(LeadingNumber, SkipsBlanksAnywhereAndStopsAtTheFirstBadCharacter) {
  EXPECT_EQ(valore_iniziale("  12.5abc"), 12.5);
  EXPECT_EQ(valore_iniziale("3 4"), 34);
  EXPECT_EQ(valore_iniziale("\t- 5"), -5);
  EXPECT_EQ(valore_iniziale(".5"), 0.5);
  EXPECT_EQ(valore_iniziale("5."), 5);
  EXPECT_EQ(valore_iniziale("1E3"), 1000);
  EXPECT_EQ(valore_iniziale("1E+"), 1);
  EXPECT_EQ(valore_iniziale("2e-1x"), 0.2);
  EXPECT_EQ(valore_iniziale("abc"), 0);
  EXPECT_EQ(valore_iniziale(""), 0);
  EXPECT_EQ(valore_iniziale("."), 0);
  EXPECT_EQ(valore_iniziale("-"), 0);
  EXPECT_EQ(valore_iniziale("0.1"), 0.1);
  EXPECT_TRUE(std::isinf(valore_iniziale("1e999")));
}

TEST(NumberLiteral, WholeFieldOnly) {
  EXPECT_EQ(letterale("12.5"), 12.5);
  EXPECT_EQ(letterale("-.5"), -0.5);
  EXPECT_EQ(letterale("+7"), 7);
  EXPECT_EQ(letterale("5.E2"), 500);
  EXPECT_FALSE(letterale(""));
  EXPECT_FALSE(letterale("12a"));
  EXPECT_FALSE(letterale("1E"));
  EXPECT_FALSE(letterale("."));
  EXPECT_FALSE(letterale("--1"));
}

TEST(Counts, RoundHalfToEvenWithinSixteenBits) {
  EXPECT_EQ(conteggio(2.5), 2);
  EXPECT_EQ(conteggio(3.5), 4);
  EXPECT_EQ(conteggio(-2.5), -2);
  EXPECT_EQ(conteggio(32767.4), 32767);
  EXPECT_FALSE(conteggio(32767.5));
  EXPECT_EQ(conteggio(-32768), -32768);
  EXPECT_FALSE(conteggio(-32769));
  EXPECT_FALSE(conteggio(INFINITY));
}

}  // namespace
}  // namespace gencampi
