#include "view/svg.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <limits>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "view/field_table.h"

namespace gencampi::view {

namespace {

// The drawing's longer side in pixels: at least lato_disegno, more for a fine mesh, so
// that a typical field gets about cella_voluta pixels, up to lato_massimo.
constexpr double lato_disegno = 1400;
constexpr double lato_massimo = 2800;
constexpr double cella_voluta = 24;
constexpr double margine = 24;
constexpr double testata = 72;
constexpr double piede = 84;
constexpr double larghezza_minima = 760;
// Room under the drawing for the coordinate ticks and their values, and the size of
// those values.
constexpr double asse = 26;
constexpr double corpo_asse = 11;
// About this many coordinate ticks along the longer side.
constexpr double tacche = 8;
// A region with less area on screen than a square of this side also gets a ring
// around it, so that a gap of a few square centimetres, or a sliver along a side, is
// still found by eye on a large floor.
constexpr double regione_visibile = 12;
// A quadrilateral whose worst corner is nearer to square than this (degrees) is not
// marked as the worst: the table shows it as 0.00.
constexpr double deviazione_visibile = 0.005;

const char* const col_quadrilatero = "#cfe3f7";
const char* const bordo_quadrilatero = "#3a6ea5";
const char* const col_triangolo = "#fde1a9";
const char* const bordo_triangolo = "#b26a00";
const char* const col_lacuna = "#e53935";
const char* const col_sovrapposizione = "#8e24aa";
const char* const col_fuori = "#00897b";
const char* const col_muro = "#6d4c41";
const char* const col_pilastro = "#424242";
const char* const col_polilinea = "#2e7d32";
const char* const col_nodo = "#1a237e";
const char* const col_appeso = "#ff6f00";
const char* const col_peggiore = "#d81b60";
const char* const col_etichetta = "#263238";

std::string num_decimals(double v, int decimals) {
  char buf[48];
  std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
  return buf;
}

std::string num(double v) {
  std::string s = num_decimals(v, 2);
  return s == "-0.00" ? "0.00" : s;
}

std::string escape(const std::string& s) {
  std::string out;
  for (char ch : s) {
    switch (ch) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&apos;";
        break;
      default:
        out += (static_cast<unsigned char>(ch) < 0x20) ? ' ' : ch;
    }
  }
  return out;
}

std::string percent(double part, double whole) {
  if (!(whole > 0)) return "-";
  char buf[48];
  std::snprintf(buf, sizeof buf, "%.4f%%", 100.0 * part / whole);
  return buf;
}

struct Bounds {
  double xmin = std::numeric_limits<double>::infinity();
  double ymin = std::numeric_limits<double>::infinity();
  double xmax = -std::numeric_limits<double>::infinity();
  double ymax = -std::numeric_limits<double>::infinity();
  void add(Point p) {
    xmin = std::min(xmin, p.x);
    ymin = std::min(ymin, p.y);
    xmax = std::max(xmax, p.x);
    ymax = std::max(ymax, p.y);
  }
  template <class C>
  void add_all(const C& points) {
    for (const Point& p : points) add(p);
  }
};

// Floor coordinates (Y up) to picture coordinates (Y down).
struct View {
  double xmin, ymax, scale, x0, y0;
  double px(double x) const { return x0 + (x - xmin) * scale; }
  double py(double y) const { return y0 + (ymax - y) * scale; }
  std::string at(Point p) const { return num(px(p.x)) + "," + num(py(p.y)); }
};

std::string points_attr(const View& v, const std::vector<Point>& pts) {
  std::string s;
  for (std::size_t i = 0; i < pts.size(); ++i) {
    if (i) s += ' ';
    s += v.at(pts[i]);
  }
  return s;
}

std::string ring_path(const View& v, const Ring& r) {
  std::string s;
  for (std::size_t i = 0; i < r.size(); ++i) {
    s += i ? 'L' : 'M';
    s += v.at(r[i]);
  }
  if (!r.empty()) s += 'Z';
  return s;
}

double ring_area(const Ring& r) {
  double a = 0;
  for (std::size_t i = 0; i < r.size(); ++i) {
    const Point& p = r[i];
    const Point& q = r[(i + 1) % r.size()];
    a += p.x * q.y - q.x * p.y;
  }
  return std::fabs(a) / 2;
}

std::string shape_path(const View& v, const Shape& sh) {
  std::string d = ring_path(v, sh.outer);
  for (const Ring& in : sh.inners) d += ring_path(v, in);
  return d;
}

// One group of filled regions; each one too small to see also gets a ring around it.
void regions(std::string& s, const View& v, const Shapes& shapes, const char* id,
             const char* colour) {
  if (shapes.empty()) return;
  s += std::string("<g id=\"") + id + "\" fill=\"" + colour + "\" fill-opacity=\"0.8\" stroke=\"" +
       colour + "\" stroke-width=\"1\" fill-rule=\"evenodd\">\n";
  std::string rings;
  for (const Shape& sh : shapes) {
    s += "<path d=\"" + shape_path(v, sh) + "\"/>\n";
    Bounds b;
    b.add_all(sh.outer);
    const double w = (b.xmax - b.xmin) * v.scale, h = (b.ymax - b.ymin) * v.scale;
    double area = ring_area(sh.outer);
    for (const Ring& in : sh.inners) area -= ring_area(in);
    if (area * v.scale * v.scale < regione_visibile * regione_visibile)
      rings += "<circle cx=\"" + num(v.px((b.xmin + b.xmax) / 2)) + "\" cy=\"" +
               num(v.py((b.ymin + b.ymax) / 2)) + "\" r=\"" +
               num(std::max(regione_visibile, std::hypot(w, h) / 2 + 4)) + "\"/>\n";
  }
  s += "</g>\n";
  if (!rings.empty())
    s += std::string("<g id=\"") + id + "-marks\" fill=\"none\" stroke=\"" + colour +
         "\" stroke-width=\"2\">\n" + rings + "</g>\n";
}

// The longest length of the form 1, 2 or 5 times a power of ten not above `most`.
double round_length(double most) {
  double p = std::pow(10.0, std::floor(std::log10(most)));
  for (double m : {5.0, 2.0, 1.0})
    if (m * p <= most) return m * p;
  return p;
}

std::string length_text(double v) {
  char buf[48];
  std::snprintf(buf, sizeof buf, "%.10g", v);
  return buf;
}

// A measure for the hover text: at most `decimals` decimals, trailing zeros dropped.
std::string brief(double v, int decimals) {
  std::string s = num_decimals(v, decimals);
  if (s.find('.') != std::string::npos) {
    while (s.back() == '0') s.pop_back();
    if (s.back() == '.') s.pop_back();
  }
  return s == "-0" ? "0" : s;
}

// The middle value; the upper of the two for an even count.
double median(std::vector<double> v) {
  if (v.empty()) return 0;
  auto mid = v.begin() + static_cast<std::ptrdiff_t>(v.size() / 2);
  std::nth_element(v.begin(), mid, v.end());
  return *mid;
}

std::string field_title(const FieldRow& row) {
  std::string s = "field " + std::to_string(row.field) + ": " + std::to_string(row.corners.size()) +
                  " corners; area " + brief(row.area, 2) + "; angles ";
  for (std::size_t i = 0; i < row.angles.size(); ++i)
    s += (i ? ", " : "") + brief(row.angles[i], 2);
  const std::optional<double> aspect = row.aspect_ratio();
  return s + "; shortest side " + brief(row.shortest_side, 2) + "; aspect " +
         (aspect ? brief(*aspect, 2) : std::string("-"));
}

// Tick values along one axis: the multiples of `step` from lo to hi.
std::vector<double> ticks(double lo, double hi, double step) {
  std::vector<double> t;
  const double first = std::ceil(lo / step - 1e-9), last = std::floor(hi / step + 1e-9);
  for (double k = first; k <= last; ++k) t.push_back(k * step + 0.0);  // no "-0"
  return t;
}

struct LegendItem {
  std::string label;
  std::string swatch;  // drawn in a 14 x 14 box whose corner is (0, 0)
};

}  // namespace

