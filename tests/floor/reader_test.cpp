// The pillar and polyline records. How whole floors are read, and every way reading one
// ends, shows in the stored jobs and in the broken jobs run through the program.
#include "floor/reader.h"

#include <gtest/gtest.h>

#include "support/job_tree.h"

namespace gencampi {
namespace {

TEST(FloorReader, EstraiRTakesBlankSeparatedNumbersOffTheFront) {
  std::string r = "  12.5   40 baricentro ";
  EXPECT_EQ(estraiR(r), 12.5);
  EXPECT_EQ(estraiR(r), 40);
  EXPECT_EQ(r, "baricentro");
  EXPECT_EQ(estraiR(r), 0);  // a word where a number stands is consumed as 0
  EXPECT_EQ(r, "");
  r = "1\t2 3";  // a tab does not separate, and the leading-number rule skips it
  EXPECT_EQ(estraiR(r), 12);
  EXPECT_EQ(r, "3");
}

// A perimeter whose last vertex repeats the first: the closing side, of no length, is
// dropped. Nothing a run writes shows the side table, so it is looked at here.
TEST(FloorReader, RepeatedClosingVertexDropsTheClosingSide) {
  test::JobOnDisk d;
  d.scrivi("impostazioni/tirnel.ini", test::ini_standard);
  d.scrivi("progra/impalcato.txt",
           "100\r\n5\r\n0,0\r\n100,0\r\n100,50\r\n0,50\r\n0,0\r\n0\r\n0\r\n0\r\n0\r\n");
  ASSERT_EQ(leggibase(d.job), FloorRead::complete);
  EXPECT_EQ(d.job.store.nnodi, 4);
  EXPECT_EQ(d.job.store.nlati, 4);
}

}  // namespace
}  // namespace gencampi
