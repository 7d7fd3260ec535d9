// Merge partners: the diagonal of two triangles must cross their shared side.
#include "fields/pairing.h"

#include <gtest/gtest.h>

#include <array>
#include <random>
#include <utility>

#include "core/store.h"
#include "fields/fast_pairing.h"
#include "support/triangle_grid.h"

namespace gencampi {
namespace {

int triangolo(Job& job, int a, int b, int c) {
  job.fields.campo[++job.fields.ncampi] = {0, a, b, c, c};
  return job.fields.ncampi;
}

std::array<int, 3> partner(const Job& job, int f) {
  const auto& r = job.fields.coppie[f];
  return {r[1], r[2], r[3]};
}

TEST(FieldsPairing, StopsAtThreePartnersAndLeavesTheRestOfTheRow) {
  // Triangle a b c with a convex neighbour on each side, then the first one again.
  Job job;
  for (auto [x, y] : {std::pair{0, 0}, {10, 0}, {5, 8}, {5, -6}, {12, 8}, {-2, 8}})
    aggiungi_nodo(job.store, x, y);
  kreali(job.store, 1, 2, col_perimetro);
  for (auto [a, b, c] : {std::array{1, 2, 3}, {2, 1, 4}, {3, 2, 5}, {1, 3, 6}, {1, 2, 4}})
    triangolo(job, a, b, c);
  job.fields.coppie[1] = {0, 7, 7, 7};
  cercacoppie(job, 1);
  EXPECT_EQ(partner(job, 1), (std::array{2, 3, 4}));
  for (int f = 2; f <= 4; ++f) {  // a pair listed under field 1 is not listed again
    cercacoppie(job, f);
    EXPECT_EQ(partner(job, f), (std::array{0, 0, 0})) << f;
  }
  EXPECT_EQ(job.fields.coppie[2][0], 0);  // nothing written past the row
  EXPECT_TRUE(job.store.nlati == 1 && job.store.tipolato[1] == col_perimetro);
  // Field 5 repeats field 2: the diagonal between the same far corner has no length.
  job.fields.coppie[5] = {0, 9, 9, 9};
  cercacoppie(job, 5);
  EXPECT_EQ(partner(job, 5), (std::array{1, 9, 9}));
}

// Only fields holding two corners of a field can share a side with it: the fast way
// looks at those alone and must list exactly what the scan over every field lists, also
// for rows with repeated corners and fields repeated under other numbers.
TEST(FieldsPairing, FastPairingListsWhatTheScanLists) {
  std::mt19937 rng(3);
  for (unsigned seme = 1; seme <= 16; ++seme) {
    Job job;
    if (seme % 2 == 0) {
      griglia_triangoli(job, seme, 3 + static_cast<int>(seme % 5), 2 + static_cast<int>(seme % 4),
                        50);
    } else {
      for (int i = 0; i < 12; ++i) aggiungi_nodo(job.store, i % 4 * 10.0, i / 4 * 10.0 + i % 2);
      std::uniform_int_distribution<int> nodo(1, 12);
      for (int t = 0; t < 60; ++t) triangolo(job, nodo(rng), nodo(rng), nodo(rng));
    }
    Job veloce = job;
    const int primo = 1 + static_cast<int>(seme % 3), ultimo = job.fields.ncampi;
    for (int i = primo; i <= ultimo; ++i) cercacoppie(job, i);
    cercacoppie_veloce(veloce, primo, ultimo);
    for (int i = 1; i <= ultimo; ++i)
      ASSERT_EQ(partner(job, i), partner(veloce, i)) << "seed " << seme << " field " << i;
    EXPECT_EQ(job.store.nlati, veloce.store.nlati);
  }
}

}  // namespace
}  // namespace gencampi
