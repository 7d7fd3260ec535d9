// The field stage: pairing, squaring and the final pass on fields worked out by hand,
// the number of cycles, the scratch files, the fast way against the reference way, and
// the choice of the pair to merge.
#include "mesh/field_stage.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "core/store.h"
#include "floor/drawing.h"
#include "mesh/field_files.h"
#include "mesh/pair_choice.h"
#include "support/job_tree.h"
#include "support/triangle_grid.h"

namespace gencampi {
namespace {

using Testi = std::vector<std::string>;

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
  FieldStage() { nuovo(); }
  // An empty job in the same directories, with passo 50.
  void nuovo(Engine e = Engine::fast, const Capacities& c = {}) {
    const Dirs dirs = job.dirs;
    job = Job(c);
    job.dirs = dirs;
    job.engine = e;
    job.floor.passo = 50;
  }
  int nodo(double x, double y) { return aggiungi_nodo(job.store, x, y); }
  void triangolo(std::array<double, 6> t) {
    job.fields.campo[++job.fields.ncampi] = {0, nodo(t[0], t[1]), nodo(t[2], t[3]),
                                             nodo(t[4], t[5]), nodo(t[4], t[5])};
  }
  // The corners of every field as "x,y x,y x,y".
  Testi campi() const {
    Testi v;
    for (int f = 1; f <= job.fields.ncampi; ++f) {
      std::ostringstream t;
      for (int j = 1; j <= 3; ++j) {
        const int n = job.fields.campo[f][j];
        t << (j > 1 ? " " : "") << job.store.xnodo[n] << ',' << job.store.ynodo[n];
      }
      v.push_back(t.str());
    }
    return v;
  }
  std::string tmp() const { return disco.leggi("progra/campi.tmp"); }
  std::string tmp2() const { return disco.leggi("progra/campi2.tmp"); }

  test::JobOnDisk disco;
  Job& job = disco.job;
  FieldStageState st;
};

TEST_F(FieldStage, PairingWritesQuadrilateralsThenTrianglesAndRefusesWallsAndPerimeter) {
  const std::string triangoli = record("500 0;510 0;500 10|0 0;10 0;10 10|0 0;10 10;0 10");
  for (Engine e : {Engine::fast, Engine::reference}) {
    nuovo(e);
    for (auto t : {std::array<double, 6>{500, 0, 510, 0, 500, 10},
                   {0, 0, 10, 0, 10, 10},
                   {0, 0, 10, 10, 0, 10}})
      triangolo(t);
    accoppia(job, st);
    EXPECT_EQ(tmp(), record("10 0;10 10;0 10;0 0|500 0;510 0;500 10"));
    EXPECT_TRUE(job.fields.coppie[2][3] == -1 && job.fields.coppie[3][1] == -1);
    // The shared side on a wall, then on a perimeter line: every triangle stays one.
    kreali(job.store, nodo(10, 10), nodo(0, 0), col_muri);
    job.floor.nmuri = 1;
    job.floor.nvmuro[1] = 2;
    accoppia(job, st);
    EXPECT_EQ(tmp(), triangoli);
    job.floor.nmuri = 0;
    job.store.tipolato[1] = col_perimetro;
    accoppia(job, st);
    EXPECT_EQ(tmp(), triangoli);
    EXPECT_TRUE(st.nquadri == 0 && st.ntriangoli == 3);
  }
}

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

  // A whole stage with nothing to pair leaves no campi2.tmp from an earlier run.
  nuovo();
  disco.scrivi("progra/campi2.tmp", "vecchio\r\n");
  triangolo({0, 0, 300, 0, 300, 100});
  fase_campi(job, 1);
  EXPECT_FALSE(disco.esiste("progra/campi2.tmp"));
  EXPECT_EQ(disco.leggi("progra/campi.txt"),
            " 50 \r\n 1 \r\n3\r\n300  100 \r\n0  0 \r\n300  0 \r\n");
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

// The choice of the pair to merge, on its own.
class PairChoice : public ::testing::Test {
 protected:
  // The quadrilateral (x0,0), (x0+w,0), (x0+w+dx,h), (x0+dx,h) as two triangles across
  // the diagonal from its first corner, listed as partners; its corners are returned.
  std::array<int, 4> coppia(double x0, double w, double h, double dx = 0) {
    Store& s = job.store;
    const std::array<int, 4> n = {aggiungi_nodo(s, x0, 0), aggiungi_nodo(s, x0 + w, 0),
                                  aggiungi_nodo(s, x0 + w + dx, h), aggiungi_nodo(s, x0 + dx, h)};
    const int f = job.fields.ncampi + 1;
    job.fields.campo[f] = {0, n[0], n[1], n[2], n[2]};
    job.fields.campo[f + 1] = {0, n[0], n[2], n[3], n[3]};
    job.fields.ncampi += 2;
    job.fields.coppie[f][1] = f + 1;
    return n;
  }
  std::array<int, 6> scegli() {
    std::array<int, 6> r = {-5, -5, -5, -5, -5, -5};
    angoli(job, 1, job.fields.ncampi, r[0], r[1], r[2], r[3], r[4], r[5]);
    return r;
  }
  Job job;
};

TEST_F(PairChoice, ScoreIsTheDeviationOfTheFourCornersFromRightAngles) {
  // A square, a rectangle, a rhombus of 60 and 120 degrees (30 off at every corner), a
  // parallelogram of 45 and 135.
  const struct {
    double w, h, dx, punteggio;
  } casi[] = {{10, 10, 0, 0}, {20, 10, 0, 0}, {10, 5 * std::sqrt(3.0), 5, 120}, {10, 5, -5, 180}};
  for (const auto& c : casi) {
    job = Job();
    const auto n = coppia(0, c.w, c.h, c.dx);
    int p1 = 0, p2 = 0, p3 = 0, q = 0;
    double punteggio = -1;
    EXPECT_TRUE(valuta_coppia(job, 1, 2, p1, p2, p3, q, punteggio));
    EXPECT_NEAR(punteggio, c.punteggio, 1e-9) << c.w << " " << c.h << " " << c.dx;
    // p1 opposite the shared side in the first triangle, q outside it.
    EXPECT_EQ((std::array{p1, p2, p3, q}), (std::array{n[1], n[2], n[0], n[3]}));
  }
}

TEST_F(PairChoice, MostNearlyRectangularPairFirstMetOnTiesAndMarkedOnTheBorder) {
  // A parallelogram whose shared side 3-1 is side 1: marked on the perimeter, not as a
  // hole side, marked again as the only side of a wall.
  coppia(0, 10, 10, 5);
  kreali(job.store, 3, 1, col_perimetro);
  EXPECT_EQ(scegli(), (std::array{1, 2, -2, 3, 4, 1}));
  job.store.tipolato[1] = col_buchi;
  EXPECT_EQ(scegli()[2], 2);
  job.floor.nmuri = 1;
  job.floor.nvmuro[1] = 2;
  EXPECT_EQ(scegli()[2], -2);
  const auto n = coppia(100, 20, 10);  // a better pair displaces it, unmarked
  EXPECT_EQ(scegli(), (std::array{3, 4, n[1], n[2], n[3], n[0]}));
  coppia(200, 20, 10);  // the same score again: the pair met first stays
  EXPECT_EQ(scegli()[0], 3);
  for (int f : {1, 3, 5}) job.fields.coppie[f][1] = -1;
  EXPECT_EQ(scegli(), (std::array{0, 0, -5, -5, -5, -5}));  // nothing listed
}

}  // namespace
}  // namespace gencampi
