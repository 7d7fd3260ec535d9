// Node placement: grid nodes, boundary crossings and perpendicular feet.
#pragma once

#include "core/job.h"
#include "core/node_index.h"

namespace gencampi {

// Fills vettx/vetty with the distinct node coordinates (tolerance passo/1000), in the
// reverse order of their first appearance by node number.
void sortaxy(Job& job, Table<double>& vettx, Table<double>& vetty, int& nx, int& ny);

void rovescia(Table<double>& vett, int n);

// Projects nodes 1..npuntiorig onto the segment (x1, y1)-(x2, y2).
// With an index, nodes are added and moved through it.
void sortaperp(Job& job, double x1, double y1, double x2, double y2, int npuntiorig,
               IndiceNodi* indice = nullptr);

// The second half of leggibase: placement, node list and punti.dis.
// The fast way adds nodes through a hash of node positions; the reference way scans the
// store for every node, as written. Both place the same nodes.
void posiziona_nodi(Job& job, bool veloce = true);

}  // namespace gencampi
