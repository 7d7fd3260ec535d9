// The numbers an engineer checks before trusting a mesh: counts, coverage of the slab,
// squareness of the quadrilaterals, the shape of the triangles, hanging nodes, extreme
// field sizes, and a verdict naming every measure over its tolerance; as a table or as
// JSON.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "view/coverage.h"
#include "view/field_table.h"
#include "view/hanging.h"
#include "view/model.h"

namespace gencampi::view {

// A field singled out by the report, with its centroid to find it in the picture.
struct FieldMark {
  int field = 0;  // numbered from 1 in file order
  double value = 0;
  Point at;
};

// How many fields fall in each range of a measure; a range takes its lower end and not
// its upper one, except the last, which takes both.
struct Bin {
  double from = 0, to = 0;
  int count = 0;
};

// What the verdict holds the mesh to besides the coverage tolerance. The defaults stop
// only the slivers that leave a solver's stiffness matrix ill-conditioned: a triangle
// with an angle under a degree is all but flat (the mesher's own candidate test refuses
// those under half a degree, but squaring a quadrilateral can still cut one off), and
// 50 is near the side ratio of a right triangle with a 1-degree angle (57), so that the
// two limits agree on needles. Hanging nodes, which the mesher leaves by design where it
// splits a triangle at a point of its side, count only when a limit is given.
struct Limits {
  double min_triangle_angle = 1;    // degrees
  double max_triangle_aspect = 50;  // longest over shortest side
  std::optional<int> hanging_nodes;
};

struct Report {
  std::string job;
  bool rigid = false;
  int nodes = 0;
  int vertices = 0;
  int triangles = 0;
  int quadrilaterals = 0;
  // Areas as Coverage measures them.
  double slab_area = 0;
  double field_area = 0;
  double covered_area = 0;
  double gap_area = 0;
  double overlap_area = 0;
  double outside_area = 0;
  int degenerate = 0;
  int gap_regions = 0;
  int overlap_regions = 0;
  int outside_regions = 0;
  double tolerance_percent = 0;
  double tolerance_area = 0;
  Limits limits;
  // Every measure over its tolerance, as the verdict names it ("gaps 0.3% over 0.01%");
  // empty when the mesh passes.
  std::vector<std::string> over;
  bool within_tolerance = true;
  // The mesher's message when it stopped on an outline error ("ERRORE MURI"), else empty.
  std::string outline_error;
  // Corner deviation from 90 degrees over every corner of every quadrilateral.
  std::optional<double> mean_deviation;
  std::optional<FieldMark> worst_corner;
  // The triangles' smallest corner angle (degrees) and largest aspect ratio.
  std::optional<FieldMark> smallest_angle, worst_aspect;
  // Quadrilaterals by the deviation of their worst corner, triangles by their smallest
  // angle.
  std::vector<Bin> deviation_bins, angle_bins;
  // One entry per hanging mesh node, on the first field side it lies on.
  std::vector<HangingNode> hanging;
  std::optional<FieldMark> smallest, largest, shortest_side;
  std::vector<FieldRow> fields;
  std::vector<std::string> warnings;
};

double field_area(const Mesh& mesh, const Field& f);

// Angle in degrees (0 to 180) at corner b between the sides towards a and c.
double corner_angle(Point a, Point b, Point c);

Report make_report(const std::string& job, const Outline& outline, const Mesh& mesh,
                   const Coverage& coverage, double tolerance_percent, const Limits& limits = {});

std::string format_table(const Report& r);
std::string format_json(const Report& r);

// "1 triangle", "3 triangles".
std::string how_many(long n, const std::string& one, const std::string& many);

// Text from the job's files as it may be shown on a terminal or in a report: control
// characters (C0, DEL and the C1 range written in UTF-8) become \xHH, so that a broken
// or hostile file cannot move the cursor, clear the screen or retitle the window.
std::string printable(const std::string& s);

// The shortest text that reads back as the same double ("0.1", "2400000", "1e-05").
std::string shortest(double v);

}  // namespace gencampi::view
