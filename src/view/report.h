// The numbers an engineer checks before trusting a mesh: counts, coverage of the slab,
// squareness of the quadrilaterals, extreme field sizes; as a table or as JSON.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "view/coverage.h"
#include "view/field_table.h"
#include "view/model.h"

namespace gencampi::view {

// A field singled out by the report, with its centroid to find it in the picture.
struct FieldMark {
  int field = 0;  // numbered from 1 in file order
  double value = 0;
  Point at;
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
  bool within_tolerance = true;
  // Corner deviation from 90 degrees over every corner of every quadrilateral.
  std::optional<double> mean_deviation;
  std::optional<FieldMark> worst_corner;
  std::optional<FieldMark> smallest, largest, shortest_side;
  std::vector<FieldRow> fields;
  std::vector<std::string> warnings;
};

double field_area(const Mesh& mesh, const Field& f);

// Angle in degrees (0 to 180) at corner b between the sides towards a and c.
double corner_angle(Point a, Point b, Point c);

Report make_report(const std::string& job, const Outline& outline, const Mesh& mesh,
                   const Coverage& coverage, double tolerance_percent);

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
