#include "floor/drawing.h"

#include <cmath>
#include <optional>
#include <string>

#include "core/node_index.h"
#include "core/numbers.h"
#include "core/store.h"
#include "core/textfile.h"

namespace gencampi {

namespace {

// The viewer expects this exact header: a format tag and three identical extent lines.
constexpr const char* riga_estensione = "-10000.00000000     10000.000000";
// Tails of the entity lines: the viewer's layer and colour columns.
constexpr const char* coda_punto = " 1                   0";
constexpr const char* coda_segmento = "  7     0";
constexpr const char* coda_nodo = "  0.0";
// An entity section with nothing in it.
constexpr const char* sezione_vuota = "0";

// Header and node table, common to both drawing files.
void scrivi_intestazione_e_nodi(Writer& w, const Store& s) {
  w.riga("3");
  for (int i = 0; i < 3; ++i) w.riga(riga_estensione);
  w.num(s.nnodi).a_capo();
  for (int i = 1; i <= s.nnodi; ++i) {
    w.num(s.xnodo[i]).num(s.ynodo[i]) << coda_nodo;
    w.a_capo();
  }
}

void salva(const std::string& path, const Writer& w) {
  if (!scrivi_tutto(path, w.testo())) throw fine_apertura(path);
}

// Reads campi.txt sequentially; any item that is missing or not a number is a read
// error of the file.
class FieldFileReader {
 public:
  FieldFileReader(Reader r, std::string path) : r_(std::move(r)), path_(std::move(path)) {}

  void salta_testo() {
    if (!r_.testo()) throw fine_lettura(path_);
  }

  double numero() {
    std::optional<std::string> campo = r_.numero();
    if (!campo) throw fine_lettura(path_);
    std::optional<double> v = letterale(*campo);
    if (!v || !std::isfinite(*v)) throw fine_lettura(path_);
    return *v;
  }

  int intero() {
    std::optional<int> n = conteggio(numero());
    if (!n) throw fine_lettura(path_);
    return *n;
  }

 private:
  Reader r_;
  std::string path_;
};

}  // namespace

void scrivi_punti_dis(Job& job) {
  const Store& s = job.store;
  Writer w;
  scrivi_intestazione_e_nodi(w, s);
  // Section 1: every node as a point, referred to by its position from 0.
  w.num(s.nnodi).a_capo();
  for (int k = 1; k <= s.nnodi; ++k) {
    w.num(k - 1) << coda_punto;
    w.a_capo();
  }
  // Sections 2 to 5: no segments and nothing else.
  for (int i = 0; i < 4; ++i) w.riga(sezione_vuota);
  salva(file_in(job.dirs.dirlavoro, "punti.dis"), w);
}

void creadisegno(Job& job) {
  Store& s = job.store;
  s.nnodi = 0;
  s.nlati = 0;
  // The fast way looks the corners up in a hash of node positions; the reference way
  // scans the store for each, as aggiungi_nodo does.
  std::optional<NodeIndex> indice;
  if (job.engine == Engine::fast) indice.emplace(s, cella_nodi_uguali);
  auto nodo = [&](double x, double y) {
    return indice ? indice->aggiungi_nodo(s, x, y) : aggiungi_nodo(s, x, y);
  };

  const std::string path_campi = file_in(job.dirs.dirprogra, "campi.txt");
  std::optional<Reader> file = Reader::apri(path_campi);
  if (!file) throw fine_non_trovo(path_campi);
  FieldFileReader r(std::move(*file), path_campi);

  r.salta_testo();  // the mesh step, not needed for the drawing
  const int ncampi = r.intero();
  for (int f = 1; f <= ncampi; ++f) {
    const int k = r.intero();
    // A corner shared with an earlier field is the same node, so the outline of the
    // drawing is connected; the shared side itself is listed once per field.
    double x = r.numero(), y = r.numero();
    const int p1 = nodo(x, y);
    x = r.numero();
    y = r.numero();
    const int p2 = nodo(x, y);
    x = r.numero();
    y = r.numero();
    const int p3 = nodo(x, y);
    if (k == 4) {
      x = r.numero();
      y = r.numero();
      const int p4 = nodo(x, y);
      kreali(s, p1, p2, col_disegno);
      kreali(s, p2, p3, col_disegno);
      kreali(s, p3, p4, col_disegno);
      kreali(s, p1, p4, col_disegno);
    } else {
      kreali(s, p1, p2, col_disegno);
      kreali(s, p2, p3, col_disegno);
      kreali(s, p1, p3, col_disegno);
    }
  }

  Writer w;
  scrivi_intestazione_e_nodi(w, s);
  w.riga(sezione_vuota);  // no points
  w.num(s.nlati).a_capo();
  for (int i = 1; i <= s.nlati; ++i) {
    w.num(s.lato[i][1] - 1).num(s.lato[i][2] - 1) << coda_segmento;
    w.a_capo();
  }
  for (int i = 0; i < 3; ++i) w.riga(sezione_vuota);
  salva(file_in(job.dirs.dirlavoro, "campi.dis"), w);
}

}  // namespace gencampi
