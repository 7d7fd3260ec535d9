// The rigid-floor result file triang.txt.
#pragma once

#include "core/job.h"

namespace gencampi {

// triang.txt in the job directory: the triangle count, then three node numbers a line.
void scrivi_triang(Job& job);

}  // namespace gencampi
