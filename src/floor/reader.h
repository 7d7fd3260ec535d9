// The floor definition reader: settings, then impalcato.txt into the geometry store.
#pragma once

#include <string>

#include "core/job.h"

namespace gencampi {

// How far the floor got. An outline error is not an ending: the run goes on with what
// was read, after the reader's message.
enum class FloorRead {
  complete,
  hand_over,        // "|tipo=2|": the sibling program meshes this job, read no further
  perimeter_error,  // "ERRORE PERIMETRO": fewer than three perimeter vertices
  holes_error,      // "ERRORE BUCHI": a hole with fewer than three vertices
  walls_error,      // "ERRORE MURI": a wall with fewer than two vertices
};

// The message box of an outline error; empty for the other outcomes.
const char* messaggio_lettura(FloorRead esito);

// leggibase: the settings, interleaved with impalcato.txt read into the geometry store
// and the floor bookkeeping.
FloorRead leggibase(Job& job);

// Takes the leading blank-separated number off a record and shortens it.
double estraiR(std::string& s1);

}  // namespace gencampi
