#include "mesh/nearest.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "core/errors.h"

namespace gencampi {

namespace {
// Squared distance beyond which trova_vicino finds nothing.
constexpr double limite_ricerca = 1e11;
// X given to a ranked node so that no later search reaches it: coordinates are bounded
// by 1e8, so this lies beyond the search limit from every real node.
constexpr double x_lontano = 1e9;
// More division steps than this would not end in useful time.
constexpr std::int64_t massimo_passi = 10000000;
// The division points 0..n-1 of a long side lie on a line, so their distance from the
// opposite corner falls and then rises. Only the points whose computed distance could
// reach the smallest one need to be looked at; the others are farther by more than the
// rounding of the computation can undo, so the first smallest value, and with it every
// bit of the result, is the same as over all n points. On entry da..a is 0..n-1.
void finestra(double x1, double y1, double x2, double y2, double x3, double y3, double ddx,
              double ddy, std::int64_t& da, std::int64_t& a) {
  const double n = static_cast<double>(a) + 1;
  const double aa = ddx * ddx + ddy * ddy;
  if (!(aa > 0)) return;
  const double u = std::numeric_limits<double>::epsilon() / 2;
  const double R = std::max(
      {std::fabs(x1), std::fabs(y1), std::fabs(x2), std::fabs(y2), std::fabs(x3), std::fabs(y3)});
  // Every computed squared distance is within eps of the exact one (a bound twice the
  // worst case for coordinates of magnitude R); t, the point nearest the corner along
  // the side in steps, is within delta of the exact value.
  const double eps = 512 * u * R * R;
  const double delta = 64 * u * R / std::sqrt(aa) + 1;
  const double t = ((x3 - x1) * ddx + (y3 - y1) * ddy) / aa;
  if (!std::isfinite(t) || !std::isfinite(delta)) return;
  const double kc = std::min(std::max(std::nearbyint(t), 0.0), n - 1);
  const double scarto = std::fabs(kc - t) + delta;
  const double h = std::sqrt(scarto * scarto + 2 * eps / aa) + delta;
  const double basso = std::floor(t - h), alto = std::ceil(t + h);
  if (!(alto - basso < n)) return;
  if (basso > 0) da = static_cast<std::int64_t>(basso);
  if (alto < n - 1) a = static_cast<std::int64_t>(alto);
}

}  // namespace

void trova_vicino(const Store& s, int corrente, int inizio, int fine, int& vicino) {
  double minimo = limite_ricerca;
  double xc = s.xnodo[corrente], yc = s.ynodo[corrente];
  for (int i = inizio; i <= fine; ++i) {
    if (i == corrente) continue;
    double dy = yc - s.ynodo[i];
    double dx = xc - s.xnodo[i];
    double d = dy * dy + dx * dx;
    if (d < minimo) {
      minimo = d;
      vicino = i;
    }
  }
}

void sorta(Store& s, int centro, int Npunti, Table<int>& vicini) {
  std::vector<double> salvati(static_cast<std::size_t>(Npunti) + 1);
  for (int i = 1; i <= Npunti; ++i) salvati[static_cast<std::size_t>(i)] = s.xnodo[i];
  for (int r = 1; r <= Npunti; ++r) {
    vicini[r] = 0;
    trova_vicino(s, centro, 1, Npunti, vicini[r]);
    if (vicini[r] != 0) s.xnodo[vicini[r]] = x_lontano;
  }
  for (int i = 1; i <= Npunti; ++i) s.xnodo[i] = salvati[static_cast<std::size_t>(i)];
}

namespace {

// The division point, with the steps measured either all (the reference) or only those
// that can be the nearest.
void punto_di_divisione(const Job& job, int p1, int p2, int p3, double& x12, double& y12,
                        bool& estremo, bool tutti) {
  const Store& s = job.store;
  const double passo = job.floor.passo;
  if (passo == 0)
    throw RunEnd("Passo della mesh nullo: impossibile suddividere i campi", titolo_errore, 1);
  double dx12 = s.xnodo[p1] - s.xnodo[p2];
  double dy12 = s.ynodo[p1] - s.ynodo[p2];
  double L = std::sqrt(dx12 * dx12 + dy12 * dy12) - 1e-9;
  double passi = std::trunc(L / passo + 1);
  // A side of zero length has L just below zero, which a tiny step turns into a huge
  // negative count: it offers no division point either way, and must not reach the
  // integer conversion.
  if (passi < 0) passi = 0;
  if (passi > static_cast<double>(massimo_passi))
    throw RunEnd("Passo della mesh troppo piccolo: impossibile suddividere i campi", titolo_errore,
                 1);
  std::int64_t n = static_cast<std::int64_t>(passi);
  std::int64_t kstar = 0;
  double px = 0, py = 0;
  if (n > 0) {
    const double x1 = s.xnodo[p1], y1 = s.ynodo[p1];
    const double x3 = s.xnodo[p3], y3 = s.ynodo[p3];
    double ddx = (s.xnodo[p2] - x1) / static_cast<double>(n);
    double ddy = (s.ynodo[p2] - y1) / static_cast<double>(n);
    std::int64_t da = 0, a = n - 1;
    if (!tutti) finestra(x1, y1, s.xnodo[p2], s.ynodo[p2], x3, y3, ddx, ddy, da, a);
    double minimo = 1e9;
    for (std::int64_t k = da; k <= a; ++k) {
      double qx = x1 + static_cast<double>(k) * ddx;
      double qy = y1 + static_cast<double>(k) * ddy;
      double ey = y3 - qy;
      double ex = x3 - qx;
      double d = ey * ey + ex * ex;
      if (d < minimo) {
        minimo = d;
        x12 = qx;
        y12 = qy;
        px = qx;
        py = qy;
        kstar = k;
      }
    }
  }
  if (kstar == 0) {
    estremo = true;
    return;
  }
  double d1 =
      std::sqrt((px - s.xnodo[p1]) * (px - s.xnodo[p1]) + (py - s.ynodo[p1]) * (py - s.ynodo[p1]));
  double d3 =
      std::sqrt((px - s.xnodo[p3]) * (px - s.xnodo[p3]) + (py - s.ynodo[p3]) * (py - s.ynodo[p3]));
  // A division point this close to the start, against its distance from the opposite
  // corner, would cut off a sliver: it counts as the end itself.
  estremo = 1.0 / 3.0 > d1 / d3;
}

}  // namespace

void piuvicino(const Job& job, int p1, int p2, int p3, double& x12, double& y12, bool& estremo) {
  punto_di_divisione(job, p1, p2, p3, x12, y12, estremo, job.engine == Engine::reference);
}

}  // namespace gencampi
