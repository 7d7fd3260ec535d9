#include "mesh/field_stage.h"

#include "floor/drawing.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "core/store.h"

namespace gencampi {
namespace {

// A program directory and a job directory in a fresh temporary tree.
class CartellaLavoro {
 public:
  CartellaLavoro() {
    static int n = 0;
    radice_ = std::filesystem::temp_directory_path() /
              ("gencampi_campi_" + std::to_string(::getpid()) + "_" + std::to_string(++n));
    std::filesystem::remove_all(radice_);
    std::filesystem::create_directories(radice_ / "progra");
    std::filesystem::create_directories(radice_ / "lavori" / "uno");
  }
  ~CartellaLavoro() {
    std::error_code ec;
    std::filesystem::remove_all(radice_, ec);
  }
  CartellaLavoro(const CartellaLavoro&) = delete;
  CartellaLavoro& operator=(const CartellaLavoro&) = delete;

  void imposta(Job& job) const {
    job.dirs.dirprogra = (radice_ / "progra").string();
    job.dirs.dirlavoro = (radice_ / "lavori" / "uno").string();
  }
  std::string percorso(const std::string& rel) const { return (radice_ / rel).string(); }
  void scrivi(const std::string& rel, const std::string& testo) const {
    std::ofstream(radice_ / rel, std::ios::binary) << testo;
  }
  std::string leggi(const std::string& rel) const {
    std::ostringstream ss;
    ss << std::ifstream(radice_ / rel, std::ios::binary).rdbuf();
    return ss.str();
  }
  bool esiste(const std::string& rel) const { return std::filesystem::exists(radice_ / rel); }

 private:
  std::filesystem::path radice_;
};

class MeshFieldStage : public ::testing::Test {
 protected:
  MeshFieldStage() {
    dir.imposta(job);
    job.floor.passo = 50;
  }

  int nodo(double x, double y) { return aggiungi_nodo(job.store, x, y); }

  void triangolo(double x1, double y1, double x2, double y2, double x3, double y3) {
    auto& r = job.fields.campo[++job.fields.ncampi];
    r[1] = nodo(x1, y1), r[2] = nodo(x2, y2), r[3] = nodo(x3, y3), r[4] = r[3];
  }

  // The corners of field f as "x,y x,y x,y".
  std::string campo(int f) {
    std::ostringstream t;
    for (int j = 1; j <= 3; ++j) {
      int n = job.fields.campo[f][j];
      if (j > 1) t << ' ';
      t << job.store.xnodo[n] << ',' << job.store.ynodo[n];
    }
    return t.str();
  }

  std::string tmp() { return dir.leggi("progra/campi.tmp"); }
  std::string tmp2() { return dir.leggi("progra/campi2.tmp"); }

