// A whole run of the program on a small job: the input is the floor file, optionally
// preceded by a settings file and a line "%%". Whatever the input, the run must end
// with one of the program's own endings (exit 0, or exit 1 after its message), never
// damage its inputs, and leave no file half written.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_job.h"
#include "run/run.h"

namespace {

using namespace gencampi;
using namespace gencampi::fuzz;

// Larger floors are the business of the benchmarks: a fuzzed run must stay short.
constexpr std::size_t lunghezza_massima = 4096;

bool messaggio_noto(const std::string& m) {
  static const char* const noti[] = {
      "ERRORE !!: Non trovo il file ",
      "ERRORE !!: Errore in lettura del file ",
      "ERRORE !!: Impossibile aprire il file ",
      "ERRORE !!: Passo della mesh",
      "gencampi: Superato dimensionamento massimo - elaborazione interrotta",
      "gencampi: ERRORE PERIMETRO",
      "gencampi: ERRORE BUCHI",
      "gencampi: ERRORE MURI",
  };
  for (const char* n : noti)
    if (m.rfind(n, 0) == 0) return true;
  return false;
}

// Every file the run wrote holds whole lines, and the squared fields' scratch file,
// which grows one record at a time, holds whole records of a count line and four corners.
void righe_intere(const FuzzTree& albero) {
  for (const fs::path& d : {albero.progra(), albero.lavoro()})
    for (const auto& e : fs::directory_iterator(d)) {
      if (e.path().filename() == "impalcato.txt") continue;
      const std::string t = leggi(e.path());
      if (!t.empty() && (t.size() < 2 || t.compare(t.size() - 2, 2, "\r\n") != 0))
        violato("a file the run wrote ends inside a line");
    }
  const std::string t = leggi(albero.progra() / "campi2.tmp");
  std::size_t riga = 0;
  for (std::size_t i = 0; i < t.size(); ++riga) {
    const std::size_t fine = t.find("\r\n", i);
    if (riga % 5 == 0 && t.compare(i, fine - i, "4") != 0)
      violato("campi2.tmp holds a record cut short");
    i = fine + 2;
  }
  if (riga % 5 != 0) violato("campi2.tmp ends inside a record");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > lunghezza_massima) return 0;
  static const FuzzTree albero;
  const std::string_view in(reinterpret_cast<const char*>(data), size);
  std::string_view ini = ini_standard;
  std::string_view pavimento = in;
  if (const std::size_t sep = in.find("%%\n"); sep != std::string_view::npos) {
    ini = in.substr(0, sep);
    pavimento = in.substr(sep + 3);
  }

  albero.pulisci();
  scrivi(albero.ini(), ini);
  scrivi(albero.pavimento(), pavimento);
  const std::string dirlav = leggi(albero.radice / "impostazioni" / "dirlav");
  const std::string lavoro = leggi(albero.radice / "impostazioni" / "lavoro");

  Run run;
  int stato = 0;
  try {
    form_load(run, {"|diroot=" + albero.radice.string()}, "/");
  } catch (const RunEnd& f) {
    stato = termina(run, f);
  }

  for (const std::string& m : run.ui.messaggi)
    if (!messaggio_noto(m)) violato("a message the program does not have");
  if (stato != (run.ui.messaggi.empty() ? 0 : 1)) violato("exit status against the messages shown");
  if (leggi(albero.pavimento()) != pavimento) violato("the floor file was changed");
  if (leggi(albero.radice / "impostazioni" / "dirlav") != dirlav ||
      leggi(albero.radice / "impostazioni" / "lavoro") != lavoro)
    violato("a job file was changed");
  solo_righe_aggiunte(std::string(ini), leggi(albero.ini()));
  albero.nessun_temporaneo();
  righe_intere(albero);
  return 0;
}
