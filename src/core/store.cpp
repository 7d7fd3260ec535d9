#include "core/store.h"

#include <cmath>

namespace gencampi {

void azzera(Store& s) {
  s.nlati = 0;
  s.nnodi = 0;
  s.xmin = 0;
  s.ymin = 0;
  s.xmax = 5000;
  s.ymax = 5000;
}

int nuovo_nodo(Store& s, double x, double y) {
  if (s.nnodi + 1 > s.xnodo.capacity()) throw fine_capacita();
  ++s.nnodi;
  s.xnodo[s.nnodi] = x;
  s.ynodo[s.nnodi] = y;
  // Four independent tests, in this order: the box only ever widens.
  if (x > s.xmax) s.xmax = x;
  if (x < s.xmin) s.xmin = x;
  if (y > s.ymax) s.ymax = y;
  if (y < s.ymin) s.ymin = y;
  return s.nnodi;
}

int aggiungi_nodo(Store& s, double x, double y) {
  const double* xs = s.xnodo.data();
  const double* ys = s.ynodo.data();
  for (int i = 1; i <= s.nnodi; ++i)
    if (std::fabs(x - xs[i]) < tolleranza_nodo && std::fabs(y - ys[i]) < tolleranza_nodo) return i;
  return nuovo_nodo(s, x, y);
}

int aggiungi_nodo_dist(Store& s, double x, double y, double d) {
  const double* xs = s.xnodo.data();
  const double* ys = s.ynodo.data();
  const double d2 = d * d;
  for (int i = 1; i <= s.nnodi; ++i) {
    double dx = x - xs[i];
    double dy = y - ys[i];
    if (dx * dx + dy * dy < d2) return i;
  }
  return nuovo_nodo(s, x, y);
}

void kreali(Store& s, int iniziale, int finale, int colore, bool* ok) {
  ++s.nlati;
  if (s.nlati > s.lato.capacity()) {
    --s.nlati;
    throw fine_capacita();
  }
  s.lato[s.nlati][1] = iniziale;
  s.lato[s.nlati][2] = finale;
  s.tipolato[s.nlati] = colore;
  if (ok != nullptr) {
    *ok = true;
    if (lunghezza(s, s.nlati) < tolleranza_nodo) {
      *ok = false;
      --s.nlati;
    }
  }
}

double lunghezza(const Store& s, int i) {
  int a = s.lato[i][1];
  int b = s.lato[i][2];
  double dx = s.xnodo[b] - s.xnodo[a];
  double dy = s.ynodo[b] - s.ynodo[a];
  return std::sqrt(dx * dx + dy * dy);
}

double distanza(const Store& s, int p1, int p2) {
  double dx = s.xnodo[p1] - s.xnodo[p2];
  double dy = s.ynodo[p1] - s.ynodo[p2];
  return std::sqrt(dx * dx + dy * dy);
}

}  // namespace gencampi
