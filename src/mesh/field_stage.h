// The field stage: pairing and squaring cycles, the final pairing, campi.txt.
#pragma once

#include "core/job.h"
#include "core/node_index.h"

namespace gencampi {

// Working values of the field stage, carried from one step to the next.
struct FieldStageState {
  int primo = 1;       // first field number the stage works on
  int ultimo = 0;      // last field number of the current pairing step
  int nquadri = 0;     // quadrilaterals of the last pairing step (or of the squaring step)
  int ntriangoli = 0;  // triangles of the last pairing step
  int nquadri2 = 0;    // quadrilaterals in campi2.tmp
  bool passata_finale = false;
  // The fast engine's hash of node positions for the corners read back; none for the
  // reference engine, which scans the store.
  NodeIndex* indice = nullptr;
};

// Runs on fields primo..ncampi left by the triangulation and writes campi.txt. The fast
// engine finds partners through shared nodes, keeps the listed pairs scored in a heap
// and looks corners up in a hash of node positions; the reference engine scans as
// written. Both give the same files.
void fase_campi(Job& job, int primo);

// Merges listed pairs into quadrilaterals and writes them, then the leftover triangles,
// to campi.tmp. In the final pass, obtuse triangles are split and slivers dropped.
void accoppia(Job& job, FieldStageState& st);

// Reads campi.tmp back into the field table, cutting nearly right-angled triangles off
// the quadrilaterals and appending the squared quadrilaterals to campi2.tmp.
void squadra(Job& job, FieldStageState& st);

// Writes campi.txt from campi2.tmp and campi.tmp.
void assembla_campi(Job& job, const FieldStageState& st);

}  // namespace gencampi
