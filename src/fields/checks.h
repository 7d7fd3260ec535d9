// Mesh checks on the last side of the side table.
#pragma once

#include <array>

#include "core/job.h"

namespace gencampi {

// True when segment A-B and segment P1-P2 properly cross: the interiors meet, with the
// absolute tolerance 1e-8 on every cross product, each evaluated left to right.
bool incrocio(double xA, double yA, double xB, double yB, double x1, double y1, double x2,
              double y2);

// True when the segment between nodes a and b crosses an edge of field row t. A segment
// from a corner is tested against the opposite edge only. The crossing edge's ends go
// to *da and *fino when asked for.
bool attraversa_campo(const Store& s, const std::array<int, 5>& t, int a, int b, int* da = nullptr,
                      int* fino = nullptr);

// True when node k lies on the segment between nodes a and b: its angle towards the two
// ends is within 0.001 degrees of 180.
bool nodo_sul_lato(const Store& s, int k, int a, int b);

// True when the segment (x1, y1)-(x2, y2) properly crosses side nlati.
bool interseca(const Store& s, double x1, double y1, double x2, double y2);

// Keeps side nlati when it crosses no side, field edge or listed node; otherwise
// removes it. ok tells which.
void controlla(Job& job, bool& ok);

}  // namespace gencampi
