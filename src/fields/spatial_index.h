// Uniform grids over the committed mesh: the sides and field boxes that the mesh checks
// scan, the side midpoints and listed nodes that the candidate triangle test scans. They
// answer the same questions as the full scans of the checks, only by looking at the
// items that can possibly change the answer.
#pragma once

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

// Cells touched by the segment (xa, ya)-(xb, yb) widened by a margin, visited from the
// first end towards the second, each once.
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
  // A field appended after construction.
  void aggiungi_campo(int t);

  // The answer `controlla` gives for a tentative side a -> b appended as side nlati + 1
  // over the current tables, without touching the side table.
  bool controlla(int a, int b);

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
  bool lato_taglia(int i, int a, int b, double xa, double ya, double xb, double yb) const;
  bool campo_taglia(int t, int a, int b) const;
  bool nodo_sul_lato(int k, int a, int b) const;
  bool nuovo(std::vector<std::uint32_t>& timbri, int i) const;

  const Job& job_;
  const Table<int>& punti_;
  int Npunti_;
  Griglia g_;
  double massimo_ = 0;
  std::vector<std::vector<int>> lati_;   // sides whose box touches the cell
  std::vector<std::vector<int>> campi_;  // fields whose box touches the cell
  std::vector<std::vector<int>> medi_;   // sides whose midpoint lies in the cell
  std::vector<Nodo> nodi_;
  std::vector<int> inizio_nodi_;
  std::vector<std::vector<int>> campi_nodo_;
  std::vector<std::uint32_t> timbro_lati_, timbro_campi_;
  std::uint32_t timbro_ = 0;
  std::vector<int> celle_;
};

}  // namespace gencampi
