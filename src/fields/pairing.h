// Merge partners: the fields that form a strictly convex quadrilateral with a field.
#pragma once

#include "core/job.h"

namespace gencampi {

void cercacoppie(Job& job, int corr);

}  // namespace gencampi
