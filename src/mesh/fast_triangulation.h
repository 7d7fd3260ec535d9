// The triangulation passes with spatial indexes, rankings produced on demand and
// visibility through the committed triangles. It leaves the fields, the side table
// (tentative sides included), the order table's marks and every count exactly as the
// straightforward passes do, and ends with the capacity message at the same append.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "core/job.h"
#include "core/progress.h"
#include "fields/spatial_index.h"
#include "mesh/ranking.h"

namespace gencampi {

class FastTriangulation {
 public:
  // Checks the node list as the order table does (every entry must name a row) and
  // indexes the current sides and fields.
  FastTriangulation(Job& job, const Table<int>& punti, int Npunti, const Progress& avanzamento);

  // One pass over the node list. True when it built any triangle.
  bool passata();

  // Row k of the order table as the straightforward passes hold it, columns 1..Npunti:
  // a node number, 0 or -1.
  std::vector<int> riga(int k);

  // What the passes did: the benchmark reports it beside the times.
  struct Counters {
    long controlli = 0;       // mesh checks evaluated
    long voci = 0;            // ranking entries walked
    long cammini_chiusi = 0;  // walks from a node closed in by its triangles
    long cammini_aperti = 0;  // walks from a node partly closed in: the rest filtered
    long cammini_interi = 0;  // walks that had to visit the whole row
    long fermati = 0;         // candidate loops stopped by the shape bound
    long in_ombra = 0;        // entries skipped in the shadow of a refusing side
    long chiusi_strada = 0;   // open walks closed by the shadows they met
    long passati = 0;         // mesh checks passed
    long dalla_memoria = 0;   // entries replayed from what earlier walks learnt
    long noti = 0;            // checks answered from what was known
    long ricontrolli = 0;     // of those, answered by looking at the fields come since
    long percorsi = 0;        // candidate triangle tests evaluated
  };
  const Counters& contatori() const { return conta_; }

 private:
  struct CandidateResult {
    int contati = 0;
    int a = 0, b = 0, c = 0;
  };

  bool ha_vicini(int p);
  bool segnato(int p, int n) const;
  void segna(int p, int n);
  bool pieno() const;
  bool controlla(int a, int b, SpatialIndex::Blocker* bloccante = nullptr) {
    ++conta_.controlli;
    const bool ok = indice_.controlla(a, b, bloccante);
    if (ok) ++conta_.passati;
    return ok;
  }
  void tenta() const;
  void tentativo(int iniziale, int finale);

 public:
  // The directions from p that one blocking segment covers, counter-clockwise from the
  // ray through node `primo` to the ray through node `secondo`: every node in it at
  // least `raggio` from p and outside the corridors along the two rays is refused.
  struct Wedge {
    double inizio, ampiezza;
    int primo, secondo;
    double raggio;
  };

 private:
  // Sides found refusing a segment from p. The same certainty argument as for the
  // triangles around p (see vista) makes every node deep enough in the shadow of such
  // a side refused as well: the walk skips them without the check.
  class Shadows {
   public:
    // Ready for node p; the shadows learnt on earlier walks from p stay, since the
    // sides that cast them stay.
    void prepara(const FastTriangulation& t, int p);
    // True when the segment became a shadow.
    bool impara(const SpatialIndex::Blocker& b);
    const std::vector<Wedge>& spicchi() const { return spicchi_; }
    bool coperto(int x, double d);
    // Whether every point of the box (relative to p) lies in one shadow.
    bool coperta(double x0, double y0, double x1, double y1) const;

   private:
    struct Shadow {
      double ux, uy, wx, wy;  // from p to the two ends, counter-clockwise
      double lu, lw;
      double su, sw;  // least distances from the rays' lines
      double r2;      // least squared distance from p
    };
    const FastTriangulation* t_ = nullptr;
    int p_ = 0;
    double xp_ = 0, yp_ = 0, M_ = -1, E_ = 0, K_ = 0, capello_ = 0;
    std::vector<Shadow> ombre_;
    std::vector<Wedge> spicchi_;
  };
  // The walks of a node's turn and of a neighbour's candidate loop run at the same
  // time, each with its own filter.
  class OpenFanFilter : public Filter {
   public:
    double limite() const override { return limite_; }
    bool cella(int c) override;
    bool nodo(int c, int x) override;

    struct Sector {
      double ax, ay, bx, by;  // unit directions of its two bounding rays
      bool convesso;          // narrower than a straight angle
    };
    struct Corridor {
      int nodo;
      double ux, uy, lunghezza, larghezza;
    };
    void prepara(const FastTriangulation& t, int p, double limite, Shadows* ombre);

    double limite_ = 0;
    std::vector<Sector> settori;
    std::vector<Corridor> corridoi;
    std::vector<Wedge> spicchi;  // the triangles around p

