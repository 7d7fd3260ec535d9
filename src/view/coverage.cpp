#include "view/coverage.h"

#include <polyclipping/clipper.hpp>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <utility>

namespace gencampi::view {

namespace {

namespace CL = ClipperLib;

// Regions smaller than this share of the slab are slivers left where a corner of one
// field lies on a side of another and rounding puts it a hair off, not gaps or
// overlaps anybody could see or mesh.
constexpr double quota_trascurabile = 1e-9;

// Clipping works on whole numbers. Coordinates are moved to the lower left corner of
// the slab and the fields together and scaled by a power of two (exact in binary) so that the
// largest stays below 2^50. That grid is about as fine as the doubles the coordinates came in: a
// corner that lies on another field's side stays on it within a few units of the last digit, and
// the sliver between them is far below anything the report shows. Clipper does exact 128-bit
// arithmetic at this size.
constexpr double campo_intero = 1125899906842624.0;  // 2^50

struct Grid {
  double x0 = 0, y0 = 0, s = 1;

  CL::IntPoint to(Point p) const {
    return {static_cast<CL::cInt>(std::llround((p.x - x0) * s)),
            static_cast<CL::cInt>(std::llround((p.y - y0) * s))};
  }
  Point from(const CL::IntPoint& q) const {
    return {static_cast<double>(q.X) / s + x0, static_cast<double>(q.Y) / s + y0};
  }
  double area(const CL::Paths& ps) const {
    double a = 0;
    for (const CL::Path& p : ps) a += CL::Area(p);
    return a / s / s;
  }
};

Grid grid_for(const Outline& outline, const Mesh& mesh) {
  double xmin = std::numeric_limits<double>::infinity(), ymin = xmin;
  double xmax = -xmin, ymax = -xmin;
  auto add = [&](Point p) {
    xmin = std::min(xmin, p.x);
    ymin = std::min(ymin, p.y);
    xmax = std::max(xmax, p.x);
    ymax = std::max(ymax, p.y);
  };
  for (Point p : outline.perimeter) add(p);
  for (const Ring& h : outline.holes)
    for (Point p : h) add(p);
  for (Point p : mesh.vertices) add(p);
  Grid g;
  if (!(xmin <= xmax)) return g;
  g.x0 = xmin;
  g.y0 = ymin;
  const double extent = std::max({xmax - xmin, ymax - ymin, 1e-9});
  g.s = std::exp2(std::floor(std::log2(campo_intero / extent)));
  return g;
}

CL::Path path(const Grid& g, const Ring& ring) {
  CL::Path p;
  for (Point v : ring) p.push_back(g.to(v));
  return p;
}

CL::Paths run(CL::ClipType op, const CL::Paths& subject, CL::PolyFillType fs, const CL::Paths& clip,
              CL::PolyFillType fc) {
  CL::Clipper c;
  c.AddPaths(subject, CL::ptSubject, true);
  c.AddPaths(clip, CL::ptClip, true);
  CL::Paths out;
  c.Execute(op, out, fs, fc);
  return out;
}

// Union of many pieces, merged pairwise in a balanced tree. One sweep over thousands
// of fields that share sides is slow (every shared side is an edge pair on the same
// line); small merges of neighbours are fast.
CL::Paths unite(std::vector<CL::Paths> parts) {
  if (parts.empty()) return {};
  while (parts.size() > 1) {
    std::vector<CL::Paths> next;
    next.reserve(parts.size() / 2 + 1);
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2)
      next.push_back(run(CL::ctUnion, parts[i], CL::pftNonZero, parts[i + 1], CL::pftNonZero));
    if (parts.size() % 2 == 1) next.push_back(std::move(parts.back()));
    parts = std::move(next);
  }
  return std::move(parts.front());
}

// Polygons with their holes, each above `smallest` in area.
Shapes shapes_of(const Grid& g, const CL::Paths& ps, double smallest) {
  CL::Clipper c;
  c.AddPaths(ps, CL::ptSubject, true);
  CL::PolyTree tree;
  c.Execute(CL::ctUnion, tree, CL::pftNonZero, CL::pftNonZero);
  Shapes out;
  auto ring = [&g](const CL::Path& p) {
    Ring r;
    for (const CL::IntPoint& q : p) r.push_back(g.from(q));
    return r;
  };
  for (CL::PolyNode* n = tree.GetFirst(); n != nullptr; n = n->GetNext()) {
    if (n->IsHole()) continue;
    double a = CL::Area(n->Contour);
    for (const CL::PolyNode* h : n->Childs) a += CL::Area(h->Contour);
    if (!(a / g.s / g.s > smallest)) continue;
    Shape s;
    s.outer = ring(n->Contour);
    for (const CL::PolyNode* h : n->Childs) s.inners.push_back(ring(h->Contour));
    out.push_back(std::move(s));
  }
  return out;
}

__extension__ typedef __int128 Intero128;

// Whether segments pq and rs cross at a point inside both, decided exactly: the
// products of 51-bit differences need 128 bits.
bool crossing(const CL::IntPoint& p, const CL::IntPoint& q, const CL::IntPoint& r,
              const CL::IntPoint& s) {
  auto side = [](const CL::IntPoint& a, const CL::IntPoint& b, const CL::IntPoint& c) {
    Intero128 v = static_cast<Intero128>(b.X - a.X) * (c.Y - a.Y) -
                  static_cast<Intero128>(b.Y - a.Y) * (c.X - a.X);
    return (v > 0) - (v < 0);
  };
  return side(p, q, r) * side(p, q, s) < 0 && side(r, s, p) * side(r, s, q) < 0;
}

// A field that the clipping can take: some area and no two sides crossing (a
// quadrilateral whose corners are out of order is a bow tie, with no inside).
bool usable(const CL::Path& p) {
  if (CL::Area(p) == 0) return false;
  return p.size() != 4 || (!crossing(p[0], p[1], p[2], p[3]) && !crossing(p[1], p[2], p[3], p[0]));
}

struct Box {
  CL::cInt xmin, ymin, xmax, ymax;
};

Box box_of(const CL::Path& p) {
  Box b{p[0].X, p[0].Y, p[0].X, p[0].Y};
  for (const CL::IntPoint& q : p) {
    b.xmin = std::min(b.xmin, q.X);
    b.ymin = std::min(b.ymin, q.Y);
    b.xmax = std::max(b.xmax, q.X);
    b.ymax = std::max(b.ymax, q.Y);
  }
  return b;
}

// Area under two fields or more: the union of every pairwise intersection, so that a
// spot under three fields counts once. Only fields whose boxes overlap are tried,
// found by a sweep along X.
CL::Paths doubly_covered(const std::vector<CL::Path>& fields) {
  std::vector<Box> boxes;
  std::vector<std::size_t> order(fields.size());
  for (std::size_t i = 0; i < fields.size(); ++i) {
    boxes.push_back(box_of(fields[i]));
    order[i] = i;
  }
  std::sort(order.begin(), order.end(), [&boxes](std::size_t a, std::size_t b) {
    return boxes[a].xmin != boxes[b].xmin ? boxes[a].xmin < boxes[b].xmin : a < b;
  });
  std::vector<CL::Paths> pieces;
  for (std::size_t k = 0; k < order.size(); ++k) {
    const Box& a = boxes[order[k]];
    for (std::size_t m = k + 1; m < order.size() && boxes[order[m]].xmin < a.xmax; ++m) {
      const Box& b = boxes[order[m]];
      if (b.ymin >= a.ymax || a.ymin >= b.ymax) continue;
      CL::Paths both = run(CL::ctIntersection, {fields[order[k]]}, CL::pftNonZero,
                           {fields[order[m]]}, CL::pftNonZero);
      double area = 0;
      for (const CL::Path& p : both) area += CL::Area(p);
      if (area > 0) pieces.push_back(std::move(both));
    }
  }
  return unite(std::move(pieces));
}

CL::Paths slab_of(const Grid& g, const Outline& outline) {
  // Each hole on its own by the even-odd rule, as the point-in-slab test reads it,
  // then all of them together: a point in any hole is off the slab.
  std::vector<CL::Paths> holes;
  for (const Ring& h : outline.holes)
    holes.push_back(run(CL::ctUnion, {path(g, h)}, CL::pftEvenOdd, {}, CL::pftEvenOdd));
  return run(CL::ctDifference, {path(g, outline.perimeter)}, CL::pftEvenOdd,
             unite(std::move(holes)), CL::pftNonZero);
}

}  // namespace

