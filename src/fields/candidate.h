// Acceptance test of candidate triangles.
#pragma once

#include "core/job.h"

namespace gencampi {

// Whether side p-q (a side the enclosure test looks at, not a tentative one) enters the
// triangle uno-due-tre, whose box is given: it does not join two corners, its midpoint
// lies strictly inside the box and crosses the edges an odd number of times, and no
// edge has the side along its line.
bool lato_nel_triangolo(const Store& s, int uno, int due, int tre, int p, int q, double xmin,
                        double xmax, double ymin, double ymax);

bool ingloba(const Job& job, int uno, int due, int tre, const Table<int>& punti, int Npunti);

void percorso(const Job& job, int uno, int due, int tre, const Table<int>& punti, int Npunti,
              bool& ok);

}  // namespace gencampi
