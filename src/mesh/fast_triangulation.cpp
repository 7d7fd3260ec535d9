#include "mesh/fast_triangulation.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <string>

#include "core/angles.h"
#include "core/margins.h"
#include "core/store.h"

namespace gencampi {

namespace {

constexpr double giro = 2 * std::numbers::pi;
// The straight-angle tolerance of the node-on-side check.
constexpr double tolleranza_piatto = 0.001;

}  // namespace

FastTriangulation::FastTriangulation(Job& job, const Table<int>& punti, int Npunti,
                                     const Progress& avanzamento)
    : job_(job),
      s_(job.store),
      punti_(punti),
      Npunti_(Npunti),
      avanzamento_(avanzamento),
      indice_((
                  // The order table holds node numbers as 16-bit Integers and has one row
                  // per node 1..Npunti: a list naming anything else ends the run before
                  // any pass, as building that table would.
                  [&] {
                    if (Npunti > std::numeric_limits<std::int16_t>::max()) throw fine_capacita();
                    for (int i = 1; i <= Npunti; ++i)
                      if (punti[i] < 1 || punti[i] > Npunti) throw fine_capacita();
                  }(),
                  job),
              punti, Npunti),
      grad_(job.store, indice_, Npunti),
      segnati_(static_cast<std::size_t>(std::max(Npunti, 0)) + 1),
      morto_(static_cast<std::size_t>(std::max(Npunti, 0)) + 1, 0),
      memorie_(static_cast<std::size_t>(std::max(Npunti, 0)) + 1),
      ombre_(static_cast<std::size_t>(std::max(Npunti, 0)) + 1) {}

bool FastTriangulation::segnato(int p, int n) const {
  const auto& v = segnati_[static_cast<std::size_t>(p)];
  return std::binary_search(v.begin(), v.end(), n);
}

void FastTriangulation::segna(int p, int n) {
  auto& v = segnati_[static_cast<std::size_t>(p)];
  v.insert(std::upper_bound(v.begin(), v.end(), n), n);
}

bool FastTriangulation::ha_vicini(int p) {
  if (morto_[static_cast<std::size_t>(p)]) return false;
  return static_cast<int>(segnati_[static_cast<std::size_t>(p)].size()) < grad_.quanti(p);
}

bool FastTriangulation::pieno() const {
  return s_.nlati >= s_.lato.capacity();
}

// Every tentative side is appended before it is judged, so a full side table ends the
// run at the attempt, whatever the checks would have said.
void FastTriangulation::tenta() const {
  if (pieno()) throw fine_capacita();
}

void FastTriangulation::tentativo(int iniziale, int finale) {
  kreali(s_, iniziale, finale, col_provvisorio);
}

std::vector<int> FastTriangulation::riga(int k) {
  std::vector<int> r(static_cast<std::size_t>(Npunti_), 0);
  if (morto_[static_cast<std::size_t>(k)]) {
    std::fill(r.begin(), r.end(), -1);
    return r;
  }
  const std::vector<int> ordine = grad_.riga(k);
  for (std::size_t j = 0; j < ordine.size(); ++j) r[j] = segnato(k, ordine[j]) ? -1 : ordine[j];
  return r;
}

namespace {

struct Gap {
  int da, a;
  double ampiezza;
};

}  // namespace

// The stretches of directions that no wedge covers, by a sweep in start angle. Two
// wedges meet without a gap only where they overlap by more than the angles' rounding,
// or where they share the very node (or position) that bounds them.
static std::vector<Gap> aperture(std::vector<FastTriangulation::Wedge>& spicchi, const Store& s) {
  using Wedge = FastTriangulation::Wedge;
  std::sort(spicchi.begin(), spicchi.end(),
            [](const Wedge& a, const Wedge& b) { return a.inizio < b.inizio; });
  auto stesso = [&](int a, int b) {
    return a == b || (s.xnodo[a] == s.xnodo[b] && s.ynodo[a] == s.ynodo[b]);
  };
  auto raggiunge = [&](double inizio, int nodo, double fino, int nodo_fino) {
    return inizio < fino - margine::capello ||
           (stesso(nodo, nodo_fino) && std::fabs(inizio - fino) < margine::relativo);
  };
  std::vector<Gap> varchi;
  double fino = spicchi[0].inizio + spicchi[0].ampiezza;
  int nodo_fino = spicchi[0].secondo;
  for (std::size_t i = 1; i < spicchi.size(); ++i) {
    const Wedge& w = spicchi[i];
    if (!raggiunge(w.inizio, w.primo, fino, nodo_fino))
      varchi.push_back({nodo_fino, w.primo, w.inizio - fino});
    if (w.inizio + w.ampiezza > fino) {
      fino = w.inizio + w.ampiezza;
      nodo_fino = w.secondo;
    }
  }
  if (!raggiunge(spicchi[0].inizio + giro, spicchi[0].primo, fino, nodo_fino))
    varchi.push_back({nodo_fino, spicchi[0].primo, spicchi[0].inizio + giro - fino});
  return varchi;
}

// Which nodes a segment from p can reach at all. A triangle with corner p blocks the
// directions between its two other corners c and d: a segment from p to a node x far
// enough beyond the edge c-d crosses that edge, and the mesh check refuses it through
// that field. "Far enough" is made certain, not likely: the four cross products of the
// crossing test are shown to exceed 2e-4 plus a bound on their rounding error (their
// terms are at most 8 M^2 in size for coordinates up to M, and five roundings of 2^-53
// each leave under 5e-15 M^2; 1e-14 M^2 is used), so the products, their signs and
// the products of pairs are exactly as exact arithmetic has them. This holds for x at
// distance R_e or more from p (R_e covers the side-of-edge products) and farther than
// K / |pc| from the rays through the edge's ends (the side-of-line products). So only
// the nodes nearer than the largest R_e, those in the thin corridors along the rays,
// and those in directions no triangle blocks need the check; the rest is refused
// whatever their number, and is skipped.
Proof FastTriangulation::vista(int p, double& limite, std::vector<int>& estremi_chiusi,
                               OpenFanFilter& filtro, Shadows& ombre) {
  const auto& fs = indice_.campi_del_nodo(p);
  const Store& s = s_;
  const Fields& f = job_.fields;
  const double M = indice_.coordinata_massima();
  const double E = margine::arrotondamento * M * M + margine::minimo;
  const double K = margine::prodotto_certo + E;
  const double xp = s.xnodo[p], yp = s.ynodo[p];

  std::vector<Wedge> spicchi;
  spicchi.reserve(fs.size());
  double R = 0;
  for (int t : fs) {
    const auto& c3 = f.campo[t];
    // The edge that the field test checks when p is one end of the side.
    int c = 0, d = 0;
    if (c3[1] == p) {
      c = c3[2];
      d = c3[3];
    } else if (c3[2] == p) {
      c = c3[3];
      d = c3[1];
    } else {
      c = c3[1];
      d = c3[2];
    }
    // A triangle that proves nothing leaves its directions open.
    if (c == p || d == p || c == d) continue;
    const double x1 = s.xnodo[c], y1 = s.ynodo[c], x2 = s.xnodo[d], y2 = s.ynodo[d];
    const double sA = yp * (x2 - x1) + xp * (y1 - y2) - (y1 - y2) * x1 - (x2 - x1) * y1;
    if (!(std::fabs(sA) >= K)) continue;
    const double ux = x1 - xp, uy = y1 - yp, wx = x2 - xp, wy = y2 - yp;
    const double lu = std::hypot(ux, uy), lw = std::hypot(wx, wy);
    const double cr = ux * wy - uy * wx;
    // A triangle this flat at p leaves its angle too uncertain to build on.
    if (!(std::fabs(cr) > margine::largo * lu * lw)) continue;
    const double seno = std::fabs(cr) / (lu * lw) * (1 - margine::largo);
    const double rmax = std::max(lu, lw) * (1 + margine::relativo);
    double Re = rmax * (1 + K / (std::fabs(sA) - E));
    Re = std::max(
        {Re, K / (lu * (1 - margine::relativo) * seno), K / (lw * (1 - margine::relativo) * seno)});
    Re *= 1 + margine::largo;
    R = std::max(R, Re);
    const double ampiezza = std::atan2(std::fabs(cr), ux * wx + uy * wy);
    double au = std::atan2(uy, ux), aw = std::atan2(wy, wx);
    if (au < 0) au += giro;
    if (aw < 0) aw += giro;
    if (cr > 0)
      spicchi.push_back({au, ampiezza, c, d, Re});
    else
      spicchi.push_back({aw, ampiezza, d, c, Re});
  }

  std::vector<Gap> varchi;
  if (spicchi.empty())
    varchi.push_back({0, 0, giro});  // nothing closes any direction
  else
    varchi = aperture(spicchi, s);

  limite = R * R * (1 + margine::relativo);

  // The corridors along the rays from p through the ends of the edges.
  std::vector<int> estremi;
  for (const Wedge& w : spicchi) {
    estremi.push_back(w.primo);
    estremi.push_back(w.secondo);
  }
  std::sort(estremi.begin(), estremi.end());
  estremi.erase(std::unique(estremi.begin(), estremi.end()), estremi.end());
  filtro.corridoi.clear();
  for (int c : estremi) {
    const double ux = s.xnodo[c] - xp, uy = s.ynodo[c] - yp;
    const double lc = std::hypot(ux, uy);
    filtro.corridoi.push_back(
        {c, ux, uy, lc, K / (lc * (1 - margine::relativo)) * (1 + margine::largo)});
  }

  if (!varchi.empty()) {
    filtro.settori.clear();
    for (const Gap& v : varchi) {
      if (v.da == 0) {
        // Every direction: the union of a half-plane and its complement.
        filtro.settori.push_back({1, 0, 1, 0, false});
        continue;
      }
      const double ax = s.xnodo[v.da] - xp, ay = s.ynodo[v.da] - yp;
      const double bx = s.xnodo[v.a] - xp, by = s.ynodo[v.a] - yp;
      const double la = std::hypot(ax, ay), lb = std::hypot(bx, by);
      filtro.settori.push_back(
          {ax / la, ay / la, bx / lb, by / lb, v.ampiezza < std::numbers::pi - margine::relativo});
    }
    filtro.spicchi = std::move(spicchi);
    filtro.prepara(*this, p, limite, &ombre);
    return Proof::open;
  }

  estremi_chiusi = std::move(estremi);
  return Proof::closed;
}

// The nodes at least `limite` from p (squared) in the corridors along the rays from p
// through the given nodes, less those the straight-angle test at the ray's node
// refuses for certain.
void FastTriangulation::oltre_corridoi(int p, const std::vector<int>& estremi, double limite,
                                       std::vector<Entry>& oltre) {
  const Store& s = s_;
  const double M = indice_.coordinata_massima();
  const double K = margine::prodotto_certo + margine::arrotondamento * M * M + margine::minimo;
  const double xp = s.xnodo[p], yp = s.ynodo[p];
  const int npunti = job_.nodes.npunti;
  const double capello = margine::capello * (M + 1);
  const double lontano = 3 * M + std::sqrt(limite) + 1;
  oltre.clear();
  std::vector<OpenFanFilter::Corridor> corridoi;
  for (int c : estremi) {
    const double ux = s.xnodo[c] - xp, uy = s.ynodo[c] - yp;
    const double lc = std::hypot(ux, uy);
    corridoi.push_back({c, ux, uy, lc, K / (lc * (1 - margine::relativo)) * (1 + margine::largo)});
  }
  for (const OpenFanFilter::Corridor& k : corridoi) {
    const int c = k.nodo;
    const double xf = xp + k.ux * (lontano / k.lunghezza), yf = yp + k.uy * (lontano / k.lunghezza);
    celle_corridoio(indice_.griglia(), xp, yp, xf, yf, k.larghezza * 1.01 + capello, celle_);
    for (int cella : celle_) {
      const SpatialIndex::Node* fine = indice_.nodi_fine(cella);
      for (const SpatialIndex::Node* n = indice_.nodi_inizio(cella); n != fine; ++n) {
        const int x = n->numero;
        if (!n->classificato || x == p) continue;
        const double d = grad_.distanza2(p, x);
        if (d < limite || !(d < limite_ricerca)) continue;
        const double vx = n->x - xp, vy = n->y - yp;
        if (!(k.ux * vx + k.uy * vy > 0)) continue;
        if (std::fabs(k.ux * vy - k.uy * vx) / k.lunghezza > k.larghezza * 1.01 + capello) continue;
        // The end node itself lies on the side p -> x: the node-on-side check refuses it.
        if (c <= npunti && c != x && std::fabs(ang(s, p, c, x) - 180) < tolleranza_piatto) continue;
        oltre.push_back({d, x});
      }
    }
  }
  std::sort(oltre.begin(), oltre.end());
  oltre.erase(
      std::unique(oltre.begin(), oltre.end(),
                  [](const Entry& a, const Entry& b) { return a.nodo == b.nodo && a.d == b.d; }),
      oltre.end());
}

void FastTriangulation::prova_a_chiudere(int p, Walk* c, OpenFanFilter& filtro, Shadows& ombre) {
  if (c == nullptr || c->prova != Proof::open || pieno()) return;
  std::vector<Wedge> tutti = filtro.spicchi;
  tutti.insert(tutti.end(), ombre.spicchi().begin(), ombre.spicchi().end());
  if (tutti.empty() || !aperture(tutti, s_).empty()) return;
  double R = 0;
  std::vector<int> estremi;
  for (const Wedge& w : tutti) {
    R = std::max(R, w.raggio);
    estremi.push_back(w.primo);
    estremi.push_back(w.secondo);
  }
  std::sort(estremi.begin(), estremi.end());
  estremi.erase(std::unique(estremi.begin(), estremi.end()), estremi.end());
  const double limite = R * R * (1 + margine::relativo);
  std::vector<Entry> oltre;
  oltre_corridoi(p, estremi, limite, oltre);
  c->chiudi(limite, std::move(oltre));
  c->prova = Proof::closed;
  ++conta_.chiusi_strada;
}

void FastTriangulation::OpenFanFilter::prepara(const FastTriangulation& t, int p, double limite,
                                               Shadows* ombre) {
  t_ = &t;
  ombre_ = ombre;
  p_ = p;
  limite_ = limite;
  const Store& s = t.s_;
  const Grid& g = t.indice_.griglia();
  xp_ = s.xnodo[p];
  yp_ = s.ynodo[p];
  const double M = t.indice_.coordinata_massima();
  capello_ = margine::capello * (M + 1);
  margine_ = margine::relativo * (M + g.lato() + 1);
  const auto ncelle = static_cast<std::size_t>(g.celle());
  if (visto_.size() != ncelle) {
    visto_.assign(ncelle, 0);
    corridoio_.assign(ncelle, 0);
    esito_.assign(ncelle, 0);
    coperta_.assign(ncelle, 0);
    ombre_viste_.assign(ncelle, 0);
    timbro_ = 0;
  }
  if (++timbro_ == 0) {
    std::fill(visto_.begin(), visto_.end(), 0);
    std::fill(corridoio_.begin(), corridoio_.end(), 0);
    timbro_ = 1;
  }
  M_ = M;
  corridoi_segnati_ = false;
}

// The cells of the corridors, marked only once a walk gets beyond the limit: most
// walks end with a commit well before.
void FastTriangulation::OpenFanFilter::segna_corridoi() {
  corridoi_segnati_ = true;
  const Grid& g = t_->indice_.griglia();
  const double lontano = 3 * M_ + std::sqrt(limite_) + 1;
  for (const Corridor& k : corridoi) {
    const double xf = xp_ + k.ux * (lontano / k.lunghezza);
    const double yf = yp_ + k.uy * (lontano / k.lunghezza);
    visita_corridoio(g, xp_, yp_, xf, yf, k.larghezza * 1.01 + capello_, [&](int c) {
      corridoio_[static_cast<std::size_t>(c)] = timbro_;
      return false;
    });
  }
}

// Whether cell c meets one of the open sectors. Conservative: a sector narrower than a
// straight angle is the meet of two half-planes, and a cell meeting it meets both; a
// wider one is their union.
bool FastTriangulation::OpenFanFilter::nel_settore(int c) const {
  const Grid& g = t_->indice_.griglia();
  const double h = g.lato();
  const int col = c % g.nx(), row = c / g.nx();
  const double e = margine::relativo * h + margine_;
  const double x0 = g.x0() + col * h - e - xp_, x1 = g.x0() + (col + 1) * h + e - xp_;
  const double y0 = g.y0() + row * h - e - yp_, y1 = g.y0() + (row + 1) * h + e - yp_;
  if (x0 <= 0 && x1 >= 0 && y0 <= 0 && y1 >= 0) return true;
  const double cx[4] = {x0, x1, x1, x0}, cy[4] = {y0, y0, y1, y1};
  for (const Sector& st : settori) {
    bool sinistra_a = false, destra_b = false;
    for (int i = 0; i < 4; ++i) {
      if (st.ax * cy[i] - st.ay * cx[i] >= -margine_) sinistra_a = true;
      if (st.bx * cy[i] - st.by * cx[i] <= margine_) destra_b = true;
    }
    if (st.convesso ? (sinistra_a && destra_b) : (sinistra_a || destra_b)) return true;
  }
  return false;
}

bool FastTriangulation::OpenFanFilter::cella(int c) {
  if (!corridoi_segnati_) segna_corridoi();
  const auto cc = static_cast<std::size_t>(c);
  if (visto_[cc] != timbro_) {
    visto_[cc] = timbro_;
    esito_[cc] = nel_settore(c) ? 1 : 0;
    coperta_[cc] = 0;
    ombre_viste_[cc] = 0;
  }
  if (esito_[cc] == 0 && corridoio_[cc] != timbro_) return false;
  if (coperta_[cc] != 0) return false;
  // Shadows only grow during a walk: a cell found wholly in one stays there, and one
  // found in none needs looking at again only once more shadows have come.
  if (ombre_ != nullptr && ombre_->spicchi().size() != ombre_viste_[cc]) {
    ombre_viste_[cc] = ombre_->spicchi().size();
    const Grid& g = t_->indice_.griglia();
    const double h = g.lato();
    const int col = c % g.nx(), row = c / g.nx();
    const double e = margine::relativo * h + margine_;
    if (ombre_->coperta(g.x0() + col * h - e - xp_, g.y0() + row * h - e - yp_,
                        g.x0() + (col + 1) * h + e - xp_, g.y0() + (row + 1) * h + e - yp_)) {
      coperta_[cc] = 1;
      return false;
    }
  }
  return true;
}

bool FastTriangulation::OpenFanFilter::nodo(int c, int x) {
  const Store& s = t_->s_;
  const double vx = s.xnodo[x] - xp_, vy = s.ynodo[x] - yp_;
  if (esito_[static_cast<std::size_t>(c)] != 0) {
    for (const Sector& st : settori) {
      const bool sinistra_a = st.ax * vy - st.ay * vx >= -margine_;
      const bool destra_b = st.bx * vy - st.by * vx <= margine_;
      if (st.convesso ? (sinistra_a && destra_b) : (sinistra_a || destra_b)) return true;
    }
  }
  const int npunti = t_->job_.nodes.npunti;
  for (const Corridor& k : corridoi) {
    if (!(k.ux * vx + k.uy * vy > 0)) continue;
    if (std::fabs(k.ux * vy - k.uy * vx) / k.lunghezza > k.larghezza * 1.01 + capello_) continue;
    // The end node itself lies on the side p -> x: the node-on-side check refuses it.
    if (k.nodo <= npunti && k.nodo != x &&
        std::fabs(ang(s, p_, k.nodo, x) - 180) < tolleranza_piatto)
      return false;
    return true;
  }
  return false;
}

void FastTriangulation::Shadows::prepara(const FastTriangulation& t, int p) {
  const double M = t.indice_.coordinata_massima();
  // The rounding bound grows with the coordinates: shadows proved under a smaller one
  // are dropped.
  if (t_ == &t && p_ == p && M_ == M) return;
  t_ = &t;
  p_ = p;
  M_ = M;
  xp_ = t.s_.xnodo[p];
  yp_ = t.s_.ynodo[p];
  E_ = margine::arrotondamento * M * M + margine::minimo;
  K_ = margine::prodotto_certo + E_;
  capello_ = margine::capello * (M + 1);
  ombre_.clear();
  spicchi_.clear();
}

// The side or field edge c -> d (in the direction the crossing test takes it) refused
// p -> x by crossing it. A side is tested for every segment not ending at c or d; a
// field edge is tested for every segment from p to a node that is not a corner of that
// field (and for one that is, the edge tested is the one opposite it, which is this
// one). For another node y in the open wedge from p between c and d, at least K / |pc|
// and K / |pd| from the lines p-c and p-d, and at least R from p, the crossing test of
// p -> y against that side is certain (see vista); y is not c or d, being farther.
bool FastTriangulation::Shadows::impara(const SpatialIndex::Blocker& b) {
  // Each shadow costs a test per later entry: a few cover the horizon.
  if (ombre_.size() >= 24) return false;
  const Store& s = t_->s_;
  const int c = b.da, d = b.a;
  if (c == 0 || c == p_ || d == p_) return false;
  const double x1 = s.xnodo[c], y1 = s.ynodo[c], x2 = s.xnodo[d], y2 = s.ynodo[d];
  const double sA = yp_ * (x2 - x1) + xp_ * (y1 - y2) - (y1 - y2) * x1 - (x2 - x1) * y1;
  if (!(std::fabs(sA) >= K_)) return false;
  double ux = x1 - xp_, uy = y1 - yp_, wx = x2 - xp_, wy = y2 - yp_;
  double lu = std::hypot(ux, uy), lw = std::hypot(wx, wy);
  const double cr = ux * wy - uy * wx;
  if (!(std::fabs(cr) > margine::largo * lu * lw)) return false;
  int primo = c, secondo = d;
  if (cr < 0) {
    std::swap(ux, wx);
    std::swap(uy, wy);
    std::swap(lu, lw);
    std::swap(primo, secondo);
  }
  const double R = std::max(lu, lw) * (1 + margine::relativo) * (1 + K_ / (std::fabs(sA) - E_)) *
                   (1 + margine::largo);
  const double su = K_ / lu * (1 + margine::largo) + capello_,
               sw = K_ / lw * (1 + margine::largo) + capello_;
  ombre_.push_back({ux, uy, wx, wy, lu, lw, su, sw, R * R * (1 + margine::relativo)});
  // As a wedge closing directions, it also needs every node of it near the line of one
  // ray but far from that ray to be beyond R: that is, R past su and sw over the sine
  // of its angle.
  const double seno = std::fabs(cr) / (lu * lw) * (1 - margine::largo);
  double au = std::atan2(uy, ux);
  if (au < 0) au += giro;
  spicchi_.push_back({au, std::atan2(std::fabs(cr), ux * wx + uy * wy), primo, secondo,
                      std::max({R, su / seno, sw / seno}) * (1 + margine::largo)});
  return true;
}

bool FastTriangulation::Shadows::coperto(int x, double d) {
  const Store& s = t_->s_;
  const double vx = s.xnodo[x] - xp_, vy = s.ynodo[x] - yp_;
  for (std::size_t i = 0; i < ombre_.size(); ++i) {
    const Shadow& o = ombre_[i];
    if (d < o.r2) continue;
    if ((o.ux * vy - o.uy * vx) / o.lu >= o.su && (vx * o.wy - vy * o.wx) / o.lw >= o.sw) {
      // The next entries are mostly in the same shadow.
      if (i > 0) std::swap(ombre_[i], ombre_[0]);
      return true;
    }
  }
  return false;
}

bool FastTriangulation::Shadows::coperta(double x0, double y0, double x1, double y1) const {
  // The nearest point of the box to p.
  const double nx = std::clamp(0.0, x0, x1), ny = std::clamp(0.0, y0, y1);
  const double vicino = (nx * nx + ny * ny) * (1 - margine::relativo);
  const double cx[4] = {x0, x1, x1, x0}, cy[4] = {y0, y0, y1, y1};
  for (const Shadow& o : ombre_) {
    if (vicino < o.r2) continue;
    bool tutti = true;
    for (int i = 0; i < 4 && tutti; ++i)
      tutti = (o.ux * cy[i] - o.uy * cx[i]) / o.lu >= o.su &&
              (cx[i] * o.wy - cy[i] * o.wx) / o.lw >= o.sw;
    if (tutti) return true;
  }
  return false;
}

Walk FastTriangulation::cammino(int p, OpenFanFilter& filtro, Shadows& ombre, const Entry& dopo) {
  if (!pieno()) {
    double limite = 0;
    std::vector<int> estremi;
    switch (vista(p, limite, estremi, filtro, ombre)) {
      case Proof::closed:
        ++conta_.cammini_chiusi;
        {
          Walk c(grad_, p, limite);
          c.prova = Proof::closed;
          c.parti_da(dopo);
          // The corridors are walked only if the walk gets beyond the limit: most walks
          // end with a commit well before.
          c.rimanda([this, p, limite, estremi = std::move(estremi)](std::vector<Entry>& oltre) {
            oltre_corridoi(p, estremi, limite, oltre);
          });
          return c;
        }
      case Proof::open:
        ++conta_.cammini_aperti;
        {
          Walk c(grad_, p, &filtro);
          c.prova = Proof::open;
          c.parti_da(dopo);
          return c;
        }
      case Proof::none:
        break;
    }
  }
  ++conta_.cammini_interi;
  Walk c(grad_, p);
  c.prova = Proof::none;
  c.parti_da(dopo);
  return c;
}

FastTriangulation::Round::Round(FastTriangulation& t, int p, OpenFanFilter& filtro, Shadows& ombre)
    : t_(t),
      p_(p),
      filtro_(filtro),
      ombre_(ombre),
      memoria_(t.memorie_[static_cast<std::size_t>(p)]),
      vecchie_(memoria_.voci),
      vecchio_fino_(memoria_.fino),
      vecchie_versioni_(memoria_.versioni) {
  ombre_.prepara(t, p);
  // A full side table needs every entry attempted: the memory cannot be used.
  if (t.pieno()) densifica();
}

bool FastTriangulation::Round::prossimo(Entry& e) {
  if (c_e_ultima_ && tenuto_) {
    nuove_.push_back(ultima_);
    nuove_versioni_.push_back(versione_);
  }
  c_e_ultima_ = false;
  tenuto_ = true;
  versione_ = -1;
  if (!denso_ && i_ < vecchie_.size()) {
    versione_ = vecchie_versioni_[i_];
    e = vecchie_[i_++];
    dalla_memoria_ = true;
    ++t_.conta_.dalla_memoria;
  } else {
    if (!denso_ && vecchio_fino_.d == std::numeric_limits<double>::infinity()) {
      finito_ = true;
      return false;
    }
    if (!coda_) {
      coda_.emplace(t_.cammino(p_, filtro_, ombre_, vecchio_fino_));
      // The shadows of earlier walks may close the gaps at once.
      if (!ombre_.spicchi().empty()) t_.prova_a_chiudere(p_, &*coda_, filtro_, ombre_);
    }
    if (!coda_->prossimo(e)) {
      finito_ = true;
      return false;
    }
    dalla_memoria_ = false;
  }
  ultima_ = e;
  c_e_ultima_ = true;
  ++prodotti_;
  return true;
}

void FastTriangulation::Round::densifica() {
  if (denso_) return;
  denso_ = true;
  // Every entry after the last one produced, whatever the memory says.
  const Entry da = c_e_ultima_ ? ultima_ : Entry{-1, 0};
  coda_.emplace(t_.grad_, p_);
  coda_->prova = Proof::none;
  coda_->parti_da(da);
}

void FastTriangulation::Round::fine(bool guardato) {
  // After a full side table the walk saw entries past the memory; the memory as it was
  // still holds every entry that can pass, so it stays.
  if (denso_) return;
  if (finito_) {
    memoria_.voci = std::move(nuove_);
    memoria_.versioni = std::move(nuove_versioni_);
    memoria_.fino = {std::numeric_limits<double>::infinity(), std::numeric_limits<int>::max()};
    return;
  }
  if (c_e_ultima_ && (!guardato || tenuto_)) {
    nuove_.push_back(ultima_);
    nuove_versioni_.push_back(guardato ? versione_
                                       : (dalla_memoria_ ? vecchie_versioni_[i_ - 1] : -1));
  }
  if (dalla_memoria_) {
    nuove_.insert(nuove_.end(), vecchie_.begin() + static_cast<std::ptrdiff_t>(i_), vecchie_.end());
    nuove_versioni_.insert(nuove_versioni_.end(),
                           vecchie_versioni_.begin() + static_cast<std::ptrdiff_t>(i_),
                           vecchie_versioni_.end());
    memoria_.fino = vecchio_fino_;
  } else if (c_e_ultima_) {
    memoria_.fino = ultima_;
  } else {
    memoria_.fino = vecchio_fino_;
  }
  memoria_.voci = std::move(nuove_);
  memoria_.versioni = std::move(nuove_versioni_);
}

int FastTriangulation::ricordo(int p, int x) const {
  const Memory& m = memorie_[static_cast<std::size_t>(p)];
  const Entry v{grad_.distanza2(p, x), x};
  // Only a node of the row can be known refused by its absence.
  if (x < 1 || x > Npunti_ || x == p || !(v.d < limite_ricerca)) return -1;
  const auto it = std::lower_bound(m.voci.begin(), m.voci.end(), v);
  if (it != m.voci.end() && it->nodo == x && it->d == v.d)
    return m.versioni[static_cast<std::size_t>(it - m.voci.begin())];
  if (!(m.fino < v)) return -2;
  return -1;
}

void FastTriangulation::ricorda(int p, int x, bool passato) {
  Memory& m = memorie_[static_cast<std::size_t>(p)];
  const Entry v{grad_.distanza2(p, x), x};
  const auto it = std::lower_bound(m.voci.begin(), m.voci.end(), v);
  if (it == m.voci.end() || it->nodo != x || it->d != v.d) return;
  const auto i = it - m.voci.begin();
  if (passato) {
    m.versioni[static_cast<std::size_t>(i)] = job_.fields.ncampi;
  } else {
    m.voci.erase(it);
    m.versioni.erase(m.versioni.begin() + i);
  }
}

bool FastTriangulation::controlla_noto(int p, int x, int versione,
                                       SpatialIndex::Blocker* bloccante) {
  if (versione >= 0) {
    // A side that passed can since have been refused only by the fields that came in.
    ++conta_.noti;
    if (versione == job_.fields.ncampi) return true;
    ++conta_.ricontrolli;
    return indice_.ricontrolla(p, x, versione, bloccante);
  }
  return controlla(p, x, bloccante);
}

// An upper bound of the shape measure of a triangle with sides of squared lengths e2
// and d at a common corner, whatever the third side. With a and b those sides and u
// = s - c (from 0 to the shorter of a and b) the measure is
// u (a - u) (b - u) / (a + b - u)^3; over each of a few stretches of u every factor is
// bounded by its value at one end. For b at least 1.5 a each factor (b - u) /
// (a + b - u)^3 falls as b grows, so the bound also holds for every farther corner.
static double misura_massima(double e2, double d) {
  const double a = std::sqrt(e2), b = std::sqrt(d);
  const double m = std::min(a, b);
  constexpr int tratti = 32;
  double massimo = 0;
  for (int i = 0; i < tratti; ++i) {
    const double u0 = m * i / tratti, u1 = m * (i + 1) / tratti;
    const double somma = a + b - u1;
    const double f = u1 * (a - u0) * (b - u0) / (somma * somma * somma);
    massimo = std::max(massimo, f);
  }
  // The computed measure differs from the exact one by far less than this.
  return massimo * (1 + margine::largo) + margine::capello;
}

// The candidate loop of neighbour n for node k. Tentative sides are appended exactly as
// the straightforward loop appends them, for every candidate that is not skipped as
// certainly refused; a refused candidate leaves nothing behind.
FastTriangulation::CandidateResult FastTriangulation::candidati(int k, int n) {
  CandidateResult r;
  double migliore = 0;
  const int quanti = grad_.quanti(n);
  const double e2 = grad_.distanza2(k, n);
  Shadows& ombre_candidati_ = ombre_[static_cast<std::size_t>(n)];
  Round cn(*this, n, filtro_candidati_, ombre_candidati_);
  Entry e;
  bool guardato = true;
  for (;;) {
    if (pieno()) cn.densifica();
    const int prima = cn.prodotti();
    if (!cn.prossimo(e)) break;
    const int v = e.nodo;
    // No later candidate can beat the best: with side k-n of length e and the third
    // corner at distance r from n, the shape measure is at most e^2 / (4 r^2), and the
    // candidates come nearest to n first. Stopping drops the tentative sides the rest
    // of the loop would append, which the commit drops anyway, unless the side table
    // could fill up before the commit or the commit itself finds the field table full
    // (the run then ends with those sides still counted).
    if (migliore > 0 && e.d > 0 && s_.nlati + 2 * (quanti - prima) <= s_.lato.capacity() &&
        job_.fields.ncampi < job_.fields.campo.capacity()) {
      const double limite = e2 / (4 * e.d) * (1 + margine::relativo) + margine::capello;
      if (migliore >= limite || (e.d >= 2.25 * e2 * (1 + margine::relativo) &&
                                 migliore >= 0.3 * limite && migliore >= misura_massima(e2, e.d))) {
        ++conta_.fermati;
        guardato = false;
        break;
      }
    }
    ++conta_.voci;
    // The node itself is skipped here but may be a candidate of another node's loop.
    if (v == k) continue;
    // A marked position is skipped, not refused: its side may still pass for the
    // other loops that read this row's memory.
    if (segnato(n, v)) continue;
    if (!pieno() && ombre_candidati_.coperto(v, e.d)) {
      ++conta_.in_ombra;
      cn.rifiutato();
      continue;
    }
    tenta();
    SpatialIndex::Blocker blocco;
    if (!controlla_noto(n, v, cn.versione(), &blocco)) {
      cn.rifiutato();
      if (ombre_candidati_.impara(blocco))
        prova_a_chiudere(n, cn.coda(), filtro_candidati_, ombre_candidati_);
      continue;
    }
    cn.passato();
    tentativo(n, v);
    tenta();
    // The closing side starts at v: row v's memory may already know it.
    const int noto = ricordo(v, k);
    if (noto == -2) {
      ++conta_.noti;
      continue;
    }
    const bool chiude = controlla_noto(v, k, noto, nullptr);
    ricorda(v, k, chiude);
    if (!chiude) continue;
    tentativo(v, k);
    ++conta_.percorsi;
    if (!indice_.percorso(k, n, v)) {
      s_.nlati -= 2;
      continue;
    }
    const double misura = areasuperim(s_, k, n, v);
    if (misura > migliore) {
      migliore = misura;
      ++r.contati;
      r.a = k;
      r.b = n;
      r.c = v;
    }
  }
  cn.fine(guardato);
  return r;
}

void FastTriangulation::registra(int a, int b, int c) {
  Fields& f = job_.fields;
  if (f.ncampi + 1 > f.campo.capacity()) throw fine_capacita();
  ++f.ncampi;
  f.campo[f.ncampi] = {0, a, b, c, c};
  s_.nlati = salvati_;
  kreali(s_, a, b, col_buchi);
  indice_.aggiungi_lato(s_.nlati);
  kreali(s_, b, c, col_buchi);
  indice_.aggiungi_lato(s_.nlati);
  kreali(s_, c, a, col_buchi);
  indice_.aggiungi_lato(s_.nlati);
  salvati_ = s_.nlati;
  indice_.aggiungi_campo(f.ncampi, true);
}

bool FastTriangulation::passata() {
  const int campi_iniziali = job_.fields.ncampi;
  salvati_ = s_.nlati;
  for (int i = 1; i <= Npunti_; ++i) {
    avanza(avanzamento_, s_.nlati);

    const int k = punti_[i];
    if (!ha_vicini(k)) continue;
    bool costruito = false;
    Shadows& ombre_turno_ = ombre_[static_cast<std::size_t>(k)];
    Round ck(*this, k, filtro_turno_, ombre_turno_);
    Entry e;
    for (;;) {
      if (pieno()) ck.densifica();
      if (!ck.prossimo(e)) break;
      const int n = e.nodo;
      ++conta_.voci;
      if (segnato(k, n)) continue;
      if (!pieno() && ombre_turno_.coperto(n, e.d)) {
        ++conta_.in_ombra;
        ck.rifiutato();
        continue;
      }
      tenta();
      SpatialIndex::Blocker blocco;
      if (!controlla_noto(k, n, ck.versione(), &blocco)) {
        ck.rifiutato();
        if (ombre_turno_.impara(blocco))
          prova_a_chiudere(k, ck.coda(), filtro_turno_, ombre_turno_);
        continue;
      }
      ck.passato();
      tentativo(k, n);
      if (!ha_vicini(n)) continue;
      const CandidateResult r = candidati(k, n);
      if (r.contati == 0) segna(k, n);
      if (r.a > 0) {
        costruito = true;
        registra(r.a, r.b, r.c);
        break;
      }
    }
    ck.fine(true);
    if (!costruito) morto_[static_cast<std::size_t>(k)] = 1;
  }
  return job_.fields.ncampi != campi_iniziali;
}

int triangola_veloce(Job& job, const Table<int>& punti, int Npunti, const Progress& avanzamento) {
  const int primo = job.fields.ncampi + 1;
  FastTriangulation t(job, punti, Npunti, avanzamento);
  while (t.passata()) {
  }
  return primo;
}

}  // namespace gencampi
