// Mesh checks on the last side of the side table.
#pragma once

#include "core/job.h"

namespace gencampi {

// True when segment A-B and segment P1-P2 properly cross: the interiors meet, with the
// absolute tolerance 1e-8 on every cross product, each evaluated left to right.
bool incrocio(double xA, double yA, double xB, double yB, double x1, double y1, double x2,
              double y2);

// True when the segment (x1, y1)-(x2, y2) properly crosses side nlati.
bool interseca(const Store& s, double x1, double y1, double x2, double y2);

// Keeps side nlati when it crosses no side, field edge or listed node; otherwise
// removes it. ok tells which.
void controlla(Job& job, bool& ok);

}  // namespace gencampi
