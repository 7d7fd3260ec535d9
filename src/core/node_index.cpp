#include "core/node_index.h"

#include <algorithm>
#include <cmath>

#include "core/store.h"

namespace gencampi {

namespace {
// Cells beyond this are all one cell: no coordinate of a floor comes near, and the
// index must stay correct (if slow) for whatever a table holds.
constexpr double cella_massima = 1e15;
}  // namespace

std::int64_t NodeIndex::cella(double v) const {
  double c = std::floor(v / lato_cella_);
  if (!(c > -cella_massima)) c = -cella_massima;
  if (c > cella_massima) c = cella_massima;
  return static_cast<std::int64_t>(c);
}

NodeIndex::Key NodeIndex::chiave(std::int64_t cx, std::int64_t cy) {
  return static_cast<Key>(cx) * 0x9E3779B97F4A7C15ull ^ static_cast<Key>(cy);
}

NodeIndex::NodeIndex(const Store& s, double lato_cella)
    : lato_cella_(std::max(lato_cella, 4 * tolleranza_nodo)) {
  for (int i = 1; i <= s.nnodi; ++i) inserisci(i, s.xnodo[i], s.ynodo[i]);
}

void NodeIndex::inserisci(int nodo, double x, double y) {
  celle_[chiave(cella(x), cella(y))].push_back(nodo);
}

void NodeIndex::spostato(const Store& s, int nodo, double x_prima, double y_prima) {
  std::vector<int>& v = celle_[chiave(cella(x_prima), cella(y_prima))];
  v.erase(std::find(v.begin(), v.end(), nodo));
  inserisci(nodo, s.xnodo[nodo], s.ynodo[nodo]);
}

// A node that passes either test lies within half a cell of the point, so in the point's
// cell or a neighbouring one, even after the rounding of the cell's division.
template <class Test>
int NodeIndex::cerca(const Store& s, double x, double y, Test vicino) const {
  const std::int64_t cx = cella(x), cy = cella(y);
  int trovato = 0;
  for (std::int64_t dx = -1; dx <= 1; ++dx) {
    for (std::int64_t dy = -1; dy <= 1; ++dy) {
      auto it = celle_.find(chiave(cx + dx, cy + dy));
      if (it == celle_.end()) continue;
      // Different cells may share a hash bucket: the exact test decides.
      for (int i : it->second)
        if ((trovato == 0 || i < trovato) && vicino(s.xnodo[i], s.ynodo[i])) trovato = i;
    }
  }
  return trovato;
}

int NodeIndex::aggiungi_nodo(Store& s, double x, double y) {
  const int trovato = cerca(s, x, y, [x, y](double xi, double yi) {
    return std::fabs(x - xi) < tolleranza_nodo && std::fabs(y - yi) < tolleranza_nodo;
  });
  if (trovato != 0) return trovato;
  const int nuovo = nuovo_nodo(s, x, y);
  inserisci(nuovo, x, y);
  return nuovo;
}

int NodeIndex::aggiungi_nodo_dist(Store& s, double x, double y, double d) {
  const double d2 = d * d;
  int trovato = 0;
  if (std::fabs(d) <= lato_cella_ / 2) {
    trovato = cerca(s, x, y, [x, y, d2](double xi, double yi) {
      const double dx = x - xi;
      const double dy = y - yi;
      return dx * dx + dy * dy < d2;
    });
  } else {
    const int prima = s.nnodi;
    trovato = gencampi::aggiungi_nodo_dist(s, x, y, d);
    if (trovato > prima) inserisci(trovato, x, y);
    return trovato;
  }
  if (trovato != 0) return trovato;
  const int nuovo = nuovo_nodo(s, x, y);
  inserisci(nuovo, x, y);
  return nuovo;
}

}  // namespace gencampi
