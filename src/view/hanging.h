// Hanging nodes: mesh vertices that lie on a field's side without being one of its
// corners. A finite-element solver joins two elements only through shared nodes, so
// a side carrying such a vertex leaves its two neighbours unconnected along it.
#pragma once

#include <vector>

#include "core/grid.h"
#include "view/model.h"

namespace gencampi::view {

// A vertex counts as on a segment when it lies within this fraction of the segment's
// length of it, both across the segment and away from its two ends: a micrometre on a
// side of a metre. Relative, so that it means the same on a floor drawn in metres as in
// centimetres. Wide enough for the rounding of a corner computed on a side (the result
// files keep 15 digits) and for a corner the mesher moved by less than its node
// tolerance onto a side nearly in line with it; far narrower than any distance the
// mesher keeps between two nodes.
inline constexpr double tolleranza_lato = 1e-6;

struct HangingNode {
  int vertex;  // index into Mesh::vertices
  int field;   // 1-based, in file order
  int side;    // the side from corners[side] to corners[(side + 1) % n]
  double t;    // where along the side, strictly between 0 and 1
  Point at;    // the vertex itself
};

// Every mesh vertex that lies on a side of a field, strictly between the side's two
// corners (within tolleranza_lato), and is not a corner of that field. Sorted by field,
// then side, then t. Near-linear in the number of fields.
std::vector<HangingNode> hanging_nodes(const Mesh& mesh);

// A vertex on a segment, `t` from its first end (0) to its second (1).
struct OnSegment {
  double t;
  int vertex;
};

// The vertices of a point set on a uniform grid of about one per cell, to find those
// lying on a segment without scanning them all.
class VertexSearch {
 public:
  explicit VertexSearch(const std::vector<Point>& vertices);

  // The vertices on the segment p-q strictly between its ends, by tolleranza_lato,
  // ordered from p to q. None for a segment of length 0.
  std::vector<OnSegment> on_segment(Point p, Point q) const;

 private:
  const std::vector<Point>& v_;
  Grid grid_;
  std::vector<int> start_;  // the vertices of cell c are index_[start_[c] .. start_[c + 1])
  std::vector<int> index_;
};

}  // namespace gencampi::view
