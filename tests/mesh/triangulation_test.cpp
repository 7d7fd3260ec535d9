// The triangulation: the fast engine against the straightforward passes, after every
// pass, on generated floors. The exactness test fills the tables; the stored jobs show
// the passes' choices.
#include "mesh/triangulation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "mesh/fast_triangulation.h"
#include "support/floor_generator.h"
#include "support/job_builder.h"
#include "support/job_tree.h"

namespace gencampi {
namespace {

Job piano(const ParametriPiano& p) {
  static const test::JobTree cartella("triangolazione");  // for punti.dis
  Job job;
  genera_nodi(job, p, cartella.lavoro().string());
  return job;
}

ParametriPiano parametri(std::uint64_t seme, double w, double h, double passo, int aperture,
                         int muri, int polilinee = 0, bool l = false, double interasse = 0) {
  const double a = std::fabs(passo), i = interasse > 0 ? interasse : std::max(w, h) / 4;
  return {seme, w, h, l, aperture, muri, polilinee, i, passo, a / 2, a};
}

// After every pass of one engine: the fields, the sides with their tags and, when asked,
// the order table; last, the ending of a run that filled a table.
std::vector<std::string> passate(Job job, Engine motore, bool tabella) {
  std::vector<std::string> v;
  const int N = job.nodes.npunti;
  auto stato = [&](auto riga) {
    std::ostringstream s;
    for (int f = 1; f <= job.fields.ncampi; ++f)
      for (int j = 1; j <= 4; ++j) s << job.fields.campo[f][j] << ' ';
    for (int i = 1; i <= job.store.nlati; ++i)
      s << '|' << job.store.lato[i][1] << ' ' << job.store.lato[i][2] << ' '
        << job.store.tipolato[i];
    for (int k = 1; k <= N && tabella; ++k)
      for (int n : riga(k)) s << ' ' << n;
    v.push_back(s.str());
  };
  try {
    if (motore == Engine::fast) {
      FastTriangulation t(job, job.nodes.punti, N, {});
      for (bool avanti = true; avanti;) {
        avanti = t.passata();
        stato([&](int k) { return t.riga(k); });
      }
    } else {
      OrderTable o = costruisci_ordine(job, job.nodes.punti, N);
      auto riga = [&](int k) { return std::vector<int>(o.riga(k), o.riga(k) + N); };
      while (passata(job, job.nodes.punti, N, o, {})) stato(riga);
      stato(riga);
    }
  } catch (const RunEnd& e) {
    v.push_back(e.testo);
  }
  return v;
}

// Both engines on copies of one job must agree after every pass.
void confronta(const Job& job, bool tabella) {
  const auto rif = passate(job, Engine::reference, tabella);
  const auto vel = passate(job, Engine::fast, tabella);
  const auto [r, v] = std::mismatch(rif.begin(), rif.end(), vel.begin(), vel.end());
  EXPECT_TRUE(r == rif.end() && v == vel.end())
      << "the engines part at pass " << 1 + (r - rif.begin());
}

TEST(FastTriangulation, MatchesTheStraightforwardPassesOnGeneratedFloors) {
  // Ties in every ranking, a node in another's place, one beyond every search limit.
  std::vector<Job> casi;
  casi.push_back(
      test::con_nodi({{0, 0}, {10, 0}, {0, 10}, {10, 0.5}, {400000, 0}, {-5, 5}, {5, -5}}));
  casi.back().floor.passo = -1;
  casi.back().store.ynodo[4] = 0;
  // Fixed floors, rigid ones (outline vertices and pillars only, no perimeter sides:
  // nodes on the hull see far across), then floors drawn at random.
  const ParametriPiano fissi[] = {parametri(1, 600, 400, 100, 0, 0),
                                  parametri(2, 900, 700, 100, 1, 1),
                                  parametri(3, 1000, 800, 100, 1, 1, 1, true),
                                  parametri(4, 1200, 900, 110, 2, 2, 2),
                                  parametri(5, 1400, 1000, 120, 2, 1, 1, true),
                                  parametri(6, 800, 800, 60, 2, 2),
                                  parametri(11, 2000, 1400, -1, 2, 1, 0, true, 190),
                                  parametri(12, 1600, 1200, -1, 2, 1, 0, false, 170)};
  for (const ParametriPiano& p : fissi) casi.push_back(piano(p));
  std::uint64_t x = 12345;
  auto caso = [&x](double a, double b) {
    x = x * 6364136223846793005ULL + 1442695040888963407ULL;
    return a + (b - a) * static_cast<double>(x >> 11) * 0x1.0p-53;
  };
  for (std::uint64_t seme = 100; seme < 116; ++seme) {
    const double w = caso(400, 1300), h = caso(300, 1000), passo = caso(50, 140);
    const bool l = caso(0, 1) < 0.5;
    ParametriPiano p = parametri(seme, w, h, passo, static_cast<int>(caso(0, 4)),
                                 static_cast<int>(caso(0, 4)), static_cast<int>(caso(0, 3)), l);
    p.interasse = caso(150, 600);
    p.allinea = caso(0, 1) < 0.8;
    p.distanza_min = passo * caso(0.2, 0.6);
    if (caso(0, 1) < 0.25) p.passo = -1;
    casi.push_back(piano(p));
  }
  int confrontati = 0;
  for (const Job& job : casi) {
    if (job.nodes.npunti > 160) continue;
    SCOPED_TRACE(std::to_string(confrontati) + ": " + std::to_string(job.nodes.npunti) + " nodes");
    confronta(job, job.nodes.npunti <= 120);
    if (HasFailure()) return;
    ++confrontati;
  }
  EXPECT_GE(confrontati, 20);
}

}  // namespace
}  // namespace gencampi
