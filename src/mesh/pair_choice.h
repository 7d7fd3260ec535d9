// Choice of the most nearly rectangular pair of listed triangles.
#pragma once

#include "core/job.h"

namespace gencampi {

// The deviation from a rectangle that angoli starts from: a pair must score below it.
inline constexpr double punteggio_iniziale = 1e9;

// Names the corners of the pair (i, k) as angoli does: p1 the corner of i opposite the
// shared side p2-p3, q the corner of k outside i; a corner not found keeps the value it
// came in with. Returns the pair's deviation from a rectangle, and whether every corner
// was found.
bool valuta_coppia(const Job& job, int i, int k, int& p1, int& p2, int& p3, int& q,
                   double& punteggio);

void angoli(Job& job, int primoguscio, int iguscio, int& guscioA, int& guscioB, int& pv1, int& pv2,
            int& pv3, int& pv4);

}  // namespace gencampi
