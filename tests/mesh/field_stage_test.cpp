// The field stage: the final pass on triangles worked out by hand, the scratch files,
// and the fast way against the reference way. The pairing, the squaring and the choice
// of the pair to merge show in the files of the stored jobs.
#include "mesh/field_stage.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <sstream>
#include <string>

#include "core/store.h"
#include "floor/drawing.h"
#include "mesh/field_files.h"
#include "support/job_tree.h"
#include "support/triangle_grid.h"

namespace gencampi {
namespace {

// Field file records from "x y;x y;x y|..." : the corner count, then a line per corner
// with a sign position and a trailing blank for every number.
std::string record(const std::string& testo) {
  std::string out;
  std::istringstream record(testo);
  for (std::string r; std::getline(record, r, '|');) {
    std::istringstream angoli(r);
    std::string corpo;
    int n = 0;
    for (std::string a; std::getline(angoli, a, ';'); ++n, corpo += "\r\n") {
      std::istringstream numeri(a);
      for (std::string x; numeri >> x;) corpo += (x[0] == '-' ? "" : " ") + x + " ";
    }
    out += std::to_string(n) + "\r\n" + corpo;
  }
  return out;
}

class FieldStage : public ::testing::Test {
 protected:
  FieldStage() { job.floor.passo = 50; }
  int nodo(double x, double y) { return aggiungi_nodo(job.store, x, y); }
  void triangolo(std::array<double, 6> t) {
    job.fields.campo[++job.fields.ncampi] = {0, nodo(t[0], t[1]), nodo(t[2], t[3]),
                                             nodo(t[4], t[5]), nodo(t[4], t[5])};
  }
  std::string tmp() const { return disco.leggi("progra/campi.tmp"); }

