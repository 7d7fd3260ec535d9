#include "floor/drawing.h"

#include <gtest/gtest.h>

#include "support/job_tree.h"

namespace gencampi {
namespace {

using test::JobOnDisk;

// The layouts of both drawing files are checked byte for byte by the whole-run jobs.
TEST(FloorDrawing, CampiTxtThatCannotBeReadOrWritten) {
  const char* lettura = "Errore in lettura del file ";
  const struct {
    const char* campi;  // nullptr: no campi.txt
    bool lavoro;        // the job directory exists
    std::string atteso;
  } casi[] = {
      {nullptr, true, "Non trovo il file progra/campi.txt"},
      {"", true, lettura + std::string("progra/campi.txt")},
      {" 1 \r\n 1 \r\n3\r\n0  0 \r\n1  0 \r\n0", true, lettura + std::string("progra/campi.txt")},
      {" 1 \r\n 1 \r\n3\r\n0  0 \r\n1  0 \r\n0 x\r\n", true,
       lettura + std::string("progra/campi.txt")},
      {" 1 \r\n 1 \r\n3\r\n0  0 \r\n1  0 \r\n0 1e999\r\n", true,
       lettura + std::string("progra/campi.txt")},
      {" 1 \r\n 40000 \r\n", true, lettura + std::string("progra/campi.txt")},
      {" 1 \r\n 0 \r\n", false, "Impossibile aprire il file lavori/job/campi.dis"},
  };
  for (const auto& c : casi) {
    JobOnDisk d;
    if (c.campi != nullptr) d.scrivi("progra/campi.txt", c.campi);
    if (!c.lavoro) std::filesystem::remove_all(d.path("lavori"));
    try {
      creadisegno(d.job);
      ADD_FAILURE() << c.atteso;
    } catch (const RunEnd& f) {
      EXPECT_EQ(f.testo, c.atteso.substr(0, c.atteso.rfind(' ') + 1) +
                             d.path(c.atteso.substr(c.atteso.rfind(' ') + 1)));
      EXPECT_EQ(f.titolo, "ERRORE !!");
    }
    EXPECT_FALSE(d.esiste("lavori/job/campi.dis"));
  }
}

}  // namespace
}  // namespace gencampi
