#include "view/viewer.h"

#include <cctype>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <optional>
#include <thread>

#include "core/dirs.h"
#include "core/errors.h"
#include "core/numbers.h"
#include "core/platform.h"
#include "core/textfile.h"
#include "view/coverage.h"
#include "view/field_table.h"
#include "view/floor_file.h"
#include "view/mesh_export.h"
#include "view/mesh_files.h"
#include "view/model.h"
#include "view/report.h"
#include "view/run_check.h"
#include "view/svg.h"

#ifndef GENCAMPI_VERSION
#define GENCAMPI_VERSION "unknown"
#endif

namespace gencampi::view {

namespace {

// The job directory as the mesher finds it. The mesher ends with one message for a
// missing file and for one whose first line is blank; the viewer tells the two apart.
JobPlace job_place(const std::string& root) {
  try {
    return cartella_lavoro(root);
  } catch (const RunEnd& e) {
    const std::string path = e.testo.substr(fine_non_trovo("").testo.size());
    if (leggi_tutto(path)) throw ViewError(path + ": the first line is empty");
    throw ViewError("cannot find " + path);
  }
}

bool absolute(const std::string& p) {
  return !p.empty() && p[0] == '/';
}

// One file the run is asked to write: the option that named it, its path, its text.
struct Output {
  std::string option, path, text;
};

// Where a path leads, for comparing it with the job's files: letter case resolved as the
// mesher finds its files, links and "." or ".." followed, then all of it in lower case,
// since two names that differ only in case may still reach the same job file.
std::string destination(const std::string& path) {
  namespace fs = std::filesystem;
  std::error_code ec;
  fs::path p = fs::absolute(risolvi(path), ec);
  fs::path c = fs::weakly_canonical(p, ec);
  std::string s = (ec ? p.lexically_normal() : c).generic_string();
  while (s.size() > 1 && s.back() == '/') s.pop_back();
  for (char& ch : s) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
  return s;
}

// An output may not take the place of anything the job is made of: the floor file, the
// results, the mesher's scratch files, its run record and lock, the settings, or the
// folders that hold them. Two outputs may not name one file either: the second would
// silently replace the first.
void check_outputs(const Options& o, const Places& p, const std::vector<Output>& outputs) {
  const std::string root = o.root.empty() ? p.progra + "/.." : o.root;
  const std::string impostazioni = root + "/impostazioni";
  const std::vector<std::string> folders = {root, impostazioni, p.progra, p.job};
  std::vector<std::string> files;
  for (const char* n : {"impalcato.txt", "campi.txt", "campi.tmp", "campi2.tmp", "gencampi.run",
                        "gencampi.lock", "tramaforo.exe"})
    files.push_back(p.progra + "/" + n);
  for (const char* n : {"punti.dis", "campi.dis", "triang.txt"}) files.push_back(p.job + "/" + n);
  const std::string settings = destination(impostazioni);

  std::vector<std::string> taken;
  for (const Output& out : outputs) {
    const std::string d = destination(out.path);
    auto refuse = [&](const std::string& what) {
      throw ViewError(out.option + " " + out.path + ": " + what + "; choose another name");
    };
    for (const std::string& f : folders)
      if (d == destination(f)) refuse("this is the job's folder " + f);
    for (const std::string& f : files)
      if (d == destination(f)) refuse("this is the job's file " + f);
    if (d.size() > settings.size() && d.compare(0, settings.size(), settings) == 0 &&
        d.find('/', settings.size() + 1) == std::string::npos && d[settings.size()] == '/')
      refuse("the job's settings folder " + impostazioni + " holds it");
    for (const std::string& t : taken)
      if (d == t) refuse("another output names the same file");
    taken.push_back(d);
  }
}

// Writes every output or none: each is checked first, and when one still fails, the
// files this run created are removed again, so that no run leaves half its results.
void write_outputs(const std::vector<Output>& outputs) {
  for (const Output& out : outputs)
    if (!scrivibile(out.path)) throw ViewError("cannot write " + out.path);
  std::vector<std::string> created;
  for (const Output& out : outputs) {
    const bool existed = esiste(out.path);
    if (!scrivi_tutto(out.path, out.text)) {
      for (const std::string& c : created) elimina(c);
      throw ViewError("cannot write " + out.path);
    }
    if (!existed) created.push_back(out.path);
  }
}

}  // namespace

std::string usage() {
  return "usage: gencampi-view (--root DIR | --progra DIR --job DIR) [options]\n"
         "  --root DIR       the job root: DIR/progra, and the job directory named by\n"
         "                   DIR/impostazioni/dirlav and DIR/impostazioni/lavoro\n"
         "  --progra DIR     the program directory (impalcato.txt, campi.txt)\n"
         "  --job DIR        the job directory (punti.dis, triang.txt)\n"
         "  --svg FILE       draw the slab, fields and nodes into FILE\n"
         "  --export FILE    write the fields as a mesh: FILE.msh (Gmsh 4.1 ASCII)\n"
         "                   or FILE.vtk (legacy VTK); may be given several times\n"
         "  --conforming     in the exports, split every field that has nodes on its\n"
         "                   sides into triangles that use them\n"
         "  --fields FILE    write one CSV row per field: corners, area, corner angles,\n"
         "                   shortest and longest side, aspect ratio\n"
         "  --labels         write each field's number on the picture\n"
         "  --json           print the report as JSON instead of a table\n"
         "  --tolerance PCT  gap, overlap and off-slab area accepted, in percent of the\n"
         "                   slab area (default 0.01)\n"
         "  --min-angle DEG  smallest triangle angle accepted (default 1)\n"
         "  --max-aspect R   largest triangle aspect ratio accepted, longest over\n"
         "                   shortest side (default 50)\n"
         "  --max-hanging N  hanging nodes accepted (default: reported, not checked)\n"
         "  --unit NAME      length unit for the scale bar and ticks (default cm)\n"
         "  --help, --version\n"
         "exit status: 0 all well, 1 usage or read error, 3 a measure over its tolerance,\n"
         "             4 the mesher stopped on an outline error in the floor file\n";
}

Options parse_options(const std::vector<std::string>& args) {
  Options o;
  for (std::size_t i = 0; i < args.size(); ++i) {
    std::string a = args[i];
    std::optional<std::string> inline_value;
    if (a.rfind("--", 0) == 0) {
      std::size_t eq = a.find('=');
      if (eq != std::string::npos) {
        inline_value = a.substr(eq + 1);
        a = a.substr(0, eq);
      }
    }
    auto value = [&]() -> std::string {
      if (inline_value) return *inline_value;
      if (i + 1 >= args.size()) throw ViewError(a + " needs a value");
      return args[++i];
    };
    if (a == "--help" || a == "-h") {
      o.help = true;
    } else if (a == "--version") {
      o.version = true;
    } else if (a == "--json") {
      o.json = true;
    } else if (a == "--root") {
      o.root = value();
    } else if (a == "--progra") {
      o.progra = value();
    } else if (a == "--job") {
      o.job = value();
    } else if (a == "--svg") {
      o.svg = value();
    } else if (a == "--export") {
      o.exports.push_back(value());
      if (!format_for(o.exports.back()))
        throw ViewError("--export: the file name must end in .msh or .vtk");
    } else if (a == "--conforming") {
      o.conforming = true;
    } else if (a == "--fields") {
      o.fields = value();
    } else if (a == "--tolerance") {
      std::string t = value();
      std::optional<double> v = letterale(t);
      if (!v || !std::isfinite(*v) || *v < 0)
        throw ViewError("--tolerance: \"" + t + "\" is not a percentage");
      o.tolerance_percent = *v;
    } else if (a == "--min-angle" || a == "--max-aspect" || a == "--max-hanging") {
      std::string t = value();
      std::optional<double> v = letterale(t);
      const bool whole = v && *v == std::floor(*v) && *v < 1e9;
      if (!v || !std::isfinite(*v) || *v < (a == "--max-aspect" ? 1 : 0) ||
          (a == "--max-hanging" && !whole))
        throw ViewError(a + ": \"" + t + "\" is not " +
                        (a == "--min-angle"    ? "an angle in degrees"
                         : a == "--max-aspect" ? "an aspect ratio of 1 or more"
                                               : "a count"));
      if (a == "--min-angle") o.limits.min_triangle_angle = *v;
      if (a == "--max-aspect") o.limits.max_triangle_aspect = *v;
      if (a == "--max-hanging") o.limits.hanging_nodes = static_cast<int>(*v);
    } else if (a == "--labels") {
      o.labels = true;
    } else if (a == "--unit") {
      o.unit = value();
    } else {
      throw ViewError("unknown option " + args[i]);
    }
  }
  if (o.help || o.version) return o;
  if (o.root.empty() && (o.progra.empty() || o.job.empty()))
    throw ViewError("give --root DIR, or both --progra DIR and --job DIR");
  if (o.conforming && o.exports.empty()) throw ViewError("--conforming needs --export FILE");
  for (std::string* d : {&o.root, &o.progra, &o.job})
    while (d->size() > 1 && d->back() == '/') d->pop_back();
  return o;
}

Places locate(const Options& o) {
  Places p;
  p.progra = o.progra;
  p.job = o.job;
  if (!o.root.empty()) {
    if (p.progra.empty()) p.progra = o.root + "/progra";
    if (p.job.empty()) {
      JobPlace place = job_place(o.root);
      p.name = trim(place.lavoro);
      // The mesher takes a relative jobs directory from its working directory, which
      // is the root's progra/ when it is started the usual way.
      p.job = absolute(place.dirlavoro) ? place.dirlavoro : o.root + "/progra/" + place.dirlavoro;
    }
  }
  if (p.name.empty()) p.name = ultimo_componente(p.job);
  return p;
}

int run_viewer(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  Options o;
  try {
    o = parse_options(args);
  } catch (const ViewError& e) {
    err << "gencampi-view: " << printable(e.what()) << "\n" << usage();
    return esito_errore;
  }
  if (o.help) {
    out << usage();
    return esito_ok;
  }
  if (o.version) {
    out << "gencampi-view " << GENCAMPI_VERSION << "\n";
    return esito_ok;
  }
  try {
    Places places = locate(o);
    {
      std::vector<Output> named;
      if (!o.svg.empty()) named.push_back({"--svg", o.svg, ""});
      for (const std::string& e : o.exports) named.push_back({"--export", e, ""});
      if (!o.fields.empty()) named.push_back({"--fields", o.fields, ""});
      check_outputs(o, places, named);
    }
    // A run in progress on the root holds its lock: the job is read once it is over.
    sistema::FileLock lettura;
    const std::string lock = places.progra + "/gencampi.lock";
    if (esiste(lock) && lettura.prendi(risolvi(lock), false) == sistema::FileLock::Outcome::busy) {
      err << "gencampi-view: waiting for the run in progress in " << printable(places.progra)
          << "\n";
      while (lettura.prendi(risolvi(lock), false) == sistema::FileLock::Outcome::busy)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    Outline outline = read_floor(places.progra + "/impalcato.txt");
    Mesh mesh = read_mesh(places.progra, places.job, outline.rigid(), outline.stopped);
    Coverage coverage = cover(outline, mesh);
    Report report =
        make_report(places.name, outline, mesh, coverage, o.tolerance_percent, o.limits);
    for (std::string& w : record_warnings(places.progra, places.job, outline.rigid()))
      report.warnings.push_back(std::move(w));

    std::vector<Output> outputs;
    if (!o.svg.empty())
      outputs.push_back(
          {"--svg", o.svg, draw_svg(outline, mesh, coverage, report, o.unit, o.labels)});
    const ExportMesh exported = export_mesh(mesh, outline, o.conforming);
    for (const std::string& e : o.exports)
      outputs.push_back(
          {"--export", e,
           *format_for(e) == MeshFormat::msh ? to_msh(exported) : to_vtk(exported, places.name)});
    if (!o.fields.empty()) outputs.push_back({"--fields", o.fields, fields_csv(report.fields)});
    write_outputs(outputs);
    for (const std::string& w : report.warnings)
      err << "gencampi-view: warning: " << printable(w) << "\n";
    if (o.conforming)
      err << "gencampi-view: --conforming split " << exported.split_fields << " of "
          << mesh.fields.size() << " fields at " << exported.side_nodes
          << " nodes on their sides\n";
    out << (o.json ? format_json(report) : format_table(report));
    if (!outline.stopped.empty()) return esito_contorno;
    return report.within_tolerance ? esito_ok : esito_copertura;
  } catch (const std::exception& e) {
    err << "gencampi-view: " << printable(e.what()) << "\n";
    return esito_errore;
  }
}

}  // namespace gencampi::view
