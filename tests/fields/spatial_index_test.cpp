// The spatial index against the full scans of the mesh checks and the candidate test.
#include "fields/spatial_index.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include "core/store.h"
#include "fields/candidate.h"
#include "fields/checks.h"

namespace gencampi {
namespace {

// A generator of its own, so that a seed gives the same mesh with every library.
struct Caso {
  std::uint64_t x;
  int operator()(int n) {
    std::uint64_t z = (x += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return static_cast<int>((z ^ (z >> 31)) % static_cast<std::uint64_t>(n));
  }
  double reale() { return (*this)(1 << 30) * 0x1.0p-30; }
};

// Nodes on a lattice (many exact collinearities, coincident nodes under two numbers),
// a third jittered, all shifted by an offset (far from the origin the crossing products
// round at the tolerance); sides of every tag; fields; some nodes left off the list.
Job mesh_casuale(Caso& c, double offset, int nodi) {
  Job job;
  Store& s = job.store;
  for (int i = 1; i <= nodi; ++i) {
    const double x = c(20) * 10, y = c(20) * 10, scarto = c(3) == 0 ? 10 : 0;
    s.xnodo[i] = x + c.reale() * scarto + offset;
    s.ynodo[i] = y + c.reale() * scarto + offset;
  }
  s.nnodi = nodi;
  job.nodes.npunti = nodi - c(5);
  for (int i = 1; i <= job.nodes.npunti; ++i) job.nodes.punti[i] = i;
  const int tag[] = {col_perimetro, col_buchi, col_muri, col_provvisorio, col_disegno};
  for (int i = 0; i < nodi; ++i) kreali(s, 1 + c(nodi), 1 + c(nodi), tag[c(5)]);
  for (int& t = job.fields.ncampi; t < nodi / 3;) {
    const int a = 1 + c(nodi), b = 1 + c(nodi), d = 1 + c(nodi);
    job.fields.campo[++t] = {0, a, b, d, d};
  }
  job.floor.passo = c(2) == 0 ? -1 : 100;
  job.floor.primo_perimetro = 1;  // the first four nodes as the outline
  job.floor.nperimetro = 4;
  return job;
}

bool controlla_in_coda(Job& job, int a, int b) {
  const int nlati = job.store.nlati;
  kreali(job.store, a, b, col_provvisorio);
  bool ok = false;
  controlla(job, ok);
  job.store.nlati = nlati;
  return ok;
}

TEST(SpatialIndex, ChecksAndCandidateTestsMatchTheFullScansOnRandomMeshes) {
  int conta[2][2] = {};  // both answers of both tests must be well represented
  for (std::uint64_t seme = 1; seme <= 24; ++seme) {
    Caso c{seme};
    Job job = mesh_casuale(c, seme % 3 == 0 ? 1e6 : (seme % 3 == 1 ? 0 : -3.5e4), 60);
    SpatialIndex indice(job, job.nodes.punti, job.nodes.npunti);
    const Store& s = job.store;
    for (int prova = 0; prova < 400; ++prova) {
      // Half the sides short, as the triangulation mostly tries them.
      const int a = 1 + c(s.nnodi);
      int b = 1 + c(s.nnodi);
      for (int t = 0; t < 30 && prova % 2 == 0; ++t) {
        b = 1 + c(s.nnodi);
        if (std::hypot(s.xnodo[b] - s.xnodo[a], s.ynodo[b] - s.ynodo[a]) < 30) break;
      }
      const bool ok = controlla_in_coda(job, a, b);
      EXPECT_EQ(indice.controlla(a, b), ok) << "seed " << seme << " side " << a << "->" << b;
      ++conta[0][ok];
      // Triangles, a quarter of them the corners of a field in another order.
      int uno = 1 + c(s.nnodi), due = 1 + c(s.nnodi), tre = 1 + c(s.nnodi);
      if (c(4) == 0) {
        const auto& f = job.fields.campo[1 + c(job.fields.ncampi)];
        uno = f[3], due = f[1], tre = f[2];
      }
      const bool dentro = ingloba(job, uno, due, tre, job.nodes.punti, job.nodes.npunti);
      bool accettato = false;
      percorso(job, uno, due, tre, job.nodes.punti, job.nodes.npunti, accettato);
      EXPECT_EQ(indice.ingloba(uno, due, tre), dentro)
          << "seed " << seme << " " << uno << "," << due << "," << tre;
      EXPECT_EQ(indice.percorso(uno, due, tre), accettato) << "seed " << seme;
      ++conta[1][dentro];
    }
    if (HasFailure()) return;
  }
  EXPECT_TRUE(conta[0][0] > 500 && conta[0][1] > 500 && conta[1][0] > 300 && conta[1][1] > 300);
}

TEST(SpatialIndex, NodesBarelyOffASideAreJudgedAsTheFullScanJudgesThem) {
  // The straight-angle test flags a node up to a few millionths of the side's length
  // off it, and a little beyond its ends: the index must look at all of those.
  for (double offset : {0.0, 1e6})
    for (double fuori : {0.0, 1e-9, 1e-7, 1e-6, 3e-6, 6e-6, 1e-5, 1e-3})
      for (double lungo : {-1e-7, 1e-9, 0.37, 0.5, 1 - 1e-9, 1 + 1e-7}) {
        Job job;
        Store& s = job.store;
        s.nnodi = job.nodes.npunti = 3;
        const double x[] = {0, 800, 800 * lungo - 600 * fuori},
                     y[] = {0, 600, 600 * lungo + 800 * fuori};
        for (int i = 1; i <= 3; ++i)
          s.xnodo[i] = x[i - 1] + offset, s.ynodo[i] = y[i - 1] + offset, job.nodes.punti[i] = i;
        SpatialIndex indice(job, job.nodes.punti, 3);
        EXPECT_EQ(indice.controlla(1, 2), controlla_in_coda(job, 1, 2))
            << "offset " << offset << " off by " << fuori << " at " << lungo;
      }
}

}  // namespace
}  // namespace gencampi
