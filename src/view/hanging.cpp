#include "view/hanging.h"

#include <algorithm>
#include <cmath>
#include <tuple>

namespace gencampi::view {

VertexSearch::VertexSearch(const std::vector<Point>& vertices) : v_(vertices) {
  if (v_.empty()) return;
  double x0 = v_[0].x, x1 = x0, y0 = v_[0].y, y1 = y0;
  for (const Point& p : v_) {
    x0 = std::min(x0, p.x);
    x1 = std::max(x1, p.x);
    y0 = std::min(y0, p.y);
    y1 = std::max(y1, p.y);
  }
  grid_ = Grid(x0, y0, x1, y1, static_cast<int>(v_.size()));
  auto cell = [this](Point p) { return grid_.indice(grid_.colonna(p.x), grid_.riga(p.y)); };
  start_.assign(static_cast<std::size_t>(grid_.celle()) + 1, 0);
  for (const Point& p : v_) ++start_[static_cast<std::size_t>(cell(p)) + 1];
  for (std::size_t c = 1; c < start_.size(); ++c) start_[c] += start_[c - 1];
  index_.resize(v_.size());
  std::vector<int> fill(start_.begin(), start_.end() - 1);
  for (std::size_t k = 0; k < v_.size(); ++k)
    index_[static_cast<std::size_t>(fill[static_cast<std::size_t>(cell(v_[k]))]++)] =
        static_cast<int>(k);
}

std::vector<OnSegment> VertexSearch::on_segment(Point p, Point q) const {
  std::vector<OnSegment> found;
  const double dx = q.x - p.x, dy = q.y - p.y;
  const double len = std::hypot(dx, dy);
  if (v_.empty() || !(len > 0)) return found;
  const double tol = tolleranza_lato * len;
  visita_corridoio(grid_, p.x, p.y, q.x, q.y, tol, [&](int c) {
    for (int i = start_[static_cast<std::size_t>(c)]; i < start_[static_cast<std::size_t>(c) + 1];
         ++i) {
      const int v = index_[static_cast<std::size_t>(i)];
      const Point a = v_[static_cast<std::size_t>(v)];
      const double along = ((a.x - p.x) * dx + (a.y - p.y) * dy) / len;
      const double across = ((a.x - p.x) * dy - (a.y - p.y) * dx) / len;
      if (std::fabs(across) <= tol && along > tol && along < len - tol)
        found.push_back({along / len, v});
    }
    return false;
  });
  std::sort(found.begin(), found.end(), [](const OnSegment& a, const OnSegment& b) {
    return std::tie(a.t, a.vertex) < std::tie(b.t, b.vertex);
  });
  return found;
}

std::vector<HangingNode> hanging_nodes(const Mesh& mesh) {
  std::vector<HangingNode> found;
  const VertexSearch search(mesh.vertices);
  for (std::size_t k = 0; k < mesh.fields.size(); ++k) {
    const Field& f = mesh.fields[k];
    const std::size_t n = f.corners.size();
    for (std::size_t i = 0; i < n; ++i)
      for (const OnSegment& s : search.on_segment(mesh.corner(f, i), mesh.corner(f, (i + 1) % n)))
        // A corner of the field itself can lie on another of its sides only in a
        // degenerate field; it is no hanging node there.
        if (std::find(f.corners.begin(), f.corners.end(), s.vertex) == f.corners.end())
          found.push_back({s.vertex, static_cast<int>(k + 1), static_cast<int>(i), s.t,
                           mesh.vertices[static_cast<std::size_t>(s.vertex)]});
  }
  return found;
}

}  // namespace gencampi::view
