#include "mesh/results.h"

#include "core/textfile.h"

namespace gencampi {

void scrivi_triang(Job& job) {
  const Fields& f = job.fields;
  Writer w;
  w.num(f.ncampi);
  w.a_capo();
  for (int i = 1; i <= f.ncampi; ++i) {
    w.num(f.campo[i][1]).num(f.campo[i][2]).num(f.campo[i][3]);
    w.a_capo();
  }
  const std::string path = file_in(job.dirs.dirlavoro, "triang.txt");
  if (!scrivi_tutto(path, w.testo())) throw fine_apertura(path);
}

}  // namespace gencampi
