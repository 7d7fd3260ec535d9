// The field stage's fast way (partners through shared nodes, scored pairs in a heap,
// node positions hashed) against its reference way, on generated meshes: every file
// and the whole store must come out the same.
#include <gtest/gtest.h>

#include <random>

#include "core/node_index.h"
#include "core/store.h"
#include "floor/drawing.h"
#include "mesh/field_stage.h"
#include "support/job_tree.h"
#include "support/triangle_grid.h"

namespace gencampi {
namespace {

using test::JobTree;
namespace fs = std::filesystem;

void imposta(Job& job, const JobTree& r) {
  job.dirs.dirprogra = r.progra().string();
  job.dirs.dirlavoro = r.lavoro().string();
}

TEST(FastFieldStage, SameFilesAndStoreAsTheReferenceOnGeneratedMeshes) {
  const double passi[] = {0, 30, 45, 100, 300};
  for (unsigned seme = 1; seme <= 24; ++seme) {
    const int nx = 3 + static_cast<int>(seme % 7), ny = 2 + static_cast<int>(seme % 5);
    const double passo = passi[seme % 5] == 0 ? 60 : passi[seme % 5];
    JobTree ra("fs_rif"), rb("fs_vel");
    Job a, b;
    griglia_triangoli(a, seme, nx, ny, passo);
    griglia_triangoli(b, seme, nx, ny, passo);
    imposta(a, ra);
    imposta(b, rb);
    a.engine = Engine::reference;
    fase_campi(a, 1);
    creadisegno(a);
    fase_campi(b, 1);
    creadisegno(b);
    for (const char* f : {"campi.txt", "campi.tmp", "campi2.tmp"})
      EXPECT_EQ(test::leggi(ra.progra() / f), test::leggi(rb.progra() / f))
          << f << " seme " << seme;
    EXPECT_EQ(test::leggi(ra.lavoro() / "campi.dis"), test::leggi(rb.lavoro() / "campi.dis"))
        << "seme " << seme;
    ASSERT_EQ(a.store.nnodi, b.store.nnodi);
    ASSERT_EQ(a.store.nlati, b.store.nlati);
    ASSERT_EQ(a.fields.ncampi, b.fields.ncampi);
    for (int i = 1; i <= a.fields.ncampi; ++i) {
      EXPECT_EQ(a.fields.campo[i], b.fields.campo[i]);
      EXPECT_EQ(a.fields.coppie[i], b.fields.coppie[i]);
    }
  }
}

TEST(NodeIndex, FindsTheSameNodeAsTheScan) {
  std::mt19937 rng(7);
  // Points on a lattice finer than the tolerance, so that near misses, exact hits and
  // several matches at once all occur.
  std::uniform_int_distribution<int> passo(-40, 40);
  Job a, b;
  NodeIndex indice(b.store, cella_nodi_uguali);
  double base = 1234.5;
  for (int k = 0; k < 20000; ++k) {
    if (k % 500 == 0) base = std::uniform_real_distribution<double>(-1e6, 1e6)(rng);
    const double x = base + passo(rng) * 2.5e-7;
    const double y = -base + passo(rng) * 2.5e-7;
    const int na = aggiungi_nodo(a.store, x, y);
    const int nb = indice.aggiungi_nodo(b.store, x, y);
    ASSERT_EQ(na, nb) << k;
  }
  EXPECT_EQ(a.store.nnodi, b.store.nnodi);
  EXPECT_EQ(a.store.xmin, b.store.xmin);
  EXPECT_EQ(a.store.ymax, b.store.ymax);
}

}  // namespace
}  // namespace gencampi
