#include "view/svg.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <vector>

namespace gencampi::view {

namespace {

// Size of the drawing's longer side in pixels, and the frame around it.
constexpr double lato_disegno = 1400;
constexpr double margine = 24;
constexpr double testata = 72;
constexpr double piede = 84;
constexpr double larghezza_minima = 760;
// A region with less area on screen than a square of this side also gets a ring
// around it, so that a gap of a few square centimetres, or a sliver along a side, is
// still found by eye on a large floor.
constexpr double regione_visibile = 12;

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

std::string num(double v) {
  char buf[48];
  std::snprintf(buf, sizeof buf, "%.2f", v);
  std::string s = buf;
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

struct LegendItem {
  std::string label;
  std::string swatch;  // drawn in a 14 x 14 box whose corner is (0, 0)
};

}  // namespace

std::string draw_svg(const Outline& outline, const Mesh& mesh, const Coverage& coverage,
                     const Report& report, const std::string& unit) {
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
  const double w = std::max(b.xmax - b.xmin, 1e-9), h = std::max(b.ymax - b.ymin, 1e-9);
  const double scale = lato_disegno / std::max(w, h);
  const double width = std::max(w * scale + 2 * margine, larghezza_minima);
  const double height = testata + h * scale + 2 * margine + piede;
  const View v{b.xmin, b.ymax, scale, (width - w * scale) / 2, testata + margine};

  // Line widths and node dots follow the typical field size on screen, so that a
  // dense mesh does not turn into a solid blot and a coarse one stays legible.
  const std::size_t nfields = std::max<std::size_t>(mesh.fields.size(), 1);
  const double cella =
      std::sqrt(std::max(coverage.slab_area, w * h * 1e-6) / static_cast<double>(nfields)) * scale;
  const double tratto = std::clamp(0.04 * cella, 0.3, 1.2);
  const double raggio = std::clamp(0.07 * cella, 0.7, 3.0);

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

  for (int kind : {4, 3}) {
    const bool quad = (kind == 4);
    s += std::string("<g id=\"") + (quad ? "quadrilaterals" : "triangles") + "\" fill=\"" +
         (quad ? col_quadrilatero : col_triangolo) + "\" stroke=\"" +
         (quad ? bordo_quadrilatero : bordo_triangolo) + "\" stroke-width=\"" + num(tratto) +
         "\" stroke-linejoin=\"round\">\n";
    for (const Field& f : mesh.fields) {
      if ((f.corners.size() == 4) != quad) continue;
      std::vector<Point> pts;
      for (std::size_t i = 0; i < f.corners.size(); ++i) pts.push_back(mesh.corner(f, i));
      s += "<polygon points=\"" + points_attr(v, pts) + "\"/>\n";
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

  // Header: the job, the counts and the verdict.
  s += "<g id=\"header\">\n";
  s += "<text x=\"" + num(margine) + "\" y=\"30\" font-size=\"20\" font-weight=\"bold\">" +
       escape("Job " + report.job) + "</text>\n";
  std::string counts = report.rigid
                           ? how_many(report.triangles, "triangle", "triangles") + " (rigid floor)"
                           : how_many(report.quadrilaterals, "quadrilateral", "quadrilaterals") +
                                 ", " + how_many(report.triangles, "triangle", "triangles");
  counts += ", " + how_many(report.nodes, "node", "nodes");
  s += "<text x=\"" + num(margine) + "\" y=\"50\" font-size=\"13\">" + escape(counts) + "</text>\n";
  std::string areas = "gaps " + percent(report.gap_area, report.slab_area) + ", overlaps " +
                      percent(report.overlap_area, report.slab_area) + ", off slab " +
                      percent(report.outside_area, report.slab_area) + " of the slab";
  s += "<text x=\"" + num(margine) + "\" y=\"66\" font-size=\"13\">" + escape(areas) + "</text>\n";
  s += std::string("<text x=\"") + num(width - margine) +
       "\" y=\"30\" font-size=\"15\" font-weight=\"bold\" text-anchor=\"end\" fill=\"" +
       (report.within_tolerance ? "#2e7d32\">coverage within tolerance"
                                : "#c62828\">gaps or overlaps above tolerance") +
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

  const double piede_y = testata + h * scale + 2 * margine;
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
