// Point-in-slab and grid-crossing tests over the outline bookkeeping.
#pragma once

#include "core/job.h"
#include "core/node_index.h"

namespace gencampi {

// Edges whose end heights differ by no more than this are horizontal: the ray never
// counts them, which also keeps the crossing abscissa from dividing by zero.
inline constexpr double tolleranza_orizzontale = 1e-9;
bool orizzontale(double y1, double y2);

// One edge (x1, y1)-(x2, y2) against the ray from (xp, yp) towards +X: a half-open band of
// heights (lower end in, upper end out), edges within 1e-9 of horizontal never count.
bool attraversa(double xp, double yp, double x1, double y1, double x2, double y2);

// True when the point lies outside the slab: outside the perimeter or inside a hole.
bool xyesterno(const Job& job, double xp, double yp);

// xyesterno at the centroid of three nodes.
bool esterno(const Job& job, int uno, int due, int tre);

// Crossings of the vertical and horizontal lines through (xk, yk) with the segment
// become nodes (merged within distanza_min).
// With an index (the fast engine), the nodes are added through it.
void intersxy(Job& job, double xk, double yk, double x1, double y1, double x2, double y2,
              NodeIndex* indice);

}  // namespace gencampi
