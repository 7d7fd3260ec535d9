#include "fields/spatial_index.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/store.h"
#include "fields/candidate.h"
#include "fields/checks.h"

namespace gencampi {
namespace {

class Caso {
 public:
  explicit Caso(std::uint64_t s) : x_(s * 0x9E3779B97F4A7C15ULL + 7) {}
  std::uint64_t prossimo() {
    std::uint64_t z = (x_ += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
  }
  int intero(int n) { return static_cast<int>(prossimo() % static_cast<std::uint64_t>(n)); }
  double reale() { return static_cast<double>(prossimo() >> 11) * 0x1.0p-53; }

 private:
  std::uint64_t x_;
};

// A job with nodes on an integer lattice (many exact collinearities), some jittered, all
// shifted by an offset (far from the origin the crossing products round at the
// tolerance), sides of every tag, tentative sides, and fields.
Job mesh_casuale(std::uint64_t seme, double offset, int nodi) {
  Caso c(seme);
  Job job;
  Store& s = job.store;
  for (int i = 0; i < nodi; ++i) {
    double x = c.intero(20) * 10, y = c.intero(20) * 10;
    if (c.intero(3) == 0) {
      x += c.reale() * 10;
      y += c.reale() * 10;
    }
    // Duplicates are allowed on purpose: coincident nodes with different numbers.
    s.xnodo[++s.nnodi] = x + offset;
    s.ynodo[s.nnodi] = y + offset;
  }
  job.nodes.npunti = nodi - c.intero(5);  // some nodes are not listed
  for (int i = 1; i <= job.nodes.npunti; ++i) job.nodes.punti[i] = i;
  const int tag[] = {col_perimetro, col_buchi, col_muri, col_provvisorio, col_disegno};
  for (int i = 0; i < nodi; ++i) {
    const int p = 1 + c.intero(nodi), q = 1 + c.intero(nodi);
    kreali(s, p, q, tag[c.intero(5)]);
  }
  for (int t = 0; t < nodi / 3; ++t) {
    const int a = 1 + c.intero(nodi), b = 1 + c.intero(nodi), d = 1 + c.intero(nodi);
    ++job.fields.ncampi;
    job.fields.campo[job.fields.ncampi] = {0, a, b, d, d};
  }
  job.floor.passo = c.intero(2) == 0 ? -1 : 100;
  // A square outline around everything for the region test of the candidate test.
  job.floor.primo_perimetro = 1;
  job.floor.nperimetro = 0;
  return job;
}

TEST(SpatialIndex, ChecksMatchTheFullScansOnRandomMeshes) {
  int rifiutati = 0, accettati = 0;
  for (std::uint64_t seme = 1; seme <= 24; ++seme) {
    const double offset = seme % 3 == 0 ? 1e6 : (seme % 3 == 1 ? 0 : -3.5e4);
    Job job = mesh_casuale(seme, offset, 60);
    SpatialIndex indice(job, job.nodes.punti, job.nodes.npunti);
    Caso c(seme * 31);
    Store& s = job.store;
    for (int prova = 0; prova < 400; ++prova) {
      const int a = 1 + c.intero(s.nnodi);
      int b = 1 + c.intero(s.nnodi);
      // Half the sides short, as the triangulation mostly tries them.
      for (int t = 0; t < 30 && prova % 2 == 0; ++t) {
        b = 1 + c.intero(s.nnodi);
        const double dx = s.xnodo[b] - s.xnodo[a], dy = s.ynodo[b] - s.ynodo[a];
        if (dx * dx + dy * dy < 900) break;
      }
      const bool veloce = indice.controlla(a, b);
      // The full scan on the side appended last, as the mesh check takes it.
      const int nlati = s.nlati;
      kreali(s, a, b, col_provvisorio);
      bool ok = false;
      controlla(job, ok);
      s.nlati = nlati;
      EXPECT_EQ(veloce, ok) << "seed " << seme << " side " << a << "->" << b;
      ok ? ++accettati : ++rifiutati;
    }
    if (HasFailure()) return;
  }
  // Both answers must be well represented for the comparison to mean anything.
  EXPECT_GT(accettati, 500);
  EXPECT_GT(rifiutati, 500);
}

TEST(SpatialIndex, NodesBarelyOffASideAreJudgedAsTheFullScanJudgesThem) {
  // The straight-angle test flags a node up to a few millionths of the side's length
  // off it, and a little beyond its ends: the index must look at all of those.
  for (double offset : {0.0, 1e6}) {
    for (double scostamento : {0.0, 1e-9, 1e-7, 1e-6, 3e-6, 6e-6, 1e-5, 1e-3}) {
      for (double lungo : {-1e-7, 1e-9, 0.37, 0.5, 1 - 1e-9, 1 + 1e-7}) {
        Job job;
        Store& s = job.store;
        const double L = 1000;
        const double ux = 0.8, uy = 0.6;  // unit direction of the side
        auto nodo = [&](double x, double y) {
          s.xnodo[++s.nnodi] = x + offset;
          s.ynodo[s.nnodi] = y + offset;
        };
        nodo(0, 0);
        nodo(L * ux, L * uy);
        nodo(L * lungo * ux - L * scostamento * uy, L * lungo * uy + L * scostamento * ux);
        job.nodes.npunti = 3;
        for (int i = 1; i <= 3; ++i) job.nodes.punti[i] = i;
        SpatialIndex indice(job, job.nodes.punti, 3);
        kreali(s, 1, 2, col_provvisorio);
        bool ok = false;
        controlla(job, ok);
        EXPECT_EQ(indice.controlla(1, 2), ok)
            << "offset " << offset << " off by " << scostamento << " at " << lungo;
      }
    }
  }
}

TEST(SpatialIndex, CandidateTestsMatchTheFullScansOnRandomMeshes) {
  int inglobati = 0, liberi = 0;
  for (std::uint64_t seme = 1; seme <= 24; ++seme) {
    const double offset = seme % 2 == 0 ? 0 : 2.5e5;
    Job job = mesh_casuale(seme + 100, offset, 50);
    // The region test needs an outline: the first four nodes as a quadrilateral.
    job.floor.nperimetro = 4;
    SpatialIndex indice(job, job.nodes.punti, job.nodes.npunti);
    Caso c(seme * 17);
    for (int prova = 0; prova < 300; ++prova) {
      int uno = 1 + c.intero(job.store.nnodi), due = 1 + c.intero(job.store.nnodi),
          tre = 1 + c.intero(job.store.nnodi);
      // Also the corners of existing fields, in some order, to reach the field test.
      if (c.intero(4) == 0) {
        const auto& f = job.fields.campo[1 + c.intero(job.fields.ncampi)];
        uno = f[3];
        due = f[1];
        tre = f[2];
      }
      const bool dentro = ingloba(job, uno, due, tre, job.nodes.punti, job.nodes.npunti);
      EXPECT_EQ(indice.ingloba(uno, due, tre), dentro)
          << "seed " << seme << " triangle " << uno << "," << due << "," << tre;
      bool ok = false;
      percorso(job, uno, due, tre, job.nodes.punti, job.nodes.npunti, ok);
      EXPECT_EQ(indice.percorso(uno, due, tre), ok)
          << "seed " << seme << " triangle " << uno << "," << due << "," << tre;
      dentro ? ++inglobati : ++liberi;
    }
    if (HasFailure()) return;
  }
  EXPECT_GT(inglobati, 300);
  EXPECT_GT(liberi, 300);
}

TEST(SpatialIndex, CommittedSidesAndFieldsAreSeenAfterConstruction) {
  // Sides and fields added after the index was built, as the passes commit them.
  // Only the nodes: the fields come one by one.
  Job job = mesh_casuale(77, 0, 40);
  job.store.nlati = 0;
  job.fields.ncampi = 0;
  SpatialIndex indice(job, job.nodes.punti, job.nodes.npunti);
  Store& s = job.store;
  Caso c(5);
  int rifiutati_dopo = 0;
  for (int passo = 0; passo < 30; ++passo) {
    const int a = 1 + c.intero(40), b = 1 + c.intero(40), d = 1 + c.intero(40);
    kreali(s, a, b, col_buchi);
    indice.aggiungi_lato(s.nlati);
    kreali(s, b, d, col_buchi);
    indice.aggiungi_lato(s.nlati);
    kreali(s, d, a, col_buchi);
    indice.aggiungi_lato(s.nlati);
    ++job.fields.ncampi;
    job.fields.campo[job.fields.ncampi] = {0, a, b, d, d};
    indice.aggiungi_campo(job.fields.ncampi, true);
    for (int prova = 0; prova < 40; ++prova) {
      const int p = 1 + c.intero(40), q = 1 + c.intero(40);
      const int nlati = s.nlati;
      kreali(s, p, q, col_provvisorio);
      bool ok = false;
      controlla(job, ok);
      s.nlati = nlati;
      EXPECT_EQ(indice.controlla(p, q), ok) << "step " << passo << " side " << p << "->" << q;
      // A side that passed before the newest field: its answer now, from that field alone.
      // The newest field and its sides hidden (tentative sides are not scanned).
      --job.fields.ncampi;
      for (int i = nlati - 2; i <= nlati; ++i) s.tipolato[i] = col_provvisorio;
      kreali(s, p, q, col_provvisorio);
      bool ok_prima = false;
      controlla(job, ok_prima);
      s.nlati = nlati;
      for (int i = nlati - 2; i <= nlati; ++i) s.tipolato[i] = col_buchi;
      ++job.fields.ncampi;
      if (ok_prima) {
        EXPECT_EQ(indice.ricontrolla(p, q, job.fields.ncampi - 1), ok)
            << "step " << passo << " side " << p << "->" << q;
        if (!ok) ++rifiutati_dopo;
      }
    }
    if (HasFailure()) return;
  }
  // The newest field must have refused sides that passed before it, for this to test.
  EXPECT_GT(rifiutati_dopo, 10);
}

}  // namespace
}  // namespace gencampi
