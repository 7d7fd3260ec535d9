#include "floor/drawing.h"

#include <gtest/gtest.h>

#include "support/cases.h"
#include "support/job_tree.h"

namespace gencampi {
namespace {

// The layouts of both drawing files are checked byte for byte by the stored jobs.
TEST(FloorDrawing, CampiTxtThatCannotBeReadOrWritten) {
  for (const auto& c : test::casi("floor/data/campi_txt.txt")) {
    test::JobOnDisk d;
    if (c.at(0) != "-") d.scrivi("progra/campi.txt", c[0]);
    if (c.at(2) == "no") std::filesystem::remove_all(d.path("lavori"));
    const std::size_t file = c.at(1).rfind(' ') + 1;
    try {
      creadisegno(d.job);
      ADD_FAILURE() << c[1];
    } catch (const RunEnd& f) {
      EXPECT_EQ(f.titolo + ": " + f.testo,
                "ERRORE !!: " + c[1].substr(0, file) + d.path(c[1].substr(file)));
    }
    EXPECT_FALSE(d.esiste("lavori/job/campi.dis"));
  }
}

}  // namespace
}  // namespace gencampi
