#include "floor/placement.h"

#include <cmath>
#include <optional>
#include <vector>

#include "core/store.h"
#include "floor/region.h"

namespace gencampi {

namespace {

// A node nearer than this to a boundary's line already lies on it (the segment's own
// ends among them): projecting it would only duplicate it.
constexpr double tolleranza_retta = 1e-6;
// Larger than any squared distance between two nodes of a floor.
constexpr double distanza_iniziale = 1e11;

void aggiungi_coordinata(Table<double>& vett, int& n, double v, double tolleranza) {
  for (int j = 1; j <= n; ++j)
    if (tolleranza > std::fabs(v - vett[j])) return;
  if (n >= vett.capacity()) throw fine_capacita();
  ++n;
  vett[n] = v;
}

// Grid nodes where the lines through the listed coordinates cross inside the slab. The
// visiting order decides which of two close candidates becomes the node.
void riempi_griglia(Job& job, const Table<double>& xg, const Table<double>& yg, int nx, int ny,
                    NodeIndex* indice) {
  const double d = job.settings.distanza_min;
  for (int i = 1; i <= nx; ++i)
    for (int j = 1; j <= ny; ++j)
      if (!xyesterno(job, xg[i], yg[j])) {
        if (indice != nullptr)
          indice->aggiungi_nodo_dist(job.store, xg[i], yg[j], d);
        else
          aggiungi_nodo_dist(job.store, xg[i], yg[j], d);
      }
}

// The lines through every node crossing the segment between nodes a and b. The ends are
// read at each call: on a broken hole outline a vertex number may point past the nodes
// in use, at a slot the crossings themselves are filling.
void incroci(Job& job, int a, int b, NodeIndex* indice) {
  const Store& s = job.store;
  const int n = s.nnodi;
  for (int k = 1; k <= n; ++k)
    intersxy(job, s.xnodo[k], s.ynodo[k], s.xnodo[a], s.ynodo[a], s.xnodo[b], s.ynodo[b], indice);
}

// Wall w's s-th side, or 0 when the wall's run of sides reaches past the table (a wall
// side dropped for zero length shortens the run).
int lato_del_muro(const Job& job, int w, int s) {
  const int i = job.floor.lato_muro[w] + s;
  return i <= job.store.nlati ? i : 0;
}

// The vertex after vertex s of a closed run of n vertices starting at node primo.
int successivo(int primo, int s, int n) {
  return s == n - 1 ? primo : primo + s + 1;
}

void perpendicolari(Job& job, int a, int b, int g, NodeIndex* indice) {
  const Store& s = job.store;
  sortaperp(job, s.xnodo[a], s.ynodo[a], s.xnodo[b], s.ynodo[b], g, indice);
}

}  // namespace

void rovescia(Table<double>& vett, int n) {
  std::vector<double> tmp(static_cast<std::size_t>(n) + 1);
  for (int i = 1; i <= n; ++i) tmp[static_cast<std::size_t>(n - i + 1)] = vett[i];
  for (int i = 1; i <= n; ++i) vett[i] = tmp[static_cast<std::size_t>(i)];
}

void sortaxy(Job& job, Table<double>& vettx, Table<double>& vetty, int& nx, int& ny) {
  const Store& s = job.store;
  // Coordinates closer than a thousandth of the mesh step are one grid line.
  const double tolleranza = job.floor.passo / 1000;
  nx = 1;
  vettx[1] = s.xnodo[1];
  for (int i = 1; i <= s.nnodi; ++i) aggiungi_coordinata(vettx, nx, s.xnodo[i], tolleranza);
  ny = 1;
  vetty[1] = s.ynodo[1];
  for (int i = 1; i <= s.nnodi; ++i) aggiungi_coordinata(vetty, ny, s.ynodo[i], tolleranza);
  rovescia(vettx, nx);
  rovescia(vetty, ny);
}

void sortaperp(Job& job, double x1, double y1, double x2, double y2, int npuntiorig,
               NodeIndex* indice) {
  // A repeated vertex gives a segment without a line to project onto.
  if (x1 == x2 && y1 == y2) return;
  Store& st = job.store;
  NodeList& nl = job.nodes;
  const double dmin = job.settings.distanza_min;
  const double dmin2 = dmin * dmin;
  const double dmax = job.settings.distanza_max;

  const double a = y2 - y1;
  const double b = x1 - x2;
  const double c = y1 * x2 - x1 * y2;
  const double L2 = b * b + a * a;
  const double L = std::sqrt(L2);

  for (int i = 1; i <= npuntiorig; ++i) {
    const double xi = st.xnodo[i];
    const double yi = st.ynodo[i];
    const double t = xi * b - yi * a;
    const double xf = (b * t - a * c) / L2;
    const double yf = (-b * c - a * t) / L2;
    const double d = std::fabs(yi * b + xi * a + c) / L;
    if (d < tolleranza_retta || d > dmax) continue;

    const double dA2 = (yf - y1) * (yf - y1) + (xf - x1) * (xf - x1);
    const double dB2 = (yf - y2) * (yf - y2) + (xf - x2) * (xf - x2);
    // The foot must fall on the segment, and not so near an end that it would crowd the
    // vertex there.
    if (dA2 > L2 || dB2 > L2) continue;
    if (!(dA2 >= dmin2 && dB2 >= dmin2)) continue;

    // Only feet placed earlier in this group compete: the nodes that existed before it
    // are left where they are.
    double best = distanza_iniziale;
    int kbest = 0;
    double dl = 0;
    for (int k = npuntiorig + 1; k <= nl.npunti; ++k) {
      const double dk =
          (yf - st.ynodo[k]) * (yf - st.ynodo[k]) + (xf - st.xnodo[k]) * (xf - st.xnodo[k]);
      if (dk < best) {
        best = dk;
        kbest = k;
        dl = std::fabs(st.ynodo[k] * b + st.xnodo[k] * a + c) / L;
      }
    }
    if (kbest != 0 && best < dmin2) {
      // Two feet crowd each other, typically at a corner where two edges of one hole
      // meet: keep one node, on the foot of the node nearer to its boundary.
      if (d < dl) {
        const double x_prima = st.xnodo[kbest], y_prima = st.ynodo[kbest];
        st.xnodo[kbest] = xf;
        st.ynodo[kbest] = yf;
        if (indice != nullptr) indice->spostato(st, kbest, x_prima, y_prima);
      }
      continue;
    }
    const int prima = st.nnodi;
    const int m = indice != nullptr ? indice->aggiungi_nodo(st, xf, yf) : aggiungi_nodo(st, xf, yf);
    if (m > prima) {
      if (nl.npunti >= nl.punti.capacity()) throw fine_capacita();
      ++nl.npunti;
      nl.punti[nl.npunti] = m;
    }
  }
}

void posiziona_nodi(Job& job) {
  Store& st = job.store;
  Floor& fl = job.floor;
  NodeList& nl = job.nodes;

  // The fast way adds and merges nodes through a hash of node positions, in cells twice
  // the merge distance wide so that they hold every node a merge can find; the
  // reference way scans the store for every node.
  std::optional<NodeIndex> indice_nodi;
  if (job.engine == Engine::fast) indice_nodi.emplace(st, 2 * std::fabs(job.settings.distanza_min));
  NodeIndex* indice = indice_nodi ? &*indice_nodi : nullptr;

  if (job.settings.allinea_lati >= 1 && fl.passo >= 0) {
    Table<double> xgriglia(job.cap.griglia), ygriglia(job.cap.griglia);
    int nx = 0, ny = 0;
    sortaxy(job, xgriglia, ygriglia, nx, ny);
    riempi_griglia(job, xgriglia, ygriglia, nx, ny, indice);

    // The grid lines through every node, including the grid nodes just placed, meet the
    // boundaries at nodes of their own, so that the boundaries are divided where the
    // grid reaches them.
    for (int s = 1; s <= st.nlati; ++s)
      if (st.tipolato[s] == col_perimetro) incroci(job, st.lato[s][1], st.lato[s][2], indice);
    for (int w = 1; w <= fl.nmuri; ++w)
      for (int s = 1; s <= fl.nvmuro[w] - 1; ++s)
        if (const int l = lato_del_muro(job, w, s))
          incroci(job, st.lato[l][1], st.lato[l][2], indice);
    for (int h = 1; h <= fl.nbuchi; ++h)
      for (int s = 0; s <= fl.nvbuco[h] - 1; ++s)
        incroci(job, fl.primo_buco[h] + s, successivo(fl.primo_buco[h], s, fl.nvbuco[h]), indice);

    sortaxy(job, xgriglia, ygriglia, nx, ny);
    riempi_griglia(job, xgriglia, ygriglia, nx, ny, indice);
  }

  if (st.nnodi > nl.punti.capacity()) throw fine_capacita();
  nl.npunti = st.nnodi;
  for (int k = 1; k <= st.nnodi; ++k) nl.punti[k] = k;

  if (fl.passo >= 0) {
    // Feet of perpendiculars onto the holes, the walls and the perimeter, in groups: within
    // a group only the nodes that existed when it began are projected.
    int g = nl.npunti;
    for (int h = 1; h <= fl.nbuchi; ++h)
      for (int s = 0; s <= fl.nvbuco[h] - 1; ++s)
        perpendicolari(job, fl.primo_buco[h] + s, successivo(fl.primo_buco[h], s, fl.nvbuco[h]), g,
                       indice);
    g = nl.npunti;
    for (int w = 1; w <= fl.nmuri; ++w)
      for (int s = 1; s <= fl.nvmuro[w] - 1; ++s)
        if (const int l = lato_del_muro(job, w, s))
          perpendicolari(job, st.lato[l][1], st.lato[l][2], g, indice);
    g = nl.npunti;
    for (int s = 0; s <= fl.nperimetro - 1; ++s)
      perpendicolari(job, fl.primo_perimetro + s, successivo(fl.primo_perimetro, s, fl.nperimetro),
                     g, indice);
  }
}

}  // namespace gencampi
