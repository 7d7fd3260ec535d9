// Realistic slabs for tests and benchmarks: a rectangular or L-shaped perimeter,
// rectangular openings, walls, extra polylines and a jittered pillar grid, loaded into
// a job exactly as the floor reader loads a floor file, then given nodes by the node
// placement.
#pragma once

#include <cstdint>
#include <string>

#include "core/job.h"

namespace gencampi {

struct ParametriPiano {
  std::uint64_t seme = 1;
  double larghezza = 2000;  // outer size, in floor units
  double altezza = 1500;
  bool forma_l = false;    // the top right quarter cut away
  int aperture = 1;        // rectangular openings (holes)
  int muri = 1;            // straight walls of two or three vertices
  int polilinee = 0;       // open or closed extra polylines
  double interasse = 500;  // pillar grid spacing (jittered by a tenth)
  double passo = 100;      // mesh step; negative builds a rigid floor
  double distanza_min = 50;
  double distanza_max = 100;
  bool allinea = true;  // grid alignment of the placement
};

// Loads the floor into the job's store and bookkeeping as the floor reader would (the
// settings as the reader corrects them), without any file.
void genera_piano(Job& job, const ParametriPiano& p);

// genera_piano, then the node placement; punti.dis goes to `cartella`.
void genera_nodi(Job& job, const ParametriPiano& p, const std::string& cartella);

}  // namespace gencampi
