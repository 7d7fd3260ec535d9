// Result and scratch files of the mesh: triang.txt, campi.tmp, campi2.tmp, campi.txt.
#pragma once

#include "core/job.h"
#include "core/textfile.h"

namespace gencampi {

// triang.txt in the job directory: the triangle count, then three node numbers a line.
void scrivi_triang(Job& job);

// Records of the field files.
void record_quadrilatero(const Store& s, Scrittore& w, int p1, int p2, int p3, int p4);
void record_triangolo(const Store& s, Scrittore& w, int p1, int p2, int p3);

}  // namespace gencampi
