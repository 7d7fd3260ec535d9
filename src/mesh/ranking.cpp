#include "mesh/ranking.h"

#include <algorithm>
#include <cmath>

#include "core/margins.h"

namespace gencampi {

Ranking::Ranking(const Store& s, const SpatialIndex& indice, int Npunti)
    : s_(s), indice_(indice), Npunti_(Npunti), quanti_(static_cast<std::size_t>(Npunti) + 1, -1) {
  if (Npunti < 1) return;
  double xmin = s.xnodo[1], xmax = xmin, ymin = s.ynodo[1], ymax = ymin;
  for (int i = 2; i <= Npunti; ++i) {
    xmin = std::min(xmin, s.xnodo[i]);
    xmax = std::max(xmax, s.xnodo[i]);
    ymin = std::min(ymin, s.ynodo[i]);
    ymax = std::max(ymax, s.ynodo[i]);
  }
  const double w = xmax - xmin, h = ymax - ymin;
  // Every computed squared distance stays within a hair of the box's squared diagonal:
  // when that is well below the limit, every row ranks every other node.
  tutti_vicini_ = (w * w + h * h) * (1 + margine::relativo) < limite_ricerca;
}

int Ranking::quanti(int k) {
  if (tutti_vicini_) return Npunti_ - 1;
  int& q = quanti_[static_cast<std::size_t>(k)];
  if (q < 0) {
    q = 0;
    for (int i = 1; i <= Npunti_; ++i)
      if (i != k && distanza2(k, i) < limite_ricerca) ++q;
  }
  return q;
}

std::vector<int> Ranking::riga(int k) const {
  std::vector<Entry> v;
  for (int i = 1; i <= Npunti_; ++i) {
    if (i == k) continue;
    const double d = distanza2(k, i);
    if (d < limite_ricerca) v.push_back({d, i});
  }
  std::sort(v.begin(), v.end());
  std::vector<int> r;
  r.reserve(v.size());
  for (const Entry& e : v) r.push_back(e.nodo);
  return r;
}

Walk::Walk(const Ranking& g, int p, double limite, std::vector<Entry> oltre)
    : g_(g),
      p_(p),
      xp_(g.store().xnodo[p]),
      yp_(g.store().ynodo[p]),
      limite_(std::min(limite, limite_ricerca)),
      oltre_(std::move(oltre)) {}

Walk::Walk(const Ranking& g, int p, Filter* filtro)
    : g_(g),
      p_(p),
      xp_(g.store().xnodo[p]),
      yp_(g.store().ynodo[p]),
      limite_(limite_ricerca),
      filtro_(filtro),
      soglia_filtro_(filtro->limite()) {}

void Walk::densifica() {
  if (filtro_ == nullptr && !fornitore_ && limite_ >= limite_ricerca) return;
  // Entries left out may lie anywhere after the walk's position: start the rings again
  // and keep only what comes after the last entry produced.
  filtro_ = nullptr;
  fornitore_ = nullptr;
  limite_ = limite_ricerca;
  oltre_.clear();
  io_ = 0;
  buffer_.clear();
  ib_ = 0;
  fatto_ = 0;
  raggio_ = 0;
  finito_ = false;
  dopo_ = true;
}

void Walk::parti_da(const Entry& v) {
  if (v.d < 0) return;
  dopo_ = true;
  ultimo_ = v;
  fatto_ = v.d;
  raggio_ = std::sqrt(v.d) * 0.75;
  std::size_t j = 0;
  for (std::size_t i = io_; i < oltre_.size(); ++i)
    if (v < oltre_[i]) oltre_[j++] = oltre_[i];
  oltre_.resize(j);
  io_ = 0;
}

void Walk::chiudi(double limite, std::vector<Entry> oltre) {
  fornitore_ = nullptr;
  limite_ = std::min(limite, limite_ricerca);
  if (fatto_ >= limite_) {
    finito_ = true;
    // What the current ring holds beyond the new limit is either refused for certain
    // or among `oltre`.
    std::size_t j = ib_;
    for (std::size_t i = ib_; i < buffer_.size(); ++i)
      if (buffer_[i].d < limite_) buffer_[j++] = buffer_[i];
    buffer_.resize(j);
  }
  oltre_.clear();
  io_ = 0;
  for (const Entry& v : oltre)
    if (ultimo_ < v && !(v.d < limite_)) oltre_.push_back(v);
}

void Walk::espandi() {
  const Grid& gr = g_.indice().griglia();
  const double h = gr.lato();
  double r = raggio_ > 0 ? 2 * raggio_ : h;
  double soglia = r * r;
  // The square of cells around p, a little wider than the ring so that rounding in the
  // squared distances cannot hide an entry outside it.
  double mezzo = r * (1 + margine::largo) + margine::minimo_assoluto;
  const bool ultimo = soglia >= limite_;
  if (ultimo) {
    soglia = limite_;
    mezzo = std::sqrt(limite_) * (1 + margine::largo) + margine::minimo_assoluto;
  }
  const int c0 = gr.colonna(xp_ - mezzo), c1 = gr.colonna(xp_ + mezzo);
  const int r0 = gr.riga(yp_ - mezzo), r1 = gr.riga(yp_ + mezzo);
  const bool tutto = c0 == 0 && r0 == 0 && c1 == gr.nx() - 1 && r1 == gr.ny() - 1;
  if (tutto) soglia = limite_;
  buffer_.clear();
  ib_ = 0;
  celle_.clear();
  // Only the cells that reach into the ring [fatto_, soglia) can hold new entries. A
  // cell's box is widened by a hair for the rounding of the cell a node falls in, and
  // its distances by a margin far above the rounding of the squared distances.
  const double e = margine::relativo * h +
                   margine::capello * (std::fabs(xp_) + std::fabs(yp_) + h * gr.nx() + h * gr.ny());
  for (int row = r0; row <= r1; ++row) {
    const double y0 = gr.y0() + row * h - e - yp_, y1 = gr.y0() + (row + 1) * h + e - yp_;
    const double dy_min = y0 > 0 ? y0 : (y1 < 0 ? -y1 : 0);
    const double dy_max = std::max(std::fabs(y0), std::fabs(y1));
    for (int col = c0; col <= c1; ++col) {
      const double x0 = gr.x0() + col * h - e - xp_, x1 = gr.x0() + (col + 1) * h + e - xp_;
      const double dx_min = x0 > 0 ? x0 : (x1 < 0 ? -x1 : 0);
      const double dx_max = std::max(std::fabs(x0), std::fabs(x1));
      const double vicino = (dx_min * dx_min + dy_min * dy_min) * (1 - margine::largo);
      const double lontano = (dx_max * dx_max + dy_max * dy_max) * (1 + margine::largo);
      if (lontano < fatto_ || !(vicino < soglia)) continue;
      // How the cell lies against the filter's limit: wholly within, wholly beyond, or
      // across it.
      const int verso_limite = lontano < soglia_filtro_ ? 1 : (vicino < soglia_filtro_ ? 0 : 2);
      celle_.push_back(gr.indice(col, row) * 4 + verso_limite);
    }
  }
  for (int cc : celle_) {
    const int c = cc / 4;
    const SpatialIndex::Node* inizio = g_.indice().nodi_inizio(c);
    const SpatialIndex::Node* fine = g_.indice().nodi_fine(c);
    if (inizio == fine) continue;
    // A cell the filter rules out beyond its limit only matters for nearer entries, and
    // not at all when it lies wholly beyond the limit.
    const bool fuori = filtro_ != nullptr && (cc & 3) != 1 && !filtro_->cella(c);
    if (fuori && (cc & 3) == 2) continue;
    for (const SpatialIndex::Node* n = inizio; n != fine; ++n) {
      if (!n->classificato || n->numero == p_) continue;
      // The squared distance as the nearest-node search takes it, from the same
      // coordinates.
      const double dy = yp_ - n->y, dx = xp_ - n->x;
      const double d = dy * dy + dx * dx;
      if (d < fatto_ || !(d < soglia)) continue;
      Entry v{d, n->numero};
      if (dopo_ && !(ultimo_ < v)) continue;
      if (filtro_ != nullptr && !(d < soglia_filtro_) && (fuori || !filtro_->nodo(c, n->numero)))
        continue;
      buffer_.push_back(v);
    }
  }
  std::sort(buffer_.begin(), buffer_.end());
  fatto_ = soglia;
  raggio_ = r;
  if (ultimo || tutto) finito_ = true;
}

bool Walk::prossimo(Entry& v) {
  for (;;) {
    if (ib_ < buffer_.size()) {
      v = buffer_[ib_++];
      ultimo_ = v;
      ++prodotti_;
      return true;
    }
    if (!finito_) {
      espandi();
      continue;
    }
    if (fornitore_) {
      std::vector<Entry> oltre;
      fornitore_(oltre);
      fornitore_ = nullptr;
      oltre_.clear();
      io_ = 0;
      for (const Entry& e : oltre)
        if (ultimo_ < e) oltre_.push_back(e);
    }
    if (io_ < oltre_.size()) {
      v = oltre_[io_++];
      ultimo_ = v;
      ++prodotti_;
      return true;
    }
    return false;
  }
}

}  // namespace gencampi
