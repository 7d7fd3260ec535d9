#include "floor/region.h"

#include <cmath>

#include "core/store.h"

namespace gencampi {

bool orizzontale(double y1, double y2) {
  return std::fabs(y2 - y1) <= tolleranza_orizzontale;
}

// The band is half-open, so a ray through a vertex counts only the edge above it.
bool attraversa(double xp, double yp, double x1, double y1, double x2, double y2) {
  if (orizzontale(y1, y2)) return false;
  if (!((yp >= y1 || yp >= y2) && (yp < y1 || yp < y2))) return false;
  double xi = (x2 - x1) / (y2 - y1) * (yp - y1) + x1;
  return xi > xp;
}

namespace {

bool attraversa_nodi(const Store& s, double xp, double yp, int a, int b) {
  return attraversa(xp, yp, s.xnodo[a], s.ynodo[a], s.xnodo[b], s.ynodo[b]);
}

}  // namespace

bool xyesterno(const Job& job, double xp, double yp) {
  const Store& s = job.store;
  const Floor& f = job.floor;
  int conta = 0;
  int p0 = f.primo_perimetro;
  for (int i = 1; i <= f.nperimetro - 1; ++i)
    if (attraversa_nodi(s, xp, yp, p0 + i - 1, p0 + i)) ++conta;
  if (attraversa_nodi(s, xp, yp, p0 + f.nperimetro - 1, p0)) ++conta;
  if (conta % 2 == 0) return true;

  for (int h = 1; h <= f.nbuchi; ++h) {
    int b0 = f.primo_buco[h];
    int nv = f.nvbuco[h];
    double xmin = s.xnodo[b0], xmax = xmin, ymin = s.ynodo[b0], ymax = ymin;
    for (int k = 1; k <= nv - 1; ++k) {
      double x = s.xnodo[b0 + k], y = s.ynodo[b0 + k];
      if (x < xmin) xmin = x;
      if (x > xmax) xmax = x;
      if (y < ymin) ymin = y;
      if (y > ymax) ymax = y;
    }
    // The box test spares walking the edges of holes far from the point.
    if (xp > xmax || xp < xmin || yp > ymax || yp < ymin) continue;
    conta = 0;
    for (int k = 1; k <= nv - 1; ++k)
      if (attraversa_nodi(s, xp, yp, b0 + k - 1, b0 + k)) ++conta;
    if (attraversa_nodi(s, xp, yp, b0 + nv - 1, b0)) ++conta;
    if (conta % 2 == 1) return true;
  }
  return false;
}

bool esterno(const Job& job, int uno, int due, int tre) {
  const Store& s = job.store;
  double xc = (s.xnodo[due] + s.xnodo[uno] + s.xnodo[tre]) / 3;
  double yc = (s.ynodo[due] + s.ynodo[uno] + s.ynodo[tre]) / 3;
  return xyesterno(job, xc, yc);
}

void intersxy(Job& job, double xk, double yk, double x1, double y1, double x2, double y2,
              NodeIndex* indice) {
  const double d = job.settings.distanza_min;
  auto aggiungi = [&job, indice, d](double x, double y) {
    if (indice != nullptr)
      indice->aggiungi_nodo_dist(job.store, x, y, d);
    else
      aggiungi_nodo_dist(job.store, x, y, d);
  };
  // The ends of the segment are excluded, so the divisions below never meet a zero.
  if ((xk > x1 || xk > x2) && (xk < x1 || xk < x2)) {
    double t = (xk - x1) / (x2 - x1);
    double y = (y2 - y1) * t + y1;
    aggiungi(xk, y);
  }
  if ((yk > y1 || yk > y2) && (yk < y1 || yk < y2)) {
    double t = (yk - y1) / (y2 - y1);
    double x = (x2 - x1) * t + x1;
    aggiungi(x, yk);
  }
}

}  // namespace gencampi
