// gencampi: meshes one floor of one job into fields for slab design.
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "core/run.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (!args.empty() && (args[0] == "--help" || args[0] == "--version")) {
    if (args[0] == "--version") {
      std::puts("gencampi 0.1.0");
    } else {
      std::puts(
          "uso: gencampi [|diroot=<radice>] [|tipo=2|]\n"
          "Genera i campi del solaio del lavoro corrente. Senza |diroot= la radice e' la\n"
          "cartella che contiene la cartella corrente (di solito <radice>/progra).");
    }
    return 0;
  }

  gencampi::Job job;
  job.ui.err = stderr;
  job.ui.status_line = isatty(STDERR_FILENO) != 0;

  std::string cwd;
  std::vector<char> buf(4096);
  while (getcwd(buf.data(), buf.size()) == nullptr && errno == ERANGE) buf.resize(buf.size() * 2);
  cwd = buf.data();

  try {
    gencampi::form_load(job, args, cwd);
  } catch (const gencampi::FineElaborazione& f) {
    return gencampi::termina(job, f);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "gencampi: errore interno: %s\n", e.what());
    return 2;
  }
  return gencampi::stato_finale(job);
}
