#include "fields/spatial_index.h"

#include <algorithm>
#include <cmath>

#include "core/angles.h"
#include "core/margins.h"
#include "core/store.h"
#include "fields/candidate.h"
#include "fields/checks.h"
#include "floor/region.h"

namespace gencampi {

namespace {
// Half-width of the corridor of cells around a side that holds every node the
// straight-angle test of the node-on-side check can flag (those lie within about 6e-6
// of the side's length from it), with room to spare.
constexpr double corridoio_relativo = 1e-4;
constexpr double corridoio_assoluto = 1e-3;
}  // namespace

SpatialIndex::SpatialIndex(const Job& job, const Table<int>& punti, int Npunti) : job_(job) {
  const Store& s = job.store;
  const int npunti = job.nodes.npunti;
  int nmax = std::max(Npunti, npunti);
  for (int i = 1; i <= Npunti; ++i) nmax = std::max(nmax, punti[i]);
  std::vector<char> elencato(static_cast<std::size_t>(std::max(nmax, 0)) + 1, 0);
  for (int i = 1; i <= Npunti; ++i) {
    const int p = punti[i];
    if (p >= 1) elencato[static_cast<std::size_t>(p)] = 1;
  }
  const int ultimo = std::max(nmax, s.nnodi);
  double xmin = 0, xmax = 0, ymin = 0, ymax = 0;
  bool primo = true;
  for (int i = 1; i <= ultimo; ++i) {
    const double x = s.xnodo[i], y = s.ynodo[i];
    if (primo) {
      xmin = xmax = x;
      ymin = ymax = y;
      primo = false;
    }
    xmin = std::min(xmin, x);
    xmax = std::max(xmax, x);
    ymin = std::min(ymin, y);
    ymax = std::max(ymax, y);
    massimo_ = std::max({massimo_, std::fabs(x), std::fabs(y)});
  }
  g_ = Grid(xmin, ymin, xmax, ymax, std::max(nmax / 2, 1));
  const auto ncelle = static_cast<std::size_t>(g_.celle());
  lati_.resize(ncelle);
  recenti_.resize(ncelle);
  timbro_celle_.assign(ncelle, 0);
  campi_.resize(ncelle);
  medi_.resize(ncelle);

  // Nodes, grouped by cell.
  inizio_nodi_.assign(ncelle + 1, 0);
  std::vector<int> cella_di(static_cast<std::size_t>(nmax) + 1, 0);
  for (int i = 1; i <= nmax; ++i) {
    const int c = g_.indice(g_.colonna(s.xnodo[i]), g_.riga(s.ynodo[i]));
    cella_di[static_cast<std::size_t>(i)] = c;
    ++inizio_nodi_[static_cast<std::size_t>(c) + 1];
  }
  for (std::size_t c = 0; c < ncelle; ++c) inizio_nodi_[c + 1] += inizio_nodi_[c];
  nodi_.resize(static_cast<std::size_t>(std::max(nmax, 0)));
  std::vector<int> pieno(inizio_nodi_.begin(), inizio_nodi_.end() - 1);
  for (int i = 1; i <= nmax; ++i) {
    const int c = cella_di[static_cast<std::size_t>(i)];
    nodi_[static_cast<std::size_t>(pieno[static_cast<std::size_t>(c)]++)] =
        Node{s.xnodo[i],  s.ynodo[i],  i,
             i <= Npunti, i <= npunti, elencato[static_cast<std::size_t>(i)] != 0};
  }

  campi_nodo_.resize(static_cast<std::size_t>(ultimo) + 1);
  timbro_lati_.assign(static_cast<std::size_t>(s.lato.capacity()) + 1, 0);
  timbro_campi_.assign(static_cast<std::size_t>(job.fields.campo.capacity()) + 1, 0);
  for (int i = 1; i <= s.nlati; ++i)
    if (s.tipolato[i] != col_provvisorio) aggiungi_lato(i);
  for (int t = 1; t <= job.fields.ncampi; ++t) aggiungi_campo(t);
}

void SpatialIndex::aggiungi_lato(int i) {
  const Store& s = job_.store;
  const int p = s.lato[i][1], q = s.lato[i][2];
  const double xp = s.xnodo[p], yp = s.ynodo[p], xq = s.xnodo[q], yq = s.ynodo[q];
  massimo_ = std::max({massimo_, std::fabs(xp), std::fabs(yp), std::fabs(xq), std::fabs(yq)});
  celle_scatola(g_, std::min(xp, xq), std::min(yp, yq), std::max(xp, xq), std::max(yp, yq), celle_);
  const Side l{i, p, q, std::min(xp, xq), std::max(xp, xq), std::min(yp, yq), std::max(yp, yq)};
  for (int c : celle_) lati_[static_cast<std::size_t>(c)].push_back(l);
  const double xm = (xp + xq) / 2, ym = (yp + yq) / 2;
  medi_[static_cast<std::size_t>(g_.indice(g_.colonna(xm), g_.riga(ym)))].push_back(i);
}

void SpatialIndex::aggiungi_campo(int t, bool con_lati) {
  const Store& s = job_.store;
  const auto& f = job_.fields.campo[t];
  double xmin = s.xnodo[f[1]], xmax = xmin, ymin = s.ynodo[f[1]], ymax = ymin;
  for (int c = 1; c <= 3; ++c) {
    const double x = s.xnodo[f[c]], y = s.ynodo[f[c]];
    xmin = std::min(xmin, x);
    xmax = std::max(xmax, x);
    ymin = std::min(ymin, y);
    ymax = std::max(ymax, y);
    massimo_ = std::max({massimo_, std::fabs(x), std::fabs(y)});
  }
  celle_scatola(g_, xmin, ymin, xmax, ymax, celle_);
  for (int c : celle_) (con_lati ? recenti_ : campi_)[static_cast<std::size_t>(c)].push_back(t);
  for (int c = 1; c <= 3; ++c) {
    const int p = f[c];
    if (p < 0) continue;
    if (static_cast<std::size_t>(p) >= campi_nodo_.size())
      campi_nodo_.resize(static_cast<std::size_t>(p) + 1);
    auto& v = campi_nodo_[static_cast<std::size_t>(p)];
    if (v.empty() || v.back() != t) v.push_back(t);
  }
}

const std::vector<int>& SpatialIndex::campi_del_nodo(int p) const {
  static const std::vector<int> nessuno;
  if (p < 0 || static_cast<std::size_t>(p) >= campi_nodo_.size()) return nessuno;
  return campi_nodo_[static_cast<std::size_t>(p)];
}

bool SpatialIndex::nuovo(std::vector<std::uint32_t>& timbri, int i) const {
  std::uint32_t& t = timbri[static_cast<std::size_t>(i)];
  if (t == timbro_) return false;
  t = timbro_;
  return true;
}

// The box test first, exactly as the crossing test opens (a side strictly apart in X
// or Y cannot cross), then each side once per check. The box tests of the crossing
// and field tests compare coordinates as they are, with no rounding, so a side or
// field whose box meets the tested side's box in no cell cannot refuse it: the cells
// of a closed box hold every point of it, since a cell never decreases as its
// coordinate grows.
bool SpatialIndex::lato_taglia(const Side& l, int a, int b, double xa, double ya, double xb,
                               double yb, double sxmin, double sxmax, double symin, double symax) {
  if (sxmax < l.xmin || sxmin > l.xmax || symax < l.ymin || symin > l.ymax) return false;
  if (l.da == a || l.da == b || l.a == a || l.a == b) return false;
  if (!nuovo(timbro_lati_, l.numero)) return false;
  const Store& s = job_.store;
  return incrocio(xa, ya, xb, yb, s.xnodo[l.da], s.ynodo[l.da], s.xnodo[l.a], s.ynodo[l.a]);
}

bool SpatialIndex::campo_taglia(int t, int a, int b, Blocker* spigolo) const {
  return attraversa_campo(job_.store, job_.fields.campo[t], a, b,
                          spigolo != nullptr ? &spigolo->da : nullptr,
                          spigolo != nullptr ? &spigolo->a : nullptr);
}

bool SpatialIndex::nodo_sul_lato(int k, int a, int b) const {
  return gencampi::nodo_sul_lato(job_.store, k, a, b);
}

bool SpatialIndex::controlla(int a, int b, Blocker* bloccante) {
  Blocker nessuno;
  Blocker& rifiuto = bloccante != nullptr ? *bloccante : nessuno;
  rifiuto = {};
  const Store& s = job_.store;
  const double xa = s.xnodo[a], ya = s.ynodo[a], xb = s.xnodo[b], yb = s.ynodo[b];
  const double dx = xb - xa, dy = yb - ya;
  const double lunga = std::sqrt(dx * dx + dy * dy);
  if (lunga < tolleranza_nodo) return false;

  if (++timbro_ == 0) {
    std::fill(timbro_lati_.begin(), timbro_lati_.end(), 0);
    std::fill(timbro_campi_.begin(), timbro_campi_.end(), 0);
    std::fill(timbro_celle_.begin(), timbro_celle_.end(), 0);
    timbro_ = 1;
  }

  // The fields with a corner at either end test only an edge that may itself end there,
  // which no side test covers: they are looked up by node. They also refuse most sides
  // leaving a node surrounded by triangles.
  for (int p : {a, b})
    for (int t : campi_del_nodo(p))
      if (nuovo(timbro_campi_, t) && campo_taglia(t, a, b, &rifiuto)) return false;

  // Then the cells along the side, from its start: a side leaving a node surrounded by
  // triangles is refused by the first edge around it, so most refusals come at once.
  // A node flagged by the straight-angle test lies within about 6e-6 of the side's
  // length from the side (its distances to the two ends add up to the length within
  // the test's rounding, which puts it inside a very flat ellipse around the side), so
  // this corridor holds every node the check can flag. The angle works on differences
  // of coordinates only, so its rounding is relative to the three distances, not to
  // the coordinates: s - C errs by under 1e-15 of A + B + C, and a node as far out as
  // the corridor makes A + B exceed the length by 2e-8 of it, beyond any rounding, at
  // every scale. Near an end, where A or B is tiny, the rounding can flag a node in
  // any direction, but only one within a few roundings of the length from that end:
  // inside the corridor too, which reaches its half-width past either end.
  const double margine = corridoio_relativo * lunga + corridoio_assoluto;
  const double sxmin = std::min(xa, xb), sxmax = std::max(xa, xb);
  const double symin = std::min(ya, yb), symax = std::max(ya, yb);
  const bool rifiutato = visita_corridoio(g_, xa, ya, xb, yb, margine, [&](int c) {
    const auto cc = static_cast<std::size_t>(c);
    timbro_celle_[cc] = timbro_;
    for (const Side& l : lati_[cc])
      if (lato_taglia(l, a, b, xa, ya, xb, yb, sxmin, sxmax, symin, symax)) {
        rifiuto = {l.da, l.a};
        return true;
      }
    for (int t : campi_[cc])
      if (nuovo(timbro_campi_, t) && campo_taglia(t, a, b, &rifiuto)) return true;
    for (const Node* n = nodi_inizio(c); n != nodi_fine(c); ++n) {
      if (!n->controllato || n->numero == a || n->numero == b) continue;
      // Only a node within the corridor can be flagged; the angle is taken for those.
      const double vx = n->x - xa, vy = n->y - ya;
      const double lungo = (vx * dx + vy * dy) / lunga;
      const double largo = std::fabs(vx * dy - vy * dx) / lunga;
      if (lungo < -2 * margine || lungo > lunga + 2 * margine || largo > 2 * margine) continue;
      if (nodo_sul_lato(n->numero, a, b)) return true;
    }
    return false;
  });
  if (rifiutato) return false;
  // Then every side and field whose box is not strictly apart from the side's box: the
  // crossing test answers false for all others before it computes anything.
  celle_scatola(g_, std::min(xa, xb), std::min(ya, yb), std::max(xa, xb), std::max(ya, yb), celle_);
  for (int c : celle_) {
    const auto cc = static_cast<std::size_t>(c);
    // The cells of the corridor are done.
    if (timbro_celle_[cc] == timbro_) continue;
    for (const Side& l : lati_[cc])
      if (lato_taglia(l, a, b, xa, ya, xb, yb, sxmin, sxmax, symin, symax)) {
        rifiuto = {l.da, l.a};
        return false;
      }
    for (int t : campi_[cc])
      if (nuovo(timbro_campi_, t) && campo_taglia(t, a, b, &rifiuto)) return false;
  }
  return true;
}

bool SpatialIndex::ricontrolla(int a, int b, int campi, Blocker* bloccante) {
  Blocker nessuno;
  Blocker& rifiuto = bloccante != nullptr ? *bloccante : nessuno;
  rifiuto = {};
  if (++timbro_ == 0) {
    std::fill(timbro_lati_.begin(), timbro_lati_.end(), 0);
    std::fill(timbro_campi_.begin(), timbro_campi_.end(), 0);
    std::fill(timbro_celle_.begin(), timbro_celle_.end(), 0);
    timbro_ = 1;
  }
  const Store& s = job_.store;
  const double xa = s.xnodo[a], ya = s.ynodo[a], xb = s.xnodo[b], yb = s.ynodo[b];
  // A field strictly apart from the side's box refuses it neither through its edges
  // nor through its sides, whose boxes lie within its own: the cells of the side's box
  // hold every field that can.
  celle_scatola(g_, std::min(xa, xb), std::min(ya, yb), std::max(xa, xb), std::max(ya, yb), celle_);
  for (int c : celle_) {
    const std::vector<int>& v = recenti_[static_cast<std::size_t>(c)];
    for (auto it = v.rbegin(); it != v.rend() && *it > campi; ++it)
      if (nuovo(timbro_campi_, *it) && campo_taglia(*it, a, b, &rifiuto)) return false;
  }
  return true;
}

bool SpatialIndex::ingloba(int uno, int due, int tre) {
  const Store& s = job_.store;
  const double tx[3] = {s.xnodo[uno], s.xnodo[due], s.xnodo[tre]};
  const double ty[3] = {s.ynodo[uno], s.ynodo[due], s.ynodo[tre]};
  double xmin = tx[0], xmax = xmin, ymin = ty[0], ymax = ymin;
  for (int c = 1; c < 3; ++c) {
    if (tx[c] < xmin) xmin = tx[c];
    if (tx[c] > xmax) xmax = tx[c];
    if (ty[c] < ymin) ymin = ty[c];
    if (ty[c] > ymax) ymax = ty[c];
  }
  auto attraversamenti = [&](double xp, double yp) {
    int conta = 0;
    if (attraversa(xp, yp, tx[0], ty[0], tx[1], ty[1])) ++conta;
    if (attraversa(xp, yp, tx[1], ty[1], tx[2], ty[2])) ++conta;
    if (attraversa(xp, yp, tx[0], ty[0], tx[2], ty[2])) ++conta;
    return conta;
  };

  // Enclosure is an existence question over nodes and sides: any order of the scan
  // gives the same answer, so only the cells under the triangle's box are looked at,
  // and of those only the ones not wholly outside the triangle. A point farther out
  // than the margin crosses its edges an even number of times whatever the rounding of
  // the crossing abscissa, which errs by far less; but only while the ray counts every
  // edge, or the skipped one is exactly level. An edge the ray skips though its ends
  // differ in height (a foot one ulp off a line) leaves a band, as high as that
  // difference, in which a point beside the triangle crosses one edge and counts as
  // enclosed: then every cell under the box is looked at, as the full scan does.
  // The abscissa (xB - xA) / (yB - yA) * (yp - yA) + xA of an edge the point's height
  // falls within errs by under 5 roundings of |xB - xA| + |xA| + |xi|, some 2e-15 of
  // the largest coordinate; the margin, 1e-9 of it plus 1e-9, also covers the rounding
  // of the cell borders and of the side-of-edge products below. A crossing can go
  // either way only for a point that close to an edge, and such a point is not outside
  // the triangle by the margin.
  celle_scatola(g_, xmin, ymin, xmax, ymax, celle_);
  bool pari = true;
  for (int k = 0; k < 3; ++k) {
    const int k2 = (k + 1) % 3;
    if (ty[k] != ty[k2] && orizzontale(ty[k], ty[k2])) pari = false;
  }
  if (pari) {
    const double area = (tx[1] - tx[0]) * (ty[2] - ty[0]) - (ty[1] - ty[0]) * (tx[2] - tx[0]);
    const double scala = std::fabs(xmax - xmin) + std::fabs(ymax - ymin);
    if (std::fabs(area) > margine::relativo * scala * scala) {
      const double verso = area > 0 ? 1 : -1;
      const double margine = margine::relativo * (massimo_ + 1);
      const double h = g_.lato(), e = margine::relativo * h + margine;
      std::size_t j = 0;
      for (int c : celle_) {
        const int col = c % g_.nx(), row = c / g_.nx();
        const double x0 = g_.x0() + col * h - e, x1 = g_.x0() + (col + 1) * h + e;
        const double y0 = g_.y0() + row * h - e, y1 = g_.y0() + (row + 1) * h + e;
        const double cx[4] = {x0, x1, x1, x0}, cy[4] = {y0, y0, y1, y1};
        bool fuori = false;
        for (int k = 0; k < 3 && !fuori; ++k) {
          const int k2 = (k + 1) % 3;
          const double ex = tx[k2] - tx[k], ey = ty[k2] - ty[k];
          const double soglia = -margine * std::sqrt(ex * ex + ey * ey);
          fuori = true;
          for (int i = 0; i < 4 && fuori; ++i)
            fuori = verso * (ex * (cy[i] - ty[k]) - ey * (cx[i] - tx[k])) < soglia;
        }
        if (!fuori) celle_[j++] = c;
      }
      celle_.resize(j);
    }
  }
  for (int c : celle_) {
    for (const Node* n = nodi_inizio(c); n != nodi_fine(c); ++n) {
      const int p = n->numero;
      if (!n->elencato || p == uno || p == due || p == tre) continue;
      const double xp = n->x, yp = n->y;
      if (xp < xmin || xp > xmax || yp < ymin || yp > ymax) continue;
      if (attraversamenti(xp, yp) % 2 == 1) return true;
    }
  }
  for (int c : celle_)
    for (int i : medi_[static_cast<std::size_t>(c)])
      if (lato_nel_triangolo(s, uno, due, tre, s.lato[i][1], s.lato[i][2], xmin, xmax, ymin, ymax))
        return true;
  return false;
}

bool SpatialIndex::percorso(int uno, int due, int tre) {
  // A field with these three corners has uno among them: only uno's fields can match.
  const Fields& f = job_.fields;
  for (int t : campi_del_nodo(uno)) {
    const auto& c = f.campo[t];
    auto in_campo = [&c](int p) { return p == c[1] || p == c[2] || p == c[3]; };
    if (in_campo(uno) && in_campo(due) && in_campo(tre)) return false;
  }
  if (ingloba(uno, due, tre)) return false;
  if (angolo_piatto(ang(job_.store, uno, due, tre))) return false;
  if (job_.floor.passo < 0) return true;
  return !esterno(job_, uno, due, tre);
}

}  // namespace gencampi
