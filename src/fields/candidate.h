// Acceptance test of candidate triangles.
#pragma once

#include "core/job.h"

namespace gencampi {

bool ingloba(const Job& job, int uno, int due, int tre, const Table<int>& punti, int Npunti);

void percorso(const Job& job, int uno, int due, int tre, const Table<int>& punti, int Npunti,
              bool& ok);

}  // namespace gencampi
