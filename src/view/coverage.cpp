#include "view/coverage.h"

#include <algorithm>
#include <string>
#include <utility>

// Boost 1.74 still includes a header it has deprecated, and GCC 12 cannot see that the
// scale factor of its rescaling policy is always set before use.
#define BOOST_ALLOW_DEPRECATED_HEADERS
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#include <boost/geometry.hpp>
#include <boost/geometry/geometries/box.hpp>
#include <boost/geometry/geometries/multi_polygon.hpp>
#include <boost/geometry/geometries/point_xy.hpp>
#include <boost/geometry/geometries/polygon.hpp>
#include <boost/geometry/index/rtree.hpp>
#pragma GCC diagnostic pop

namespace gencampi::view {

namespace {

namespace bg = boost::geometry;
namespace bgi = boost::geometry::index;
using BPoint = bg::model::d2::point_xy<double>;
using BPoly = bg::model::polygon<BPoint>;
using BMulti = bg::model::multi_polygon<BPoly>;
using BBox = bg::model::box<BPoint>;

// Regions smaller than this share of the slab are rounding slivers along sides that
// two fields share, not gaps or overlaps anybody could see or mesh.
constexpr double quota_trascurabile = 1e-9;

BPoly polygon(const Ring& ring) {
  BPoly p;
  auto& out = p.outer();
  for (const Point& v : ring) {
    BPoint b(v.x, v.y);
    if (out.empty() || !bg::equals(out.back(), b)) out.push_back(b);
  }
  // A ring whose last vertex repeats the first is closed already.
  while (out.size() > 1 && bg::equals(out.front(), out.back())) out.pop_back();
  bg::correct(p);
  return p;
}

// A perimeter or hole as a valid polygon; a ring that only doubles back on itself
// (a spike) is cleaned, one that crosses itself is refused.
BPoly outline_polygon(const Ring& ring, const std::string& what) {
  BPoly p = polygon(ring);
  bg::remove_spikes(p);
  std::string why;
  if (!bg::is_valid(p, why)) throw ViewError(what + " is not a simple polygon: " + why);
  return p;
}

// Union of many polygons, merged pairwise in a balanced tree so that no step works on
// one huge result against a small piece over and over.
BMulti unite(std::vector<BMulti> parts) {
  if (parts.empty()) return {};
  while (parts.size() > 1) {
    std::vector<BMulti> next;
    next.reserve(parts.size() / 2 + 1);
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
      BMulti u;
      bg::union_(parts[i], parts[i + 1], u);
      next.push_back(std::move(u));
    }
    if (parts.size() % 2 == 1) next.push_back(std::move(parts.back()));
    parts = std::move(next);
  }
  return std::move(parts.front());
}

Ring ring_of(const BPoly::ring_type& r) {
  Ring out;
  for (const BPoint& p : r) out.push_back({p.x(), p.y()});
  if (out.size() > 1 && out.front() == out.back()) out.pop_back();
  return out;
}

Shapes shapes_of(const BMulti& m, double smallest) {
  Shapes out;
  for (const BPoly& p : m) {
    if (!(bg::area(p) > smallest)) continue;
    Shape s;
    s.outer = ring_of(p.outer());
    for (const auto& in : p.inners()) s.inners.push_back(ring_of(in));
    out.push_back(std::move(s));
  }
  return out;
}

BMulti slab_of(const Outline& outline) {
  BMulti slab{outline_polygon(outline.perimeter, "the slab perimeter")};
  std::vector<BMulti> holes;
  for (std::size_t h = 0; h < outline.holes.size(); ++h)
    holes.push_back(BMulti{outline_polygon(outline.holes[h], "hole " + std::to_string(h + 1))});
  if (holes.empty()) return slab;
  // Holes may overlap each other or reach beyond the perimeter: the slab is what the
  // perimeter encloses outside every hole.
  BMulti rest;
  bg::difference(slab, unite(std::move(holes)), rest);
  return rest;
}

// Area under two fields or more: the union of every pairwise intersection. An R-tree
// on the fields' boxes keeps this to the fields that can touch.
BMulti doubly_covered(const std::vector<BPoly>& polys, const std::vector<bool>& usable) {
  using Entry = std::pair<BBox, std::size_t>;
  std::vector<Entry> boxes;
  for (std::size_t i = 0; i < polys.size(); ++i)
    if (usable[i]) boxes.emplace_back(bg::return_envelope<BBox>(polys[i]), i);
  bgi::rtree<Entry, bgi::rstar<16>> tree(boxes.begin(), boxes.end());
  std::vector<BMulti> pieces;
  std::vector<Entry> hits;
  for (const Entry& e : boxes) {
    hits.clear();
    tree.query(bgi::intersects(e.first), std::back_inserter(hits));
    std::sort(hits.begin(), hits.end(),
              [](const Entry& a, const Entry& b) { return a.second < b.second; });
    for (const Entry& h : hits) {
      if (h.second <= e.second) continue;
      BMulti both;
      bg::intersection(polys[e.second], polys[h.second], both);
      if (bg::area(both) > 0) pieces.push_back(std::move(both));
    }
  }
  return unite(std::move(pieces));
}

}  // namespace

Coverage cover(const Outline& outline, const Mesh& mesh) {
  Coverage c;
  try {
    BMulti slab = slab_of(outline);
    c.slab_area = bg::area(slab);
    const double smallest = quota_trascurabile * c.slab_area;
    c.slab = shapes_of(slab, 0);

    std::vector<BPoly> polys(mesh.fields.size());
    std::vector<bool> usable(mesh.fields.size(), false);
    std::vector<BMulti> parts;
    for (std::size_t f = 0; f < mesh.fields.size(); ++f) {
      Ring r;
      for (std::size_t i = 0; i < mesh.fields[f].corners.size(); ++i)
        r.push_back(mesh.corner(mesh.fields[f], i));
      polys[f] = polygon(r);
      if (polys[f].outer().size() < 4 || !bg::is_valid(polys[f]) || !(bg::area(polys[f]) > 0)) {
        c.degenerate.push_back(static_cast<int>(f) + 1);
        continue;
      }
      usable[f] = true;
      c.field_area += bg::area(polys[f]);
      parts.push_back(BMulti{polys[f]});
    }
    BMulti fields = unite(std::move(parts));

    BMulti gaps, outside, covered;
    bg::difference(slab, fields, gaps);
    bg::difference(fields, slab, outside);
    bg::intersection(slab, fields, covered);
    BMulti overlaps = doubly_covered(polys, usable);

    c.gap_area = bg::area(gaps);
    c.outside_area = bg::area(outside);
    c.covered_area = bg::area(covered);
    c.overlap_area = bg::area(overlaps);
    c.gaps = shapes_of(gaps, smallest);
    c.outside = shapes_of(outside, smallest);
    c.overlaps = shapes_of(overlaps, smallest);
  } catch (const ViewError&) {
    throw;
  } catch (const std::exception& e) {
    throw ViewError(std::string("polygon clipping failed: ") + e.what());
  }
  return c;
}

}  // namespace gencampi::view
