// Merge partners: the fields that form a strictly convex quadrilateral with a field.
#pragma once

#include "core/job.h"

namespace gencampi {

void cercacoppie(Job& job, int corr);

// One field i of cercacoppie's scan for corr: when i shares a side with corr and the
// two make a strictly convex quadrilateral, i is listed as partner number m + 1. d is
// the far corner's column, carried from one field of the scan to the next.
void prova_compagno(Job& job, int corr, int i, int& m, int& d);

}  // namespace gencampi
