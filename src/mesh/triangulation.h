// The greedy nearest-neighbour triangulation.
#pragma once

#include "core/job.h"

namespace gencampi {

// Covers the slab with triangles, then writes triang.txt and ends the run (rigid
// floor) or goes on with the field stage.
void triangola(Job& job, const Table<int>& punti, int Npunti);

}  // namespace gencampi
