// The fast triangulation against the straightforward passes on floors built to sit on
// the tolerances of the checks: perpendicular feet a rounding off the line they belong
// to, edges within the 1e-9 of the horizontal rule, nodes level with an edge's end,
// coordinates from 1e-4 to 1e8, and side tables small enough to fill. Both engines must
// leave the same fields, the same sides with their tags and the same count, and end the
// run at the same append when the table fills.
//
// The suite runs a few hundred such floors. Built with GENCAMPI_CAMPAGNA (the
// gencampi_campaign target of the benchmark build) the same cases run on thousands.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "core/store.h"
#include "floor/placement.h"
#include "mesh/triangulation.h"
#include "support/floor_generator.h"

namespace gencampi {
namespace {

#ifdef GENCAMPI_CAMPAGNA
constexpr int ripetizioni = 100;
#else
constexpr int ripetizioni = 1;
#endif

// Where a floor lies: its size and its distance from the origin. The sizes run from
// where the absolute tolerances swallow whole triangles to past the search limit of
// the rankings; the origins put the coordinates near 1e8, where a rounding is 1.5e-8.
// Where the tolerances swallow the crossings, triangles pile up over one another until
// the field table fills: a small one keeps those runs short.
struct Scala {
  double lato, origine;
  int campi;
};
constexpr Scala scale[] = {{2e-3, 1e-4, 120},       {0.4, 0, 120},      {100, 0, 800},
                           {1000, 1e8 - 1000, 800}, {3e4, -3.7e7, 800}, {4e5, 0, 800},
                           {137.5, 12345.678, 800}};

struct Esito {
  bool finito = false;  // the run ended at a full table
  std::vector<int> campi, lati;
  int nlati = 0;
  bool operator==(const Esito&) const = default;
};

std::ostream& operator<<(std::ostream& o, const Esito& e) {
  return o << (e.finito ? "ended, " : "") << e.campi.size() / 3 << " fields, " << e.nlati
           << " sides";
}

Esito triangola_con(Job job, Engine engine) {
  Esito e;
  job.engine = engine;
  try {
    triangola(job, job.nodes.punti, job.nodes.npunti, {});
  } catch (const RunEnd&) {
    e.finito = true;
  }
  for (int f = 1; f <= job.fields.ncampi; ++f)
    for (int j = 1; j <= 3; ++j) e.campi.push_back(job.fields.campo[f][j]);
  e.nlati = job.store.nlati;
  // The slots a wall's run of sides reaches past the table's end are read as the
  // wall's sides, all but the first, which the field pairing writes before that.
  const int fino = std::min(ultimo_lato_dei_muri(job.floor), job.store.lato.capacity());
  for (int i = 1; i <= std::max(job.store.nlati, fino); ++i) {
    if (i == job.store.nlati + 1) continue;
    for (int v : {job.store.lato[i][1], job.store.lato[i][2], job.store.tipolato[i]})
      e.lati.push_back(v);
  }
  return e;
}

// A rigid floor (no outline test) of nodes where the checks are at their tolerances:
// scattered nodes, many sharing an X or a Y; lines carrying nodes at computed fractions
// and at the feet of perpendiculars from other nodes, each a rounding off the line;
// edges whose ends differ in height by less than, exactly or just more than 1e-9, with
// nodes level with either end; and a few sides of the floor among them.
Job nodi_agli_angoli(std::uint64_t seme, const Scala& sc, const Capacities& cap) {
  SeededRandom caso(seme, 7);
  Job job(cap);
  Store& s = job.store;
  auto X = [&](double u) { return sc.origine + sc.lato * u; };
  auto nodo = [&](double x, double y) { return aggiungi_nodo(s, x, y); };
  // A third of the floors are a trap and little else: an edge within the horizontal
  // rule, a corner beyond one of its ends, and nodes level with the edge's ends beside
  // the triangle, where the ray from them crosses one edge only.
  const bool trappola = caso.moneta(0.35);
  const int sparsi = trappola ? caso.intero(0, 3) : caso.intero(6, 18);
  for (int i = 0; i < sparsi; ++i) {
    double u = caso.tra(0, 1), v = caso.tra(0, 1);
    if (caso.moneta(0.5)) {
      u = std::round(u * 6) / 6;
      v = std::round(v * 6) / 6;
    }
    nodo(X(u), X(v));
  }
  const int linee = trappola ? 0 : caso.intero(1, 3);
  for (int l = 0; l < linee; ++l) {
    const double xa = X(caso.tra(0, 1)), ya = X(caso.tra(0, 1));
    const double xb = X(caso.tra(0, 1)), yb = X(caso.tra(0, 1));
    const int a = nodo(xa, ya), b = nodo(xb, yb);
    for (int j = 1, k = caso.intero(1, 4); j < k; ++j) {
      const double t = caso.moneta(0.5) ? static_cast<double>(j) / k : caso.tra(0, 1);
      nodo(xa + t * (xb - xa), ya + t * (yb - ya));
    }
    const double dx = xb - xa, dy = yb - ya;
    for (int j = 0, k = dx * dx + dy * dy > 0 ? caso.intero(1, 4) : 0; j < k; ++j) {
      const double xp = X(caso.tra(0, 1)), yp = X(caso.tra(0, 1));
      const double t = ((xp - xa) * dx + (yp - ya) * dy) / (dx * dx + dy * dy);
      nodo(xp, yp);
      nodo(xa + t * dx, ya + t * dy);
    }
    if (caso.moneta(0.5)) kreali(s, a, b, caso.moneta(0.5) ? col_muri : col_perimetro);
  }
  static constexpr double salti[] = {0, 1, 3e-10, 1e-9, -1e-9, 1.0000001e-9, -2e-9, 7e-10};
  const int quasi = trappola ? 1 : caso.intero(1, 3);
  for (int q = 0; q < quasi; ++q) {
    const double y0 = X(caso.tra(0, 1));
    const double salto = salti[caso.intero(0, 7)];
    // A salto of 1 is one rounding step up.
    const double y1 = salto == 1 ? std::nextafter(y0, 2 * std::fabs(y0) + 1) : y0 + salto;
    const double ua = caso.tra(0, 1), ub = caso.tra(0, 1);
    const int a = nodo(X(ua), y0), b = nodo(X(ub), y1);
    const double uc = trappola ? (caso.moneta(0.5) ? std::min(ua, ub) - caso.tra(0.1, 0.6)
                                                   : std::max(ua, ub) + caso.tra(0.1, 0.6))
                               : caso.tra(0, 1);
    nodo(X(uc), y0 + sc.lato * caso.tra(-1, 1));
    for (int j = 0, k = caso.intero(1, 4); j < k; ++j)
      nodo(X(trappola ? uc + (std::min(ua, ub) - uc) * caso.tra(0, 1) : caso.tra(-0.2, 1.2)),
           caso.moneta(0.5) ? y0 : y1);
    if (caso.moneta(0.3)) kreali(s, a, b, col_buchi);
  }
  job.floor.passo = -1;
  job.nodes.npunti = s.nnodi;
  for (int i = 1; i <= s.nnodi; ++i) job.nodes.punti[i] = i;
  return job;
}

// The floor's one wall, from node a to node b. Every third seed's wall ends in a vertex
// repeated many times: its run of sides reaches far past the table's end.
void muro(Job& job, std::uint64_t seme, int a, int b) {
  Floor& f = job.floor;
  f.nmuri = 1;
  f.nvmuro[1] = seme % 3 == 0 ? 200 : 2;
  f.lato_muro[1] = job.store.nlati;
  bool ok = false;
  kreali(job.store, a, b, col_muri, &ok);
}

// A slab with a slanted outline, a hole and a slanted wall, given its nodes by the node
// placement: the feet of perpendiculars onto slanted sides land a rounding off them.
Job piano_obliquo(std::uint64_t seme, const Scala& sc, const Capacities& cap) {
  SeededRandom caso(seme, 7);
  Job job(cap);
  job.engine = Engine::reference;
  Store& s = job.store;
  Floor& f = job.floor;
  auto X = [&](double u) { return sc.origine + sc.lato * u; };
  bool ok = false;
  auto poligono = [&](double cx, double cy, double r, int n, int tag) {
    const int primo = s.nnodi + 1;
    for (int i = 0; i < n; ++i) {
      const double a = 2 * 3.14159265358979 * (i + caso.tra(0.1, 0.6)) / n;
      const double rr = r * caso.tra(0.6, 1);
      aggiungi_nodo(s, X(cx + rr * std::cos(a)), X(cy + rr * std::sin(a)));
    }
    for (int i = 0; i < n; ++i) kreali(s, primo + i, primo + (i + 1) % n, tag, &ok);
    return primo;
  };
  f.passo = sc.lato * caso.tra(0.12, 0.2);
  job.settings.distanza_min = f.passo * caso.tra(0.3, 0.5);
  job.settings.distanza_max = f.passo;
  job.settings.allinea_lati = caso.moneta(0.3) ? 1 : 0;
  f.nperimetro = caso.intero(4, 7);
  f.primo_perimetro = poligono(0.5, 0.5, 0.5, f.nperimetro, col_perimetro);
  if (caso.moneta(0.7)) {
    f.nbuchi = 1;
    f.nvbuco[1] = caso.intero(3, 4);
    f.primo_buco[1] = poligono(0.5, 0.5, 0.12, f.nvbuco[1], col_buchi);
  }
  if (caso.moneta(0.7)) {
    const int a = aggiungi_nodo(s, X(caso.tra(0.2, 0.35)), X(caso.tra(0.2, 0.8)));
    muro(job, seme, a, aggiungi_nodo(s, X(caso.tra(0.2, 0.35)), X(caso.tra(0.2, 0.8))));
  }
  posiziona_nodi(job);
  return job;
}

// A slab drawn square to the axes at coordinates that are not whole numbers: an L or a
// rectangle with rectangular holes and an upright wall. A foot of a perpendicular onto an
// upright side comes out of (y - y1) / dy * dy + y1 and so often lands a rounding off the
// level of the node it was dropped from, beside other nodes on that level.
Job piano_squadrato(std::uint64_t seme, const Scala& sc, const Capacities& cap) {
  SeededRandom caso(seme, 7);
  Job job(cap);
  job.engine = Engine::reference;
  Store& s = job.store;
  Floor& f = job.floor;
  auto X = [&](double u) { return sc.origine + sc.lato * u; };
  bool ok = false;
  auto anello = [&](const std::vector<std::array<double, 2>>& v, int tag) {
    const int primo = s.nnodi + 1;
    for (const auto& [u, w] : v) aggiungi_nodo(s, X(u), X(w));
    const int n = static_cast<int>(v.size());
    for (int i = 0; i < n; ++i) kreali(s, primo + i, primo + (i + 1) % n, tag, &ok);
    return primo;
  };
  const double a = caso.tra(0.45, 0.7), b = caso.tra(0.45, 0.7);
  std::vector<std::array<double, 2>> perimetro{{0, 0}, {1, 0}, {1, 1}, {0, 1}};
  if (caso.moneta(0.5)) perimetro = {{0, 0}, {1, 0}, {1, b}, {a, b}, {a, 1}, {0, 1}};
  f.passo = sc.lato * caso.tra(0.1, 0.2);
  job.settings.distanza_min = f.passo * caso.tra(0.3, 0.5);
  job.settings.distanza_max = f.passo;
  job.settings.allinea_lati = caso.moneta(0.5) ? 1 : 0;
  f.nperimetro = static_cast<int>(perimetro.size());
  f.primo_perimetro = anello(perimetro, col_perimetro);
  for (int h = 0, n = caso.intero(0, 2); h < n; ++h) {
    const double u = caso.tra(0.05, 0.3) + 0.05 * h, w = caso.tra(0.05, 0.3);
    const double du = caso.tra(0.04, 0.12), dw = caso.tra(0.04, 0.12);
    ++f.nbuchi;
    f.nvbuco[f.nbuchi] = 4;
    f.primo_buco[f.nbuchi] =
        anello({{u, w}, {u + du, w}, {u + du, w + dw}, {u, w + dw}}, col_buchi);
  }
  if (caso.moneta(0.7)) {
    const double u = caso.tra(0.3, 0.4);
    const int p = aggiungi_nodo(s, X(u), X(caso.tra(0.05, 0.3)));
    muro(job, seme, p, aggiungi_nodo(s, X(u), X(caso.tra(0.35, 0.45))));
  }
  posiziona_nodi(job);
  return job;
}

// Both engines on one floor, with the side table of the data model and with one that
// fills about halfway through the reference's run.
void confronta(const Job& job, const std::string& nome) {
  const Esito riferimento = triangola_con(job, Engine::reference);
  EXPECT_EQ(triangola_con(job, Engine::fast), riferimento) << nome;
  if (riferimento.finito || riferimento.nlati <= job.store.nlati + 6) return;
  Job ridotto = job;
  ridotto.cap.lati = (job.store.nlati + riferimento.nlati) / 2;
  Table<std::array<int, 3>> lato(ridotto.cap.lati);
  Table<int> tipolato(ridotto.cap.lati);
  for (int i = 1; i <= job.store.nlati; ++i) {
    lato[i] = job.store.lato[i];
    tipolato[i] = job.store.tipolato[i];
  }
  ridotto.store.lato = std::move(lato);
  ridotto.store.tipolato = std::move(tipolato);
  const Esito pieno = triangola_con(ridotto, Engine::reference);
  EXPECT_TRUE(pieno.finito) << nome;
  EXPECT_EQ(triangola_con(ridotto, Engine::fast), pieno) << nome << " at " << ridotto.cap.lati;
}

// Every floor at every scale, `volte` seeds of each.
template <class Genera>
void ogni_scala(int volte, Genera genera, const std::string& nome) {
  for (int r = 0; r < volte * ripetizioni; ++r)
    for (std::size_t k = 0; k < std::size(scale); ++k) {
      const std::uint64_t seme = 1000 * static_cast<std::uint64_t>(r) + k;
      confronta(genera(seme, scale[k], Capacities{.lati = 2500, .campi = scale[k].campi}),
                nome + " " + std::to_string(seme));
    }
}

TEST(FastExactness, NodesAtTheTolerances) {
  ogni_scala(12, nodi_agli_angoli, "nodes");
}
TEST(FastExactness, SquareSlabs) {
  ogni_scala(6, piano_squadrato, "square slab");
}
TEST(FastExactness, SlantedSlabs) {
  ogni_scala(4, piano_obliquo, "slab");
}

}  // namespace
}  // namespace gencampi