  test::JobOnDisk disco;
  Job& job = disco.job;
  FieldStageState st;
};

TEST_F(FieldStage, FinalPassSplitsObtuseTrianglesAndDropsSlivers) {
  // 131 and 120.5 degrees at the third corner: split at the division point nearest to
  // it; 119.5 and 90 degrees: only rotated to start on the longest side. With passo 50
  // every side must be longer than 0.05, in each half of a split triangle too.
  const struct {
    std::array<double, 6> t;
    std::string scritti;
  } casi[] = {
      {{0, 0, 400, 0, 200, 90}, "0 0;200 0;200 90|200 0;400 0;200 90"},
      {{0, 0, 400, 0, 200, 114.3}, "0 0;200 0;200 114.3|200 0;400 0;200 114.3"},
      {{400, 0, 200, 116.6, 0, 0}, "0 0;400 0;200 116.6"},
      {{2000, 0, 2100, 0, 2000, 100}, "2100 0;2000 100;2000 0"},
      {{1000, 0, 1010, 0, 1010, 0.05}, ""},
      {{1000, 0, 1010, 0, 1010, 0.0501}, "1010 .0501;1000 0;1010 0"},
      {{0, 0, 400, 0, 200, 0.04}, ""},
      {{0, 0, 400, 0, 200, 0.06}, "0 0;200 0;200 .06|200 0;400 0;200 .06"},
  };
  for (const auto& c : casi) {
    job.fields.ncampi = 0;
    triangolo(c.t);
    st.passata_finale = true;
    accoppia(job, st);
    EXPECT_EQ(tmp(), record(c.scritti)) << c.t[4] << "," << c.t[5];
    EXPECT_EQ(st.ntriangoli,
              c.scritti.empty() ? 0 : 1 + (c.scritti.find('|') != std::string::npos));
  }
}

TEST_F(FieldStage, ScratchFilesAreReadBackAndAssembledLineByLine) {
  RecordReader buono("3\r\n 1.5  2 \r\n-3  .25 \n 4  5", "campi.tmp");
  double x = 0, y = 0, x2 = 0, y2 = 0;
  EXPECT_EQ(buono.vertici(), 3);
  buono.punto(x, y);
  buono.punto(x2, y2);
  EXPECT_TRUE(x == 1.5 && y == 2 && x2 == -3 && y2 == .25);
  // Cut inside a record, a word or an infinity for a coordinate, an empty field, a
  // corner count beyond a 16-bit Integer: each is a read error.
  for (const char* testo :
       {"3\r\n 1  2 \r\n 3 ", "3\r\n 1  2 \r\n 3  x \r\n 4  5 ",
        "3\r\n 1  2 \r\n 3  1E+999 \r\n 4  5 ", "3\r\n 1  2 \r\n 3,,4 \r\n 4  5 ", "99999\r\n"}) {
    RecordReader r(testo, "/p/campi.tmp");
    try {
      for (int k = r.vertici(); k > 0; --k) r.punto(x, y);
      ADD_FAILURE() << testo;
    } catch (const RunEnd& f) {
      EXPECT_EQ(f.titolo + ": " + f.testo, "ERRORE !!: Errore in lettura del file /p/campi.tmp");
    }
  }

  // campi.txt copies each line as one text field; a missing campi2.tmp, or one that ends
  // early, gives up its records, and the count stays.
  disco.scrivi("progra/campi.tmp",
               "4\r\n .5  0 \r\n 1  0 \r\n 1  1 \r\n 0  1 \r\n3\n 9  9 \n 8  8 \n 7  7 ");
  st.nquadri2 = st.nquadri = st.ntriangoli = 1;
  job.floor.passo = 12.5;
  const std::string coda =
      "4\r\n.5  0 \r\n1  0 \r\n1  1 \r\n0  1 \r\n3\r\n9  9 \r\n8  8 \r\n7  7 \r\n";
  for (auto [scritto, copiato] : {std::pair{"4\r\n 1  2 \r\n-3.5  4 \r\n 5  6 \r\n 7  8 \r\n",
                                            "4\r\n1  2 \r\n-3.5  4 \r\n5  6 \r\n7  8 \r\n"},
                                  {"4\r\n 1  2 \r\n", "4\r\n1  2 \r\n"},
                                  {"", ""}}) {
    disco.scrivi("progra/campi2.tmp", scritto);
    if (*scritto == 0) std::filesystem::remove(disco.path("progra/campi2.tmp"));
    assembla_campi(job, st);
    EXPECT_EQ(disco.leggi("progra/campi.txt"), " 12.5 \r\n 3 \r\n" + std::string(copiato) + coda);
  }
}

TEST(FastFieldStage, SameFilesAndStoreAsTheReferenceOnGeneratedMeshes) {
  const double passi[] = {60, 30, 45, 100, 300};
  for (unsigned seme = 1; seme <= 20; ++seme) {
    test::JobOnDisk a, b;
    for (test::JobOnDisk* d : {&a, &b}) {
      griglia_triangoli(d->job, seme, 3 + seme % 7, 2 + seme % 5, passi[seme % 5]);
      d->job.engine = d == &a ? Engine::reference : Engine::fast;
      fase_campi(d->job, 1);
      creadisegno(d->job);
    }
    for (const char* f :
         {"progra/campi.txt", "progra/campi.tmp", "progra/campi2.tmp", "lavori/job/campi.dis"})
      EXPECT_EQ(a.leggi(f), b.leggi(f)) << f << ", seed " << seme;
    ASSERT_TRUE(a.job.store.nnodi == b.job.store.nnodi && a.job.store.nlati == b.job.store.nlati &&
                a.job.fields.ncampi == b.job.fields.ncampi);
    for (int i = 1; i <= a.job.fields.ncampi; ++i) {
      EXPECT_EQ(a.job.fields.campo[i], b.job.fields.campo[i]);
      EXPECT_EQ(a.job.fields.coppie[i], b.job.fields.coppie[i]);
    }
  }
}

}  // namespace
}  // namespace gencampi
