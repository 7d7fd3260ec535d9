// The state of one run: every table and value that the stages share, held in plain
// structs owned by one Job. Procedures receive the Job (or the parts they need), so a
// test can build exactly the state it wants and call one procedure on it.
#pragma once

#include <array>
#include <string>

#include "core/dirs.h"
#include "core/table.h"

namespace gencampi {

// Capacities of the data model. The program always runs with these; a test may
// shrink them to reach an overflow on a small floor.
struct Capacities {
  int nodi = 20000;     // nodes in the geometry store
  int lati = 32000;     // sides in the geometry store
  int campi = 12000;    // rows of the field table
  int punti = 10000;    // entries of the node list handed to the triangulation
  int buchi = 100;      // holes
  int muri = 100;       // walls
  int griglia = 20000;  // distinct grid coordinates per direction
};

// Side tags.
inline constexpr int col_perimetro = 2;    // perimeter and extra polylines
inline constexpr int col_buchi = 3;        // holes and committed triangle sides
inline constexpr int col_muri = 5;         // walls
inline constexpr int col_provvisorio = 8;  // tentative sides of the triangulation
inline constexpr int col_disegno = 1;      // sides rebuilt for the drawing, temporary pair side

// The geometry store: nodes, sides and the running bounding box.
struct Store {
  Table<double> xnodo, ynodo;
  int nnodi = 0;
  Table<std::array<int, 3>> lato;  // lato[i][1] start node, lato[i][2] end node
  Table<int> tipolato;
  int nlati = 0;
  double xmin = 0, xmax = 5000, ymin = 0, ymax = 5000;

  explicit Store(const Capacities& c)
      : xnodo(c.nodi), ynodo(c.nodi), lato(c.lati), tipolato(c.lati) {}
};

// The floor bookkeeping filled by the floor reader.
struct Floor {
  double passo = 0;
  int nperimetro = 0;
  int primo_perimetro = 0;
  int nbuchi = 0;
  Table<int> primo_buco, nvbuco;
  int nmuri = 0;
  Table<int> nvmuro, lato_muro;

  explicit Floor(const Capacities& c)
      : primo_buco(c.buchi), nvbuco(c.buchi), nvmuro(c.muri), lato_muro(c.muri) {}
};

struct Settings {
  double distanza_min = 0;
  double distanza_max = 0;
  double coeff_lato = 0;
  double allinea_lati = 0;
};

// The field table and the merge partners.
struct Fields {
  Table<std::array<int, 5>> campo;   // campo[f][1..4]; column 4 repeats column 3
  Table<std::array<int, 4>> coppie;  // coppie[f][1..3]: >0 partner, 0 empty, -1 merged
  int ncampi = 0;

  explicit Fields(const Capacities& c) : campo(c.campi), coppie(c.campi) {}
};

// The node list handed to the triangulation.
struct NodeList {
  Table<int> punti;
  int npunti = 0;

  explicit NodeList(const Capacities& c) : punti(c.punti) {}
};

// The accelerated engines give the same bytes as the straightforward reading of each
// procedure, which stays beside them as the reference that tests and benchmarks compare
// against. A run uses the fast engines; the choice is read in one place per stage.
enum class Engine { fast, reference };

struct Job {
  Capacities cap;
  Store store;
  Floor floor;
  Settings settings;
  Fields fields;
  NodeList nodes;
  Dirs dirs;
  Engine engine = Engine::fast;

  explicit Job(const Capacities& c = {}) : cap(c), store(c), floor(c), fields(c), nodes(c) {}
};

}  // namespace gencampi
