// Mesh checks on the last side of the side table.
#pragma once

#include "core/job.h"

namespace gencampi {

// True when the segment (x1, y1)-(x2, y2) properly crosses side nlati.
bool interseca(const Store& s, double x1, double y1, double x2, double y2);

// Keeps side nlati when it crosses no side, field edge or listed node; otherwise
// removes it. ok tells which.
void controlla(Job& job, bool& ok);

}  // namespace gencampi
