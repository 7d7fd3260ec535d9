#include "floor/drawing.h"

#include <gtest/gtest.h>

#include <string>

#include "core/store.h"
#include "floor/job_dir.h"

namespace gencampi {
namespace {

using prova::CartellaLavoro;

const std::string intestazione =
    "3\r\n"
    "-10000.00000000     10000.000000\r\n"
    "-10000.00000000     10000.000000\r\n"
    "-10000.00000000     10000.000000\r\n";

int righe(const std::string& s) {
  int n = 0;
  for (std::size_t i = 0; i + 1 < s.size(); ++i)
    if (s[i] == '\r' && s[i + 1] == '\n') ++n;
  return n;
}

TEST(FloorDrawing, PuntiDisForTwoNodes) {
  CartellaLavoro dir;
  Job job;
  dir.imposta(job);
  aggiungi_nodo(job.store, 0, 0);
  aggiungi_nodo(job.store, 10, -5);
  scrivi_punti_dis(job);
  EXPECT_EQ(dir.leggi("lavori/uno/punti.dis"), intestazione +
                                                   " 2 \r\n"
                                                   " 0  0   0.0\r\n"
                                                   " 10 -5   0.0\r\n"
                                                   " 2 \r\n"
                                                   " 0  1                   0\r\n"
                                                   " 1  1                   0\r\n"
                                                   "0\r\n0\r\n0\r\n0\r\n");
}

TEST(FloorDrawing, PuntiDisCountsAreNumbersEvenWhenEmpty) {
  CartellaLavoro dir;
  Job job;
  dir.imposta(job);
  scrivi_punti_dis(job);
  EXPECT_EQ(dir.leggi("lavori/uno/punti.dis"), intestazione + " 0 \r\n 0 \r\n0\r\n0\r\n0\r\n0\r\n");
}

TEST(FloorDrawing, PuntiDisLineCountAndFractionsAndReplacesOldFile) {
  CartellaLavoro dir;
  dir.scrivi("lavori/uno/PUNTI.DIS", "vecchio");
  Job job;
  dir.imposta(job);
  for (int i = 0; i < 7; ++i) aggiungi_nodo(job.store, 0.25 * i, -1.5e16 * i);
  scrivi_punti_dis(job);
  // An existing file in another letter case is the one that gets replaced.
  EXPECT_FALSE(dir.esiste("lavori/uno/punti.dis"));
  std::string t = dir.leggi("lavori/uno/PUNTI.DIS");
  EXPECT_EQ(righe(t), 4 + 1 + 7 + 1 + 7 + 4);
  EXPECT_NE(t.find("\r\n .25 -1.5E+16   0.0\r\n"), std::string::npos);
  EXPECT_NE(t.find("\r\n 6  1                   0\r\n"), std::string::npos);
}

TEST(FloorDrawing, UnwritableJobDirectoryEndsTheRun) {
  CartellaLavoro dir;
  Job job;
  dir.imposta(job);
  job.dirs.dirlavoro = dir.radice() + "/manca";
  try {
    scrivi_punti_dis(job);
    FAIL() << "no ending";
  } catch (const FineElaborazione& f) {
    EXPECT_EQ(f.testo, "Impossibile aprire il file " + dir.radice() + "/manca/punti.dis");
    EXPECT_EQ(f.titolo, "ERRORE !!");
    EXPECT_EQ(f.stato, 1);
  }
}

const std::string triangolo_e_quadrilatero =
    " 100 \r\n"
    " 2 \r\n"
    "4\r\n"
    "0  0 \r\n"
    "100  0 \r\n"
    "100  50 \r\n"
    "0  50 \r\n"
    "3\r\n"
    "100  0 \r\n"
    "150  25 \r\n"
    "100  50 \r\n";

TEST(FloorDrawing, CampiDisSharesCornersButListsSharedSidesTwice) {
  CartellaLavoro dir;
  dir.scrivi("progra/campi.txt", triangolo_e_quadrilatero);
  Job job;
  dir.imposta(job);
  // Whatever the triangulation left in the store is dropped first.
  aggiungi_nodo(job.store, 7, 7);
  kreali(job.store, 1, 1, col_buchi);
  creadisegno(job);
  EXPECT_EQ(job.store.nnodi, 5);
  EXPECT_EQ(job.store.nlati, 7);
  EXPECT_EQ(job.store.tipolato[7], col_disegno);
  EXPECT_EQ(dir.leggi("lavori/uno/campi.dis"), intestazione +
                                                   " 5 \r\n"
                                                   " 0  0   0.0\r\n"
                                                   " 100  0   0.0\r\n"
                                                   " 100  50   0.0\r\n"
                                                   " 0  50   0.0\r\n"
                                                   " 150  25   0.0\r\n"
                                                   "0\r\n"
                                                   " 7 \r\n"
                                                   " 0  1   7     0\r\n"
                                                   " 1  2   7     0\r\n"
                                                   " 2  3   7     0\r\n"
                                                   " 0  3   7     0\r\n"
                                                   " 1  4   7     0\r\n"
                                                   " 4  2   7     0\r\n"
                                                   " 1  2   7     0\r\n"
                                                   "0\r\n0\r\n0\r\n");
}

TEST(FloorDrawing, CampiTxtCornerCountOtherThanFourIsATriangle) {
  CartellaLavoro dir;
  // Five corners announced, three read; the next record follows at once. Blanks, commas
  // and bare line feeds all separate the numbers.
  dir.scrivi("progra/campi.txt", "-1\n2\n5\n0,0\n10 0\n0\n10\n3\n-.5 0\n1E1 0\n0 -1E-05\n");
  Job job;
  dir.imposta(job);
  creadisegno(job);
  EXPECT_EQ(job.store.nnodi, 5);
  EXPECT_EQ(job.store.nlati, 6);
  EXPECT_EQ(job.store.lato[3][1], 1);
  EXPECT_EQ(job.store.lato[3][2], 3);
  EXPECT_EQ(job.store.xnodo[4], -0.5);
  EXPECT_EQ(job.store.lato[4][1], 4);
  EXPECT_EQ(job.store.lato[4][2], 2);  // 1E1, 0 is the second node again
  EXPECT_EQ(job.store.ynodo[5], -1e-5);
}

TEST(FloorDrawing, CampiTxtMissingOrBrokenEndsTheRun) {
  struct Caso {
    const char* testo;  // nullptr: no file
    const char* inizio;
  };
  const Caso casi[] = {
      {nullptr, "Non trovo il file "},
      {" 100 \r\n 1 \r\n3\r\n0  0 \r\n1  0 \r\n", "Errore in lettura del file "},
      {" 100 \r\n 1 \r\n3\r\n0  0 \r\n1  0 \r\n0  x \r\n", "Errore in lettura del file "},
      {" 100 \r\n 1 \r\n3\r\n0  0 \r\n1  0 \r\n0  1e999 \r\n", "Errore in lettura del file "},
      {" 100 \r\n 40000 \r\n", "Errore in lettura del file "},
      {"", "Errore in lettura del file "},
  };
  for (const Caso& c : casi) {
    CartellaLavoro dir;
    if (c.testo != nullptr) dir.scrivi("progra/campi.txt", c.testo);
    Job job;
    dir.imposta(job);
    try {
      creadisegno(job);
      ADD_FAILURE() << "no ending for " << (c.testo ? c.testo : "(missing)");
    } catch (const FineElaborazione& f) {
      EXPECT_EQ(f.testo, std::string(c.inizio) + dir.radice() + "/progra/campi.txt");
      EXPECT_EQ(f.titolo, "ERRORE !!");
    }
    EXPECT_FALSE(dir.esiste("lavori/uno/campi.dis"));
  }
}

}  // namespace
}  // namespace gencampi
