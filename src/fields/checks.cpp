#include "fields/checks.h"

namespace gencampi {

namespace {
// Cross products below this (in squared length units) put a point on the line.
constexpr double tolleranza_prodotto = 1e-8;
}  // namespace

bool interseca(const Store& s, double x1, double y1, double x2, double y2) {
  const int a = s.lato[s.nlati][1];
  const int b = s.lato[s.nlati][2];
  const double xA = s.xnodo[a], yA = s.ynodo[a];
  const double xB = s.xnodo[b], yB = s.ynodo[b];

  // Boxes apart: no crossing. Boxes that only touch go on to the exact tests.
  if (xA < x1 && xA < x2 && xB < x1 && xB < x2) return false;
  if (xA > x1 && xA > x2 && xB > x1 && xB > x2) return false;
  if (yA < y1 && yA < y2 && yB < y1 && yB < y2) return false;
  if (yA > y1 && yA > y2 && yB > y1 && yB > y2) return false;

  // Each product is evaluated left to right, term by term, so that every build gives
  // the same bits at the tolerance.
  double sA = yA * (x2 - x1) + xA * (y1 - y2) - (y1 - y2) * x1 - (x2 - x1) * y1;
  double sB = yB * (x2 - x1) + xB * (y1 - y2) - (y1 - y2) * x1 - (x2 - x1) * y1;
  if (sA < tolleranza_prodotto && sA > -tolleranza_prodotto) return false;
  if (sB < tolleranza_prodotto && sB > -tolleranza_prodotto) return false;

  double t1 = (yA - yB) * x1 + (xB - xA) * y1 - xA * (yA - yB) - yA * (xB - xA);
  double t2 = (yA - yB) * x2 + (xB - xA) * y2 - xA * (yA - yB) - yA * (xB - xA);
  if (t1 < tolleranza_prodotto && t1 > -tolleranza_prodotto) return false;
  if (t2 < tolleranza_prodotto && t2 > -tolleranza_prodotto) return false;

  return sA * sB < -tolleranza_prodotto && t1 * t2 < -tolleranza_prodotto;
}

}  // namespace gencampi
