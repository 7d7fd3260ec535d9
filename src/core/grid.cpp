#include "core/grid.h"

namespace gencampi {

namespace {
// No axis gets more cells than this: a flat or tiny node set still gets cells of a
// sensible size, and the cell tables stay small.
constexpr int celle_per_asse = 4096;
}  // namespace

Grid::Grid(double xmin, double ymin, double xmax, double ymax, int celle) {
  const double w = std::max(xmax - xmin, 0.0);
  const double a = std::max(ymax - ymin, 0.0);
  const double n = std::max(celle, 1);
  double h = std::sqrt(w * a / n);
  h = std::max(h, std::max(w, a) / celle_per_asse);
  if (!(h > 0) || !std::isfinite(h)) h = 1;
  x0_ = xmin;
  y0_ = ymin;
  h_ = h;
  nx_ = static_cast<int>(std::min(w / h, static_cast<double>(celle_per_asse))) + 1;
  ny_ = static_cast<int>(std::min(a / h, static_cast<double>(celle_per_asse))) + 1;
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
