// Jobs built by hand for the tests of single procedures.
#pragma once

#include <utility>
#include <vector>

#include "core/job.h"
#include "core/store.h"

namespace gencampi::test {

// A job with the given nodes, all of them listed for the triangulation.
inline Job con_nodi(const std::vector<std::pair<double, double>>& punti, const Capacities& c = {}) {
  Job job(c);
  for (const auto& [x, y] : punti) aggiungi_nodo(job.store, x, y);
  job.nodes.npunti = job.store.nnodi;
  for (int i = 1; i <= job.nodes.npunti; ++i) job.nodes.punti[i] = i;
  return job;
}

}  // namespace gencampi::test
