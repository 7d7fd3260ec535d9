#include "floor/reader.h"

#include <cmath>
#include <optional>
#include <string>
#include <utility>

#include "core/numbers.h"
#include "core/settings.h"
#include "core/store.h"
#include "core/textfile.h"
#include "floor/region.h"

namespace gencampi {

namespace {

// Largest magnitude accepted for a coordinate, a record value or the mesh step: 1,000 km
// in centimetres. Anything larger is a corrupt file, and keeping values this small keeps
// every squared distance of the placement finite.
constexpr double valore_massimo = 1e8;

// Sequential reader of impalcato.txt. Every way the file can fail to deliver the item
// the floor format calls for is a read error of the file.
class FloorFileReader {
 public:
  FloorFileReader(Reader r, std::string path) : r_(std::move(r)), path_(std::move(path)) {}

  // A text field as it stands (records).
  std::string testo() {
    std::optional<std::string> t = r_.testo();
    if (!t) throw errore();
    return *t;
  }

  // A text field holding the mesh step: its leading number.
  double valore() { return verificato(valore_iniziale(testo())); }

  // A text field holding a count.
  int conteggio_testo() { return intero(valore_iniziale(testo())); }

  // A number field: the whole field must be a number literal.
  double numero() {
    std::optional<std::string> campo = r_.numero();
    if (!campo) throw errore();
    std::optional<double> v = letterale(*campo);
    if (!v) throw errore();
    return verificato(*v);
  }

  // A number field holding a count; a fraction is rounded away.
  int conteggio_numero() { return intero(numero()); }

  std::pair<double, double> punto() {
    const double x = numero();
    const double y = numero();
    return {x, y};
  }

  double verificato(double v) const {
    if (!std::isfinite(v) || std::fabs(v) > valore_massimo) throw errore();
    return v;
  }

  int intero(double v) const {
    std::optional<int> n = conteggio(v);
    if (!n) throw errore();
    return *n;
  }

 private:
  RunEnd errore() const { return fine_lettura(path_); }

