// What the viewer knows about a job: the slab as the floor file describes it, the
// nodes the mesher placed, and the fields (or rigid-floor triangles) it produced.
// Plain data, filled by the readers and only read afterwards.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

namespace gencampi::view {

struct Point {
  double x = 0;
  double y = 0;
  bool operator==(const Point&) const = default;
};

// A polygon's vertices in file order, the closing vertex not repeated.
using Ring = std::vector<Point>;

struct Pillar {
  Point centre;
  std::vector<Point> corners;  // the four corner points of a "baricentro" pillar, else empty
  bool operator==(const Pillar&) const = default;
};

struct Polyline {
  std::vector<Point> vertices;
  bool closed = false;
  bool operator==(const Polyline&) const = default;
};

// The slab and everything drawn on it, as read from impalcato.txt.
struct Outline {
  double passo = 0;
  Ring perimeter;
  std::vector<Ring> holes;
  std::vector<std::vector<Point>> walls;
  std::vector<Pillar> pillars;
  std::vector<Polyline> polylines;
  // The mesher's own message when it stops reading the floor early ("ERRORE PERIMETRO",
  // "ERRORE BUCHI", "ERRORE MURI"); the items after that point are absent, as they are
  // for the mesher, which then places no nodes.
  std::string stopped;

  bool rigid() const { return passo < 0; }
};

// One field: 3 or 4 corners in boundary order, as indices into Mesh::vertices.
struct Field {
  std::vector<int> corners;
};

struct Mesh {
  bool rigid = false;
  std::vector<Point> nodes;     // punti.dis, in node order
  std::vector<Point> vertices;  // the mesh's own nodes: field corners merged, or punti.dis
  std::vector<Field> fields;    // in file order; field k of the report is fields[k - 1]
  std::vector<std::string> warnings;

  Point corner(const Field& f, std::size_t i) const {
    return vertices[static_cast<std::size_t>(f.corners[i])];
  }
};

// A job that cannot be read or a command line that cannot be followed: the message
// is shown and the viewer ends with status 1.
struct ViewError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

}  // namespace gencampi::view
