// The picture of a meshed floor: the slab and what stands on it, the fields with
// quadrilaterals and triangles told apart, the regions the report calls gaps,
// overlaps or fields off the slab, the placed nodes, the job name and a scale bar.
#pragma once

#include <string>

#include "view/coverage.h"
#include "view/model.h"
#include "view/report.h"

namespace gencampi::view {

// A complete SVG document. Equal inputs give byte-equal documents: coordinates are
// printed with fixed decimals and every element comes in file order.
std::string draw_svg(const Outline& outline, const Mesh& mesh, const Coverage& coverage,
                     const Report& report, const std::string& unit);

}  // namespace gencampi::view
