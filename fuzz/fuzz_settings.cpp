// The settings file as the floor reader uses it: the four keys looked up in order, a
// missing key's default line appended. Whatever the file holds, each lookup gives a
// finite value or ends the run with the settings file's message, and the file only
// ever gains whole default lines at its end.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/errors.h"
#include "core/job.h"
#include "core/numbers.h"
#include "core/settings.h"
#include "fuzz_job.h"

using namespace gencampi;
using namespace gencampi::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const FuzzTree albero;
  const std::string testo(reinterpret_cast<const char*>(data), size);
  scrivi(albero.ini(), testo);
  Dirs d;
  d.dirroot = albero.radice.string();
  const std::string path = file_impostazioni(d);

  // The quiet form of the lookup never ends the run and never writes.
  const int non_fermare = 0;
  int risposta = -1;
  std::string associato;
  leg_tirnel_ini(d, "MESH.distanza_min", risposta, associato, &non_fermare);
  if (risposta != 0 && risposta != 1) violato("Risposta is neither 0 nor 1");
  if (leggi(albero.ini()) != testo) violato("a lookup wrote to the settings file");

  for (const MeshKey* k :
       {&chiave_distanza_min, &chiave_distanza_max, &chiave_coeff_lato, &chiave_allinea_lati}) {
    int trovata = 0;
    std::string valore;
    leg_tirnel_ini(d, k->chiave, trovata, valore, &non_fermare);
    try {
      const double v = leggi_impostazione(d, *k);
      if (!std::isfinite(v)) violato("a setting that is not finite was accepted");
      // A key found takes its line's value; a missing one, its default.
      const double atteso = valore_iniziale(trovata == 1 ? valore : k->valore_default);
      if (v != atteso) violato("a setting has neither its line's value nor its default");
    } catch (const RunEnd& f) {
      if (f.testo != "Errore in lettura del file " + path || f.titolo != "ERRORE !!" ||
          f.stato != 1)
        violato("the settings file ended the run with another message");
      break;
    }
  }
  solo_righe_aggiunte(testo, leggi(albero.ini()));
  albero.nessun_temporaneo();
  return 0;
}
