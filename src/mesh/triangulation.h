// The greedy nearest-neighbour triangulation.
#pragma once

#include <cstdint>
#include <vector>

#include "core/job.h"
#include "core/progress.h"

namespace gencampi {

// The order table: row k (a node number) lists the other nodes nearest first; an
// entry is a node number, 0 (no node) or -1 (that neighbour position is exhausted).
// Node numbers are 16-bit Integers, so the table is held as such: 10000 listed nodes
// take 200 MB.
class OrderTable {
 public:
  OrderTable() = default;
  explicit OrderTable(int n)
      : n_(n), celle_(static_cast<std::size_t>(n) * static_cast<std::size_t>(n), 0) {}

  int dimensione() const { return n_; }

  // Column j of row k is at riga(k)[j - 1]; a row is one contiguous block.
  std::int16_t* riga(int k) { return celle_.data() + inizio(k); }
  const std::int16_t* riga(int k) const { return celle_.data() + inizio(k); }

  int operator()(int k, int j) const { return riga(k)[j - 1]; }
  void esaurisci(int k, int j) { riga(k)[j - 1] = -1; }

  bool operator==(const OrderTable&) const = default;

 private:
  // A row outside the table would be a node number beyond the list handed to the
  // triangulation: a broken list ends the run like any other table overrun.
  std::size_t inizio(int k) const {
    if (k < 1 || k > n_) throw fine_capacita();
    return static_cast<std::size_t>(k - 1) * static_cast<std::size_t>(n_);
  }
  int n_ = 0;
  std::vector<std::int16_t> celle_;
};

// Ranks every listed node's neighbours with `sorta`, one row per node.
OrderTable costruisci_ordine(Job& job, const Table<int>& punti, int Npunti);

// One pass over the node list: at most one triangle per node. True when it built any.
bool passata(Job& job, const Table<int>& punti, int Npunti, OrderTable& ordine,
             const Progress& avanzamento);

// The order table and the passes until one builds nothing, read straightforwardly: the
// reference for the fast engine (mesh/fast_triangulation.h). Returns the number of the
// first field built by this call.
int triangola_riferimento(Job& job, const Table<int>& punti, int Npunti,
                          const Progress& avanzamento);

// The last side slot that a wall's run of sides covers (0 without walls).
int ultimo_lato_dei_muri(const Floor& fl);

// Covers the slab with triangles on the job's engine; both leave the same fields and
// sides, and the same side slots as far as a wall's run of sides reaches. Returns the
// number of the first field built.
int triangola(Job& job, const Table<int>& punti, int Npunti, const Progress& avanzamento);

}  // namespace gencampi
