// Uniform grids over the committed mesh: the sides and field boxes that the mesh checks
// scan, the side midpoints and listed nodes that the candidate triangle test scans. They
// answer the same questions as the full scans of the checks, only by looking at the
// items that can possibly change the answer.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "core/job.h"

namespace gencampi {

// A uniform grid over a fixed rectangle. Coordinates outside it fall into the border
// cells; the cell of a coordinate never decreases as the coordinate grows, so a closed
// box always covers the cell of every point inside it.
class Griglia {
 public:
  Griglia() = default;
  Griglia(double xmin, double ymin, double xmax, double ymax, int celle);

  int colonna(double x) const;
  int riga(double y) const;
  int nx() const { return nx_; }
  int ny() const { return ny_; }
  int celle() const { return nx_ * ny_; }
  int indice(int c, int r) const { return r * nx_ + c; }
  double lato() const { return h_; }
  double x0() const { return x0_; }
  double y0() const { return y0_; }

 private:
  double x0_ = 0, y0_ = 0, h_ = 1;
  int nx_ = 1, ny_ = 1;
};

// Visits the cells touched by the segment (xa, ya)-(xb, yb) widened by a margin, from
// the first end towards the second, each once, until `visita` answers true. True when
// it was stopped.
template <class F>
bool visita_corridoio(const Griglia& g, double xa, double ya, double xb, double yb, double margine,
                      F&& visita);

// The same cells into a list.
void celle_corridoio(const Griglia& g, double xa, double ya, double xb, double yb, double margine,
                     std::vector<int>& celle);

// Cells of a closed box.
void celle_scatola(const Griglia& g, double xmin, double ymin, double xmax, double ymax,
                   std::vector<int>& celle);

class IndiceSpaziale {
 public:
  // Indexes every side 1..nlati whose tag is not the tentative one, every field
  // 1..ncampi, the nodes 1..npunti that the node-on-side check scans and the entries of
  // punti(1..Npunti) that the enclosure test scans.
  IndiceSpaziale(const Job& job, const Table<int>& punti, int Npunti);

  // A side committed after construction (its tag must not be the tentative one).
  void aggiungi_lato(int i);
  // A field appended after construction. A field whose three edges were committed as
  // sides of the table (in its corner order) needs no grid of its own: away from the
  // new side's ends its edge tests are exactly the tests of those sides.
  void aggiungi_campo(int t, bool con_lati = false);

  // The answer `controlla` gives for a tentative side a -> b appended as side nlati + 1
  // over the current tables, without touching the side table. When a side of the table
  // or a field edge refuses it by crossing, that segment's ends go to *bloccante, in
  // the order the crossing test takes them (0, 0 otherwise).
  struct Bloccante {
    int da = 0, a = 0;
  };
  bool controlla(int a, int b, Bloccante* bloccante = nullptr);

  // The answer of `controlla` for a -> b, given that a -> b passed when only the fields
  // up to `campi` existed and that every later field had its sides committed: only
  // those later fields can refuse it, through the edges their field test takes, which
  // cover their sides' tests too.
  bool ricontrolla(int a, int b, int campi, Bloccante* bloccante = nullptr);

  // The answers of `ingloba` and `percorso` for the candidate (uno, due, tre).
  bool ingloba(int uno, int due, int tre);
  bool percorso(int uno, int due, int tre);

  // Fields with node p among their three corners.
  const std::vector<int>& campi_del_nodo(int p) const;

  const Griglia& griglia() const { return g_; }
  // Listed nodes of cell c (every node numbered up to the largest of Npunti, npunti and
  // the list's entries), with what each takes part in.
  struct Nodo {
    int numero;
    bool classificato;  // within 1..Npunti: ranked by distance
    bool controllato;   // within 1..npunti: scanned by the node-on-side check
    bool elencato;      // an entry of punti: scanned by the enclosure test
  };
  const Nodo* nodi_inizio(int c) const { return nodi_.data() + inizio_nodi_[c]; }
  const Nodo* nodi_fine(int c) const { return nodi_.data() + inizio_nodi_[c + 1]; }
  // Largest absolute coordinate over every node the tables refer to.
  double coordinata_massima() const { return massimo_; }

