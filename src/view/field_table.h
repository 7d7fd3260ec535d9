// One row per field, for filtering and plotting elsewhere: its corners, area, corner
// angles and sides. Written as CSV (--fields) and as the "fields" list of the JSON report.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "view/model.h"

namespace gencampi::view {

struct FieldRow {
  int field = 0;               // numbered from 1 in file order
  std::vector<Point> corners;  // in the file's boundary order
  double area = 0;
  std::vector<double> angles;  // degrees (0 to 180) at each corner, in the same order
  double shortest_side = 0;
  double longest_side = 0;
  // Longest side over shortest side; none for a field with a side of zero length.
  std::optional<double> aspect_ratio() const;
};

std::vector<FieldRow> field_rows(const Mesh& mesh);

// A header row, then one row per field; a triangle leaves the fourth corner and angle
// empty, so that every row has the same columns.
std::string fields_csv(const std::vector<FieldRow>& rows);

// A JSON array, one field per line.
std::string fields_json(const std::vector<FieldRow>& rows);

}  // namespace gencampi::view
