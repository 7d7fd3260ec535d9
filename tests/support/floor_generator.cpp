#include "support/floor_generator.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "core/store.h"
#include "floor/placement.h"
#include "floor/region.h"

namespace gencampi {

namespace {

struct Rettangolo {
  double x0, y0, x1, y1;
  bool tocca(const Rettangolo& o, double margine) const {
    return !(x1 + margine < o.x0 || o.x1 + margine < x0 || y1 + margine < o.y0 ||
             o.y1 + margine < y0);
  }
};

// Drawings are in whole units, as floors are usually drawn: many nodes then share
// coordinates and lie on common lines, which is what the checks must cope with.
double intero(double v) {
  return std::round(v);
}

}  // namespace

void genera_piano(Job& job, const ParametriPiano& p) {
  Store& st = job.store;
  Floor& fl = job.floor;
  Settings& set = job.settings;
  SeededRandom caso(p.seme);

  azzera(st);
  fl.passo = p.passo;
  set.distanza_min = p.distanza_min;
  if (fl.passo < 0 && set.distanza_min < 1) set.distanza_min = 1;
  set.distanza_max = p.distanza_max;
  set.coeff_lato = 0;
  set.allinea_lati = p.allinea ? 1 : 0;
  if (fl.passo / 4 > set.distanza_min) set.distanza_min = fl.passo / 4;

  const double W = intero(p.larghezza), H = intero(p.altezza);
  const double wl = intero(W * 0.55), hl = intero(H * 0.5);
  std::vector<std::pair<double, double>> perimetro;
  if (p.forma_l)
    perimetro = {{0, 0}, {W, 0}, {W, hl}, {wl, hl}, {wl, H}, {0, H}};
  else
    perimetro = {{0, 0}, {W, 0}, {W, H}, {0, H}};
  // The notch of the L, where nothing may be placed.
  const Rettangolo tacca{wl, hl, W, H};
  auto nel_piano = [&](const Rettangolo& r, double margine) {
    if (r.x0 < margine || r.y0 < margine || r.x1 > W - margine || r.y1 > H - margine) return false;
    return !(p.forma_l && r.tocca(tacca, margine));
  };

  bool ok = false;
  fl.nperimetro = static_cast<int>(perimetro.size());
  fl.primo_perimetro = aggiungi_nodo(st, perimetro[0].first, perimetro[0].second);
  int prev = fl.primo_perimetro, cur = prev;
  for (std::size_t v = 1; v < perimetro.size(); ++v) {
    cur = aggiungi_nodo(st, perimetro[v].first, perimetro[v].second);
    if (fl.passo > 0) {
      kreali(st, prev, cur, col_perimetro, &ok);
      prev = cur;
    }
  }
  if (fl.passo > 0) kreali(st, fl.primo_perimetro, cur, col_perimetro, &ok);

  const double lato_min = std::min(W, H);
  std::vector<Rettangolo> occupati;
  // A rectangle on the slab and clear of everything placed so far by the margin is taken.
  auto libero = [&](const Rettangolo& r, double margine) {
    if (!nel_piano(r, margine) ||
        std::any_of(occupati.begin(), occupati.end(),
                    [&](const Rettangolo& o) { return r.tocca(o, margine); }))
      return false;
    occupati.push_back(r);
    return true;
  };
  // A rectangle whose sides are between a and b of the slab's shorter side.
  auto rettangolo = [&](double a, double b) {
    const double w = intero(caso.tra(a, b) * lato_min);
    const double h = intero(caso.tra(a, b) * lato_min);
    const double x0 = intero(caso.tra(0, W - w)), y0 = intero(caso.tra(0, H - h));
    return Rettangolo{x0, y0, x0 + w, y0 + h};
  };
  // The corners of r as a run of nodes joined by sides of `tag`: its first and last node.
  auto corsa = [&](const Rettangolo& r, int tag) {
    const int primo = aggiungi_nodo(st, r.x0, r.y0);
    int prec = primo;
    for (auto [x, y] : {std::pair{r.x1, r.y0}, {r.x1, r.y1}, {r.x0, r.y1}}) {
      const int n = aggiungi_nodo(st, x, y);
      kreali(st, prec, n, tag, &ok);
      prec = n;
    }
    return std::pair{primo, prec};
  };

  fl.nbuchi = 0;
  for (int h = 0; h < p.aperture && h < job.cap.buchi; ++h) {
    for (int prova = 0; prova < 50; ++prova) {
      const Rettangolo r = rettangolo(0.06, 0.16);
      if (!libero(r, std::max(std::fabs(p.passo), 1.0) * 1.5)) continue;
      ++fl.nbuchi;
      fl.nvbuco[fl.nbuchi] = 4;
      const auto [primo, ultimo] = corsa(r, col_buchi);
      fl.primo_buco[fl.nbuchi] = primo;
      kreali(st, primo, ultimo, col_buchi, &ok);
      break;
    }
  }

  fl.nmuri = 0;
  for (int m = 0; m < p.muri && m < job.cap.muri; ++m) {
    for (int prova = 0; prova < 50; ++prova) {
      const double lunghezza = intero(caso.tra(0.15, 0.35) * lato_min);
      const double x0 = intero(caso.tra(0, W)), y0 = intero(caso.tra(0, H));
      const bool orizzontale = caso.tra(0, 1) < 0.5;
      const bool gomito = caso.tra(0, 1) < 0.4;
      std::vector<std::pair<double, double>> v{{x0, y0}};
      if (orizzontale)
        v.push_back({x0 + lunghezza, y0});
      else
        v.push_back({x0, y0 + lunghezza});
      if (gomito) {
        const double l2 = intero(lunghezza * 0.5);
        if (orizzontale)
          v.push_back({v[1].first, y0 + l2});
        else
          v.push_back({x0 + l2, v[1].second});
      }
      Rettangolo r{x0, y0, x0, y0};
      for (const auto& [x, y] : v) {
        r.x0 = std::min(r.x0, x);
        r.x1 = std::max(r.x1, x);
        r.y0 = std::min(r.y0, y);
        r.y1 = std::max(r.y1, y);
      }
      if (!libero(r, std::max(std::fabs(p.passo), 1.0))) continue;
      ++fl.nmuri;
      fl.nvmuro[fl.nmuri] = static_cast<int>(v.size());
      int pm = aggiungi_nodo(st, v[0].first, v[0].second);
      fl.lato_muro[fl.nmuri] = st.nlati;
      for (std::size_t k = 1; k < v.size(); ++k) {
        const int cm = aggiungi_nodo(st, v[k].first, v[k].second);
        kreali(st, pm, cm, col_muri, &ok);
        pm = cm;
      }
      break;
    }
  }

  // Pillars on a jittered grid; those off the slab give no node, as in the reader.
  const double sp = p.interasse;
  for (double y = sp / 2; y < H; y += sp)
    for (double x = sp / 2; x < W; x += sp) {
      const double xp = intero(x + caso.tra(-0.1, 0.1) * sp);
      const double yp = intero(y + caso.tra(-0.1, 0.1) * sp);
      if (!xyesterno(job, xp, yp)) aggiungi_nodo(st, xp, yp);
    }

  // Extra polylines: balcony-like edges along the free room, open or closed.
  for (int q = 0; q < p.polilinee; ++q) {
    for (int prova = 0; prova < 50; ++prova) {
      const Rettangolo r = rettangolo(0.05, 0.12);
      if (!libero(r, std::max(std::fabs(p.passo), 1.0))) continue;
      const auto [primo, ultimo] = corsa(r, col_perimetro);
      if (q % 2 == 0) kreali(st, ultimo, primo, col_perimetro, &ok);  // closed
      break;
    }
  }
}

void genera_nodi(Job& job, const ParametriPiano& p, const std::string& cartella) {
  genera_piano(job, p);
  job.dirs.dirlavoro = cartella;
  posiziona_nodi(job);
}

}  // namespace gencampi
