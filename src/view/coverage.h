// How well the fields cover the slab: the slab (perimeter less holes), the area the
// fields leave uncovered, cover twice, or spread beyond the slab. The polygon clipping
// is Clipper's (Debian package libpolyclipping-dev); nothing here clips by hand.
#pragma once

#include <cstddef>
#include <vector>

#include "core/job.h"
#include "view/model.h"

namespace gencampi::view {

// A polygon with holes, outer ring first; rings are open (closing vertex not repeated).
struct Shape {
  Ring outer;
  std::vector<Ring> inners;
};
using Shapes = std::vector<Shape>;

struct Coverage {
  Shapes slab;
  double slab_area = 0;
  double field_area = 0;    // sum of the areas of the fields taken into account
  double covered_area = 0;  // slab area under at least one field
  double gap_area = 0;      // slab area under no field
  double overlap_area = 0;  // area under two fields or more
  double outside_area = 0;  // field area off the slab (beyond the perimeter or in a hole)
  // The regions themselves, each a connected piece (pieces that share a stretch of
  // boundary are one region, pieces that meet only at points are apart), without the
  // slivers that rounding leaves where a corner of one field lies on a side of another
  // (below a billionth of the slab area each) and without slits (below a
  // hundred-thousandth of the slab area and narrower than a millionth of the slab's
  // diagonal), such as a field side that runs along the perimeter a rounding apart; the
  // areas above include both.
  Shapes gaps, overlaps, outside;
  // Fields (numbered from 1) left out of the clipping: no area, or sides that cross.
  std::vector<int> degenerate;
};

// The slab is what the mesher's own point-in-slab test takes for it: inside the
// perimeter and outside every hole, each ring read by the even-odd rule, so that an
// outline that crosses itself still has the meaning the mesher gave it.
//
// The fast engine cuts the plane into tiles of up to `per_tile` fields (unless large
// fields span a tile, which is then left whole), clips tile by tile and joins the pieces
// of a region that a tile border cut; the reference clips the whole floor at once, which
// grows much faster than the field count. Both give the same areas to rounding and the
// same regions. Tests make the tiles small, so that borders cut many regions.
inline constexpr std::size_t campi_per_tessera = 96;
Coverage cover(const Outline& outline, const Mesh& mesh, Engine engine = Engine::fast,
               std::size_t per_tile = campi_per_tessera);

}  // namespace gencampi::view
