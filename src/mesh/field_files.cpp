#include "mesh/field_files.h"

#include <cmath>

#include "core/errors.h"
#include "core/numbers.h"

namespace gencampi {

namespace {

void scrivi_punto(Writer& w, const Store& s, int p) {
  w.num(s.xnodo[p]).num(s.ynodo[p]);
  w.a_capo();
}

}  // namespace

void scrivi_quadrilatero(Writer& w, const Store& s, int p1, int p2, int p3, int p4) {
  w.riga("4");
  scrivi_punto(w, s, p1);
  scrivi_punto(w, s, p2);
  scrivi_punto(w, s, p3);
  scrivi_punto(w, s, p4);
}

void scrivi_triangolo(Writer& w, const Store& s, int p1, int p2, int p3) {
  w.riga("3");
  scrivi_punto(w, s, p1);
  scrivi_punto(w, s, p2);
  scrivi_punto(w, s, p3);
}

double RecordReader::numero() {
  auto campo = l_.numero();
  if (!campo) throw fine_lettura(path_);
  auto v = letterale(*campo);
  // A corner that is not finite could only come from a damaged file, and would poison
  // every distance the squaring measures from it.
  if (!v || !std::isfinite(*v)) throw fine_lettura(path_);
  return *v;
}

int RecordReader::vertici() {
  auto n = conteggio(numero());
  if (!n) throw fine_lettura(path_);
  return *n;
}

void RecordReader::punto(double& x, double& y) {
  x = numero();
  y = numero();
}

}  // namespace gencampi
