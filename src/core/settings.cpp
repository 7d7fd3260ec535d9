#include "core/settings.h"

#include <cmath>
#include <optional>

#include "core/numbers.h"
#include "core/textfile.h"

namespace gencampi {

// The default lines keep the value in column 30 or 31 and the comment bar in column 41,
// so that a file the program has extended lines up with one written by hand.
const MeshKey chiave_distanza_min = {
    "MESH.distanza_min", "MESH.distanza_min            50         |(criterio per generatore mesh)",
    "50"};
const MeshKey chiave_distanza_max = {
    "MESH.distanza_max", "MESH.distanza_max             100       |(criterio per generatore mesh)",
    "100"};
const MeshKey chiave_coeff_lato = {
    "MESH.coeff_lato", "MESH.coeff_lato              0.00       |(coeff. di suddivisione campi)",
    "0.00"};
const MeshKey chiave_allinea_lati = {
    "MESH.allinea_lati", "MESH.allinea_lati             1.00      |(allineamento lati)", "1.00"};

std::string file_impostazioni(const Dirs& d) {
  return file_in(file_in(d.dirroot, "impostazioni"), "tirnel.ini");
}

namespace {

bool ferma_il_run(const int* ferma) {
  return ferma == nullptr || *ferma == 1;
}

}  // namespace

void leg_tirnel_ini(const Dirs& d, const std::string& titolo, int& Risposta, std::string& associato,
                    const int* ferma) {
  Risposta = 0;
  const std::string path = file_impostazioni(d);
  std::optional<std::string> testo = leggi_tutto(path);
  if (!testo) {
    if (ferma_il_run(ferma)) throw fine_non_trovo(path);
    return;
  }
  Reader r(std::move(*testo));
  while (std::optional<std::string> riga = r.riga()) {
    const std::string& L = *riga;
    const int n = static_cast<int>(L.size());
    // Positions are 1-based: k is the key's last column, s the value's first, e its last.
    int k = 0, s = 0, e = n;
    for (int i = 1; i <= n; ++i) {
      const char c = L[static_cast<std::size_t>(i - 1)];
      if (c == ' ' || c == '\t') {
        // In column 1 this leaves k at 0, so a leading blank belongs to the key.
        if (k == 0) k = i - 1;
      } else if (k != 0 && s == 0) {
        s = i;
      } else if (c == '|' && s != 0) {
        e = i - 1;  // the last bar wins: a comment may itself contain bars
      }
    }
    if (!trim(L).empty()) {
      // A non-empty line without a value cannot be taken apart; the file is unreadable.
      if (s == 0) {
        if (ferma_il_run(ferma)) throw fine_lettura(path);
        Risposta = 0;
        return;
      }
      associato = trim(std::string_view(L).substr(static_cast<std::size_t>(s - 1),
                                                  static_cast<std::size_t>(e - s + 1)));
    } else {
      associato = "";
    }
    if (L.compare(0, static_cast<std::size_t>(k), titolo) == 0) {
      Risposta = 1;
      return;
    }
  }
}

double leggi_impostazione(const Dirs& d, const MeshKey& k) {
  int risposta = 0;
  std::string associato;
  leg_tirnel_ini(d, k.chiave, risposta, associato);
  if (risposta == 0) {
    // Written as it stands: when the file's last line has no line break, the default
    // line continues it, exactly as an append to that file does. The longer file is put
    // in place whole, so a full disk cannot leave it ending in half a line.
    const std::string path = file_impostazioni(d);
    if (!appendi_intero(path, std::string(k.riga_default) + "\r\n")) throw fine_apertura(path);
    associato = k.valore_default;
  }
  const double v = valore_iniziale(associato);
  if (!std::isfinite(v)) throw fine_lettura(file_impostazioni(d));
  return v;
}

}  // namespace gencampi