   private:
    bool nel_settore(int c) const;
    void segna_corridoi();
    double M_ = 0;
    bool corridoi_segnati_ = false;
    const FastTriangulation* t_ = nullptr;
    int p_ = 0;
    double xp_ = 0, yp_ = 0, capello_ = 0, margine_ = 0;
    std::uint32_t timbro_ = 0;
    std::vector<std::uint32_t> visto_, corridoio_;
    std::vector<char> esito_, coperta_;
    std::vector<std::size_t> ombre_viste_;  // shadows when the cell was last found in none
    Shadows* ombre_ = nullptr;
  };

  // A walk from p after key `dopo` (all of the row when it is below every entry).
  Walk cammino(int p, OpenFanFilter& filtro, Shadows& ombre, const Entry& dopo);

  // What earlier walks along row p learnt: a refused side p -> x stays refused, since
  // sides and fields only ever come in during the passes. `voci` holds the entries up
  // to `fino` not yet known to be refused, in rank order, each with the field count
  // when its side last passed the check (-1: not checked): a side that passed stays
  // passing until a field comes in near it.
  struct Memory {
    std::vector<Entry> voci;
    std::vector<int> versioni;
    Entry fino{-1, 0};
  };
  // What row p's memory says of p -> x: refused for good (-2), not known (-1), or the
  // field count when it last passed.
  int ricordo(int p, int x) const;
  void ricorda(int p, int x, bool passato);
  // The mesh check of p -> x, answered from what is known when that is certain.
  bool controlla_noto(int p, int x, int versione, SpatialIndex::Blocker* bloccante);
  // A walk along row p that first replays the entries its memory still holds, then goes
  // on with a fresh walk beyond what the memory covers, and leaves the memory updated.
  class Round {
   public:
    Round(FastTriangulation& t, int p, OpenFanFilter& filtro, Shadows& ombre);
    bool prossimo(Entry& e);
    // The entry just produced is refused for good (or skipped for good).
    void rifiutato() { tenuto_ = false; }
    // The side to the entry just produced passed the check.
    void passato() { versione_ = t_.job_.fields.ncampi; }
    // The field count when the entry just produced last passed (-1: not known).
    int versione() const { return versione_; }
    // The walk stops; `guardato` tells whether the last entry produced was looked at.
    void fine(bool guardato);
    // From here on every entry of the row, for a full side table.
    void densifica();
    int prodotti() const { return prodotti_; }
    Walk* coda() { return coda_ ? &*coda_ : nullptr; }

   private:
    FastTriangulation& t_;
    int p_;
    OpenFanFilter& filtro_;
    Shadows& ombre_;
    Memory& memoria_;
    std::vector<Entry> vecchie_;
    Entry vecchio_fino_;
    std::vector<int> vecchie_versioni_, nuove_versioni_;
    int versione_ = -1;
    std::size_t i_ = 0;
    std::optional<Walk> coda_;
    std::vector<Entry> nuove_;
    Entry ultima_{-1, 0};
    bool c_e_ultima_ = false, tenuto_ = true, dalla_memoria_ = false, denso_ = false,
         finito_ = false;
    int prodotti_ = 0;
  };
  // Once the shadows learnt during an open walk close the gaps between the triangles
  // around p, the walk needs only the nodes nearer than the farthest proof and those
  // in the corridors.
  void prova_a_chiudere(int p, Walk* c, OpenFanFilter& filtro, Shadows& ombre);
  void oltre_corridoi(int p, const std::vector<int>& estremi, double limite,
                      std::vector<Entry>& oltre);
  // The proof for walks from p: with a closed one, the limit and the nodes whose rays
  // bound the corridors.
  Proof vista(int p, double& limite, std::vector<int>& estremi, OpenFanFilter& filtro,
              Shadows& ombre);
  CandidateResult candidati(int k, int n);
  void registra(int a, int b, int c);

  Job& job_;
  Store& s_;
  const Table<int>& punti_;
  int Npunti_;
  Progress avanzamento_;
  SpatialIndex indice_;
  Ranking grad_;
  std::vector<std::vector<int>> segnati_;  // per row: the neighbours whose position is exhausted
  std::vector<char> morto_;                // the whole row is exhausted
  int salvati_ = 0;
  Counters conta_;
  OpenFanFilter filtro_turno_, filtro_candidati_;
  std::vector<Memory> memorie_;
  std::vector<Shadows> ombre_;  // per node
  std::vector<int> celle_;
};

// The order table and the passes until one builds nothing, on the fast engine. Returns
// the number of the first field built.
int triangola_veloce(Job& job, const Table<int>& punti, int Npunti, const Progress& avanzamento);

}  // namespace gencampi
