#include "view/coverage.h"

#include <polyclipping/clipper.hpp>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <numeric>
#include <string>
#include <utility>

namespace gencampi::view {

namespace {

namespace CL = ClipperLib;

// Regions smaller than this share of the slab are slivers left where a corner of one
// field lies on a side of another and rounding puts it a hair off, not gaps or
// overlaps anybody could see or mesh.
constexpr double quota_trascurabile = 1e-9;
// A slit: a region below this share of the slab area that is also narrower than
// `larghezza_fessura` of the slab's diagonal. A field side that runs along the perimeter
// or along another field's side, with corners the mesher merged within its node
// tolerance or printed to 15 digits, leaves such a strip a hair wide and as long as the
// side; it is no gap a mesh could fill. The width is twice the area over the length of
// the region's boundary: for a strip, its width.
constexpr double quota_fessura = 1e-5;
constexpr double larghezza_fessura = 1e-6;

// Clipping works on whole numbers. Coordinates are moved to the lower left corner of
// the slab and the fields together and scaled by a power of two (exact in binary) so that the
// largest stays below 2^50. That grid is about as fine as the doubles the coordinates came in: a
// corner that lies on another field's side stays on it within a few units of the last digit, and
// the sliver between them is far below anything the report shows. Clipper does exact 128-bit
// arithmetic at this size. Every corner is then doubled, so that corners lie on even numbers
// and the tile borders of the fast engine, on odd ones, never pass through a corner.
constexpr double campo_intero = 1125899906842624.0;  // 2^50

struct Grid {
  double x0 = 0, y0 = 0, s = 2;  // s: doubles per grid unit, the doubling included

