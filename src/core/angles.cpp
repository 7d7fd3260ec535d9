#include "core/angles.h"

#include <cmath>

#include "core/platform.h"
#include "core/store.h"

namespace gencampi {

double arccos(double x) {
  if (x >= 1) return 0;
  return sistema::arcotangente(-x / std::sqrt(1 - x * x)) + 2 * sistema::arcotangente(1.0);
}

double ang_xy(double xi, double yi, double xj, double yj, double xk, double yk) {
  double A = std::sqrt((xi - xj) * (xi - xj) + (yi - yj) * (yi - yj));
  double B = std::sqrt((xj - xk) * (xj - xk) + (yj - yk) * (yj - yk));
  double C = std::sqrt((yi - yk) * (yi - yk) + (xi - xk) * (xi - xk));
  if (A * B * C == 0) return 0;
  // Half-angle formula cos(g/2) = sqrt(s (s - c) / (a b)), in this order of evaluation
  // so that every build gives the same bits.
  double s = (A + B + C) / 2;
  double h = std::sqrt(std::fabs((s - C) * s / (A * B)));
  double theta = arccos(h);
  return (theta + theta) * gradi_per_radiante;
}

double ang(const Store& s, int i, int j, int k) {
  return ang_xy(s.xnodo[i], s.ynodo[i], s.xnodo[j], s.ynodo[j], s.xnodo[k], s.ynodo[k]);
}

double areasuperim(const Store& st, int i, int j, int k) {
  double a = distanza(st, i, j);
  double b = distanza(st, j, k);
  double c = distanza(st, k, i);
  double s = (b + a + c) / 2;
  return (s - b) * (s - a) * (s - c) / (s * s * s);
}

namespace {

double quadrato_lato(const Store& s, int p, int q) {
  double dx = s.xnodo[q] - s.xnodo[p];
  double dy = s.ynodo[q] - s.ynodo[p];
  return dx * dx + dy * dy;
}

void ruota4(int lato, int& pv1, int& pv2, int& pv3, int& pv4) {
  int a = pv1, b = pv2, c = pv3, d = pv4;
  switch (lato) {
    case 2:
      pv1 = b, pv2 = c, pv3 = d, pv4 = a;
      break;
    case 3:
      pv1 = c, pv2 = d, pv3 = a, pv4 = b;
      break;
    case 4:
      pv1 = d, pv2 = a, pv3 = b, pv4 = c;
      break;
    default:
      break;
  }
}

}  // namespace

void sorta_3lati(const Store& s, int& pv1, int& pv2, int& pv3) {
  double d[3] = {quadrato_lato(s, pv1, pv2), quadrato_lato(s, pv2, pv3),
                 quadrato_lato(s, pv3, pv1)};
  // Strict comparisons from zero: the earlier side wins a tie, and a triangle whose
  // sides are all of zero length is left as it is.
  double massimo = 0;
  int lato = 0;
  for (int i = 0; i < 3; ++i)
    if (d[i] > massimo) massimo = d[i], lato = i + 1;
  int a = pv1, b = pv2, c = pv3;
  if (lato == 2) pv1 = b, pv2 = c, pv3 = a;
  if (lato == 3) pv1 = c, pv2 = a, pv3 = b;
}

void sorta_lati(const Store& s, int& pv1, int& pv2, int& pv3, int& pv4) {
  double d[4] = {quadrato_lato(s, pv1, pv2), quadrato_lato(s, pv2, pv3), quadrato_lato(s, pv3, pv4),
                 quadrato_lato(s, pv4, pv1)};
  double massimo = 0;
  int lato = 0;
  for (int i = 0; i < 4; ++i)
    if (d[i] > massimo) massimo = d[i], lato = i + 1;
  ruota4(lato, pv1, pv2, pv3, pv4);
}

void sorta_lati2(const Store& s, int& pv1, int& pv2, int& pv3, int& pv4) {
  sorta_lati(s, pv1, pv2, pv3, pv4);
  const int p[5] = {pv1, pv2, pv3, pv4, pv1};
  double migliore = 0;
  int scelto = 1;
  for (int i = 1; i <= 4; ++i) {
    int P = p[i - 1], Q = p[i];
    // Inclination of the side against the horizontal through its start, 0 to 90.
    double alfa = ang_xy(s.xnodo[Q], s.ynodo[Q], s.xnodo[P], s.ynodo[P], s.xnodo[Q], s.ynodo[P]);
    alfa = std::fmod(std::nearbyint(alfa), 90.0);
    if (std::fabs(90 - alfa) < alfa) alfa = std::fabs(90 - alfa);
    // Sides within 10 degrees of an axis count as aligned with it.
    if (alfa < 10) alfa = 0;
    double w = (alfa + 1) / quadrato_lato(s, P, Q);
    if (i == 1 || w < migliore) {
      migliore = w;
      scelto = i;
    }
  }
  ruota4(scelto, pv1, pv2, pv3, pv4);
}

bool angolo_piatto(double a) {
  return std::fmod(std::nearbyint(a + 180), 180.0) < 0.001;
}

}  // namespace gencampi
