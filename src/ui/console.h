// The console layer. The program owns no real windows on this platform: a message box
// is one line on stderr, and the progress window is a status line that is refreshed
// only when stderr is a terminal. The window model keeps what the windows would show,
// so the stages can set it and tests can read it.
#pragma once

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace gencampi {

struct ProgressWindow {
  std::string caption = "GENERAZIONE CAMPI";
  std::string label1 = "ELABORAZIONE IN CORSO";
  std::string label2 = "Attendere...";
  bool visibile = false;
};

struct MainWindow {
  bool busy = false;  // mouse pointer is the hourglass
  int ridisegni = 0;  // how many times the drawing area was emptied by a redraw
};

struct Console {
  // Where message boxes and the status line go; null keeps them silent (tests).
  std::FILE* err = nullptr;
  // Refresh the status line on err (only when err is a terminal).
  bool status_line = false;

  ProgressWindow form1;
  MainWindow main;

  // Every message box shown in this run, as "<title>: <text>".
  std::vector<std::string> messaggi;

  std::chrono::steady_clock::time_point ultimo_aggiornamento{};
  bool riga_stato_scritta = false;
};

// Shows a message box: one line "<title>: <text>" on stderr.
void messaggio(Console& ui, const std::string& testo, const std::string& titolo = "gencampi");

// A line of news on stderr that is not a message box: it does not count as one for the
// exit status.
void avviso(Console& ui, const std::string& testo);

// Lets pending window events run: on a terminal the progress line is redrawn, at most
// about ten times a second so that the job is not slowed by its own display.
void eventi(Console& ui);

// Shows the progress window (not modal) and lets pending events run once.
void mostra_progresso(Console& ui);

// Unloads the progress window: the status line, if any, is cleared.
void chiudi_progresso(Console& ui);

}  // namespace gencampi
