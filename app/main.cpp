// gencampi: meshes one floor of one job into fields for slab design.
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "run/run.h"

int main(int argc, char** argv) {
  const std::vector<std::string> args = gencampi::argomenti_di_avvio(argc, argv);
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

  gencampi::Run run(stderr);
  try {
    gencampi::form_load(run, args, gencampi::cartella_di_avvio());
  } catch (const gencampi::RunEnd& f) {
    return gencampi::termina(run, f);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "gencampi: errore interno: %s\n", e.what());
    return 2;
  }
}
