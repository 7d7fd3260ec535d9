#include "floor/drawing.h"

#include <gtest/gtest.h>

#include "core/store.h"
#include "support/job_tree.h"

namespace gencampi {
namespace {

using test::JobOnDisk;

const std::string intestazione =
    "3\r\n-10000.00000000     10000.000000\r\n-10000.00000000     10000.000000\r\n"
    "-10000.00000000     10000.000000\r\n";

TEST(FloorDrawing, PuntiDisLayout) {
  JobOnDisk d;
  d.scrivi("lavori/job/PUNTI.DIS", "old");  // replaced under its own letter case
  scrivi_punti_dis(d.job);
  EXPECT_EQ(d.leggi("lavori/job/PUNTI.DIS"), intestazione + " 0 \r\n 0 \r\n0\r\n0\r\n0\r\n0\r\n");
  aggiungi_nodo(d.job.store, 0, 0);
  aggiungi_nodo(d.job.store, 10, -5);
  scrivi_punti_dis(d.job);
  EXPECT_EQ(d.leggi("lavori/job/PUNTI.DIS"),
            intestazione + " 2 \r\n 0  0   0.0\r\n 10 -5   0.0\r\n 2 \r\n" +
                " 0  1                   0\r\n 1  1                   0\r\n0\r\n0\r\n0\r\n0\r\n");
}

TEST(FloorDrawing, CampiDisFromATriangleAndAQuadrilateralSharingASide) {
  JobOnDisk d;
  d.scrivi("progra/campi.txt",
           " 100 \r\n 2 \r\n4\r\n0  0 \r\n100  0 \r\n100  50 \r\n0  50 \r\n"
           "3\r\n100  0 \r\n150  25 \r\n100  50 \r\n");
  aggiungi_nodo(d.job.store, 7, 7);  // the triangulation's store is dropped first
  kreali(d.job.store, 1, 1, col_buchi);
  creadisegno(d.job);
  EXPECT_EQ(d.job.store.nnodi, 5);
  EXPECT_EQ(d.job.store.tipolato[7], col_disegno);
  EXPECT_EQ(d.leggi("lavori/job/campi.dis"),
            intestazione +
                " 5 \r\n 0  0   0.0\r\n 100  0   0.0\r\n 100  50   0.0\r\n 0  50   0.0\r\n"
                " 150  25   0.0\r\n0\r\n 7 \r\n"
                " 0  1   7     0\r\n 1  2   7     0\r\n 2  3   7     0\r\n 0  3   7     0\r\n"
                " 1  4   7     0\r\n 4  2   7     0\r\n 1  2   7     0\r\n0\r\n0\r\n0\r\n");
}

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
