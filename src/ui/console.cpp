#include "ui/console.h"

namespace gencampi {

namespace {

void cancella_riga(Console& ui) {
  if (ui.riga_stato_scritta && ui.err != nullptr) {
    std::fputs("\r\x1b[K", ui.err);
    ui.riga_stato_scritta = false;
  }
}

void scrivi_riga(Console& ui) {
  if (!ui.status_line || ui.err == nullptr || !ui.form1.visibile) return;
  std::fprintf(ui.err, "\r\x1b[K%s  %s  %s", ui.form1.caption.c_str(), ui.form1.label1.c_str(),
               ui.form1.label2.c_str());
  std::fflush(ui.err);
  ui.riga_stato_scritta = true;
}

}  // namespace

void messaggio(Console& ui, const std::string& testo, const std::string& titolo) {
  ui.messaggi.push_back(titolo + ": " + testo);
  if (ui.err == nullptr) return;
  cancella_riga(ui);
  std::fprintf(ui.err, "%s: %s\n", titolo.c_str(), testo.c_str());
  std::fflush(ui.err);
}

void avviso(Console& ui, const std::string& testo) {
  if (ui.err == nullptr) return;
  cancella_riga(ui);
  std::fprintf(ui.err, "gencampi: %s\n", testo.c_str());
  std::fflush(ui.err);
}

void eventi(Console& ui) {
  if (!ui.status_line) return;
  auto now = std::chrono::steady_clock::now();
  if (ui.riga_stato_scritta && now - ui.ultimo_aggiornamento < std::chrono::milliseconds(100))
    return;
  ui.ultimo_aggiornamento = now;
  scrivi_riga(ui);
}

void mostra_progresso(Console& ui) {
  ui.form1.visibile = true;
  eventi(ui);
}

void chiudi_progresso(Console& ui) {
  ui.form1.visibile = false;
  cancella_riga(ui);
}

}  // namespace gencampi