Coverage cover(const Outline& outline, const Mesh& mesh) {
  Coverage c;
  const Grid g = grid_for(outline, mesh);
  const CL::Paths slab = slab_of(g, outline);
  c.slab_area = g.area(slab);
  const double smallest = quota_trascurabile * c.slab_area;
  c.slab = shapes_of(g, slab, 0);

  std::vector<CL::Path> fields;
  std::vector<CL::Paths> parts;
  for (std::size_t f = 0; f < mesh.fields.size(); ++f) {
    CL::Path p;
    for (std::size_t i = 0; i < mesh.fields[f].corners.size(); ++i)
      p.push_back(g.to(mesh.corner(mesh.fields[f], i)));
    if (!usable(p)) {
      c.degenerate.push_back(static_cast<int>(f) + 1);
      continue;
    }
    // Counter-clockwise, so that every field adds +1 to the winding number.
    if (!CL::Orientation(p)) CL::ReversePath(p);
    c.field_area += CL::Area(p) / g.s / g.s;
    fields.push_back(p);
    parts.push_back({std::move(p)});
  }
  const CL::Paths covered_anywhere = unite(std::move(parts));

  const CL::Paths gaps =
      run(CL::ctDifference, slab, CL::pftNonZero, covered_anywhere, CL::pftNonZero);
  const CL::Paths outside =
      run(CL::ctDifference, covered_anywhere, CL::pftNonZero, slab, CL::pftNonZero);
  const CL::Paths covered =
      run(CL::ctIntersection, slab, CL::pftNonZero, covered_anywhere, CL::pftNonZero);
  const CL::Paths overlaps = doubly_covered(fields);

  c.gap_area = g.area(gaps);
  c.outside_area = g.area(outside);
  c.covered_area = g.area(covered);
  c.overlap_area = g.area(overlaps);
  c.gaps = shapes_of(g, gaps, smallest);
  c.outside = shapes_of(g, outside, smallest);
  c.overlaps = shapes_of(g, overlaps, smallest);
  return c;
}

}  // namespace gencampi::view
