#include "fields/fast_pairing.h"

#include <algorithm>
#include <vector>

#include "core/store.h"
#include "fields/checks.h"

namespace gencampi {

namespace {

bool ha_nodo(const Fields& f, int campo, int p) {
  const auto& r = f.campo[campo];
  return p == r[1] || p == r[2] || p == r[3];
}

// Fields 1..ncampi by the nodes at their corners.
class CampiPerNodo {
 public:
  explicit CampiPerNodo(const Fields& f) {
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

void cercacoppie_tutte(Job& job, int primo, int ultimo) {
  Fields& f = job.fields;
  Store& s = job.store;
  const CampiPerNodo indice(f);
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

    // The body of cercacoppie, over the fields that can share a side with corr.
    int m = 0;
    int d = 0;
    for (int i : candidati) {
      if (i == corr) continue;
      const auto& riga = f.coppie[i];
      if (riga[1] == corr || riga[2] == corr || riga[3] == corr) continue;
      int a = 0, b = 0, opposto = 0;
      if (ha_nodo(f, i, c[1]) && ha_nodo(f, i, c[2])) {
        a = 1, b = 2, opposto = 3;
      } else if (ha_nodo(f, i, c[2]) && ha_nodo(f, i, c[3])) {
        a = 2, b = 3, opposto = 1;
      } else if (ha_nodo(f, i, c[3]) && ha_nodo(f, i, c[1])) {
        a = 3, b = 1, opposto = 2;
      }
      if (a == 0) continue;
      const int P = c[a], Q = c[b], R = c[opposto];
      for (int col = 1; col <= 3; ++col)
        if (f.campo[i][col] != P && f.campo[i][col] != Q) d = col;
      const int S = f.campo[i][d];
      kreali(s, P, Q, col_disegno);
      if (interseca(s, s.xnodo[R], s.ynodo[R], s.xnodo[S], s.ynodo[S])) {
        ++m;
        f.coppie[corr][m] = i;
      }
      --s.nlati;
      if (m == 3) break;
    }
  }
}

}  // namespace gencampi
