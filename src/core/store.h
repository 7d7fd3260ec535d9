// Operations of the geometry store: adding nodes with de-duplication, appending
// sides, side length and node distance.
#pragma once

#include "core/job.h"

namespace gencampi {

// An empty store with the drawing area's size before any floor is read.
void azzera(Store& s);

// Index of the node at (x, y): the lowest-numbered node within 1e-6 in both X and Y,
// or a new node.
int aggiungi_nodo(Store& s, double x, double y);

// Index of the lowest-numbered node closer than d to (x, y) (squared distance below
// d squared), or a new node.
int aggiungi_nodo_dist(Store& s, double x, double y, double d);

// Appends a node without looking for one already there (the search is the caller's).
int nuovo_nodo(Store& s, double x, double y);

// Appends the side iniziale -> finale with tag colore. With `ok` given, a side shorter
// than 1e-6 is dropped again and *ok tells whether it stayed.
void kreali(Store& s, int iniziale, int finale, int colore, bool* ok = nullptr);

double lunghezza(const Store& s, int i);
double distanza(const Store& s, int p1, int p2);

// Tolerance within which two nodes are the same node.
inline constexpr double tolleranza_nodo = 0.000001;

}  // namespace gencampi
