#include "view/run_check.h"

#include <optional>

#include "core/dirs.h"
#include "core/run_record.h"
#include "core/textfile.h"

namespace gencampi::view {

std::vector<std::string> record_warnings(const std::string& progra, const std::string& job,
                                         bool rigid) {
  std::vector<std::string> w;
  const std::optional<RunRecord> r = leggi_registro(progra + "/gencampi.run");
  if (!r) return w;
  if (r->fine.empty()) {
    w.push_back("the last run (started " + r->inizio +
                ") did not end normally: its files may be mixed with older ones");
  } else if (r->stato != 0) {
    std::string m =
        "the last run (started " + r->inizio + ") ended with status " + std::to_string(r->stato);
    for (const std::string& s : r->messaggi) m += ": " + s;
    w.push_back(m);
  }
  // The job directory's entries speak for the job the run meshed only.
  const bool stesso_lavoro = ultimo_componente(r->dirlavoro) == ultimo_componente(job);
  const std::string mostrati[] = {rigid ? "lavoro/triang.txt" : "progra/campi.txt",
                                  "lavoro/punti.dis"};
  std::vector<std::string> scritti, vecchi;
  for (const RunRecord::Output& o : r->file) {
    const bool shown = o.nome == mostrati[0] || o.nome == mostrati[1];
    if (!shown || (o.nome.rfind("lavoro/", 0) == 0 && !stesso_lavoro)) continue;
    const std::string path = (o.nome.rfind("progra/", 0) == 0 ? progra : job) + "/" +
                             o.nome.substr(o.nome.find('/') + 1);
    const std::optional<std::string> ora = leggi_tutto(path);
    if (ora.has_value() != o.presente ||
        (ora && (static_cast<long long>(ora->size()) != o.byte || impronta(*ora) != o.impronta))) {
      w.push_back(path + " changed after the last run (started " + r->inizio + ")");
      continue;
    }
    if (!o.presente) continue;
    (o.scritto || r->fine.empty() ? scritti : vecchi).push_back(path);
  }
  // A file the last run left alone beside one it wrote comes from an earlier run.
  if (!r->fine.empty() && !scritti.empty())
    for (const std::string& v : vecchi)
      w.push_back(v + " is older than the last run, which wrote " + scritti[0]);
  return w;
}

}  // namespace gencampi::view
