#include "mesh/pair_choice.h"

#include <cmath>

#include "core/angles.h"

namespace gencampi {

namespace {

inline constexpr double angolo_retto = 90;

bool ha_nodo(const Fields& f, int campo, int p) {
  const auto& r = f.campo[campo];
  return p == r[1] || p == r[2] || p == r[3];
}

bool estremi(const Store& s, int lato, int p, int q) {
  const auto& l = s.lato[lato];
  return (p == l[1] || p == l[2]) && (q == l[1] || q == l[2]);
}

}  // namespace

bool valuta_coppia(const Job& job, int i, int k, int& p1, int& p2, int& p3, int& q,
                   double& punteggio) {
  const Fields& f = job.fields;
  const Store& s = job.store;
  const auto& c = f.campo[i];
  bool trovato = false, trovato_q = false;
  if (!ha_nodo(f, k, c[1])) p1 = c[1], p2 = c[2], p3 = c[3], trovato = true;
  if (!ha_nodo(f, k, c[2])) p1 = c[2], p2 = c[3], p3 = c[1], trovato = true;
  if (!ha_nodo(f, k, c[3])) p1 = c[3], p2 = c[1], p3 = c[2], trovato = true;
  for (int col = 1; col <= 3; ++col)
    if (!ha_nodo(f, i, f.campo[k][col])) q = f.campo[k][col], trovato_q = true;

  const double a_p1 = ang(s, p3, p1, p2);
  const double a_q = ang(s, p3, q, p2);
  const double a_p2i = ang(s, p1, p2, p3);
  const double a_p2k = ang(s, q, p2, p3);
  const double a_p3i = ang(s, p1, p3, p2);
  const double a_p3k = ang(s, q, p3, p2);
  // Summed left to right and each corner's two angles taken off 90 one after the other,
  // so that ties between pairs fall the same way on every build.
  punteggio = std::fabs(angolo_retto - a_q) + std::fabs(angolo_retto - a_p1) +
              std::fabs(angolo_retto - a_p2i - a_p2k) + std::fabs(angolo_retto - a_p3i - a_p3k);
  return trovato && trovato_q;
}

void angoli(Job& job, int primoguscio, int iguscio, int& guscioA, int& guscioB, int& pv1, int& pv2,
            int& pv3, int& pv4) {
  const Fields& f = job.fields;
  const Store& s = job.store;
  const Floor& fl = job.floor;
  guscioA = 0;
  guscioB = 0;
  double migliore = punteggio_iniziale;
  // Corners are kept from one pair to the next: a listed pair always has exactly one
  // corner outside the other triangle, so nothing stale is ever scored.
  int p1 = 0, p2 = 0, p3 = 0, q = 0;
  for (int i = primoguscio; i <= iguscio; ++i) {
    for (int j = 1; j <= 3; ++j) {
      const int k = f.coppie[i][j];
      if (k <= 0) continue;
      double punteggio = 0;
      valuta_coppia(job, i, k, p1, p2, p3, q, punteggio);
      if (!(punteggio < migliore)) continue;
      migliore = punteggio;
      guscioA = i;
      guscioB = k;
      pv1 = p1;
      pv2 = p2;
      pv3 = q;
      pv4 = p3;
    }
  }
  if (guscioA == 0) return;

  // Two triangles on either side of a wall or a perimeter line belong to different
  // parts of the slab: the pair is reported, marked, so that it is not merged. The mark
  // of a pair that is later displaced is overwritten with it, so only the winner needs
  // the scan over the whole side table.
  const int p1_scelto = pv1, lato2 = pv2, lato3 = pv4;
  for (int w = 1; w <= fl.nmuri; ++w)
    for (int e = 1; e <= fl.nvmuro[w] - 1; ++e)
      if (estremi(s, fl.lato_muro[w] + e, lato3, lato2)) pv1 = -p1_scelto;
  for (int l = 1; l <= s.nlati; ++l)
    if (s.tipolato[l] == col_perimetro && estremi(s, l, lato3, lato2)) pv1 = -p1_scelto;
}

}  // namespace gencampi
