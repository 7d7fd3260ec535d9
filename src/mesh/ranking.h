// Neighbour rankings produced on demand. Row k of the order table lists the nodes
// 1..Npunti other than k that lie within the search limit, ordered by the squared
// distance the nearest-node search computes and then by node number: exactly what
// repeated nearest-node searches produce. A row is produced only as far as it is read,
// by widening rings of grid cells around the node.
#pragma once

#include <functional>
#include <limits>
#include <vector>

#include "core/job.h"
#include "fields/spatial_index.h"

namespace gencampi {

// One entry of a ranking: the squared distance from the row's node and the node number.
struct Entry {
  double d = 0;
  int nodo = 0;
  friend bool operator<(const Entry& a, const Entry& b) {
    return a.d < b.d || (a.d == b.d && a.nodo < b.nodo);
  }
};

// Squared distances at or beyond this are never ranked.
inline constexpr double limite_ricerca = 1e11;

class Ranking {
 public:
  Ranking(const Store& s, const SpatialIndex& indice, int Npunti);

  // The squared distance between k and i, term by term as the nearest-node search
  // computes it.
  double distanza2(int k, int i) const {
    const double dy = s_.ynodo[k] - s_.ynodo[i];
    const double dx = s_.xnodo[k] - s_.xnodo[i];
    return dy * dy + dx * dx;
  }
  // How many nodes row k ranks.
  int quanti(int k);
  // The whole of row k (tests and the order-table view).
  std::vector<int> riga(int k) const;

  const Store& store() const { return s_; }
  const SpatialIndex& indice() const { return indice_; }
  int Npunti() const { return Npunti_; }

 private:
  const Store& s_;
  const SpatialIndex& indice_;
  int Npunti_;
  bool tutti_vicini_ = false;
  std::vector<int> quanti_;
};

// Which entries of a row a walk may leave out. Entries with a squared distance below
// `limite` are always produced; beyond it only those in cells that `cella` admits and
// that `nodo` then admits.
class Filter {
 public:
  virtual ~Filter() = default;
  virtual double limite() const = 0;
  virtual bool cella(int c) = 0;
  virtual bool nodo(int c, int x) = 0;
};

// What a walk may rely on to stop early: a closed proof (a limit and the corridors),
// an open one (a filter that shadows may still close), or none.
enum class Proof { none, closed, open };

// A walk along row p in rank order. Entries with a squared distance below `limite` are
// produced ring by ring; beyond it only the entries of `oltre` (sorted) follow: the
// caller has proved that the others need not be visited. With a filter instead, the
// rings go on and skip what the filter leaves out. `densifica` drops either proof and
// from then on produces every remaining entry.
class Walk {
 public:
  Walk(const Ranking& g, int p, double limite = std::numeric_limits<double>::infinity(),
       std::vector<Entry> oltre = {});
  Walk(const Ranking& g, int p, Filter* filtro);

  bool prossimo(Entry& v);
  void densifica();
  // The entries beyond the limit, asked for only when the rings are done.
  void rimanda(std::function<void(std::vector<Entry>&)> fornitore) {
    fornitore_ = std::move(fornitore);
  }
  // Produces only the entries after `v`.
  void parti_da(const Entry& v);
  // Switches a filtered walk to `limite` and `oltre` from here on.
  void chiudi(double limite, std::vector<Entry> oltre);
  // Entries produced so far.
  int prodotti() const { return prodotti_; }
  Proof prova = Proof::closed;

 private:
  void espandi();

  const Ranking& g_;
  int p_;
  double xp_, yp_;
  double limite_;
  std::vector<Entry> oltre_;
  std::size_t io_ = 0;
  std::vector<Entry> buffer_;
  std::size_t ib_ = 0;
  double raggio_ = 0;    // rings done out to this distance
  double fatto_ = 0;     // every entry with a squared distance below this is produced
  bool finito_ = false;  // no more ring entries
  bool dopo_ = false;    // only entries after `ultimo_` remain (after densifica)
  Entry ultimo_{-1, 0};
  int prodotti_ = 0;
  Filter* filtro_ = nullptr;
  std::function<void(std::vector<Entry>&)> fornitore_;
  double soglia_filtro_ = 0;
  std::vector<int> celle_;
};

}  // namespace gencampi
