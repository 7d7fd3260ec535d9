#include "mesh/fast_pair_choice.h"

#include <algorithm>

#include "mesh/pair_choice.h"

namespace gencampi {

namespace {

std::uint64_t coppia(int p, int q) {
  if (p > q) std::swap(p, q);
  return static_cast<std::uint64_t>(static_cast<std::uint32_t>(p)) << 32 |
         static_cast<std::uint32_t>(q);
}

}  // namespace

PairChoices::PairChoices(Job& job, int primo, int ultimo)
    : job_(job), primo_(primo), ultimo_(ultimo), veloce_(job.engine == Engine::fast) {
  if (!veloce_) return;
  const Fields& f = job.fields;
  for (int i = primo; i <= ultimo; ++i) {
    for (int j = 1; j <= 3; ++j) {
      const int k = f.coppie[i][j];
      if (k <= 0) continue;
      int p1 = 0, p2 = 0, p3 = 0, q = 0;
      double punteggio = 0;
      if (!valuta_coppia(job, i, k, p1, p2, p3, q, punteggio)) {
        // angoli would score this pair with corners left over from the pair before it
        // in its scan; only the scan itself reproduces that.
        veloce_ = false;
        voci_.clear();
        return;
      }
      voci_.push_back({punteggio, i, j, k, p1, p2, q, p3});
    }
  }
  const int n = static_cast<int>(voci_.size());
  vive_.assign(voci_.size(), 1);
  nvive_ = n;
  per_riga_.assign(static_cast<std::size_t>(ultimo - primo + 1), {});
  for (int v = 0; v < n; ++v) {
    const Entry& e = voci_[static_cast<std::size_t>(v)];
    per_riga_[static_cast<std::size_t>(e.i - primo)].push_back(v);
    per_compagno_[e.k].push_back(v);
  }
  heap_.resize(voci_.size());
  for (int v = 0; v < n; ++v) heap_[static_cast<std::size_t>(v)] = v;
  std::make_heap(heap_.begin(), heap_.end(), [this](int a, int b) {
    const Entry& x = voci_[static_cast<std::size_t>(a)];
    const Entry& y = voci_[static_cast<std::size_t>(b)];
    if (x.punteggio != y.punteggio) return x.punteggio > y.punteggio;
    if (x.i != y.i) return x.i > y.i;
    return x.j > y.j;
  });
  prepara_bordi();
}

void PairChoices::prepara_bordi() {
  const Store& s = job_.store;
  const Floor& fl = job_.floor;
  for (int w = 1; w <= fl.nmuri; ++w) {
    for (int e = 1; e <= fl.nvmuro[w] - 1; ++e) {
      const int l = fl.lato_muro[w] + e;
      if (l < 0 || l > s.lato.capacity()) {
        muro_oltre_tabella_ = true;
        continue;
      }
      bordi_.insert(coppia(s.lato[l][1], s.lato[l][2]));
    }
  }
  for (int l = 1; l <= s.nlati; ++l)
    if (s.tipolato[l] == col_perimetro) bordi_.insert(coppia(s.lato[l][1], s.lato[l][2]));
}

bool PairChoices::viva(int v) const {
  return vive_[static_cast<std::size_t>(v)] != 0;
}

void PairChoices::muore(int v) {
  if (!viva(v)) return;
  vive_[static_cast<std::size_t>(v)] = 0;
  --nvive_;
}

int PairChoices::elencate() const {
  if (veloce_) return nvive_;
  const Fields& f = job_.fields;
  int n = 0;
  for (int i = primo_; i <= ultimo_; ++i)
    for (int j = 1; j <= 3; ++j)
      if (f.coppie[i][j] >= 1) ++n;
  return n;
}

bool PairChoices::sul_bordo(int p, int q) const {
  // A wall range reaching past the side table ends the run, as reading it would.
  if (muro_oltre_tabella_) throw fine_capacita();
  return bordi_.count(coppia(p, q)) != 0;
}

void PairChoices::scegli(int& guscioA, int& guscioB, int& pv1, int& pv2, int& pv3, int& pv4) {
  if (!veloce_) {
    angoli(job_, primo_, ultimo_, guscioA, guscioB, pv1, pv2, pv3, pv4);
    return;
  }
  guscioA = 0;
  guscioB = 0;
  auto dopo = [this](int a, int b) {
    const Entry& x = voci_[static_cast<std::size_t>(a)];
    const Entry& y = voci_[static_cast<std::size_t>(b)];
    if (x.punteggio != y.punteggio) return x.punteggio > y.punteggio;
    if (x.i != y.i) return x.i > y.i;
    return x.j > y.j;
  };
  while (!heap_.empty() && !viva(heap_.front())) {
    std::pop_heap(heap_.begin(), heap_.end(), dopo);
    heap_.pop_back();
  }
  if (heap_.empty()) return;
  const Entry& e = voci_[static_cast<std::size_t>(heap_.front())];
  // A score of punteggio_iniziale or more never beats angoli's starting value.
  if (!(e.punteggio < punteggio_iniziale)) return;
  guscioA = e.i;
  guscioB = e.k;
  pv1 = e.p1;
  pv2 = e.p2;
  pv3 = e.q;
  pv4 = e.p3;
  if (e.p2 == e.p3) {
    // A side with both ends at one node: only the scan answers as angoli does.
    int a = 0, b = 0, c1 = 0, c2 = 0, c3 = 0, c4 = 0;
    angoli(job_, primo_, ultimo_, a, b, c1, c2, c3, c4);
    pv1 = c1;
    return;
  }
  if (sul_bordo(e.p3, e.p2)) pv1 = -e.p1;
}

void PairChoices::togli(int guscioA, int guscioB, bool unite) {
  Fields& f = job_.fields;
  if (!veloce_) {
    if (unite)
      for (int j = 1; j <= 3; ++j) f.coppie[guscioA][j] = f.coppie[guscioB][j] = -1;
    for (int i = primo_; i <= ultimo_; ++i)
      for (int j = 1; j <= 3; ++j)
        if (f.coppie[i][j] == guscioA || f.coppie[i][j] == guscioB) f.coppie[i][j] = 0;
    return;
  }
  if (unite) {
    for (int g : {guscioA, guscioB}) {
      for (int j = 1; j <= 3; ++j) f.coppie[g][j] = -1;
      if (g >= primo_ && g <= ultimo_)
        for (int v : per_riga_[static_cast<std::size_t>(g - primo_)]) muore(v);
    }
  }
  for (int g : {guscioA, guscioB}) {
    auto it = per_compagno_.find(g);
    if (it == per_compagno_.end()) continue;
    for (int v : it->second) {
      const Entry& e = voci_[static_cast<std::size_t>(v)];
      if (f.coppie[e.i][e.j] == g) f.coppie[e.i][e.j] = 0;
      muore(v);
    }
  }
}

}  // namespace gencampi
