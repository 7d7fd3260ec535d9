// Records of the field files campi.tmp, campi2.tmp and campi.txt: a quadrilateral is
// the line "4" and four coordinate lines, a triangle the line "3" and three; a
// coordinate line is X then Y in the free numeric print form.
#pragma once

#include <string>

#include "core/job.h"
#include "core/textfile.h"

namespace gencampi {

void scrivi_quadrilatero(Writer& w, const Store& s, int p1, int p2, int p3, int p4);
void scrivi_triangolo(Writer& w, const Store& s, int p1, int p2, int p3);

// Reads a field file back record by record, as numbers: the corner count, then one
// coordinate pair per corner. A field that is missing or is not a number ends the run
// with the read-error message for `path`.
class RecordReader {
 public:
  RecordReader(Reader r, std::string path) : l_(std::move(r)), path_(std::move(path)) {}
  RecordReader(std::string testo, std::string path)
      : RecordReader(Reader(std::move(testo)), std::move(path)) {}

  // The corner count of the next record (3 for a triangle).
  int vertici();
  void punto(double& x, double& y);

 private:
  double numero();

  Reader l_;
  std::string path_;
};

}  // namespace gencampi
