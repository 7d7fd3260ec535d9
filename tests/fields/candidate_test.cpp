// Enclosure of listed nodes and of sides by a candidate triangle, at the edges of the
// half-open ray rule. Flat and outside triangles are refused by the same rules in the
// fast triangulation's spatial index, which the exactness test sets against this scan.
#include "fields/candidate.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "core/store.h"
#include "support/cases.h"
#include "support/job_builder.h"

namespace gencampi {
namespace {

using test::con_nodi;

bool ingloba(const Job& job, int uno = 1, int due = 2, int tre = 3) {
  return ingloba(job, uno, due, tre, job.nodes.punti, job.nodes.npunti);
}

TEST(CandidateTriangle, ListedNodesAreEnclosedByTheHalfOpenRayRule) {
  for (const auto& c : test::tabella("fields/data/enclosed_nodes.txt")) {
    Job job = con_nodi({{c.at(0), c.at(1)}, {c.at(2), c.at(3)}, {c.at(4), c.at(5)}});
    job.store.xnodo[4] = c.at(6), job.store.ynodo[4] = c.at(7);  // maybe near a corner
    job.store.nnodi = job.nodes.npunti = 4;
    job.nodes.punti[4] = 4;
    EXPECT_EQ(ingloba(job), c.at(8) != 0) << testing::PrintToString(c);
    // Only listed nodes count, read through the list.
    job.nodes.punti[4] = 1;
    EXPECT_FALSE(ingloba(job));
  }
}

TEST(CandidateTriangle, SidesAreEnclosedThroughTheirMidpointUnlessAlongAnEdge) {
  const std::vector<std::pair<double, double>> nodi = {
      {0, 0}, {10, 0}, {0, 10}, {10, 10}, {-2, 1}, {6, 3},   {-5, 0}, {7, 0}, {4, -6},
      {4, 6}, {6, 6},  {3, 3},  {-3, -3}, {1, 1},  {12, -2}, {2, 8},  {3, 4}, {7, 6}};
  Job job = con_nodi(nodi);
  job.nodes.npunti = 3;
  for (const auto& c : test::tabella("fields/data/enclosed_sides.txt")) {
    auto n = [&c](int i) { return static_cast<int>(c.at(static_cast<std::size_t>(i))); };
    job.store.nlati = 0;
    kreali(job.store, n(3), n(4), n(5));
    EXPECT_EQ(ingloba(job, n(0), n(1), n(2)), n(6) != 0) << testing::PrintToString(c);
  }
  // Every side up to nlati is looked at.
  kreali(job.store, 5, 6, col_buchi);
  EXPECT_TRUE(ingloba(job));
  --job.store.nlati;
  EXPECT_FALSE(ingloba(job));
}

}  // namespace
}  // namespace gencampi
