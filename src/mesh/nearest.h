// Nearest-node searches.
#pragma once

#include "core/job.h"

namespace gencampi {

// Nearest node to `corrente` among inizio..fine (skipping corrente); vicino is left
// unchanged when none lies within the 1e11 squared-distance limit.
void trova_vicino(const Store& s, int corrente, int inizio, int fine, int& vicino);

// Ranks nodes 1..Npunti other than centro by distance, nearest first, into
// vicini[1..Npunti]; 0 after the last node found.
void sorta(Store& s, int centro, int Npunti, Table<int>& vicini);

// Division point of the segment p1-p2 (steps of at most passo) nearest to p3. The fast
// engine measures only the window of steps that can be nearest; the reference engine
// measures every step, as written. Both give the same bits.
void piuvicino(const Job& job, int p1, int p2, int p3, double& x12, double& y12, bool& estremo);

}  // namespace gencampi
