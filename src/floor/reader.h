// The floor definition reader: settings, then impalcato.txt into the geometry store.
#pragma once

#include <string>

#include "core/job.h"

namespace gencampi {

// leggibase: settings and floor reader, then node placement and punti.dis. Returns
// early (after its message box) on ERRORE PERIMETRO, ERRORE BUCHI and ERRORE MURI.
void leggibase(Job& job);

// Takes the leading blank-separated number off a record and shortens it.
double estraiR(std::string& s1);

}  // namespace gencampi
