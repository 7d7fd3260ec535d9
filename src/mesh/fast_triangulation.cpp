#include "mesh/fast_triangulation.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <string>

#include "core/store.h"
#include "mesh/angles.h"
#include "ui/main_window.h"

namespace gencampi {

namespace {

constexpr double giro = 2 * std::numbers::pi;
// The straight-angle tolerance of the node-on-side check.
constexpr double tolleranza_piatto = 0.001;

}  // namespace

TriangolazioneVeloce::TriangolazioneVeloce(Job& job, const Table<int>& punti, int Npunti)
    : job_(job),
      s_(job.store),
      punti_(punti),
      Npunti_(Npunti),
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
      morto_(static_cast<std::size_t>(std::max(Npunti, 0)) + 1, 0) {}

bool TriangolazioneVeloce::segnato(int p, int n) const {
  const auto& v = segnati_[static_cast<std::size_t>(p)];
  return std::binary_search(v.begin(), v.end(), n);
}

void TriangolazioneVeloce::segna(int p, int n) {
  auto& v = segnati_[static_cast<std::size_t>(p)];
  v.insert(std::upper_bound(v.begin(), v.end(), n), n);
}

bool TriangolazioneVeloce::ha_vicini(int p) {
  if (morto_[static_cast<std::size_t>(p)]) return false;
  return static_cast<int>(segnati_[static_cast<std::size_t>(p)].size()) < grad_.quanti(p);
}

bool TriangolazioneVeloce::pieno() const {
  return s_.nlati >= s_.lato.capacity();
}

// Every tentative side is appended before it is judged, so a full side table ends the
// run at the attempt, whatever the checks would have said.
void TriangolazioneVeloce::tenta() const {
  if (pieno()) throw fine_capacita();
}

void TriangolazioneVeloce::tentativo(int iniziale, int finale) {
  kreali(s_, iniziale, finale, col_provvisorio);
}

std::vector<int> TriangolazioneVeloce::riga(int k) {
  std::vector<int> r(static_cast<std::size_t>(Npunti_), 0);
  if (morto_[static_cast<std::size_t>(k)]) {
    std::fill(r.begin(), r.end(), -1);
    return r;
  }
  const std::vector<int> ordine = grad_.riga(k);
  for (std::size_t j = 0; j < ordine.size(); ++j) r[j] = segnato(k, ordine[j]) ? -1 : ordine[j];
  return r;
}

int TriangolazioneVeloce::voce(int k, int j) {
  if (morto_[static_cast<std::size_t>(k)]) return -1;
  const std::vector<int> riga = grad_.riga(k);
  if (j < 1 || j > static_cast<int>(riga.size())) return 0;
  const int n = riga[static_cast<std::size_t>(j - 1)];
  return segnato(k, n) ? -1 : n;
}

// Which nodes a segment from p can reach at all. When the triangles around p close all
// the way round it, a segment from p to a node x far enough beyond the edge opposite p
// of one of them crosses that edge, and the mesh check refuses it through that field.
// "Far enough" is made certain, not likely: the four cross products of the crossing
// test are shown to exceed 2e-4 plus a bound on their rounding error (their terms are
// at most 8 M^2 in size for coordinates up to M, and five roundings of 2^-53 each
// leave under 5e-15 M^2; 1e-14 M^2 is used). So the products, their signs and the
// products of pairs are exactly as exact arithmetic has them. This holds for x at
// distance R_e or more from p (R_e covers the side-of-edge products) and farther than
// K / |pc| from the rays through the edge's ends c (the side-of-line products). Only
// the nodes closer than the largest R_e and those in the thin corridors along the rays
// need the check; the rest is refused whatever their number, so they are skipped.
bool TriangolazioneVeloce::vista(int p, double& limite, std::vector<Voce>& oltre) {
  const auto& fs = indice_.campi_del_nodo(p);
  // Each triangle's angle at p is below 180 degrees: fewer than three cannot close.
  if (fs.size() < 3) return false;
  const Store& s = s_;
  const Fields& f = job_.fields;
  const double M = indice_.coordinata_massima();
  const double E = 1e-14 * M * M + 1e-290;
  const double K = 2e-4 + E;
  const double xp = s.xnodo[p], yp = s.ynodo[p];

  struct Spicchio {
    double inizio, ampiezza;
    int primo, secondo;
  };
  std::vector<Spicchio> spicchi;
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
    if (c == p || d == p || c == d) return false;
    const double x1 = s.xnodo[c], y1 = s.ynodo[c], x2 = s.xnodo[d], y2 = s.ynodo[d];
    const double sA = yp * (x2 - x1) + xp * (y1 - y2) - (y1 - y2) * x1 - (x2 - x1) * y1;
    if (!(std::fabs(sA) >= K)) return false;
    const double ux = x1 - xp, uy = y1 - yp, wx = x2 - xp, wy = y2 - yp;
    const double lu = std::hypot(ux, uy), lw = std::hypot(wx, wy);
    const double cr = ux * wy - uy * wx;
    // A triangle this flat at p leaves its angle too uncertain to build on.
    if (!(std::fabs(cr) > 1e-6 * lu * lw)) return false;
    const double seno = std::fabs(cr) / (lu * lw) * (1 - 1e-6);
    const double rmax = std::max(lu, lw) * (1 + 1e-9);
    double Re = rmax * (1 + K / (std::fabs(sA) - E));
    Re = std::max({Re, K / (lu * (1 - 1e-9) * seno), K / (lw * (1 - 1e-9) * seno)});
    R = std::max(R, Re * (1 + 1e-6));
    const double ampiezza = std::atan2(std::fabs(cr), ux * wx + uy * wy);
    double au = std::atan2(uy, ux), aw = std::atan2(wy, wx);
    if (au < 0) au += giro;
    if (aw < 0) aw += giro;
    if (cr > 0)
      spicchi.push_back({au, ampiezza, c, d});
    else
      spicchi.push_back({aw, ampiezza, d, c});
  }

