// Drawing files for the external viewer: punti.dis and campi.dis.
#pragma once

#include "core/job.h"

namespace gencampi {

// Writes punti.dis into the job directory from the store.
void scrivi_punti_dis(Job& job);

// Rebuilds the store from campi.txt and writes campi.dis into the job directory. Both
// engines give the same store and file.
void creadisegno(Job& job);

}  // namespace gencampi
