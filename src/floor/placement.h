// Node placement: grid nodes, boundary crossings and perpendicular feet.
#pragma once

#include "core/job.h"
#include "core/node_index.h"

namespace gencampi {

// Fills vettx/vetty with the distinct node coordinates (tolerance passo/1000), in the
// reverse order of their first appearance by node number.
void sortaxy(Job& job, Table<double>& vettx, Table<double>& vetty, int& nx, int& ny);

void rovescia(Table<double>& vett, int n);

// Projects nodes 1..npuntiorig onto the segment (x1, y1)-(x2, y2). With an index
// (the fast engine), nodes are added and moved through it; without, the store is
// scanned for every node.
void sortaperp(Job& job, double x1, double y1, double x2, double y2, int npuntiorig,
               NodeIndex* indice);

// Places the nodes the triangulation needs (the grid, the boundary crossings, the feet
// of perpendiculars) and fills the node list. Both engines place the same nodes.
void posiziona_nodi(Job& job);

}  // namespace gencampi