std::string draw_svg(const Outline& outline, const Mesh& mesh, const Coverage& coverage,
                     const Report& report, const std::string& unit, bool labels) {
  Bounds b;
  b.add_all(outline.perimeter);
  for (const Ring& h : outline.holes) b.add_all(h);
  for (const auto& w : outline.walls) b.add_all(w);
  for (const Pillar& p : outline.pillars) {
    b.add(p.centre);
    b.add_all(p.corners);
  }
  for (const Polyline& l : outline.polylines) b.add_all(l.vertices);
  b.add_all(mesh.nodes);
  b.add_all(mesh.vertices);
  // A floor stopped on its perimeter has nothing to draw: a unit square at the origin
  // keeps the axes and the scale finite.
  if (!(b.xmin <= b.xmax)) b = Bounds{0, 0, 1, 1};
  const double w = std::max(b.xmax - b.xmin, 1e-9), h = std::max(b.ymax - b.ymin, 1e-9);

  // The typical distance between neighbouring nodes: the median of the fields' shortest
  // sides, so that a few large fields in an open area, or a dense strip along a wall,
  // do not set the size of everything else. Without fields, the slab shared out among
  // the nodes.
  const std::vector<FieldRow>& rows = report.fields;
  std::vector<double> sides;
  for (const FieldRow& row : rows)
    if (row.shortest_side > 0) sides.push_back(row.shortest_side);
  double passo = median(sides);
  if (!(passo > 0))
    passo = std::sqrt(std::max(coverage.slab_area, w * h) /
                      static_cast<double>(std::max<std::size_t>(mesh.nodes.size(), 1)));
  const double lato = std::clamp(cella_voluta * std::max(w, h) / passo, lato_disegno, lato_massimo);
  const double scale = lato / std::max(w, h);

  // Line widths and markers follow the typical field on screen, so that a dense mesh
  // does not turn into a solid blot and a coarse one stays legible.
  const double cella = passo * scale;
  const double tratto = std::clamp(0.04 * cella, 0.3, 1.2);
  const double raggio = std::clamp(0.07 * cella, 0.7, 3.0);
  const double rombo = std::clamp(0.16 * cella, 2.0, 6.0);
  const double contorno = std::clamp(0.1 * cella, 1.5, 3.0);

  // Coordinate ticks in the floor's units, one step for both axes unless a side is so
  // short that it would get fewer than two.
  const double step = round_length(std::max(w, h) / tacche);
  const std::vector<double> xt = ticks(b.xmin, b.xmax, w / step < 2 ? round_length(w / 2) : step);
  const std::vector<double> yt = ticks(b.ymin, b.ymax, h / step < 2 ? round_length(h / 2) : step);
  std::size_t widest = unit.size();
  for (double y : yt) widest = std::max(widest, length_text(y).size());
  const double gronda = 18 + std::ceil(0.62 * corpo_asse) * static_cast<double>(widest);

  const std::vector<std::string>& verdict = report.over;
  const double alto = std::max(testata, 42 + 15 * static_cast<double>(verdict.size()));
  const double width = std::max(gronda + w * scale + 2 * margine, larghezza_minima);
  const double height = alto + h * scale + 2 * margine + asse + piede;
  const View v{b.xmin, b.ymax, scale, gronda + (width - gronda - w * scale) / 2, alto + margine};

  std::string s = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
  s += "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + num(width) + "\" height=\"" +
       num(height) + "\" viewBox=\"0 0 " + num(width) + " " + num(height) +
       "\" font-family=\"sans-serif\">\n";
  s += "<title>" + escape("gencampi - " + report.job) + "</title>\n";
  s += "<defs><pattern id=\"hatch\" width=\"8\" height=\"8\" patternUnits=\"userSpaceOnUse\">"
       "<path d=\"M0,8 L8,0\" stroke=\"#b0b0b0\" stroke-width=\"1\"/></pattern></defs>\n";
  s += "<rect width=\"100%\" height=\"100%\" fill=\"#ffffff\"/>\n";

  // The slab, holes shown hatched underneath so that fields spreading into them show.
  s += "<g id=\"holes-area\" fill=\"url(#hatch)\" stroke=\"none\">\n";
  for (const Ring& r : outline.holes) s += "<polygon points=\"" + points_attr(v, r) + "\"/>\n";
  s += "</g>\n";
  s += "<g id=\"slab\" fill=\"#eeeeee\" stroke=\"none\" fill-rule=\"evenodd\">\n";
  for (const Shape& sh : coverage.slab) s += "<path d=\"" + shape_path(v, sh) + "\"/>\n";
  s += "</g>\n";

  // Every field carries its measures as hover text.
  auto corners = [&mesh](const Field& f) {
    std::vector<Point> pts;
    for (std::size_t i = 0; i < f.corners.size(); ++i) pts.push_back(mesh.corner(f, i));
    return pts;
  };
  for (int kind : {4, 3}) {
    const bool quad = (kind == 4);
    s += std::string("<g id=\"") + (quad ? "quadrilaterals" : "triangles") + "\" fill=\"" +
         (quad ? col_quadrilatero : col_triangolo) + "\" stroke=\"" +
         (quad ? bordo_quadrilatero : bordo_triangolo) + "\" stroke-width=\"" + num(tratto) +
         "\" stroke-linejoin=\"round\">\n";
    for (std::size_t k = 0; k < mesh.fields.size(); ++k) {
      const Field& f = mesh.fields[k];
      if ((f.corners.size() == 4) != quad) continue;
      s += "<polygon points=\"" + points_attr(v, corners(f)) + "\"><title>" + field_title(rows[k]) +
           "</title></polygon>\n";
    }
    s += "</g>\n";
  }

  s += "<g id=\"outline\" fill=\"none\" stroke=\"#000000\" stroke-linejoin=\"round\">\n";
  s += "<polygon stroke-width=\"2\" points=\"" + points_attr(v, outline.perimeter) + "\"/>\n";
  for (const Ring& r : outline.holes)
    s += "<polygon stroke-width=\"1.5\" points=\"" + points_attr(v, r) + "\"/>\n";
  s += "</g>\n";

  s += std::string("<g id=\"polylines\" fill=\"none\" stroke=\"") + col_polilinea +
       "\" stroke-width=\"1.5\" stroke-dasharray=\"6 3\">\n";
  for (const Polyline& l : outline.polylines)
    s += std::string("<") + (l.closed ? "polygon" : "polyline") + " points=\"" +
         points_attr(v, l.vertices) + "\"/>\n";
  s += "</g>\n";

  s += std::string("<g id=\"walls\" fill=\"none\" stroke=\"") + col_muro +
       "\" stroke-width=\"4\" stroke-linecap=\"round\" stroke-linejoin=\"round\" "
       "stroke-opacity=\"0.85\">\n";
  for (const auto& m : outline.walls) s += "<polyline points=\"" + points_attr(v, m) + "\"/>\n";
  s += "</g>\n";

  s += std::string("<g id=\"pillars\" fill=\"") + col_pilastro + "\" fill-opacity=\"0.85\">\n";
  for (const Pillar& p : outline.pillars) {
    if (p.corners.size() == 4)
      s += "<polygon points=\"" + points_attr(v, p.corners) + "\"/>\n";
    else
      s += "<rect x=\"" + num(v.px(p.centre.x) - 4) + "\" y=\"" + num(v.py(p.centre.y) - 4) +
           "\" width=\"8\" height=\"8\"/>\n";
  }
  s += "</g>\n";

  // What the report calls out goes over the outline, so that a wall along a gap does
  // not hide it.
  regions(s, v, coverage.gaps, "gaps", col_lacuna);
  regions(s, v, coverage.overlaps, "overlaps", col_sovrapposizione);
  regions(s, v, coverage.outside, "off-slab", col_fuori);

  s += std::string("<g id=\"nodes\" fill=\"") + col_nodo + "\">\n";
  for (const Point& p : mesh.nodes)
    s += "<circle cx=\"" + num(v.px(p.x)) + "\" cy=\"" + num(v.py(p.y)) + "\" r=\"" + num(raggio) +
         "\"/>\n";
  s += "</g>\n";

  // A field's number as large as the field lets it be: its digits (about 0.6 of the
  // font size wide each) must fit across it with room to spare.
  if (labels) {
    s += std::string("<g id=\"labels\" fill=\"") + col_etichetta + "\" text-anchor=\"middle\">\n";
    for (std::size_t k = 0; k < mesh.fields.size(); ++k) {
      const FieldRow& row = rows[k];
      const std::string text = std::to_string(row.field);
      const double size = std::sqrt(row.area) * scale;
      const double across = row.longest_side > 0 ? 2 * row.area / row.longest_side * scale : 0;
      const double corpo = std::clamp(
          std::min({0.4 * size, 0.6 * across, size / static_cast<double>(text.size())}), 0.5, 16.0);
      Point c;
      for (const Point& p : row.corners) {
        c.x += p.x;
        c.y += p.y;
      }
      c.x /= static_cast<double>(row.corners.size());
      c.y /= static_cast<double>(row.corners.size());
      s += "<text x=\"" + num(v.px(c.x)) + "\" y=\"" + num(v.py(c.y) + 0.35 * corpo) +
           "\" font-size=\"" + num(corpo) + "\">" + text + "</text>\n";
    }
    s += "</g>\n";
  }

  // Hanging nodes as diamonds, over the node dots they sit on.
  if (!report.hanging.empty()) {
    s += std::string("<g id=\"hanging-nodes\" fill=\"") + col_appeso +
         "\" stroke=\"#000000\" stroke-width=\"" + num(0.5 * tratto) + "\">\n";
    for (const HangingNode& n : report.hanging) {
      const double x = v.px(n.at.x), y = v.py(n.at.y);
      s += "<path d=\"M" + num(x) + "," + num(y - rombo) + "L" + num(x + rombo) + "," + num(y) +
           "L" + num(x) + "," + num(y + rombo) + "L" + num(x - rombo) + "," + num(y) +
           "Z\"><title>hanging node " + std::to_string(n.vertex + 1) + " on a side of field " +
           std::to_string(n.field) + "</title></path>\n";
    }
    s += "</g>\n";
  }

  // The fields the report names as the worst, outlined and tagged with what makes them
  // the worst; one that is small or thin on screen is also ringed, so that it is found
  // on a large floor.
  std::vector<std::pair<int, std::string>> worst;
  auto mark = [&worst](const std::optional<FieldMark>& m, const std::string& what) {
    if (!m) return;
    auto it = std::find_if(worst.begin(), worst.end(),
                           [&m](const auto& p) { return p.first == m->field; });
    if (it == worst.end())
      worst.push_back({m->field, what});
    else
      it->second += ", " + what;
  };
  if (report.worst_corner && report.worst_corner->value >= deviazione_visibile)
    mark(report.worst_corner, "worst corner " + brief(report.worst_corner->value, 2) + " deg");
  if (report.smallest_angle)
    mark(report.smallest_angle,
         "smallest angle " + brief(report.smallest_angle->value, 2) + " deg");
  if (report.worst_aspect)
    mark(report.worst_aspect, "worst aspect " + brief(report.worst_aspect->value, 2));
  if (!worst.empty()) {
    s += std::string("<g id=\"worst-fields\" fill=\"none\" stroke=\"") + col_peggiore +
         "\" font-size=\"12\">\n";
    for (const auto& [field, what] : worst) {
      const Field& f = mesh.fields[static_cast<std::size_t>(field - 1)];
      Bounds fb;
      fb.add_all(corners(f));
      const double cx = v.px((fb.xmin + fb.xmax) / 2), cy = v.py((fb.ymin + fb.ymax) / 2);
      const double fw = (fb.xmax - fb.xmin) * scale, fh = (fb.ymax - fb.ymin) * scale;
      const bool anello = std::min(fw, fh) < 3 * regione_visibile;
      const std::string tag = "field " + std::to_string(field) + ": " + what;
      s += "<polygon stroke-width=\"" + num(contorno) + "\" points=\"" +
           points_attr(v, corners(f)) + "\"><title>" + escape(tag) + "</title></polygon>\n";
      // Beside the ring, up and to the right or, where the picture ends, to the left;
      // without a ring, under the middle of the field. Never beyond the picture.
      const double lungo = 6.6 * static_cast<double>(tag.size());
      double tx = cx, ty = cy + 16;
      const char* ancora = "middle";
      if (anello) {
        const double r = std::max(regione_visibile, std::hypot(fw, fh) / 2) + 6, d = r * 0.72 + 3;
        s += "<circle cx=\"" + num(cx) + "\" cy=\"" + num(cy) + "\" r=\"" + num(r) +
             "\" stroke-width=\"1.5\" stroke-dasharray=\"4 2\"/>\n";
        const bool sinistra = cx + d + lungo > width - margine && cx - d - lungo >= margine;
        tx = sinistra ? cx - d : cx + d;
        ty = cy - d;
        ancora = sinistra ? "end" : "start";
      } else {
        tx = std::clamp(tx, margine + lungo / 2,
                        std::max(margine + lungo / 2, width - margine - lungo / 2));
      }
      s += "<text x=\"" + num(tx) + "\" y=\"" + num(std::max(ty, alto + 12)) + "\" text-anchor=\"" +
           ancora + "\" fill=\"" + col_peggiore +
           "\" stroke=\"#ffffff\" stroke-width=\"3\" paint-order=\"stroke\">" + escape(tag) +
           "</text>\n";
    }
    s += "</g>\n";
  }

  // Coordinate ticks along the bottom and the left of the drawing, in the floor's
  // units, and the unit in the corner between them.
  const double ax = v.px(b.xmin) - 8, ay = v.py(b.ymin) + 8;
  s += "<g id=\"axes\" stroke=\"#555555\" stroke-width=\"0.8\" font-size=\"" + num(corpo_asse) +
       "\" fill=\"#333333\">\n";
  s += "<path fill=\"none\" d=\"M" + num(ax) + "," + num(v.py(b.ymax)) + "L" + num(ax) + "," +
       num(ay) + "L" + num(v.px(b.xmax)) + "," + num(ay) + "\"/>\n";
  for (double x : xt)
    s += "<path d=\"M" + num(v.px(x)) + "," + num(ay) + "v5\"/><text stroke=\"none\" x=\"" +
         num(v.px(x)) + "\" y=\"" + num(ay + 17) + "\" text-anchor=\"middle\">" +
         escape(length_text(x)) + "</text>\n";
  for (double y : yt)
    s += "<path d=\"M" + num(ax) + "," + num(v.py(y)) + "h-5\"/><text stroke=\"none\" x=\"" +
         num(ax - 8) + "\" y=\"" + num(v.py(y) + 4) + "\" text-anchor=\"end\">" +
         escape(length_text(y)) + "</text>\n";
  s += "<text stroke=\"none\" x=\"" + num(ax - 8) + "\" y=\"" + num(ay + 17) +
       "\" text-anchor=\"end\" font-style=\"italic\">" + escape(unit) + "</text>\n";
  s += "</g>\n";

  // Header: the job, the counts and the verdict, one line for each measure over its
  // tolerance.
  s += "<g id=\"header\">\n";
  s += "<text x=\"" + num(margine) + "\" y=\"30\" font-size=\"20\" font-weight=\"bold\">" +
       escape("Job " + report.job) + "</text>\n";
  std::string counts = report.rigid
                           ? how_many(report.triangles, "triangle", "triangles") + " (rigid floor)"
                           : how_many(report.quadrilaterals, "quadrilateral", "quadrilaterals") +
                                 ", " + how_many(report.triangles, "triangle", "triangles");
  counts += ", " + how_many(report.nodes, "node", "nodes") + ", " +
            how_many(static_cast<long>(report.hanging.size()), "hanging node", "hanging nodes");
  s += "<text x=\"" + num(margine) + "\" y=\"50\" font-size=\"13\">" + escape(counts) + "</text>\n";
  std::string areas = "gaps " + percent(report.gap_area, report.slab_area) + ", overlaps " +
                      percent(report.overlap_area, report.slab_area) + ", off slab " +
                      percent(report.outside_area, report.slab_area) + " of the slab";
  s += "<text x=\"" + num(margine) + "\" y=\"66\" font-size=\"13\">" + escape(areas) + "</text>\n";
  s += std::string("<text x=\"") + num(width - margine) +
       "\" y=\"30\" font-size=\"15\" font-weight=\"bold\" text-anchor=\"end\" fill=\"" +
       (verdict.empty() ? "#2e7d32\">within tolerance" : "#c62828\">over tolerance") + "</text>\n";
  for (std::size_t i = 0; i < verdict.size(); ++i)
    s += "<text x=\"" + num(width - margine) + "\" y=\"" + num(48 + 15 * static_cast<double>(i)) +
         "\" font-size=\"12.5\" text-anchor=\"end\" fill=\"#c62828\">" + escape(verdict[i]) +
         "</text>\n";
  s += "</g>\n";

  // Legend, wrapped onto a second row when the picture is narrow.
  std::vector<LegendItem> legend;
  auto box = [](const char* fill, const char* stroke) {
    return std::string("<rect width=\"14\" height=\"14\" fill=\"") + fill + "\" stroke=\"" +
           stroke + "\"/>";
  };
  if (!report.rigid) legend.push_back({"quadrilateral", box(col_quadrilatero, bordo_quadrilatero)});
  legend.push_back({"triangle", box(col_triangolo, bordo_triangolo)});
  if (!coverage.gaps.empty()) legend.push_back({"gap", box(col_lacuna, col_lacuna)});
  if (!coverage.overlaps.empty())
    legend.push_back({"overlap", box(col_sovrapposizione, col_sovrapposizione)});
  if (!coverage.outside.empty()) legend.push_back({"off slab", box(col_fuori, col_fuori)});
  if (!outline.holes.empty()) legend.push_back({"hole", box("url(#hatch)", "#000000")});
  if (!outline.walls.empty())
    legend.push_back({"wall", std::string("<line x1=\"0\" y1=\"7\" x2=\"14\" y2=\"7\" stroke=\"") +
                                  col_muro + "\" stroke-width=\"4\"/>"});
  if (!outline.pillars.empty())
    legend.push_back(
        {"pillar", std::string("<rect x=\"3\" y=\"3\" width=\"8\" height=\"8\" fill=\"") +
                       col_pilastro + "\"/>"});
  if (!outline.polylines.empty())
    legend.push_back(
        {"polyline", std::string("<line x1=\"0\" y1=\"7\" x2=\"14\" y2=\"7\" stroke=\"") +
                         col_polilinea + "\" stroke-width=\"1.5\" stroke-dasharray=\"4 2\"/>"});
  legend.push_back(
      {"node", std::string("<circle cx=\"7\" cy=\"7\" r=\"2.5\" fill=\"") + col_nodo + "\"/>"});
  if (!report.hanging.empty())
    legend.push_back({"hanging node", std::string("<path d=\"M7,2L12,7L7,12L2,7Z\" fill=\"") +
                                          col_appeso +
                                          "\" stroke=\"#000000\" stroke-width=\"0.6\"/>"});
  if (!worst.empty())
    legend.push_back({"worst field", std::string("<rect x=\"1\" y=\"1\" width=\"12\" height=\"12\" "
                                                 "fill=\"none\" stroke-width=\"2\" stroke=\"") +
                                         col_peggiore + "\"/>"});

  const double piede_y = alto + h * scale + 2 * margine + asse;
  const double barra = round_length(0.25 * w);
  const double barra_px = barra * scale;
  const double legenda_fine = width - margine - barra_px - 40;
  s += "<g id=\"legend\" font-size=\"12\">\n";
  double lx = margine, ly = piede_y + 8;
  for (const LegendItem& it : legend) {
    const double item_w = 22 + 7.0 * static_cast<double>(it.label.size()) + 18;
    if (lx + item_w > legenda_fine && lx > margine) {
      lx = margine;
      ly += 24;
    }
    s += "<g transform=\"translate(" + num(lx) + "," + num(ly) + ")\">" + it.swatch +
         "<text x=\"20\" y=\"12\">" + escape(it.label) + "</text></g>\n";
    lx += item_w;
  }
  s += "</g>\n";

  // Scale bar: four alternating blocks, bottom right.
  const double bx = width - margine - barra_px, by = piede_y + 14;
  s += "<g id=\"scale\" font-size=\"12\">\n";
  for (int i = 0; i < 4; ++i)
    s += "<rect x=\"" + num(bx + barra_px * i / 4) + "\" y=\"" + num(by) + "\" width=\"" +
         num(barra_px / 4) + "\" height=\"6\" fill=\"" + (i % 2 ? "#ffffff" : "#000000") +
         "\" stroke=\"#000000\" stroke-width=\"0.8\"/>\n";
  s += "<text x=\"" + num(bx) + "\" y=\"" + num(by + 22) + "\" text-anchor=\"middle\">0</text>\n";
  s += "<text x=\"" + num(bx + barra_px) + "\" y=\"" + num(by + 22) + "\" text-anchor=\"end\">" +
       escape(length_text(barra) + (unit.empty() ? "" : " " + unit)) + "</text>\n";
  s += "</g>\n";
  s += "</svg>\n";
  return s;
}

}  // namespace gencampi::view
