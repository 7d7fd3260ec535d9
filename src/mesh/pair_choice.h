// Choice of the most nearly rectangular pair of listed triangles.
#pragma once

#include "core/job.h"

namespace gencampi {

void angoli(Job& job, int primoguscio, int iguscio, int& guscioA, int& guscioB, int& pv1, int& pv2,
            int& pv3, int& pv4);

}  // namespace gencampi