  CartellaLavoro dir;
  Job job;
  FieldStageState st;
};

const std::string rettangolo_ruotato = "4\r\n 300  100 \r\n 0  100 \r\n 0  0 \r\n 300  0 \r\n";

TEST_F(MeshFieldStage, RectangleFromTwoRightTrianglesIsMergedAndSquaredUnchanged) {
  triangolo(0, 0, 300, 0, 300, 100);
  triangolo(0, 0, 300, 100, 0, 100);
  accoppia(job, st);
  EXPECT_EQ(st.nquadri, 1);
  EXPECT_EQ(st.ntriangoli, 0);
  EXPECT_EQ(tmp(), "4\r\n 300  0 \r\n 300  100 \r\n 0  100 \r\n 0  0 \r\n");

  dir.scrivi("progra/campi2.tmp", "prima\r\n");
  squadra(job, st);
  // Only rotated to start on a long side: both checked corners are square.
  EXPECT_EQ(tmp2(), "prima\r\n" + rettangolo_ruotato);
  EXPECT_EQ(job.fields.ncampi, 0);
  EXPECT_EQ(st.nquadri, 1);
  EXPECT_EQ(st.nquadri2, 1);
}

TEST_F(MeshFieldStage, SquaringCutsAtAnAcuteAndAnObtuseCorner) {
  dir.scrivi("progra/campi.tmp",
             "4\r\n 0  0 \r\n 600  0 \r\n 650  100 \r\n 100  100 \r\n"
             "3\r\n 5  -1 \r\n 6  -1 \r\n 5  -2 \r\n");
  st.nquadri = 1;
  st.ntriangoli = 1;
  squadra(job, st);
  // 45 degrees at (0,0): cut on the long side below (100,100). 116.6 degrees at (600,0):
  // cut on the opposite side above it. What is left is a rectangle.
  EXPECT_EQ(tmp2(), "4\r\n 100  0 \r\n 600  0 \r\n 600  100 \r\n 100  100 \r\n");
  ASSERT_EQ(job.fields.ncampi, 3);
  EXPECT_EQ(campo(1), "0,0 100,0 100,100");
  EXPECT_EQ(campo(2), "600,0 600,100 650,100");
  EXPECT_EQ(campo(3), "5,-1 6,-1 5,-2");
  EXPECT_EQ(job.fields.campo[3][4], job.fields.campo[3][3]);
  EXPECT_EQ(st.nquadri, 1);
  EXPECT_EQ(st.ntriangoli, 0);
}

TEST_F(MeshFieldStage, CutsMeetingInOneNodeKeepTheQuadrilateralAsItStood) {
  dir.scrivi("progra/campi.tmp", "4\r\n 0  0 \r\n 200  0 \r\n 110  100 \r\n 90  100 \r\n");
  st.nquadri = 1;
  squadra(job, st);
  EXPECT_EQ(tmp2(), "4\r\n 0  0 \r\n 200  0 \r\n 110  100 \r\n 90  100 \r\n");
  ASSERT_EQ(job.fields.ncampi, 2);
  EXPECT_EQ(campo(1), "0,0 100,0 90,100");
  EXPECT_EQ(campo(2), "200,0 100,0 110,100");
  EXPECT_EQ(job.store.nnodi, 5);
}

TEST(MeshFieldStageLimits, FieldTableFullWhileSquaringEndsTheRun) {
  Capacities cap;
  cap.campi = 1;
  Job job(cap);
  CartellaLavoro dir;
  dir.imposta(job);
  job.floor.passo = 50;
  dir.scrivi("progra/campi.tmp", "4\r\n 0  0 \r\n 600  0 \r\n 650  100 \r\n 100  100 \r\n");
  FieldStageState st;
  st.nquadri = 1;
  try {
    squadra(job, st);
    FAIL() << "no ending";
  } catch (const RunEnd& f) {
    EXPECT_EQ(f.testo, testo_capacita);
    EXPECT_EQ(f.stato, 1);
  }
  EXPECT_EQ(dir.leggi("progra/campi2.tmp"), "");
}

TEST_F(MeshFieldStage, PairingWritesQuadrilateralsFirstThenTrianglesInFieldOrder) {
  triangolo(500, 0, 510, 0, 500, 10);
  triangolo(0, 0, 10, 0, 10, 10);
  triangolo(0, 0, 10, 10, 0, 10);
  accoppia(job, st);
  EXPECT_EQ(tmp(),
            "4\r\n 10  0 \r\n 10  10 \r\n 0  10 \r\n 0  0 \r\n"
            "3\r\n 500  0 \r\n 510  0 \r\n 500  10 \r\n");
  EXPECT_EQ(job.fields.coppie[2][1], -1);
  EXPECT_EQ(job.fields.coppie[3][1], -1);

  // The same pair across a wall is refused: every triangle stays a triangle.
  kreali(job.store, nodo(10, 10), nodo(0, 0), col_muri);
  job.floor.nmuri = 1;
  job.floor.nvmuro[1] = 2;
  accoppia(job, st);
  EXPECT_EQ(st.nquadri, 0);
  EXPECT_EQ(st.ntriangoli, 3);
  EXPECT_EQ(tmp(),
            "3\r\n 500  0 \r\n 510  0 \r\n 500  10 \r\n"
            "3\r\n 0  0 \r\n 10  0 \r\n 10  10 \r\n"
            "3\r\n 0  0 \r\n 10  10 \r\n 0  10 \r\n");
}

TEST_F(MeshFieldStage, FinalPassSplitsObtuseTrianglesAndDropsSlivers) {
  triangolo(0, 0, 400, 0, 200, 90);         // 131 degrees at (200,90)
  triangolo(1000, 0, 1010, 0, 1010, 0.05);  // a side of exactly passo/1000
  triangolo(2000, 0, 2100, 0, 2000, 100);   // right-angled: only rotated
  st.passata_finale = true;
  accoppia(job, st);
  EXPECT_EQ(st.ntriangoli, 3);
  EXPECT_EQ(tmp(),
            "3\r\n 0  0 \r\n 200  0 \r\n 200  90 \r\n"
            "3\r\n 200  0 \r\n 400  0 \r\n 200  90 \r\n"
            "3\r\n 2100  0 \r\n 2000  100 \r\n 2000  0 \r\n");
}

TEST_F(MeshFieldStage, AssemblyCopiesBothScratchFilesLineByLine) {
  dir.scrivi("progra/campi2.tmp", "4\r\n 1  2 \r\n-3.5  4 \r\n 5  6 \r\n 7  8 \r\n");
  dir.scrivi("progra/campi.tmp",
             "4\r\n .5  0 \r\n 1  0 \r\n 1  1 \r\n 0  1 \r\n3\n 9  9 \n 8  8 \n 7  7 ");
  st.nquadri2 = 1;
  st.nquadri = 1;
  st.ntriangoli = 1;
  job.floor.passo = 12.5;
  assembla_campi(job, st);
  const std::string coda =
      "4\r\n.5  0 \r\n1  0 \r\n1  1 \r\n0  1 \r\n3\r\n9  9 \r\n8  8 \r\n7  7 \r\n";
  EXPECT_EQ(dir.leggi("progra/campi.txt"),
            " 12.5 \r\n 3 \r\n4\r\n1  2 \r\n-3.5  4 \r\n5  6 \r\n7  8 \r\n" + coda);

  // Without campi2.tmp, or with one that ends early, its records are left out and the
  // count is not corrected.
  std::filesystem::remove(dir.percorso("progra/campi2.tmp"));
  assembla_campi(job, st);
  EXPECT_EQ(dir.leggi("progra/campi.txt"), " 12.5 \r\n 3 \r\n" + coda);
  dir.scrivi("progra/campi2.tmp", "4\r\n 1  2 \r\n");
  assembla_campi(job, st);
  EXPECT_EQ(dir.leggi("progra/campi.txt"), " 12.5 \r\n 3 \r\n4\r\n1  2 \r\n" + coda);
}

TEST_F(MeshFieldStage, WholeStageOnARectangle) {
  dir.scrivi("progra/campi2.tmp", "vecchio\r\n");
  triangolo(0, 0, 300, 0, 300, 100);
  triangolo(0, 0, 300, 100, 0, 100);
  fase_campi(job, 1);
  creadisegno(job);
  EXPECT_EQ(dir.leggi("progra/campi.txt"),
            " 50 \r\n 1 \r\n4\r\n300  100 \r\n0  100 \r\n0  0 \r\n300  0 \r\n");
  EXPECT_EQ(tmp2(), rettangolo_ruotato);
  EXPECT_EQ(tmp(), "");
  EXPECT_TRUE(dir.esiste("lavori/uno/campi.dis"));
  EXPECT_EQ(job.store.nlati, 4);  // the store now holds the drawing
}

TEST_F(MeshFieldStage, WholeStageWithNothingToPairLeavesNoSquaredFile) {
  dir.scrivi("progra/campi2.tmp", "vecchio\r\n");
  triangolo(0, 0, 300, 0, 300, 100);
  fase_campi(job, 1);
  EXPECT_FALSE(dir.esiste("progra/campi2.tmp"));
  // The final pass rotates the triangle to start on its longest side.
  EXPECT_EQ(dir.leggi("progra/campi.txt"), " 50 \r\n 1 \r\n3\r\n300  100 \r\n0  0 \r\n300  0 \r\n");
}

}  // namespace
}  // namespace gencampi
