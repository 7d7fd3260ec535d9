// Drawing files for the external viewer: punti.dis and campi.dis.
#pragma once

#include "core/job.h"

namespace gencampi {

// Writes punti.dis into the job directory from the store.
void scrivi_punti_dis(Job& job);

// Rebuilds the store from campi.txt and writes campi.dis into the job directory.
// The fast way looks the corners up in a hash of node positions; the reference way
// scans the store for each, as aggiungi_nodo does. Both give the same store and file.
void creadisegno(Job& job, bool veloce = true);

}  // namespace gencampi