 private:
  bool campo_taglia(int t, int a, int b, Bloccante* spigolo = nullptr) const;
  bool nodo_sul_lato(int k, int a, int b) const;
  bool nuovo(std::vector<std::uint32_t>& timbri, int i) const;

  const Job& job_;
  Griglia g_;
  double massimo_ = 0;
  // A side as the cells keep it: its number, its ends and its box, so that the box test
  // that opens the crossing test costs no lookups.
  struct Lato {
    int numero, da, a;
    double xmin, xmax, ymin, ymax;
  };
  bool lato_taglia(const Lato& l, int a, int b, double xa, double ya, double xb, double yb,
                   double sxmin, double sxmax, double symin, double symax);
  std::vector<std::vector<Lato>> lati_;  // sides whose box touches the cell
  std::vector<std::vector<int>> campi_;  // fields whose box touches the cell
  std::vector<std::vector<int>> medi_;   // sides whose midpoint lies in the cell
  std::vector<Nodo> nodi_;
  std::vector<int> inizio_nodi_;
  std::vector<std::vector<int>> campi_nodo_;
  std::vector<std::uint32_t> timbro_lati_, timbro_campi_, timbro_celle_;
  std::vector<std::vector<int>> recenti_;  // per cell: fields with committed sides touching it
  std::uint32_t timbro_ = 0;
  std::vector<int> celle_;
};

template <class F>
bool visita_corridoio(const Griglia& g, double xa, double ya, double xb, double yb, double margine,
                      F&& visita) {
  // Walk along the longer axis; for each slab of cells across it, the stretch of the
  // segment inside the slab (widened by the margin, and by a hair for the rounding of
  // the slab borders and of the interpolation) gives the cells across the other axis.
  const bool lungo_x = std::fabs(xb - xa) >= std::fabs(yb - ya);
  const double ua = lungo_x ? xa : ya, ub = lungo_x ? xb : yb;
  const double va = lungo_x ? ya : xa, vb = lungo_x ? yb : xb;
  const double u0 = lungo_x ? g.x0() : g.y0();
  const double h = g.lato();
  const double umin = std::min(ua, ub), umax = std::max(ua, ub);
  const double capello = 1e-9 * (std::fabs(ua) + std::fabs(ub) + std::fabs(va) + std::fabs(vb) + h);
  const double m = margine + capello;
  auto indice_u = [&](double u) { return lungo_x ? g.colonna(u) : g.riga(u); };
  auto indice_v = [&](double v) { return lungo_x ? g.riga(v) : g.colonna(v); };
  const int n_u = lungo_x ? g.nx() : g.ny();
  const int i0 = indice_u(umin - m), i1 = indice_u(umax + m);
  const bool avanti = ub >= ua;
  const bool su = vb >= va;
  const double pendenza = ub != ua ? (vb - va) / (ub - ua) : 0;
  for (int s = 0; s <= i1 - i0; ++s) {
    const int i = avanti ? i0 + s : i1 - s;
    double lo = i == 0 ? umin - m : u0 + i * h - 1e-6 * h;
    double hi = i == n_u - 1 ? umax + m : u0 + (i + 1) * h + 1e-6 * h;
    lo = std::max(lo, umin - m);
    hi = std::min(hi, umax + m);
    // The points of the segment whose distance along the walk from the slab is within
    // the margin.
    const double ul = std::clamp(lo - m, umin, umax);
    const double ur = std::clamp(hi + m, umin, umax);
    double v1 = va, v2 = vb;
    if (ub != ua) {
      v1 = va + (ul - ua) * pendenza;
      v2 = va + (ur - ua) * pendenza;
    }
    const double vlo = std::min(v1, v2) - m, vhi = std::max(v1, v2) + m;
    const int j0 = indice_v(vlo), j1 = indice_v(vhi);
    for (int t = 0; t <= j1 - j0; ++t) {
      const int j = su ? j0 + t : j1 - t;
      if (visita(lungo_x ? g.indice(i, j) : g.indice(j, i))) return true;
    }
  }
  return false;
}

}  // namespace gencampi
