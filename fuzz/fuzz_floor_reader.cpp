// The floor reader, node placement and punti.dis on any floor file: it must end in
// one of its own ways, keep every table inside its capacity and give a node list that
// names only nodes of the store.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/errors.h"
#include "core/job.h"
#include "floor/drawing.h"
#include "floor/placement.h"
#include "floor/reader.h"
#include "fuzz_job.h"

using namespace gencampi;
using namespace gencampi::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const FuzzTree albero;
  const std::string_view pavimento(reinterpret_cast<const char*>(data), size);
  albero.pulisci();
  scrivi(albero.ini(), ini_standard);
  scrivi(albero.pavimento(), pavimento);

  Job job;
  job.dirs.dirroot = albero.radice.string();
  job.dirs.dirprogra = albero.progra().string();
  job.dirs.dirlavoro = albero.lavoro().string();
  bool completo = false;
  try {
    if (leggibase(job) == FloorRead::complete) {
      posiziona_nodi(job);
      scrivi_punti_dis(job);
      completo = true;
    }
  } catch (const RunEnd& f) {
    if (f.stato != 1 || f.testo.empty()) violato("the reader ended without its message");
  }

  const Store& s = job.store;
  if (s.nnodi < 0 || s.nnodi > job.cap.nodi || s.nlati < 0 || s.nlati > job.cap.lati)
    violato("a count outside its table");
  if (completo) {
    const NodeList& nl = job.nodes;
    // Every node the placement adds is listed, so the list and the store agree.
    if (nl.npunti != s.nnodi) violato("node list and store disagree");
    for (int i = 1; i <= nl.npunti; ++i)
      if (nl.punti[i] < 1 || nl.punti[i] > s.nnodi) violato("node list names no node");
    for (int i = 1; i <= s.nnodi; ++i)
      if (!(s.xnodo[i] == s.xnodo[i]) || !(s.ynodo[i] == s.ynodo[i])) violato("a node is NaN");
    if (!fs::exists(albero.lavoro() / "punti.dis")) violato("a complete read wrote no punti.dis");
  }
  if (leggi(albero.pavimento()) != pavimento) violato("the floor file was changed");
  if (leggi(albero.ini()) != ini_standard) violato("a complete settings file was changed");
  albero.nessun_temporaneo();
  return 0;
}