  // The wedges must cover every direction: sweep them by start angle. Two wedges meet
  // without a gap only where they overlap by more than the angles' rounding, or where
  // they share the very node that bounds them.
  std::sort(spicchi.begin(), spicchi.end(),
            [](const Spicchio& a, const Spicchio& b) { return a.inizio < b.inizio; });
  auto stesso = [&](int a, int b) {
    return a == b || (s.xnodo[a] == s.xnodo[b] && s.ynodo[a] == s.ynodo[b]);
  };
  auto raggiunge = [&](double inizio, int nodo, double fino, int nodo_fino) {
    return inizio < fino - 1e-12 || (stesso(nodo, nodo_fino) && std::fabs(inizio - fino) < 1e-9);
  };
  double fino = spicchi[0].inizio + spicchi[0].ampiezza;
  int nodo_fino = spicchi[0].secondo;
  for (std::size_t i = 1; i < spicchi.size(); ++i) {
    const Spicchio& w = spicchi[i];
    if (!raggiunge(w.inizio, w.primo, fino, nodo_fino)) return false;
    if (w.inizio + w.ampiezza > fino) {
      fino = w.inizio + w.ampiezza;
      nodo_fino = w.secondo;
    }
  }
  if (!raggiunge(spicchi[0].inizio + giro, spicchi[0].primo, fino, nodo_fino)) return false;

  limite = R * R * (1 + 1e-9);

