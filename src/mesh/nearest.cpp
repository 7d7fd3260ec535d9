#include "mesh/nearest.h"

#include <cmath>
#include <cstdint>
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

void piuvicino(Job& job, int p1, int p2, int p3, double& x12, double& y12, bool& estremo) {
  const Store& s = job.store;
  const double passo = job.floor.passo;
  if (passo == 0)
    throw FineElaborazione("Passo della mesh nullo: impossibile suddividere i campi", titolo_errore,
                           1);
  double dx12 = s.xnodo[p1] - s.xnodo[p2];
  double dy12 = s.ynodo[p1] - s.ynodo[p2];
  double L = std::sqrt(dx12 * dx12 + dy12 * dy12) - 1e-9;
  double passi = std::trunc(L / passo + 1);
  // A side of zero length has L just below zero, which a tiny step turns into a huge
  // negative count: it offers no division point either way, and must not reach the
  // integer conversion.
  if (passi < 0) passi = 0;
  if (passi > static_cast<double>(massimo_passi))
    throw FineElaborazione("Passo della mesh troppo piccolo: impossibile suddividere i campi",
                           titolo_errore, 1);
  std::int64_t n = static_cast<std::int64_t>(passi);
  std::int64_t kstar = 0;
  double px = 0, py = 0;
  if (n > 0) {
    double ddx = (s.xnodo[p2] - s.xnodo[p1]) / static_cast<double>(n);
    double ddy = (s.ynodo[p2] - s.ynodo[p1]) / static_cast<double>(n);
    double minimo = 1e9;
    for (std::int64_t k = 0; k <= n - 1; ++k) {
      double qx = s.xnodo[p1] + static_cast<double>(k) * ddx;
      double qy = s.ynodo[p1] + static_cast<double>(k) * ddy;
      double ey = s.ynodo[p3] - qy;
      double ex = s.xnodo[p3] - qx;
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

}  // namespace gencampi
