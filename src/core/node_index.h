// A hash of node positions that finds the node aggiungi_nodo (or aggiungi_nodo_dist)
// would return without scanning the whole store. It answers exactly as the scan does
// (the lowest-numbered node that passes the same test), as long as every node added or
// moved while it is in use goes through it.
#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "core/job.h"
#include "core/store.h"

namespace gencampi {

// Cells four duplicate-node tolerances wide: every node aggiungi_nodo can find lies in
// the cells around the point.
inline constexpr double cella_nodi_uguali = 4 * tolleranza_nodo;

class NodeIndex {
 public:
  // Indexes nodes 1..nnodi of the store as they stand, in cells of the given width;
  // aggiungi_nodo_dist is answered from the cells for distances up to half of it.
  NodeIndex(const Store& s, double lato_cella);

  // aggiungi_nodo through the index.
  int aggiungi_nodo(Store& s, double x, double y);

  // aggiungi_nodo_dist through the index (a scan of the store for a distance too large
  // for the cells).
  int aggiungi_nodo_dist(Store& s, double x, double y, double d);

  // Node `nodo` has just been moved in the store from (x_prima, y_prima).
  void spostato(const Store& s, int nodo, double x_prima, double y_prima);

 private:
  using Key = std::uint64_t;
  std::int64_t cella(double v) const;
  static Key chiave(std::int64_t cx, std::int64_t cy);
  void inserisci(int nodo, double x, double y);
  // The lowest-numbered node of the cells around (x, y) that passes `vicino`.
  template <class Test>
  int cerca(const Store& s, double x, double y, Test vicino) const;

  double lato_cella_;
  std::unordered_map<Key, std::vector<int>> celle_;
};

}  // namespace gencampi
