#include "core/settings.h"

#include <gtest/gtest.h>

#include "support/cases.h"
#include "support/job_tree.h"

namespace gencampi {
namespace {

// Each case of data/settings.txt: a settings file and what the look-up of
// MESH.distanza_min finds in it, or how it ends the run. The default lines appended for
// missing keys show in the stored jobs.
TEST(FloorSettings, LookUpInTheFile) {
  const char* const tirnel = "impostazioni/tirnel.ini";
  for (const auto& c : test::casi("core/data/settings.txt")) {
    test::JobOnDisk d;
    if (c.at(0) != "-") d.scrivi(tirnel, c[0]);
    int r = -1;
    std::string a = "x";
    try {
      leg_tirnel_ini(d.job.dirs, "MESH.distanza_min", r, a);
      EXPECT_EQ(std::to_string(r) + "|" + a, c.at(1) + "|" + c.at(2)) << c[0];
    } catch (const RunEnd& f) {
      EXPECT_EQ(f.titolo + ": " + f.testo, c.at(1) + d.path(tirnel)) << c[0];
      // A caller that does not stop the run on a bad file gets no answer instead.
      const int due = 2;
      leg_tirnel_ini(d.job.dirs, "MESH.distanza_min", r, a, &due);
      EXPECT_EQ(r, 0);
    }
    // A look-up never changes the file, nor makes a missing one.
    EXPECT_EQ(d.esiste(tirnel) ? d.leggi(tirnel) : "-", c[0]);
  }
}

}  // namespace
}  // namespace gencampi
