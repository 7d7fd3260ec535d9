// Number reading and the free numeric print form. Any text: the leading-number rule
// and the whole-field rule agree, counts round to their nearest whole number, and the
// field reader always moves on. Any double: its print form reads back to a value that
// prints the same, so a result file read back and written again does not drift.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "core/numbers.h"
#include "core/textfile.h"
#include "fuzz_job.h"

using namespace gencampi;
using gencampi::fuzz::violato;

namespace {

void testo_qualsiasi(std::string_view s) {
  const double v = valore_iniziale(s);
  if (std::isnan(v)) violato("the leading-number rule gave NaN");
  if (std::optional<double> l = letterale(s)) {
    // A whole literal has no blank or tab in it, so both rules read the same digits.
    if (!(*l == v)) violato("a literal and its leading number differ");
  }
  if (std::optional<int> n = conteggio(v)) {
    if (*n < -32768 || *n > 32767 || std::fabs(*n - v) > 0.5) violato("count rounding");
    if (std::fabs(*n - v) == 0.5 && *n % 2 != 0) violato("a half count rounds to an odd number");
  } else if (std::isfinite(v) && std::fabs(v) < 32767) {
    violato("a count in range was refused");
  }
  const std::string t = trim(s);
  if (!t.empty() && (t.front() == ' ' || t.back() == ' ')) violato("trim left a blank");
  if (s.find(t) == std::string_view::npos) violato("trim made up text");
}

// Reads the text with the field reader, choosing each kind of field by a byte of the
// text itself; every call must either consume something or report the end.
void letture(std::string_view s) {
  Reader r{std::string(s)};
  std::size_t k = 0;
  for (std::size_t passi = 0; passi <= s.size() + 1; ++passi) {
    const unsigned scelta = s.empty() ? 0 : static_cast<unsigned char>(s[k++ % s.size()]) % 3;
    std::optional<std::string> campo;
    if (scelta == 0) {
      campo = r.testo();
    } else if (scelta == 1) {
      campo = r.numero();
      if (campo && campo->find_first_of(", \t\n") != std::string::npos)
        violato("a number field holds a separator");
    } else {
      campo = r.riga();
      if (campo && campo->find('\n') != std::string::npos) violato("a line holds a line end");
    }
    if (!campo) {
      if (!r.finito()) violato("a field was refused before the end");
      return;
    }
  }
  if (!r.finito()) violato("the field reader does not move on");
}

void stampa(double v) {
  if (!std::isfinite(v)) return;
  const std::string f = formato(v);
  if (f.size() < 3 || (f.front() != ' ' && f.front() != '-') || f.back() != ' ')
    violato("print form layout");
  if (f.find("0.") == 1) violato("a zero before the decimal point");
  const std::string corpo =
      f.front() == '-' ? f.substr(0, f.size() - 1) : f.substr(1, f.size() - 2);
  const std::optional<double> letto = letterale(corpo);
  if (!letto) violato("a printed number is not a literal");
  // Fifteen digits round the very largest doubles up past the largest finite one; no
  // coordinate comes near them (the floor file stops at 1e8).
  if (std::isinf(*letto) && std::fabs(v) > 1.797693134862315e308 * (1 - 1e-15)) return;
  if (formato(*letto) != f) violato("a printed number does not print the same when read back");
  if (std::fabs(*letto - v) > std::fabs(v) * 1e-14) violato("a printed number is too far off");
  Reader r{f + "\r\n"};
  if (r.numero() != corpo) violato("a printed number reads apart");
  if (!r.finito()) violato("a printed line leaves something behind");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view s(reinterpret_cast<const char*>(data), size);
  testo_qualsiasi(s);
  letture(s);
  if (size >= sizeof(double)) {
    double v = 0;
    std::memcpy(&v, data, sizeof v);
    stampa(v);
    stampa(valore_iniziale(s.substr(sizeof v)));
  }
  if (size >= sizeof(std::int32_t)) {
    std::int32_t n = 0;
    std::memcpy(&n, data, sizeof n);
    const std::string f = formato(static_cast<int>(n));
    const std::string corpo =
        f.front() == '-' ? f.substr(0, f.size() - 1) : f.substr(1, f.size() - 2);
    const std::optional<double> letto = letterale(corpo);
    if (!letto || *letto != static_cast<double>(n)) violato("an integer does not read back");
  }
  return 0;
}
