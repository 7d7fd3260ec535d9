// A uniform grid of square cells over a rectangle, and the cells a segment's corridor or
// a box touches: the spatial index of the mesh and the ranking of neighbours both walk
// it.
#pragma once

#include <algorithm>
#include <cmath>
#include <vector>

#include "core/margins.h"

namespace gencampi {

// A uniform grid over a fixed rectangle. Coordinates outside it fall into the border
// cells; the cell of a coordinate never decreases as the coordinate grows, so a closed
// box always covers the cell of every point inside it.
class Grid {
 public:
  Grid() = default;
  Grid(double xmin, double ymin, double xmax, double ymax, int celle);

  int colonna(double x) const;
  int riga(double y) const;
  int nx() const { return nx_; }
  int ny() const { return ny_; }
  int celle() const { return nx_ * ny_; }
  int indice(int c, int r) const { return r * nx_ + c; }
  double lato() const { return h_; }
  double x0() const { return x0_; }
  double y0() const { return y0_; }

 private:
  double x0_ = 0, y0_ = 0, h_ = 1;
  int nx_ = 1, ny_ = 1;
};

// Visits the cells touched by the segment (xa, ya)-(xb, yb) widened by a margin, from
// the first end towards the second, each once, until `visita` answers true. True when
// it was stopped.
template <class F>
bool visita_corridoio(const Grid& g, double xa, double ya, double xb, double yb, double margine,
                      F&& visita);

// The same cells into a list.
void celle_corridoio(const Grid& g, double xa, double ya, double xb, double yb, double margine,
                     std::vector<int>& celle);

// Cells of a closed box.
void celle_scatola(const Grid& g, double xmin, double ymin, double xmax, double ymax,
                   std::vector<int>& celle);

template <class F>
bool visita_corridoio(const Grid& g, double xa, double ya, double xb, double yb, double margine,
                      F&& visita) {
  // Walk along the longer axis; for each slab of cells across it, the stretch of the
  // segment inside the slab (widened by the margin, and by a hair for the rounding of
  // the slab borders and of the interpolation) gives the cells across the other axis.
  const bool lungo_x = std::fabs(xb - xa) >= std::fabs(yb - ya);
  const double ua = lungo_x ? xa : ya, ub = lungo_x ? xb : yb;
  const double va = lungo_x ? ya : xa, vb = lungo_x ? yb : xb;
  const double u0 = lungo_x ? g.x0() : g.y0();
  const double h = g.lato();
  const double umin = std::min(ua, ub), umax = std::max(ua, ub);
  const double capello =
      margine::relativo * (std::fabs(ua) + std::fabs(ub) + std::fabs(va) + std::fabs(vb) + h);
  const double m = margine + capello;
  auto indice_u = [&](double u) { return lungo_x ? g.colonna(u) : g.riga(u); };
  auto indice_v = [&](double v) { return lungo_x ? g.riga(v) : g.colonna(v); };
  const int n_u = lungo_x ? g.nx() : g.ny();
  const int i0 = indice_u(umin - m), i1 = indice_u(umax + m);
  const bool avanti = ub >= ua;
  const bool su = vb >= va;
  const double pendenza = ub != ua ? (vb - va) / (ub - ua) : 0;
  for (int s = 0; s <= i1 - i0; ++s) {
    const int i = avanti ? i0 + s : i1 - s;
    double lo = i == 0 ? umin - m : u0 + i * h - margine::largo * h;
    double hi = i == n_u - 1 ? umax + m : u0 + (i + 1) * h + margine::largo * h;
    lo = std::max(lo, umin - m);
    hi = std::min(hi, umax + m);
    // The points of the segment whose distance along the walk from the slab is within
    // the margin.
    const double ul = std::clamp(lo - m, umin, umax);
    const double ur = std::clamp(hi + m, umin, umax);
    double v1 = va, v2 = vb;
    if (ub != ua) {
      v1 = va + (ul - ua) * pendenza;
      v2 = va + (ur - ua) * pendenza;
    }
    const double vlo = std::min(v1, v2) - m, vhi = std::max(v1, v2) + m;
    const int j0 = indice_v(vlo), j1 = indice_v(vhi);
    for (int t = 0; t <= j1 - j0; ++t) {
      const int j = su ? j0 + t : j1 - t;
      if (visita(lungo_x ? g.indice(i, j) : g.indice(j, i))) return true;
    }
  }
  return false;
}

}  // namespace gencampi
