#include "fields/candidate.h"

#include <cmath>

#include "core/angles.h"
#include "floor/region.h"

namespace gencampi {

namespace {

struct Triangle {
  double x[3], y[3];
};

// Crossings of the ray from (xp, yp) with the edges uno-due, due-tre, uno-tre.
int attraversamenti(const Triangle& t, double xp, double yp) {
  int conta = 0;
  if (attraversa(xp, yp, t.x[0], t.y[0], t.x[1], t.y[1])) ++conta;
  if (attraversa(xp, yp, t.x[1], t.y[1], t.x[2], t.y[2])) ++conta;
  if (attraversa(xp, yp, t.x[0], t.y[0], t.x[2], t.y[2])) ++conta;
  return conta;
}

bool unisce(int p, int q, int u, int v) {
  return (p == u && q == v) || (p == v && q == u);
}

}  // namespace

bool lato_nel_triangolo(const Store& s, int uno, int due, int tre, int p, int q, double xmin,
                        double xmax, double ymin, double ymax) {
  if (unisce(p, q, uno, due) || unisce(p, q, due, tre) || unisce(p, q, tre, uno)) return false;
  // A side that enters the triangle shows itself by its midpoint.
  const double xm = (s.xnodo[p] + s.xnodo[q]) / 2;
  const double ym = (s.ynodo[p] + s.ynodo[q]) / 2;
  if (!(xm > xmin && xm < xmax && ym > ymin && ym < ymax)) return false;
  const int corner[3] = {uno, due, tre};
  static constexpr int spigolo[3][2] = {{0, 1}, {1, 2}, {0, 2}};
  int conta = 0;
  for (const auto& e : spigolo) {
    const int A = corner[e[0]], B = corner[e[1]];
    if (attraversa(xm, ym, s.xnodo[A], s.ynodo[A], s.xnodo[B], s.ynodo[B])) ++conta;
  }
  if (conta % 2 == 0) return false;
  // The one-third point tells a side lying along an edge's line (both points straight
  // with the edge) from one that merely has its midpoint on that line; such a side is
  // dropped whatever its crossings, so the angles are taken only for a side that counts.
  const double xt = (2 * s.xnodo[p] + s.xnodo[q]) / 3;
  const double yt = (2 * s.ynodo[p] + s.ynodo[q]) / 3;
  for (const auto& e : spigolo) {
    const int A = corner[e[0]], B = corner[e[1]];
    const double xA = s.xnodo[A], yA = s.ynodo[A], xB = s.xnodo[B], yB = s.ynodo[B];
    if (angolo_piatto(std::fabs(ang_xy(xA, yA, xm, ym, xB, yB))) &&
        angolo_piatto(std::fabs(ang_xy(xA, yA, xt, yt, xB, yB))))
      return false;
  }
  return true;
}

bool ingloba(const Job& job, int uno, int due, int tre, const Table<int>& punti, int Npunti) {
  const Store& s = job.store;
  const Triangle t{{s.xnodo[uno], s.xnodo[due], s.xnodo[tre]},
                   {s.ynodo[uno], s.ynodo[due], s.ynodo[tre]}};
  double xmin = t.x[0], xmax = xmin, ymin = t.y[0], ymax = ymin;
  for (int c = 1; c < 3; ++c) {
    if (t.x[c] < xmin) xmin = t.x[c];
    if (t.x[c] > xmax) xmax = t.x[c];
    if (t.y[c] < ymin) ymin = t.y[c];
    if (t.y[c] > ymax) ymax = t.y[c];
  }

  for (int i = 1; i <= Npunti; ++i) {
    const int p = punti[i];
    if (p == uno || p == due || p == tre) continue;
    const double xp = s.xnodo[p], yp = s.ynodo[p];
    if (xp < xmin || xp > xmax || yp < ymin || yp > ymax) continue;
    if (attraversamenti(t, xp, yp) % 2 == 1) return true;
  }

  const int nlati = s.nlati;
  for (int i = 1; i <= nlati; ++i) {
    if (s.tipolato[i] == col_provvisorio) continue;
    if (lato_nel_triangolo(s, uno, due, tre, s.lato[i][1], s.lato[i][2], xmin, xmax, ymin, ymax))
      return true;
  }
  return false;
}

void percorso(const Job& job, int uno, int due, int tre, const Table<int>& punti, int Npunti,
              bool& ok) {
  ok = false;
  const Fields& f = job.fields;
  for (int t = 1; t <= f.ncampi; ++t) {
    const auto& c = f.campo[t];
    auto in_campo = [&c](int p) { return p == c[1] || p == c[2] || p == c[3]; };
    if (in_campo(uno) && in_campo(due) && in_campo(tre)) return;
  }
  if (ingloba(job, uno, due, tre, punti, Npunti)) return;
  if (angolo_piatto(ang(job.store, uno, due, tre))) return;
  // A rigid floor is meshed as a whole, without regard to the slab outline.
  if (job.floor.passo < 0) {
    ok = true;
    return;
  }
  ok = !esterno(job, uno, due, tre);
}

}  // namespace gencampi
