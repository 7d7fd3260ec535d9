#include "core/arctangent.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>

namespace gencampi {
namespace {

// Arguments of every size, with those of the angle measure (-h / sqrt(1 - h^2)) among
// them.
double argomento(int i, std::uint64_t& stato) {
  stato ^= stato << 13;
  stato ^= stato >> 7;
  stato ^= stato << 17;
  const double frazione = std::ldexp(static_cast<double>(stato >> 11), -53);
  switch (i % 4) {
    case 0:
      return std::bit_cast<double>(stato);
    case 1:
      return 2 * frazione - 1;
    case 2:
      return std::ldexp(frazione, static_cast<int>(stato % 12));
    default:
      return -frazione / std::sqrt(1 - frazione * frazione);
  }
}

void aggiungi(std::uint64_t& impronta, double v) {
  impronta = (impronta ^ std::bit_cast<std::uint64_t>(v)) * 1099511628211ull;
}

// The fingerprints of glibc 2.36's two ways over these arguments. A build whose compiler
// fuses other operations than glibc's, or rounds one of them otherwise, gives others.
constexpr std::uint64_t impronta_semplice = 5614079067604522187ull;
constexpr std::uint64_t impronta_fusa = 16419875160360398240ull;

TEST(ArcTangent, GivesGlibcsBits) {
  std::uint64_t stato = 88172645463325252ull;
  std::uint64_t semplice = 14695981039346656037ull, fusa = semplice;
  int diverse = 0;
  for (int i = 0; i < 400000; ++i) {
    const double x = argomento(i, stato);
    aggiungi(semplice, arcotangente_glibc(x, false));
    if (processore_con_fma()) aggiungi(fusa, arcotangente_glibc(x, true));
#ifdef __GLIBC__
    // glibc itself, in the way it chose for this processor.
    const double a = std::atan(x), b = arcotangente_glibc(x);
    if (std::bit_cast<std::uint64_t>(a) != std::bit_cast<std::uint64_t>(b) && !std::isnan(a))
      ++diverse;
#endif
  }
  EXPECT_EQ(diverse, 0);
  EXPECT_EQ(semplice, impronta_semplice);
  if (processore_con_fma()) {
    EXPECT_EQ(fusa, impronta_fusa);
  }
}

}  // namespace
}  // namespace gencampi
