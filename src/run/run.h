// The run: from the command line to the last file, every stage in order, in one place.
#pragma once

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "core/errors.h"
#include "core/job.h"
#include "core/platform.h"
#include "core/run_record.h"
#include "ui/console.h"

namespace gencampi {

// One run: the job's state and the console that shows its progress and messages.
struct Run {
  Job job;
  Console ui;
  // Held for the whole run: one run at a time on a root.
  sistema::FileLock turno;
  // How long a run waits for another one on the same root before it gives up.
  double attesa_massima_s = 600;
  // The record as written when the run started; none before the run holds its turn.
  std::optional<RunRecord> registro;
  // When the run started and the result files it wrote, for the closing line a person
  // at a terminal reads.
  std::chrono::steady_clock::time_point inizio = std::chrono::steady_clock::now();
  std::vector<std::string> scritti;

  // Messages and progress on `err` (the progress line only where it is a terminal);
  // with no stream the run is silent, as the tests want it.
  explicit Run(std::FILE* err = nullptr, const Capacities& cap = {});
};

// The directory the program was started from.
std::string cartella_di_avvio();

// The arguments the program was started with. Where the system hands over the command
// line as typed (Windows), its argument text is the one argument, quotes and repeated
// blanks included, so that comando is that text lower-cased and trimmed; elsewhere the
// list of arguments after the program's name.
std::vector<std::string> argomenti_di_avvio(int argc, char** argv);

// Form_Load: the whole job, from the directories to the last file. Every way the run
// ends early is a RunEnd; a run that gets through ends with one too.
[[noreturn]] void form_load(Run& run, const std::vector<std::string>& args, const std::string& cwd);

// Hands the job to the sibling program dirprogra/tramaforo.exe, with comando as its
// arguments, and ends the run.
[[noreturn]] void passa_al_programma_gemello(const Dirs& dirs);

// Shows the ending's message, if any, closes the progress window and gives the exit
// status: the one the ending forces, else 0 when no message was shown and 1 otherwise.
int termina(Run& run, const RunEnd& f);

}  // namespace gencampi
