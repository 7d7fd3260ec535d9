// Typed endings of a run. Every way a run stops early is one of these, thrown from
// where the condition is found and caught once in main, which shows the message (if
// any) and turns it into the exit status.
#pragma once

#include <stdexcept>
#include <string>

namespace gencampi {

inline constexpr const char* titolo_errore = "ERRORE !!";
inline constexpr const char* titolo_default = "gencampi";
inline constexpr const char* testo_capacita =
    "Superato dimensionamento massimo - elaborazione interrotta";

struct RunEnd : std::runtime_error {
  // The message box to show before the run ends; an empty text shows none.
  std::string testo;
  std::string titolo;
  // Exit status forced by the ending; -1 lets main derive it from the boxes shown.
  int stato;

  RunEnd(std::string testo_, std::string titolo_, int stato_ = -1)
      : std::runtime_error(testo_.empty() ? "fine elaborazione" : testo_),
        testo(std::move(testo_)),
        titolo(std::move(titolo_)),
        stato(stato_) {}
};

// A table would grow, or be read, beyond its capacity.
inline RunEnd fine_capacita() {
  return {testo_capacita, titolo_default, 1};
}
inline RunEnd fine_non_trovo(const std::string& path) {
  return {"Non trovo il file " + path, titolo_errore, 1};
}
inline RunEnd fine_lettura(const std::string& path) {
  return {"Errore in lettura del file " + path, titolo_errore, 1};
}
inline RunEnd fine_apertura(const std::string& path) {
  return {"Impossibile aprire il file " + path, titolo_errore, 1};
}
// A normal end from inside a stage (rigid floor written, sibling program done).
inline RunEnd fine_normale(int stato = -1) {
  return {"", "", stato};
}

}  // namespace gencampi
