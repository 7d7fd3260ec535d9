// The field stage: pairing and squaring cycles, the final pairing, campi.txt, campi.dis.
#pragma once

#include "core/job.h"

namespace gencampi {

// Runs on fields primo..ncampi left by the triangulation.
void fase_campi(Job& job, int primo);

}  // namespace gencampi
