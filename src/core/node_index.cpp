#include "core/node_index.h"

#include <cmath>

#include "core/store.h"

namespace gencampi {

namespace {
// Four tolerances wide: a node within the tolerance of a point lies in the point's cell
// or a neighbouring one even after the rounding of the division below, at every
// coordinate the floor format admits.
constexpr double lato_cella = 4 * tolleranza_nodo;
// Cells beyond this are all one cell: no coordinate of a floor comes near, and the
// index must stay correct (if slow) for whatever a table holds.
constexpr double cella_massima = 1e15;
}  // namespace

std::int64_t IndiceNodi::cella(double v) {
  double c = std::floor(v / lato_cella);
  if (!(c > -cella_massima)) c = -cella_massima;
  if (c > cella_massima) c = cella_massima;
  return static_cast<std::int64_t>(c);
}

IndiceNodi::Chiave IndiceNodi::chiave(std::int64_t cx, std::int64_t cy) {
  return static_cast<Chiave>(cx) * 0x9E3779B97F4A7C15ull ^ static_cast<Chiave>(cy);
}

IndiceNodi::IndiceNodi(const Store& s) {
  for (int i = 1; i <= s.nnodi; ++i) inserisci(i, s.xnodo[i], s.ynodo[i]);
}

void IndiceNodi::inserisci(int nodo, double x, double y) {
  celle_[chiave(cella(x), cella(y))].push_back(nodo);
}

int IndiceNodi::aggiungi_nodo(Store& s, double x, double y) {
  const std::int64_t cx = cella(x), cy = cella(y);
  int trovato = 0;
  for (std::int64_t dx = -1; dx <= 1; ++dx) {
    for (std::int64_t dy = -1; dy <= 1; ++dy) {
      auto it = celle_.find(chiave(cx + dx, cy + dy));
      if (it == celle_.end()) continue;
      for (int i : it->second) {
        // Different cells may share a hash bucket: the exact test decides.
        if (std::fabs(x - s.xnodo[i]) < tolleranza_nodo &&
            std::fabs(y - s.ynodo[i]) < tolleranza_nodo && (trovato == 0 || i < trovato))
          trovato = i;
      }
    }
  }
  if (trovato != 0) return trovato;
  const int nuovo = nuovo_nodo(s, x, y);
  inserisci(nuovo, x, y);
  return nuovo;
}

}  // namespace gencampi
