#include "fields/pairing.h"

#include "core/store.h"
#include "fields/checks.h"

namespace gencampi {

namespace {

bool ha_nodo(const Fields& f, int campo, int p) {
  const auto& r = f.campo[campo];
  return p == r[1] || p == r[2] || p == r[3];
}

}  // namespace

void prova_compagno(Job& job, int corr, int i, int& m, int& d) {
  Fields& f = job.fields;
  Store& s = job.store;
  if (i == corr) return;
  const auto& riga = f.coppie[i];
  // A pair is listed once, in the row of the field handled first.
  if (riga[1] == corr || riga[2] == corr || riga[3] == corr) return;

  const auto& c = f.campo[corr];
  int a = 0, b = 0, opposto = 0;
  if (ha_nodo(f, i, c[1]) && ha_nodo(f, i, c[2])) {
    a = 1, b = 2, opposto = 3;
  } else if (ha_nodo(f, i, c[2]) && ha_nodo(f, i, c[3])) {
    a = 2, b = 3, opposto = 1;
  } else if (ha_nodo(f, i, c[3]) && ha_nodo(f, i, c[1])) {
    a = 3, b = 1, opposto = 2;
  }
  if (a == 0) return;
  const int P = c[a], Q = c[b], R = c[opposto];
  // A field whose corners are all on the shared side (a degenerate row) takes the
  // column left by the field before it, never an unset one.
  for (int col = 1; col <= 3; ++col)
    if (f.campo[i][col] != P && f.campo[i][col] != Q) d = col;
  const int S = f.campo[i][d];
  // The union is strictly convex exactly when the diagonal joining the two far corners
  // crosses the shared side inside both segments; the shared side is put at the top of
  // the side table only for that test.
  kreali(s, P, Q, col_disegno);
  if (interseca(s, s.xnodo[R], s.ynodo[R], s.xnodo[S], s.ynodo[S])) {
    ++m;
    f.coppie[corr][m] = i;
  }
  --s.nlati;
}

void cercacoppie(Job& job, int corr) {
  const int ncampi = job.fields.ncampi;
  int m = 0;
  int d = 0;
  for (int i = 1; i <= ncampi && m < 3; ++i) prova_compagno(job, corr, i, m, d);
}

}  // namespace gencampi
