#include "fields/checks.h"

#include <cmath>

#include "core/angles.h"
#include "core/store.h"

namespace gencampi {

namespace {
// Cross products below this (in squared length units) put a point on the line.
constexpr double tolleranza_prodotto = 1e-8;
// A node whose angle towards the two ends of a side is this close to 180 degrees lies
// on the side: a side through a node would split a future triangle edge at that node.
constexpr double tolleranza_piatto = 0.001;
}  // namespace

// The last side A-B against the segment P1-P2.
bool incrocio(double xA, double yA, double xB, double yB, double x1, double y1, double x2,
              double y2) {
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

bool interseca(const Store& s, double x1, double y1, double x2, double y2) {
  const int a = s.lato[s.nlati][1];
  const int b = s.lato[s.nlati][2];
  return incrocio(s.xnodo[a], s.ynodo[a], s.xnodo[b], s.ynodo[b], x1, y1, x2, y2);
}

bool attraversa_campo(const Store& s, const std::array<int, 5>& t, int a, int b, int* da,
                      int* fino) {
  const int c1 = t[1], c2 = t[2], c3 = t[3];
  const double xa = s.xnodo[a], ya = s.ynodo[a];
  const double xb = s.xnodo[b], yb = s.ynodo[b];
  double xmin = s.xnodo[c1], xmax = xmin, ymin = s.ynodo[c1], ymax = ymin;
  for (int c : {c2, c3}) {
    double x = s.xnodo[c], y = s.ynodo[c];
    if (x < xmin) xmin = x;
    if (x > xmax) xmax = x;
    if (y < ymin) ymin = y;
    if (y > ymax) ymax = y;
  }
  // A side wholly to one side of the triangle's box cannot cross it.
  if (xa < xmin && xb < xmin) return false;
  if (xa > xmax && xb > xmax) return false;
  if (ya < ymin && yb < ymin) return false;
  if (ya > ymax && yb > ymax) return false;

  auto taglia = [&](int p, int q) {
    if (!incrocio(xa, ya, xb, yb, s.xnodo[p], s.ynodo[p], s.xnodo[q], s.ynodo[q])) return false;
    if (da != nullptr) *da = p;
    if (fino != nullptr) *fino = q;
    return true;
  };
  // A side that starts at a corner can only cross the edge opposite that corner; the
  // other two edges share its end and would never count anyway.
  if (c1 == a || c1 == b) return taglia(c2, c3);
  if (c2 == a || c2 == b) return taglia(c3, c1);
  if (c3 == a || c3 == b) return taglia(c1, c2);
  return taglia(c1, c2) || taglia(c2, c3) || taglia(c3, c1);
}

bool nodo_sul_lato(const Store& s, int k, int a, int b) {
  return std::fabs(ang(s, a, k, b) - 180) < tolleranza_piatto;
}

void controlla(Job& job, bool& ok) {
  Store& s = job.store;
  const int n = s.nlati;
  const int a = s.lato[n][1];
  const int b = s.lato[n][2];
  ok = false;

  if (lunghezza(s, n) < tolleranza_nodo) {
    --s.nlati;
    return;
  }

  const double xa = s.xnodo[a], ya = s.ynodo[a], xb = s.xnodo[b], yb = s.ynodo[b];

  // Sides touching a or b can only meet the new side at that shared end; tentative
  // sides are still undecided and must not block each other.
  for (int i = 1; i <= n - 1; ++i) {
    if (s.tipolato[i] == col_provvisorio) continue;
    const int p = s.lato[i][1], q = s.lato[i][2];
    if (p == a || p == b || q == a || q == b) continue;
    if (incrocio(xa, ya, xb, yb, s.xnodo[p], s.ynodo[p], s.xnodo[q], s.ynodo[q])) {
      --s.nlati;
      return;
    }
  }

  const Fields& f = job.fields;
  const int ncampi = f.ncampi;
  for (int t = 1; t <= ncampi; ++t) {
    if (attraversa_campo(s, f.campo[t], a, b)) {
      --s.nlati;
      return;
    }
  }

  // A side passing through a node would leave that node hanging on an edge of the mesh.
  // The scan runs over node numbers, which equal the list entries after node placement.
  const int npunti = job.nodes.npunti;
  for (int k = 1; k <= npunti; ++k) {
    if (k == a || k == b) continue;
    if (nodo_sul_lato(s, k, a, b)) {
      --s.nlati;
      return;
    }
  }

  ok = true;
}

}  // namespace gencampi
