#include "view/floor_file.h"

#include <cmath>
#include <optional>

#include "core/numbers.h"
#include "core/textfile.h"

namespace gencampi::view {

namespace {

// Beyond this magnitude (1,000 km in centimetres) a value is a broken file, not a
// floor; the mesher refuses it too.
constexpr double valore_massimo = 1e8;
// The mesher's bookkeeping has room for this many holes and walls and stops on more.
constexpr int capienza_buchi = 100;
constexpr int capienza_muri = 100;

class FloorReader {
 public:
  FloorReader(const std::string& text, const std::string& path) : in_(text), path_(path) {}

  // A text field converted by the leading-number rule (the mesh step).
  double text_value(const char* what) { return checked(valore_iniziale(text(what)), what); }

  // A count written as a text field (perimeter, hole, wall, pillar, polyline counts).
  int text_count(const char* what) { return count(valore_iniziale(text(what)), what); }

  // A count written as a number field (the vertex counts of holes and walls).
  int number_count(const char* what) { return count(number(what), what); }

  Point point(const char* what) {
    double x = number(what);
    double y = number(what);
    return {x, y};
  }

  std::string text(const char* what) {
    std::optional<std::string> s = in_.testo();
    if (!s) fail(std::string("the file ends before ") + what);
    return *s;
  }

  // The next blank-separated number at the front of a record, which loses it.
  double record_value(std::string& record, const char* what) {
    record = trim(record);
    std::size_t blank = record.find(' ');
    double v;
    if (blank == std::string::npos) {
      v = valore_iniziale(record);
      record.clear();
    } else {
      v = valore_iniziale(std::string_view(record).substr(0, blank + 1));
      record = trim(std::string_view(record).substr(blank));
    }
    return checked(v, what);
  }

  int record_count(std::string& record, const char* what) {
    return count(record_value(record, what), what);
  }

  [[noreturn]] void fail(const std::string& why) const {
    throw ViewError("read error in " + path_ + ": " + why);
  }

 private:
  double number(const char* what) {
    std::optional<std::string> s = in_.numero();
    if (!s) fail(std::string("the file ends before ") + what);
    std::optional<double> v = letterale(*s);
    if (!v) fail(std::string(what) + ": \"" + *s + "\" is not a number");
    return checked(*v, what);
  }

  double checked(double v, const char* what) const {
    if (!std::isfinite(v) || std::fabs(v) > valore_massimo)
      fail(std::string(what) + ": value out of range");
    return v;
  }

  int count(double v, const char* what) const {
    std::optional<int> n = conteggio(v);
    if (!n) fail(std::string(what) + ": count out of range");
    return *n;
  }

  Reader in_;
  std::string path_;
};

}  // namespace

Outline parse_floor(const std::string& text, const std::string& path) {
  FloorReader r(text, path);
  Outline o;
  o.passo = r.text_value("the mesh step");

  // Like the mesher, a perimeter of fewer than 3 vertices stops the reading before its
  // vertices: there is no slab.
  int nperimetro = r.text_count("the perimeter vertex count");
  if (nperimetro < 3) {
    o.stopped = "ERRORE PERIMETRO";
    return o;
  }
  for (int i = 0; i < nperimetro; ++i) o.perimeter.push_back(r.point("a perimeter vertex"));

  int nbuchi = r.text_count("the hole count");
  for (int h = 1; h <= nbuchi; ++h) {
    if (h > capienza_buchi) r.fail("more than 100 holes");
    int nv = r.number_count("a hole's vertex count");
    if (nv < 3) {
      o.stopped = "ERRORE BUCHI";
      return o;
    }
    Ring& buco = o.holes.emplace_back();
    for (int i = 0; i < nv; ++i) buco.push_back(r.point("a hole vertex"));
  }

  int nmuri = r.text_count("the wall count");
  for (int w = 1; w <= nmuri; ++w) {
    if (w > capienza_muri) r.fail("more than 100 walls");
    int nv = r.number_count("a wall's vertex count");
    if (nv < 2) {
      o.stopped = "ERRORE MURI";
      return o;
    }
    auto& muro = o.walls.emplace_back();
    for (int i = 0; i < nv; ++i) muro.push_back(r.point("a wall vertex"));
  }

  int npilastri = r.text_count("the pillar count");
  for (int p = 0; p < npilastri; ++p) {
    std::string record = r.text("a pillar");
    Pillar& pilastro = o.pillars.emplace_back();
    pilastro.centre.x = r.record_value(record, "a pillar's x");
    pilastro.centre.y = r.record_value(record, "a pillar's y");
    // Only the exact lower-case word announces the four corner points.
    if (record.find("baricentro") != std::string::npos)
      for (int i = 0; i < 4; ++i) pilastro.corners.push_back(r.point("a pillar corner"));
  }

  int npolilinee = r.text_count("the polyline count");
  for (int l = 0; l < npolilinee; ++l) {
    std::string record = r.text("a polyline");
    int n = r.record_count(record, "a polyline's vertex count");
    int c = r.record_count(record, "a polyline's closing flag");
    Polyline& linea = o.polylines.emplace_back();
    linea.closed = (c == 1);
    // The first vertex is read whatever n says, as the mesher does.
    linea.vertices.push_back(r.point("a polyline vertex"));
    for (int i = 2; i <= n; ++i) linea.vertices.push_back(r.point("a polyline vertex"));
  }
  return o;
}

Outline read_floor(const std::string& path) {
  std::optional<std::string> text = leggi_tutto(path);
  if (!text) throw ViewError("cannot find " + path);
  return parse_floor(*text, path);
}

}  // namespace gencampi::view
