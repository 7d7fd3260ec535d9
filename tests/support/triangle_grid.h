// Triangle meshes made up for checking and timing the field stage on its own.
#pragma once

#include "core/job.h"

namespace gencampi {

// A jittered grid of nx by ny cells of 100 by 80, each split into two triangles by a
// random diagonal; fields in random order and corner order, the outline as perimeter
// sides and half of the middle row of cell edges as a wall. Every third seed gives a
// plain grid, whose pairs all score alike. Fills the store, the floor's walls and the
// field table of an empty job.
void griglia_triangoli(Job& job, unsigned seme, int nx, int ny, double passo);

}  // namespace gencampi
