// The pairing loop's choices: which listed pair to merge next, and the bookkeeping of
// the partner table after each choice. The fast way scores every listed pair once and
// keeps them in a heap; the reference way is angoli and the full scans, as written.
#pragma once

#include <cstdint>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "core/job.h"

namespace gencampi {

class PairChoices {
 public:
  // Built right after cercacoppie has filled the rows primo..ultimo.
  PairChoices(Job& job, int primo, int ultimo);

  // Partner entries still listed (>= 1) in the rows primo..ultimo.
  int elencate() const;

  // The same answer as angoli(primo, ultimo, ...).
  void scegli(int& guscioA, int& guscioB, int& pv1, int& pv2, int& pv3, int& pv4);

  // After a choice: the rows of a merged pair become -1, then every entry naming either
  // field becomes 0.
  void togli(int guscioA, int guscioB, bool unite);

 private:
  struct Entry {
    double punteggio;
    int i, j, k;
    int p1, p2, q, p3;
  };
  bool viva(int v) const;
  void muore(int v);
  bool sul_bordo(int p, int q) const;
  void prepara_bordi();

  Job& job_;
  int primo_, ultimo_;
  bool veloce_;
  std::vector<Entry> voci_;
  std::vector<char> vive_;
  int nvive_ = 0;
  std::vector<int> heap_;                                   // entry ids, smallest score first
  std::unordered_map<int, std::vector<int>> per_compagno_;  // entry ids by the partner they name
  std::vector<std::vector<int>> per_riga_;                  // entry ids by their row
  std::unordered_set<std::uint64_t> bordi_;  // node pairs of wall and perimeter sides
  bool muro_oltre_tabella_ = false;
};

}  // namespace gencampi