  CL::IntPoint to(Point p) const {
    return {2 * static_cast<CL::cInt>(std::llround((p.x - x0) * (s / 2))),
            2 * static_cast<CL::cInt>(std::llround((p.y - y0) * (s / 2)))};
  }
  Point from(const CL::IntPoint& q) const {
    return {static_cast<double>(q.X) / s + x0, static_cast<double>(q.Y) / s + y0};
  }
  double area(double units) const { return units / s / s; }
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
  g.s = 2 * std::exp2(std::floor(std::log2(campo_intero / extent)));
  return g;
}

CL::Path path(const Grid& g, const Ring& ring) {
  CL::Path p;
  for (Point v : ring) p.push_back(g.to(v));
  return p;
}

double area(const CL::Paths& ps) {
  double a = 0;
  for (const CL::Path& p : ps) a += CL::Area(p);
  return a;
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

CL::Paths run(CL::ClipType op, const CL::Paths& subject, const CL::Paths& clip) {
  return run(op, subject, CL::pftNonZero, clip, CL::pftNonZero);
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
      next.push_back(run(CL::ctUnion, parts[i], parts[i + 1]));
    if (parts.size() % 2 == 1) next.push_back(std::move(parts.back()));
    parts = std::move(next);
  }
  return std::move(parts.front());
}

// One region: its outer ring counter-clockwise, its holes clockwise, as Clipper gives them.
struct Region {
  CL::Path outer;
  std::vector<CL::Path> inners;
};

// Calls f(a, b) for every side a-b of every ring of the region, the outer one first.
template <class F>
void each_side(const Region& r, F f) {
  auto ring = [&f](const CL::Path& p) {
    for (std::size_t k = 0; k < p.size(); ++k) f(p[k], p[(k + 1) % p.size()]);
  };
  ring(r.outer);
  for (const CL::Path& h : r.inners) ring(h);
}

// What is left out of the regions, in grid units.
struct Thresholds {
  double smallest = 0;    // any region up to this area
  double slit_area = 0;   // a region below this area ...
  double slit_width = 0;  // ... and narrower than this
};

double length(const CL::Path& p) {
  double l = 0;
  for (std::size_t i = 0; i < p.size(); ++i) {
    const CL::IntPoint &a = p[i], &b = p[(i + 1) % p.size()];
    l += std::hypot(static_cast<double>(b.X - a.X), static_cast<double>(b.Y - a.Y));
  }
  return l;
}

bool shown(const Region& r, const Thresholds& t) {
  double a = CL::Area(r.outer), l = length(r.outer);
  for (const CL::Path& h : r.inners) {
    a += CL::Area(h);
    l += length(h);
  }
  if (!(a > t.smallest)) return false;
  return !(a < t.slit_area && 2 * a / l < t.slit_width);
}

Shapes shapes(const Grid& g, const std::vector<Region>& regions, const Thresholds& t) {
  auto ring = [&g](const CL::Path& p) {
    Ring r;
    for (const CL::IntPoint& q : p) r.push_back(g.from(q));
    return r;
  };
  Shapes out;
  for (const Region& r : regions) {
    if (!shown(r, t)) continue;
    Shape s;
    s.outer = ring(r.outer);
    for (const CL::Path& h : r.inners) s.inners.push_back(ring(h));
    out.push_back(std::move(s));
  }
  return out;
}

// The regions of a clipping result: every outer ring with the holes directly inside it;
// an island in a hole is a region of its own.
std::vector<Region> regions_of(const CL::PolyTree& tree) {
  std::vector<Region> out;
  for (const CL::PolyNode* n = tree.GetFirst(); n != nullptr; n = n->GetNext()) {
    if (n->IsHole()) continue;
    Region& r = out.emplace_back();
    r.outer = n->Contour;
    for (const CL::PolyNode* h : n->Childs) r.inners.push_back(h->Contour);
  }
  return out;
}

// The regions of a clipping. Regions that meet at a single point are kept apart (strictly
// simple rings), however the work reached them. A result is passed through here once more
// as a union: one pass does not always join the polygons of one region.
std::vector<Region> clip(CL::ClipType op, const CL::Paths& a, const CL::Paths& b) {
  CL::Clipper c;
  c.StrictlySimple(true);
  c.AddPaths(a, CL::ptSubject, true);
  c.AddPaths(b, CL::ptClip, true);
  CL::PolyTree tree;
  c.Execute(op, tree, CL::pftNonZero, CL::pftNonZero);
  return regions_of(tree);
}

__extension__ typedef __int128 Intero128;

// Regions that share a stretch of boundary are one region. Clipper does not always join
// them: where a field overlaps several others that meet along a line, or a corner lies on
// a neighbour's side, one union may leave two polygons side by side, and which ones
// depends on the order of the work, so the count would depend on it too. Every side is
// filed under its line (direction in lowest terms, and offset, exactly) with its extent
// along it; sides of two regions on one line that overlap join them, and each joined
// group is closed up: grown by `tocco` grid units and shrunk back, which merges polygons
// that touch along a side and changes nothing else a drawing can show. Regions that
// only meet at a point stay apart.
constexpr double tocco = 2;

std::vector<Region> weld(std::vector<Region> regions) {
  struct Side {
    CL::cInt ux, uy;
    Intero128 offset, lo, hi;
    std::size_t region;
  };
  std::vector<Side> sides;
  for (std::size_t r = 0; r < regions.size(); ++r)
    each_side(regions[r], [&](const CL::IntPoint& a, const CL::IntPoint& b) {
      CL::cInt ux = b.X - a.X, uy = b.Y - a.Y;
      const CL::cInt d = std::gcd(ux, uy);
      if (d == 0) return;
      ux /= d;
      uy /= d;
      if (ux < 0 || (ux == 0 && uy < 0)) {
        ux = -ux;
        uy = -uy;
      }
      const Intero128 ta = static_cast<Intero128>(ux) * a.X + static_cast<Intero128>(uy) * a.Y;
      const Intero128 tb = static_cast<Intero128>(ux) * b.X + static_cast<Intero128>(uy) * b.Y;
      sides.push_back({ux, uy, static_cast<Intero128>(ux) * a.Y - static_cast<Intero128>(uy) * a.X,
                       std::min(ta, tb), std::max(ta, tb), r});
    });
  std::sort(sides.begin(), sides.end(), [](const Side& a, const Side& b) {
    if (a.ux != b.ux) return a.ux < b.ux;
    if (a.uy != b.uy) return a.uy < b.uy;
    if (a.offset != b.offset) return a.offset < b.offset;
    return a.lo < b.lo;
  });
  std::vector<std::size_t> group(regions.size());
  std::iota(group.begin(), group.end(), std::size_t{0});
  auto root = [&group](std::size_t i) {
    while (group[i] != i) i = group[i] = group[group[i]];
    return i;
  };
  bool joined = false;
  for (std::size_t k = 1, reach = 0; k < sides.size(); ++k) {
    const Side &s = sides[k], &t = sides[reach];
    if (s.ux != t.ux || s.uy != t.uy || s.offset != t.offset) {
      reach = k;
      continue;
    }
    if (s.lo < t.hi && root(s.region) != root(t.region)) {
      group[root(s.region)] = root(t.region);
      joined = true;
    }
    if (s.hi > t.hi) reach = k;
  }
  if (!joined) return regions;
  std::vector<std::vector<std::size_t>> members(regions.size());
  for (std::size_t r = 0; r < regions.size(); ++r) members[root(r)].push_back(r);
  std::vector<Region> out;
  for (const std::vector<std::size_t>& m : members) {
    if (m.size() == 1) out.push_back(std::move(regions[m[0]]));
    if (m.size() < 2) continue;
    CL::Paths rings, grown, closed;
    for (std::size_t r : m) {
      rings.push_back(std::move(regions[r].outer));
      for (CL::Path& h : regions[r].inners) rings.push_back(std::move(h));
    }
    CL::ClipperOffset grow, shrink;
    grow.AddPaths(rings, CL::jtMiter, CL::etClosedPolygon);
    grow.Execute(grown, tocco);
    shrink.AddPaths(grown, CL::jtMiter, CL::etClosedPolygon);
    shrink.Execute(closed, -tocco);
    for (Region& r : clip(CL::ctUnion, closed, {})) out.push_back(std::move(r));
  }
  return out;
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

// Whether segments pq and rs cross at a point inside both, decided exactly: the
// products of 52-bit differences need 128 bits.
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

// The box around all of `ps`, which may not be empty.
Box box_of(const CL::Paths& ps) {
  Box b = box_of(ps.front());
  for (const CL::Path& p : ps) {
    const Box q = box_of(p);
    b = {std::min(b.xmin, q.xmin), std::min(b.ymin, q.ymin), std::max(b.xmax, q.xmax),
         std::max(b.ymax, q.ymax)};
  }
  return b;
}

// Area under two fields or more, in one sweep: every field turns counter-clockwise and
// adds 1 to the winding number, a clockwise frame around them all takes 1 away, so that
// a positive winding is a spot under two fields. (A union of the pairwise intersections
// gives the same area, but rounds each piece on its own: where a corner lies on a
// neighbour's side, one overlap could come out as two polygons a rounding apart.)
CL::Paths doubly_covered(const CL::Paths& fields) {
  if (fields.size() < 2) return {};
  const Box span = box_of(fields);
  CL::Paths all = fields;
  all.push_back({{span.xmin - 1, span.ymin - 1},
                 {span.xmin - 1, span.ymax + 1},
                 {span.xmax + 1, span.ymax + 1},
                 {span.xmax + 1, span.ymin - 1}});
  return run(CL::ctUnion, all, CL::pftPositive, {}, CL::pftPositive);
}

// ---- The reference: the whole floor clipped at once ----

struct Measures {
  double gap = 0, outside = 0, covered = 0, overlap = 0;  // in grid units
  std::array<std::vector<Region>, 3> regions;             // gaps, overlaps, outside
};

Measures reference(const CL::Paths& slab, const std::vector<CL::Path>& fields) {
  const CL::Paths covered_anywhere = run(CL::ctUnion, fields, {});
  const CL::Paths gaps = run(CL::ctDifference, slab, covered_anywhere);
  const CL::Paths outside = run(CL::ctDifference, covered_anywhere, slab);
  const CL::Paths overlaps = doubly_covered(fields);
  Measures m;
  m.gap = area(gaps);
  m.outside = area(outside);
  m.covered = area(run(CL::ctIntersection, slab, covered_anywhere));
  m.overlap = area(overlaps);
  m.regions = {weld(clip(CL::ctUnion, gaps, {})), weld(clip(CL::ctUnion, overlaps, {})),
               weld(clip(CL::ctUnion, outside, {}))};
  return m;
}

// ---- The fast engine: tile by tile ----
//
// The plane is cut, along the longer side, at the median of the fields' centres, again
// and again until a tile holds few fields; a field that straddles a border belongs to
// both tiles. Each tile clips its own share of the slab against its own fields only and
// keeps what falls inside it. The areas add up over the tiles. A region a border cut in
// two is joined again on the way back up: the pieces on either side that share a
// stretch of that border are united, and only their outer rings and the holes that
// reach a border take part, so that joining the tiles costs about the length of their
// borders and not the number of holes inside them. Regions side by side are welded
// where they are made, in a tile or a join: a border cuts a stretch that two regions
// share into parts that each lie inside a tile, since no side runs along a border (no
// corner has its odd coordinates), and each tile welds its own.

// Grid units (a rounding is one) that two pieces must share along a tile border to be one
// region.
constexpr CL::cInt giunzione_minima = 8;

CL::Path rectangle(const Box& r) {
  return {{r.xmin, r.ymin}, {r.xmax, r.ymin}, {r.xmax, r.ymax}, {r.xmin, r.ymax}};
}

bool on_border(const CL::IntPoint& p, const Box& r) {
  return p.X == r.xmin || p.X == r.xmax || p.Y == r.ymin || p.Y == r.ymax;
}

bool on_border(const CL::Path& ring, const Box& r) {
  return std::any_of(ring.begin(), ring.end(),
                     [&r](const CL::IntPoint& p) { return on_border(p, r); });
}

// A region, or the part of one that a tile holds: the rings that may still change, and
// the holes already closed off inside the tile, which no join can reach any more.
struct Piece {
  Region open;
  std::vector<CL::Path> closed;
};

using Pieces = std::array<std::vector<Piece>, 3>;

// The innermost outer ring that holds `hole`.
std::size_t holder(const std::vector<Piece>& parts, const CL::Path& hole) {
  std::size_t best = 0;
  double best_area = std::numeric_limits<double>::infinity();
  for (std::size_t k = 0; k < parts.size(); ++k) {
    const double a = CL::Area(parts[k].open.outer);
    if (!(a < best_area)) continue;
    for (const CL::IntPoint& p : hole) {
      const int where = CL::PointInPolygon(p, parts[k].open.outer);
      if (where == -1) continue;  // on the ring: try the next corner
      if (where == 1) {
        best = k;
        best_area = a;
      }
      break;
    }
  }
  return best;
}

class Tiler {
 public:
  Tiler(const std::vector<CL::Path>& fields, std::size_t per_tile)
      : fields_(fields), per_tile_(per_tile) {
    for (const CL::Path& f : fields) boxes_.push_back(box_of(f));
  }

  Measures measure(const CL::Paths& slab) {
    // Corners are even, so the whole floor lies strictly inside these odd borders.
    Box all{-1, -1, 1, 1};
    auto take = [&all](const Box& b) {
      all.xmax = std::max(all.xmax, b.xmax + 1);
      all.ymax = std::max(all.ymax, b.ymax + 1);
    };
    for (const Box& b : boxes_) take(b);
    if (!slab.empty()) take(box_of(slab));
    std::vector<std::size_t> ids(fields_.size());
    std::iota(ids.begin(), ids.end(), std::size_t{0});
    Pieces left = tile(all, slab, std::move(ids));
    for (std::size_t k = 0; k < 3; ++k)
      for (Piece& p : left[k]) done(k, std::move(p));
    return std::move(m_);
  }

 private:
  Pieces tile(const Box& r, const CL::Paths& slab, std::vector<std::size_t> ids) {
    if (ids.size() > per_tile_) {
      const bool wide = r.xmax - r.xmin >= r.ymax - r.ymin;
      for (bool vertical : {wide, !wide}) {
        std::vector<CL::cInt> centres;
        for (std::size_t i : ids)
          centres.push_back(vertical ? boxes_[i].xmin + boxes_[i].xmax
                                     : boxes_[i].ymin + boxes_[i].ymax);
        auto mid = centres.begin() + static_cast<std::ptrdiff_t>(centres.size() / 2);
        std::nth_element(centres.begin(), mid, centres.end());
        const CL::cInt cut = (*mid / 2) | 1;
        Box low = r, high = r;
        (vertical ? low.xmax : low.ymax) = cut;
        (vertical ? high.xmin : high.ymin) = cut;
        if (!(vertical ? r.xmin < cut && cut < r.xmax : r.ymin < cut && cut < r.ymax)) continue;
        std::vector<std::size_t> below, above;
        for (std::size_t i : ids) {
          const Box& b = boxes_[i];
          if ((vertical ? b.xmin : b.ymin) < cut) below.push_back(i);
          if ((vertical ? b.xmax : b.ymax) > cut) above.push_back(i);
        }
        if (std::max(below.size(), above.size()) * 4 > ids.size() * 3) continue;
        ids.clear();
        ids.shrink_to_fit();
        Pieces a = tile(low, run(CL::ctIntersection, slab, {rectangle(low)}), std::move(below));
        Pieces b = tile(high, run(CL::ctIntersection, slab, {rectangle(high)}), std::move(above));
        for (std::size_t k = 0; k < 3; ++k) {
          for (Piece& p : b[k]) a[k].push_back(std::move(p));
          a[k] = join(std::move(a[k]), vertical, cut, r, k);
        }
        return a;
      }
    }
    return leaf(r, slab, ids);
  }

  // The tile's share of the union of its fields and of the area under two of them: one
  // sweep each, over a few dozen fields.
  Pieces leaf(const Box& r, const CL::Paths& slab, const std::vector<std::size_t>& ids) {
    const CL::Paths tile = {rectangle(r)};
    CL::Paths own;
    for (std::size_t i : ids) own.push_back(fields_[i]);
    const CL::Paths ut = run(CL::ctIntersection, own, tile);
    Pieces out;
    m_.gap += collect(CL::ctDifference, slab, ut, r, out, 0);
    m_.overlap += collect(CL::ctIntersection, doubly_covered(own), tile, r, out, 1);
    m_.outside += collect(CL::ctDifference, ut, slab, r, out, 2);
    m_.covered += area(run(CL::ctIntersection, slab, ut));
    return out;
  }

  // Clips, adds the regions that lie wholly inside the tile to the result and keeps the
  // others for joining; returns the area.
  double collect(CL::ClipType op, const CL::Paths& a, const CL::Paths& b, const Box& r, Pieces& out,
                 std::size_t kind) {
    const CL::Paths result = run(op, a, b);
    for (Region& region : weld(clip(CL::ctUnion, result, {})))
      keep(Piece{std::move(region), {}}, r, out[kind], kind);
    return area(result);
  }

  // A piece whose outer ring keeps off the tile's border is finished; of one that reaches
  // it, the holes that do not are set aside.
  void keep(Piece p, const Box& r, std::vector<Piece>& open, std::size_t kind) {
    if (!on_border(p.open.outer, r)) return done(kind, std::move(p));
    std::vector<CL::Path> inners;
    for (CL::Path& h : p.open.inners) (on_border(h, r) ? inners : p.closed).push_back(std::move(h));
    p.open.inners = std::move(inners);
    open.push_back(std::move(p));
  }

  void done(std::size_t kind, Piece p) {
    for (CL::Path& h : p.closed) p.open.inners.push_back(std::move(h));
    m_.regions[kind].push_back(std::move(p.open));
  }

  // Joins the pieces of the two halves of `r` that share a stretch of the border between
  // them (the line `vertical ? x : y` = `cut`).
  std::vector<Piece> join(std::vector<Piece> pieces, bool vertical, CL::cInt cut, const Box& r,
                          std::size_t kind) {
    struct Stretch {
      CL::cInt lo, hi;
      std::size_t piece;
    };
    std::vector<Stretch> stretches;
    for (std::size_t i = 0; i < pieces.size(); ++i)
      each_side(pieces[i].open, [&](const CL::IntPoint& a, const CL::IntPoint& b) {
        if (vertical && a.X == cut && b.X == cut)
          stretches.push_back({std::min(a.Y, b.Y), std::max(a.Y, b.Y), i});
        if (!vertical && a.Y == cut && b.Y == cut)
          stretches.push_back({std::min(a.X, b.X), std::max(a.X, b.X), i});
      });
    // Pieces on one side never overlap along the border: an overlap is a piece of each
    // side, and makes them one region. Two regions that a rounding apart meet the border
    // (a field corner on a neighbour's side leaves a hair-thin strip between them) have
    // their crossings rounded on it independently, which may make them overlap by a unit
    // or two: an overlap must be longer than that.
    std::vector<std::size_t> group(pieces.size());
    std::iota(group.begin(), group.end(), std::size_t{0});
    auto root = [&group](std::size_t i) {
      while (group[i] != i) i = group[i] = group[group[i]];
      return i;
    };
    std::sort(stretches.begin(), stretches.end(),
              [](const Stretch& a, const Stretch& b) { return a.lo < b.lo; });
    for (std::size_t k = 1, reach = 0; k < stretches.size(); ++k) {
      if (std::min(stretches[k].hi, stretches[reach].hi) - stretches[k].lo > giunzione_minima)
        group[root(stretches[k].piece)] = root(stretches[reach].piece);
      if (stretches[k].hi > stretches[reach].hi) reach = k;
    }
    std::vector<std::vector<std::size_t>> members(pieces.size());
    for (std::size_t i = 0; i < pieces.size(); ++i) members[root(i)].push_back(i);
    std::vector<Piece> open;
    for (const std::vector<std::size_t>& m : members) {
      if (m.size() == 1) keep(std::move(pieces[m[0]]), r, open, kind);
      if (m.size() < 2) continue;
      CL::Paths rings;
      for (std::size_t i : m) {
        rings.push_back(std::move(pieces[i].open.outer));
        for (CL::Path& h : pieces[i].open.inners) rings.push_back(std::move(h));
      }
      std::vector<Region> joined = weld(clip(CL::ctUnion, run(CL::ctUnion, rings, {}), {}));
      std::vector<Piece> parts(joined.size());
      for (std::size_t k = 0; k < joined.size(); ++k) parts[k].open = std::move(joined[k]);
      if (parts.empty()) continue;
      // The holes closed off earlier go back into the region that now holds them.
      for (std::size_t i : m)
        for (CL::Path& h : pieces[i].closed)
          parts[parts.size() == 1 ? 0 : holder(parts, h)].closed.push_back(std::move(h));
      for (Piece& p : parts) keep(std::move(p), r, open, kind);
    }
    return open;
  }

  const std::vector<CL::Path>& fields_;
  std::size_t per_tile_;
  std::vector<Box> boxes_;
  Measures m_;
};

}  // namespace

Coverage cover(const Outline& outline, const Mesh& mesh, Engine engine, std::size_t per_tile) {
  Coverage c;
  const Grid g = grid_for(outline, mesh);
  const CL::Paths slab = slab_of(g, outline);
  const double slab_units = area(slab);
  c.slab_area = g.area(slab_units);
  c.slab = shapes(g, clip(CL::ctUnion, slab, {}), {});

  std::vector<CL::Path> fields;
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
    c.field_area += g.area(CL::Area(p));
    fields.push_back(std::move(p));
  }

  Measures m =
      engine == Engine::fast ? Tiler(fields, per_tile).measure(slab) : reference(slab, fields);
  c.gap_area = g.area(m.gap);
  c.outside_area = g.area(m.outside);
  c.covered_area = g.area(m.covered);
  c.overlap_area = g.area(m.overlap);

  Thresholds t;
  t.smallest = quota_trascurabile * slab_units;
  t.slit_area = quota_fessura * slab_units;
  if (!slab.empty()) {
    const Box b = box_of(slab);
    t.slit_width = larghezza_fessura * std::hypot(static_cast<double>(b.xmax - b.xmin),
                                                  static_cast<double>(b.ymax - b.ymin));
  }
  c.gaps = shapes(g, m.regions[0], t);
  c.overlaps = shapes(g, m.regions[1], t);
  c.outside = shapes(g, m.regions[2], t);
  return c;
}

}  // namespace gencampi::view
