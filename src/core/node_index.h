// A hash of node positions that finds the node aggiungi_nodo would return without
// scanning the whole store. It answers exactly as the scan does (the lowest-numbered
// node within 1e-6 in both X and Y), as long as every node added or moved while it is
// in use goes through it.
#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "core/job.h"

namespace gencampi {

class IndiceNodi {
 public:
  // Indexes nodes 1..nnodi of the store as they stand.
  explicit IndiceNodi(const Store& s);

  // aggiungi_nodo through the index.
  int aggiungi_nodo(Store& s, double x, double y);

 private:
  using Chiave = std::uint64_t;
  static std::int64_t cella(double v);
  static Chiave chiave(std::int64_t cx, std::int64_t cy);
  void inserisci(int nodo, double x, double y);

  std::unordered_map<Chiave, std::vector<int>> celle_;
};

}  // namespace gencampi