  Reader r_;
  std::string path_;
};

// The marker in a pillar record after which four corner points follow.
constexpr const char* segno_baricentro = "baricentro";
constexpr const char* opzione_gemello = "|tipo=2|";

}  // namespace

double estraiR(std::string& s1) {
  s1 = trim(s1);
  const std::size_t p = s1.find(' ');
  if (p == std::string::npos) {
    const double v = valore_iniziale(s1);
    s1.clear();
    return v;
  }
  const double v = valore_iniziale(std::string_view(s1).substr(0, p + 1));
  s1 = trim(std::string_view(s1).substr(p));
  return v;
}

const char* messaggio_lettura(FloorRead esito) {
  switch (esito) {
    case FloorRead::perimeter_error:
      return "ERRORE PERIMETRO";
    case FloorRead::holes_error:
      return "ERRORE BUCHI";
    case FloorRead::walls_error:
      return "ERRORE MURI";
    case FloorRead::complete:
    case FloorRead::hand_over:
      break;
  }
  return "";
}

FloorRead leggibase(Job& job) {
  Store& st = job.store;
  Floor& fl = job.floor;
  Settings& set = job.settings;

  set.distanza_min = leggi_impostazione(job.dirs, chiave_distanza_min);

  const std::string path = file_in(job.dirs.dirprogra, "impalcato.txt");
  std::optional<Reader> file = Reader::apri(path);
  if (!file) throw fine_non_trovo(path);
  FloorFileReader r(std::move(*file), path);
  st.nnodi = 0;
  st.nlati = 0;

  fl.passo = r.valore();
  if (fl.passo < 0 && set.distanza_min < 1) set.distanza_min = 1;

  if (job.dirs.comando.find(opzione_gemello) != std::string::npos) return FloorRead::hand_over;

  set.distanza_max = leggi_impostazione(job.dirs, chiave_distanza_max);
  set.coeff_lato = leggi_impostazione(job.dirs, chiave_coeff_lato);
  set.allinea_lati = leggi_impostazione(job.dirs, chiave_allinea_lati);
  if (set.allinea_lati < 1) set.allinea_lati = 0;

  // Nodes closer than a quarter of the mesh step would only make slivers.
  if (fl.passo / 4 > set.distanza_min) set.distanza_min = fl.passo / 4;

  fl.nperimetro = r.conteggio_testo();
  if (fl.nperimetro < 3) return FloorRead::perimeter_error;

  bool ok = false;
  // The perimeter. A rigid floor (or a zero step) keeps the vertices as nodes but has no
  // perimeter sides to mesh against. The closing side runs from the first vertex to the
  // last, against the others.
  {
    auto [x, y] = r.punto();
    fl.primo_perimetro = aggiungi_nodo(st, x, y);
    int prev = fl.primo_perimetro;
    int cur = prev;
    for (int v = 2; v <= fl.nperimetro; ++v) {
      auto [xv, yv] = r.punto();
      cur = aggiungi_nodo(st, xv, yv);
      if (fl.passo > 0) {
        kreali(st, prev, cur, col_perimetro, &ok);
        prev = cur;
      }
    }
    if (fl.passo > 0) kreali(st, fl.primo_perimetro, cur, col_perimetro, &ok);
  }

  // Holes: closed, sides whatever the step, closing side again first to last.
  fl.nbuchi = r.conteggio_testo();
  for (int h = 1; h <= fl.nbuchi; ++h) {
    if (h > job.cap.buchi) throw fine_capacita();
    fl.nvbuco[h] = r.conteggio_numero();
    if (fl.nvbuco[h] < 3) return FloorRead::holes_error;
    auto [x, y] = r.punto();
    fl.primo_buco[h] = aggiungi_nodo(st, x, y);
    int prev = fl.primo_buco[h];
    int cur = prev;
    for (int v = 2; v <= fl.nvbuco[h]; ++v) {
      auto [xv, yv] = r.punto();
      cur = aggiungi_nodo(st, xv, yv);
      kreali(st, prev, cur, col_buchi, &ok);
      prev = cur;
    }
    kreali(st, fl.primo_buco[h], cur, col_buchi, &ok);
  }

  // Walls: open polylines. Their sides are found later as the run after lato_muro.
  fl.nmuri = r.conteggio_testo();
  for (int w = 1; w <= fl.nmuri; ++w) {
    if (w > job.cap.muri) throw fine_capacita();
    fl.nvmuro[w] = r.conteggio_numero();
    if (fl.nvmuro[w] < 2) return FloorRead::walls_error;
    auto [x, y] = r.punto();
    int prev = aggiungi_nodo(st, x, y);
    fl.lato_muro[w] = st.nlati;
    for (int v = 2; v <= fl.nvmuro[w]; ++v) {
      auto [xv, yv] = r.punto();
      const int cur = aggiungi_nodo(st, xv, yv);
      kreali(st, prev, cur, col_muri, &ok);
      prev = cur;
    }
  }

  // Pillars: a node where the pillar stands on the slab; a pillar given by its centroid
  // carries four corner points that the mesh does not need.
  const int npilastri = r.conteggio_testo();
  for (int p = 1; p <= npilastri; ++p) {
    std::string record = r.testo();
    const double x = r.verificato(estraiR(record));
    const double y = r.verificato(estraiR(record));
    if (!xyesterno(job, x, y)) aggiungi_nodo(st, x, y);
    if (record.find(segno_baricentro) != std::string::npos) {
      for (int c = 0; c < 4; ++c) r.punto();
    }
  }

  // Extra polylines (balcony edges and the like): their closing side runs from the last
  // vertex back to the first.
  const int npolilinee = r.conteggio_testo();
  for (int p = 1; p <= npolilinee; ++p) {
    std::string record = r.testo();
    const int n = r.intero(r.verificato(estraiR(record)));
    const int c = r.intero(r.verificato(estraiR(record)));
    auto [x, y] = r.punto();
    const int primo = aggiungi_nodo(st, x, y);
    int prev = primo;
    for (int v = 2; v <= n; ++v) {
      auto [xv, yv] = r.punto();
      const int cur = aggiungi_nodo(st, xv, yv);
      kreali(st, prev, cur, col_perimetro, &ok);
      prev = cur;
    }
    if (c == 1) kreali(st, prev, primo, col_perimetro, &ok);
  }
  return FloorRead::complete;
}

}  // namespace gencampi
