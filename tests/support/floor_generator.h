// Realistic slabs for tests and benchmarks: a rectangular or L-shaped perimeter,
// rectangular openings, walls, extra polylines and a jittered pillar grid, loaded into
// a job exactly as the floor reader loads a floor file, then given nodes by the node
// placement.
#pragma once

#include <cstdint>
#include <string>

#include "core/job.h"

namespace gencampi {

// A small generator of its own, so that a seed gives the same floor with every
// standard library. `scarto` keeps the sequences of different generators apart.
class SeededRandom {
 public:
  explicit SeededRandom(std::uint64_t seme, std::uint64_t scarto = 1)
      : x_(seme * 0x9E3779B97F4A7C15ULL + scarto) {}
  std::uint64_t prossimo() {
    std::uint64_t z = (x_ += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
  }
  // Uniform in [a, b).
  double tra(double a, double b) {
    return a + (b - a) * (static_cast<double>(prossimo() >> 11) * 0x1.0p-53);
  }
  // Uniform in a..b.
  int intero(int a, int b) { return a + static_cast<int>(prossimo() % (b - a + 1)); }
  bool moneta(double p) { return tra(0, 1) < p; }

 private:
  std::uint64_t x_;
};

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
