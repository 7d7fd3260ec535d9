// Uniform grids over the committed mesh: the sides and field boxes that the mesh checks
// scan, the side midpoints and listed nodes that the candidate triangle test scans. They
// answer the same questions as the full scans of the checks, only by looking at the
// items that can possibly change the answer.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "core/grid.h"
#include "core/job.h"

namespace gencampi {

class SpatialIndex {
 public:
  // Indexes every side 1..nlati whose tag is not the tentative one, every field
  // 1..ncampi, the nodes 1..npunti that the node-on-side check scans and the entries of
  // punti(1..Npunti) that the enclosure test scans.
  SpatialIndex(const Job& job, const Table<int>& punti, int Npunti);

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
  struct Blocker {
    int da = 0, a = 0;
  };
  bool controlla(int a, int b, Blocker* bloccante = nullptr);

  // The answer of `controlla` for a -> b, given that a -> b passed when only the fields
  // up to `campi` existed and that every later field had its sides committed: only
  // those later fields can refuse it, through the edges their field test takes, which
  // cover their sides' tests too.
  bool ricontrolla(int a, int b, int campi, Blocker* bloccante = nullptr);

  // The answers of `ingloba` and `percorso` for the candidate (uno, due, tre).
  bool ingloba(int uno, int due, int tre);
  bool percorso(int uno, int due, int tre);

  // Fields with node p among their three corners.
  const std::vector<int>& campi_del_nodo(int p) const;

  const Grid& griglia() const { return g_; }
  // Listed nodes of cell c (every node numbered up to the largest of Npunti, npunti and
  // the list's entries), with what each takes part in.
  struct Node {
    double x, y;  // its coordinates, kept beside the number for the scans of a cell
    int numero;
    bool classificato;  // within 1..Npunti: ranked by distance
    bool controllato;   // within 1..npunti: scanned by the node-on-side check
    bool elencato;      // an entry of punti: scanned by the enclosure test
  };
  const Node* nodi_inizio(int c) const { return nodi_.data() + inizio_nodi_[c]; }
  const Node* nodi_fine(int c) const { return nodi_.data() + inizio_nodi_[c + 1]; }
  // Largest absolute coordinate over every node the tables refer to.
  double coordinata_massima() const { return massimo_; }

 private:
  bool campo_taglia(int t, int a, int b, Blocker* spigolo = nullptr) const;
  bool nodo_sul_lato(int k, int a, int b) const;
  bool nuovo(std::vector<std::uint32_t>& timbri, int i) const;

  const Job& job_;
  Grid g_;
  double massimo_ = 0;
  // A side as the cells keep it: its number, its ends and its box, so that the box test
  // that opens the crossing test costs no lookups.
  struct Side {
    int numero, da, a;
    double xmin, xmax, ymin, ymax;
  };
  bool lato_taglia(const Side& l, int a, int b, double xa, double ya, double xb, double yb,
                   double sxmin, double sxmax, double symin, double symax);
  std::vector<std::vector<Side>> lati_;  // sides whose box touches the cell
  std::vector<std::vector<int>> campi_;  // fields whose box touches the cell
  std::vector<std::vector<int>> medi_;   // sides whose midpoint lies in the cell
  std::vector<Node> nodi_;
  std::vector<int> inizio_nodi_;
  std::vector<std::vector<int>> campi_nodo_;
  std::vector<std::uint32_t> timbro_lati_, timbro_campi_, timbro_celle_;
  std::vector<std::vector<int>> recenti_;  // per cell: fields with committed sides touching it
  std::uint32_t timbro_ = 0;
  std::vector<int> celle_;
};

}  // namespace gencampi
