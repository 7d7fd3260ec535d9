// The gencampi-view command: finds a job, reads it, and draws, reports and exports it.
// It only reads the job; every file it writes is one the user names.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "view/report.h"

namespace gencampi::view {

// Exit status of the command.
inline constexpr int esito_ok = 0;
inline constexpr int esito_errore = 1;     // usage error, or a job that cannot be read
inline constexpr int esito_copertura = 3;  // a measure of the mesh over its tolerance
// The mesher stopped reading the floor file on an outline error and placed no nodes: the
// job is shown as far as it goes, whatever its measures.
inline constexpr int esito_contorno = 4;

struct Options {
  std::string root, progra, job;
  std::string svg;
  std::vector<std::string> exports;  // every --export, in the order given
  bool conforming = false;           // --conforming: split fields at nodes on their sides
  std::string fields;                // --fields: the per-field table as CSV
  bool json = false;
  double tolerance_percent = 0.01;
  Limits limits;        // --min-angle, --max-aspect, --max-hanging
  bool labels = false;  // --labels: field numbers on the picture
  std::string unit = "cm";
  bool help = false;
  bool version = false;
};

// Throws ViewError on an unknown option, a missing value or a bad number.
Options parse_options(const std::vector<std::string>& args);

// Where the job's files are and what the job is called.
struct Places {
  std::string progra;  // impalcato.txt, campi.txt
  std::string job;     // punti.dis, triang.txt
  std::string name;
};

// From the root, a relative jobs directory in impostazioni/dirlav is taken from the
// root's progra/ directory, where the mesher is started. --progra and --job override.
Places locate(const Options& o);

std::string usage();

// Runs the command; `out` gets the report, `err` the messages.
int run_viewer(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace gencampi::view
