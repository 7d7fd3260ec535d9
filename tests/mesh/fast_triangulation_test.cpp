#include "mesh/fast_triangulation.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <filesystem>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include <unistd.h>

#include "core/store.h"
#include "mesh/nearest.h"
#include "mesh/ranking.h"
#include "mesh/triangulation.h"
#include "support/floor_generator.h"

namespace gencampi {
namespace {

std::string cartella_prova() {
  static const std::string d = [] {
    auto p =
        std::filesystem::temp_directory_path() / ("gencampi-fast-" + std::to_string(::getpid()));
    std::filesystem::create_directories(p);
    return p.string();
  }();
  return d;
}

Job piano(const ParametriPiano& p, const Capacities& c = {}) {
  Job job(c);
  genera_nodi(job, p, cartella_prova());
  return job;
}

// Everything the passes leave that anyone can read afterwards.
struct Stato {
  int ncampi = 0;
  std::vector<std::array<int, 4>> campi;
  int nlati = 0;
  std::vector<std::array<int, 3>> lati;
  bool operator==(const Stato&) const = default;
};

Stato stato(const Job& job) {
  Stato s;
  s.ncampi = job.fields.ncampi;
  for (int f = 1; f <= s.ncampi; ++f) {
    const auto& c = job.fields.campo[f];
    s.campi.push_back({c[1], c[2], c[3], c[4]});
  }
  s.nlati = job.store.nlati;
  for (int i = 1; i <= s.nlati; ++i)
    s.lati.push_back({job.store.lato[i][1], job.store.lato[i][2], job.store.tipolato[i]});
  return s;
}

// Both engines pass by pass on copies of one job: the fields, the side table and the
// order table must agree after every pass, and an overflow must come at the same point.
struct Confronto {
  int passate = 0;
  bool traboccato = false;
};

Confronto confronta(const Job& origine, bool tabella = true) {
  Job rif = origine, vel = origine;
  const Table<int>& pr = rif.nodes.punti;
  const Table<int>& pv = vel.nodes.punti;
  const int N = origine.nodes.npunti;
  Confronto esito;

  std::optional<OrderTable> ordine;
  std::optional<FastTriangulation> veloce;
  std::optional<std::string> errore_rif, errore_vel;
  try {
    ordine.emplace(costruisci_ordine(rif, pr, N));
  } catch (const RunEnd& e) {
    errore_rif = e.testo;
  }
  try {
    veloce.emplace(vel, pv, N, Progress{});
  } catch (const RunEnd& e) {
    errore_vel = e.testo;
  }
  EXPECT_EQ(errore_rif, errore_vel);
  if (errore_rif || errore_vel) return esito;

  for (;;) {
    bool avanti_rif = false, avanti_vel = false;
    errore_rif.reset();
    errore_vel.reset();
    try {
      avanti_rif = passata(rif, pr, N, *ordine, {});
    } catch (const RunEnd& e) {
      errore_rif = e.testo;
    }
    try {
      avanti_vel = veloce->passata();
    } catch (const RunEnd& e) {
      errore_vel = e.testo;
    }
    ++esito.passate;
    EXPECT_EQ(errore_rif, errore_vel) << "pass " << esito.passate;
    EXPECT_EQ(stato(rif), stato(vel)) << "pass " << esito.passate;
    if (errore_rif || errore_vel) {
      esito.traboccato = true;
      return esito;
    }
    EXPECT_EQ(avanti_rif, avanti_vel);
    if (tabella) {
      for (int i = 1; i <= N; ++i) {
        const int k = pr[i];
        std::vector<int> r(static_cast<std::size_t>(N));
        for (int j = 1; j <= N; ++j) r[static_cast<std::size_t>(j - 1)] = (*ordine)(k, j);
        EXPECT_EQ(r, veloce->riga(k)) << "row " << k << " after pass " << esito.passate;
        if (::testing::Test::HasFailure()) return esito;
      }
    }
    if (::testing::Test::HasFailure() || !avanti_rif || !avanti_vel) return esito;
  }
}

ParametriPiano parametri(std::uint64_t seme, double w, double h, double passo) {
  ParametriPiano p;
  p.seme = seme;
  p.larghezza = w;
  p.altezza = h;
  p.passo = passo;
  p.distanza_min = std::fabs(passo) / 2;
  p.distanza_max = std::fabs(passo);
  p.interasse = std::max(w, h) / 4;
  return p;
}

TEST(FastTriangulation, MatchesTheStraightforwardPassesOnGeneratedFloors) {
  struct Caso {
    std::uint64_t seme;
    double w, h, passo;
    bool l;
    int aperture, muri, polilinee;
  };
  const std::vector<Caso> casi = {
      {1, 600, 400, 100, false, 0, 0, 0},  {2, 900, 700, 100, false, 1, 1, 0},
      {3, 1000, 800, 100, true, 1, 1, 1},  {4, 1200, 900, 110, false, 2, 2, 2},
      {5, 1400, 1000, 120, true, 2, 1, 1}, {6, 800, 800, 60, false, 2, 2, 0},
      {7, 1500, 1100, 130, true, 3, 2, 2},
  };
  for (const Caso& c : casi) {
    ParametriPiano p = parametri(c.seme, c.w, c.h, c.passo);
    p.forma_l = c.l;
    p.aperture = c.aperture;
    p.muri = c.muri;
    p.polilinee = c.polilinee;
    const Job job = piano(p);
    SCOPED_TRACE("seed " + std::to_string(c.seme) + ", " + std::to_string(job.nodes.npunti) +
                 " nodes");
    const Confronto r = confronta(job, job.nodes.npunti <= 200);
    EXPECT_GT(r.passate, 1);
    EXPECT_FALSE(r.traboccato);
    if (HasFailure()) return;
  }
}

TEST(FastTriangulation, MatchesOnRigidFloorsWithoutPerimeterSides) {
  // A rigid floor keeps only the outline vertices and the pillars, and has no perimeter
  // sides: nodes along the hull see far across the slab.
  for (std::uint64_t seme : {11, 12, 13}) {
    ParametriPiano p = parametri(seme, 3000, 2000, -1);
    p.forma_l = seme != 12;
    p.aperture = 2;
    p.muri = 1;
    p.interasse = 150 + 20 * static_cast<double>(seme % 3);
    const Job job = piano(p);
    SCOPED_TRACE("seed " + std::to_string(seme) + ", " + std::to_string(job.nodes.npunti) +
                 " nodes");
    const Confronto r = confronta(job, job.nodes.npunti <= 200);
    EXPECT_FALSE(r.traboccato);
    if (HasFailure()) return;
  }
}

TEST(FastTriangulation, MatchesOnFloorsOfRandomShape) {
  // Sizes, steps, spacings and features drawn at random: the kinds of floor the fixed
  // cases above do not think of.
  std::uint64_t x = 12345;
  auto caso = [&x](double a, double b) {
    x = x * 6364136223846793005ULL + 1442695040888963407ULL;
    return a + (b - a) * static_cast<double>(x >> 11) * 0x1.0p-53;
  };
  int confrontati = 0;
  for (int prova = 0; prova < 14; ++prova) {
    const double passo = caso(50, 140);
    ParametriPiano p =
        parametri(static_cast<std::uint64_t>(100 + prova), caso(400, 1300), caso(300, 1000), passo);
    p.forma_l = caso(0, 1) < 0.5;
    p.aperture = static_cast<int>(caso(0, 4));
    p.muri = static_cast<int>(caso(0, 4));
    p.polilinee = static_cast<int>(caso(0, 3));
    p.interasse = caso(150, 600);
    p.allinea = caso(0, 1) < 0.8;
    p.distanza_min = passo * caso(0.2, 0.6);
    if (caso(0, 1) < 0.25) p.passo = -1;
    const Job job = piano(p);
    if (job.nodes.npunti > 260) continue;
    SCOPED_TRACE("case " + std::to_string(prova) + ", " + std::to_string(job.nodes.npunti) +
                 " nodes");
    const Confronto r = confronta(job, job.nodes.npunti <= 120);
    EXPECT_FALSE(r.traboccato);
    if (HasFailure()) return;
    ++confrontati;
  }
  EXPECT_GE(confrontati, 8);
}

TEST(FastTriangulation, OverflowsAtTheSameAppendWithTheSameTables) {
  ParametriPiano p = parametri(21, 900, 700, 100);
  p.aperture = 1;
  p.muri = 1;
  const Job pieno = piano(p);
  const Stato finale = [&] {
    Job j = pieno;
    triangola_riferimento(j, j.nodes.punti, j.nodes.npunti, {});
    return stato(j);
  }();
  // Capacities from just above the floor's own sides to just below what the run needs,
  // so that the table fills in every kind of place: a tentative side of a neighbour, of
  // a candidate, and a committed side.
  int traboccati = 0;
  const int inizio = pieno.store.nlati + 1;
  for (int cap = inizio; cap < finale.nlati + 40;
       cap += std::max(1, (finale.nlati - inizio) / 40)) {
    Capacities c;
    c.lati = cap;
    Job job(c);
    genera_nodi(job, p, cartella_prova());
    SCOPED_TRACE("side capacity " + std::to_string(cap));
    if (confronta(job, false).traboccato) ++traboccati;
    if (HasFailure()) return;
  }
  EXPECT_GT(traboccati, 10);
  // A full field table ends the run at the same commit.
  for (int campi : {1, 5, finale.ncampi / 2, finale.ncampi - 1}) {
    Capacities c;
    c.campi = campi;
    Job job(c);
    genera_nodi(job, p, cartella_prova());
    SCOPED_TRACE("field capacity " + std::to_string(campi));
    EXPECT_TRUE(confronta(job, false).traboccato);
    if (HasFailure()) return;
  }
}

TEST(FastTriangulation, RankingsMatchTheNearestNodeSearch) {
  ParametriPiano p = parametri(31, 700, 500, 100);
  p.aperture = 1;
  Job job = piano(p);
  // Extra nodes with equal distances, a duplicate position, and one beyond the search
  // limit of every other.
  const int N = job.nodes.npunti;
  SpatialIndex indice(job, job.nodes.punti, N);
  Ranking g(job.store, indice, N);
  for (int k = 1; k <= N; ++k) {
    Table<int> vicini(N);
    sorta(job.store, k, N, vicini);
    std::vector<int> atteso;
    for (int j = 1; j <= N && vicini[j] != 0; ++j) atteso.push_back(vicini[j]);
    ASSERT_EQ(g.riga(k), atteso) << "row " << k;
    ASSERT_EQ(g.quanti(k), static_cast<int>(atteso.size()));
    // The walk produces the same row ring by ring, and after giving up its proof
    // (densifica) still continues from where it stood.
    Walk c(g, k, k % 2 ? 5000.0 : std::numeric_limits<double>::infinity());
    std::vector<int> visto;
    Entry v;
    bool denso = false;
    for (;;) {
      if (!c.prossimo(v)) {
        if (denso) break;
        denso = true;
        c.densifica();
        continue;
      }
      visto.push_back(v.nodo);
      if (visto.size() == 3 && !denso) {
        denso = true;
        c.densifica();
      }
    }
    ASSERT_EQ(visto, atteso) << "row " << k;
  }
}

TEST(FastTriangulation, RankingsStopAtTheSearchLimit) {
  Job job;
  for (auto [x, y] : std::vector<std::pair<double, double>>{
           {0, 0}, {10, 0}, {0, 10}, {10, 0}, {400000, 0}, {-5, 5}, {5, -5}})
    job.store.xnodo[++job.store.nnodi] = x, job.store.ynodo[job.store.nnodi] = y;
  job.nodes.npunti = job.store.nnodi;
  for (int i = 1; i <= job.nodes.npunti; ++i) job.nodes.punti[i] = i;
  const int N = job.nodes.npunti;
  SpatialIndex indice(job, job.nodes.punti, N);
  Ranking g(job.store, indice, N);
  for (int k = 1; k <= N; ++k) {
    Table<int> vicini(N);
    sorta(job.store, k, N, vicini);
    std::vector<int> atteso;
    for (int j = 1; j <= N && vicini[j] != 0; ++j) atteso.push_back(vicini[j]);
    EXPECT_EQ(g.riga(k), atteso) << "row " << k;
    EXPECT_EQ(g.quanti(k), static_cast<int>(atteso.size())) << "row " << k;
    Walk c(g, k);
    std::vector<int> visto;
    Entry v;
    while (c.prossimo(v)) visto.push_back(v.nodo);
    EXPECT_EQ(visto, atteso) << "row " << k;
  }
  EXPECT_TRUE(g.riga(5).empty());
}

TEST(FastTriangulation, ABrokenNodeListEndsTheRunBeforeAnyPass) {
  ParametriPiano p = parametri(41, 500, 400, 100);
  Job job = piano(p);
  job.nodes.punti[2] = job.nodes.npunti + 1;
  EXPECT_THROW(FastTriangulation(job, job.nodes.punti, job.nodes.npunti, {}), RunEnd);
  EXPECT_THROW(costruisci_ordine(job, job.nodes.punti, job.nodes.npunti), RunEnd);
}

}  // namespace
}  // namespace gencampi
