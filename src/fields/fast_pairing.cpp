#include "fields/fast_pairing.h"

#include <algorithm>
#include <vector>

#include "core/store.h"
#include "fields/pairing.h"

namespace gencampi {

namespace {

// Fields 1..ncampi by the nodes at their corners.
class FieldsByNode {
 public:
  explicit FieldsByNode(const Fields& f) {
    for (int i = 1; i <= f.ncampi; ++i)
      for (int c = 1; c <= 3; ++c) {
        std::vector<int>& l = elenco(f.campo[i][c]);
        if (l.empty() || l.back() != i) l.push_back(i);
      }
  }
  const std::vector<int>& campi(int nodo) const {
    static const std::vector<int> vuoto;
    auto i = static_cast<std::size_t>(nodo - minimo_);
    return nodo >= minimo_ && i < per_nodo_.size() ? per_nodo_[i] : vuoto;
  }

 private:
  std::vector<int>& elenco(int nodo) {
    if (per_nodo_.empty()) minimo_ = nodo;
    if (nodo < minimo_) {
      per_nodo_.insert(per_nodo_.begin(), static_cast<std::size_t>(minimo_ - nodo), {});
      minimo_ = nodo;
    }
    auto i = static_cast<std::size_t>(nodo - minimo_);
    if (i >= per_nodo_.size()) per_nodo_.resize(i + 1);
    return per_nodo_[i];
  }
  int minimo_ = 0;
  std::vector<std::vector<int>> per_nodo_;
};

}  // namespace

void cercacoppie_veloce(Job& job, int primo, int ultimo) {
  Fields& f = job.fields;
  const FieldsByNode indice(f);
  std::vector<int> candidati;
  for (int corr = primo; corr <= ultimo; ++corr) {
    const auto c = f.campo[corr];
    candidati.clear();
    for (int k = 1; k <= 3; ++k) {
      const std::vector<int>& l = indice.campi(c[k]);
      candidati.insert(candidati.end(), l.begin(), l.end());
    }
    std::sort(candidati.begin(), candidati.end());
    candidati.erase(std::unique(candidati.begin(), candidati.end()), candidati.end());

    // cercacoppie's scan, over the fields that can share a side with corr.
    int m = 0;
    int d = 0;
    for (std::size_t n = 0; n < candidati.size() && m < 3; ++n)
      prova_compagno(job, corr, candidati[n], m, d);
  }
}

}  // namespace gencampi