  // The corridors along the rays from p through the ends of the edges.
  std::vector<int> estremi;
  for (const Spicchio& w : spicchi) {
    estremi.push_back(w.primo);
    estremi.push_back(w.secondo);
  }
  std::sort(estremi.begin(), estremi.end());
  estremi.erase(std::unique(estremi.begin(), estremi.end()), estremi.end());
  const int npunti = job_.nodes.npunti;
  const double capello = 1e-12 * (M + 1);
  const double lontano = 3 * M + R + 1;
  oltre.clear();
  for (int c : estremi) {
    const double ux = s.xnodo[c] - xp, uy = s.ynodo[c] - yp;
    const double lc = std::hypot(ux, uy);
    const double W = K / (lc * (1 - 1e-9)) * (1 + 1e-6);
    const double xf = xp + ux * (lontano / lc), yf = yp + uy * (lontano / lc);
    celle_corridoio(indice_.griglia(), xp, yp, xf, yf, W * 1.01 + capello, celle_);
    for (int cella : celle_) {
      const IndiceSpaziale::Nodo* fine = indice_.nodi_fine(cella);
      for (const IndiceSpaziale::Nodo* n = indice_.nodi_inizio(cella); n != fine; ++n) {
        const int x = n->numero;
        if (!n->classificato || x == p) continue;
        const double d = grad_.distanza2(p, x);
        if (d < limite || !(d < limite_ricerca)) continue;
        const double vx = s.xnodo[x] - xp, vy = s.ynodo[x] - yp;
        if (!(ux * vx + uy * vy > 0)) continue;
        if (std::fabs(ux * vy - uy * vx) / lc > W * 1.01 + capello) continue;
        // The end node itself lies on the side p -> x: the node-on-side check refuses it.
        if (c <= npunti && c != x && std::fabs(ang(s, p, c, x) - 180) < tolleranza_piatto) continue;
        oltre.push_back({d, x});
      }
    }
  }
  std::sort(oltre.begin(), oltre.end());
  oltre.erase(
      std::unique(oltre.begin(), oltre.end(),
                  [](const Voce& a, const Voce& b) { return a.nodo == b.nodo && a.d == b.d; }),
      oltre.end());
  return true;
}

Cammino TriangolazioneVeloce::cammino(int p) {
  if (!pieno()) {
    double limite = 0;
    std::vector<Voce> oltre;
    if (vista(p, limite, oltre)) return Cammino(grad_, p, limite, std::move(oltre));
  }
  return Cammino(grad_, p);
}

// The candidate loop of neighbour n for node k. Tentative sides are appended exactly as
// the straightforward loop appends them, for every candidate that is not skipped as
// certainly refused; a refused candidate leaves nothing behind.
TriangolazioneVeloce::Esito TriangolazioneVeloce::candidati(int k, int n) {
  Esito r;
  double migliore = 0;
  const int quanti = grad_.quanti(n);
  const double e2 = grad_.distanza2(k, n);
  Cammino cn = cammino(n);
  Voce e;
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
    if (migliore > 0 && e.d > 0) {
      const double limite = e2 / (4 * e.d) * (1 + 1e-9) + 1e-12;
      if (migliore >= limite && s_.nlati + 2 * (quanti - prima) <= s_.lato.capacity() &&
          job_.fields.ncampi < job_.fields.campo.capacity())
        break;
    }
    if (v == k || segnato(n, v)) continue;
    tenta();
    if (!indice_.controlla(n, v)) continue;
    tentativo(n, v);
    tenta();
    if (!indice_.controlla(v, k)) continue;
    tentativo(v, k);
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
  return r;
}

void TriangolazioneVeloce::registra(int a, int b, int c) {
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
  indice_.aggiungi_campo(f.ncampi);
}

bool TriangolazioneVeloce::passata() {
  const int campi_iniziali = job_.fields.ncampi;
  salvati_ = s_.nlati;
  for (int i = 1; i <= Npunti_; ++i) {
    job_.ui.form1.label2 = std::to_string(s_.nlati);
    eventi(job_.ui);

    const int k = punti_[i];
    if (!ha_vicini(k)) continue;
    bool costruito = false;
    Cammino ck = cammino(k);
    Voce e;
    for (;;) {
      if (pieno()) ck.densifica();
      if (!ck.prossimo(e)) break;
      const int n = e.nodo;
      if (segnato(k, n)) continue;
      tenta();
      if (!indice_.controlla(k, n)) continue;
      tentativo(k, n);
      if (!ha_vicini(n)) continue;
      const Esito r = candidati(k, n);
      if (r.contati == 0) segna(k, n);
      if (r.a > 0) {
        costruito = true;
        registra(r.a, r.b, r.c);
        break;
      }
    }
    if (!costruito) morto_[static_cast<std::size_t>(k)] = 1;
  }
  return job_.fields.ncampi != campi_iniziali;
}

int triangola_veloce(Job& job, const Table<int>& punti, int Npunti) {
  const int primo = job.fields.ncampi + 1;
  TriangolazioneVeloce t(job, punti, Npunti);
  while (t.passata()) {
  }
  return primo;
}

}  // namespace gencampi
