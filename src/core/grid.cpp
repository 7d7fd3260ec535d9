#include "core/grid.h"

namespace gencampi {

Grid::Grid(double xmin, double ymin, double xmax, double ymax, int celle) {
  const double w = std::max(xmax - xmin, 0.0);
  const double a = std::max(ymax - ymin, 0.0);
  const double n = std::max(celle, 1);
  double h = std::sqrt(w * a / n);
  // A flat or tiny node set still gets cells of a sensible size; and no axis gets more
  // cells than the grid can usefully hold.
  h = std::max(h, std::max(w, a) / 4096);
  if (!(h > 0) || !std::isfinite(h)) h = 1;
  x0_ = xmin;
  y0_ = ymin;
  h_ = h;
  nx_ = static_cast<int>(std::min(w / h, 4096.0)) + 1;
  ny_ = static_cast<int>(std::min(a / h, 4096.0)) + 1;
}

int Grid::colonna(double x) const {
  const double t = (x - x0_) / h_;
  if (!(t > 0)) return 0;
  if (t >= nx_) return nx_ - 1;
  return static_cast<int>(t);
}

int Grid::riga(double y) const {
  const double t = (y - y0_) / h_;
  if (!(t > 0)) return 0;
  if (t >= ny_) return ny_ - 1;
  return static_cast<int>(t);
}

void celle_scatola(const Grid& g, double xmin, double ymin, double xmax, double ymax,
                   std::vector<int>& celle) {
  celle.clear();
  const int c0 = g.colonna(xmin), c1 = g.colonna(xmax);
  const int r0 = g.riga(ymin), r1 = g.riga(ymax);
  for (int r = r0; r <= r1; ++r)
    for (int c = c0; c <= c1; ++c) celle.push_back(g.indice(c, r));
}

void celle_corridoio(const Grid& g, double xa, double ya, double xb, double yb, double margine,
                     std::vector<int>& celle) {
  celle.clear();
  visita_corridoio(g, xa, ya, xb, yb, margine, [&](int c) {
    celle.push_back(c);
    return false;
  });
}

}  // namespace gencampi
