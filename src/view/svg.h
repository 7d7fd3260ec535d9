// The picture of a meshed floor: the slab and what stands on it, the fields with
// quadrilaterals and triangles told apart (each with its measures as hover text, and
// its number on request), the regions the report calls gaps, overlaps or fields off
// the slab, the placed nodes, the hanging nodes and the worst fields, the job name,
// the verdict, coordinate ticks and a scale bar.
#pragma once

#include <string>

#include "view/coverage.h"
#include "view/model.h"
#include "view/report.h"

namespace gencampi::view {

// A complete SVG document. Equal inputs give byte-equal documents: coordinates are
// printed with fixed decimals and every element comes in file order. `labels` writes
// each field's number on it.
std::string draw_svg(const Outline& outline, const Mesh& mesh, const Coverage& coverage,
                     const Report& report, const std::string& unit, bool labels = false);

}  // namespace gencampi::view
