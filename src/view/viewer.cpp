#include "view/viewer.h"

#include <chrono>
#include <cmath>
#include <optional>
#include <thread>

#include "core/dirs.h"
#include "core/errors.h"
#include "core/numbers.h"
#include "core/platform.h"
#include "core/textfile.h"
#include "view/coverage.h"
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

std::string last_component(std::string p) {
  while (p.size() > 1 && (p.back() == '/' || p.back() == '\\')) p.pop_back();
  std::size_t cut = p.find_last_of("/\\");
  return cut == std::string::npos ? p : p.substr(cut + 1);
}

bool absolute(const std::string& p) {
  return !p.empty() && p[0] == '/';
}

void write_file(const std::string& path, const std::string& text) {
  if (!scrivi_tutto(path, text)) throw ViewError("cannot write " + path);
}

}  // namespace

std::string usage() {
  return "usage: gencampi-view (--root DIR | --progra DIR --job DIR) [options]\n"
         "  --root DIR       the job root: DIR/progra, and the job directory named by\n"
         "                   DIR/impostazioni/dirlav and DIR/impostazioni/lavoro\n"
         "  --progra DIR     the program directory (impalcato.txt, campi.txt)\n"
         "  --job DIR        the job directory (punti.dis, triang.txt)\n"
         "  --svg FILE       draw the slab, fields and nodes into FILE\n"
         "  --export FILE    write the fields as a mesh: FILE.msh (Gmsh 2.2 ASCII)\n"
         "                   or FILE.vtk (legacy VTK)\n"
         "  --json           print the report as JSON instead of a table\n"
         "  --tolerance PCT  gap, overlap and off-slab area accepted, in percent of the\n"
         "                   slab area (default 0.01)\n"
         "  --unit NAME      length unit for the scale bar (default cm)\n"
         "  --help, --version\n"
         "exit status: 0 all well, 1 usage or read error, 3 coverage above tolerance\n";
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
      o.export_path = value();
      if (!format_for(o.export_path))
        throw ViewError("--export: the file name must end in .msh or .vtk");
    } else if (a == "--tolerance") {
      std::string t = value();
      std::optional<double> v = letterale(t);
      if (!v || !std::isfinite(*v) || *v < 0)
        throw ViewError("--tolerance: \"" + t + "\" is not a percentage");
      o.tolerance_percent = *v;
    } else if (a == "--unit") {
      o.unit = value();
    } else {
      throw ViewError("unknown option " + args[i]);
    }
  }
  if (o.help || o.version) return o;
  if (o.root.empty() && (o.progra.empty() || o.job.empty()))
    throw ViewError("give --root DIR, or both --progra DIR and --job DIR");
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
  if (p.name.empty()) p.name = last_component(p.job);
  return p;
}

int run_viewer(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  Options o;
  try {
    o = parse_options(args);
  } catch (const ViewError& e) {
    err << "gencampi-view: " << e.what() << "\n" << usage();
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
    // A run in progress on the root holds its lock: the job is read once it is over.
    sistema::FileLock lettura;
    const std::string lock = places.progra + "/gencampi.lock";
    if (esiste(lock) && lettura.prendi(risolvi(lock), false) == sistema::FileLock::Outcome::busy) {
      err << "gencampi-view: waiting for the run in progress in " << places.progra << "\n";
      while (lettura.prendi(risolvi(lock), false) == sistema::FileLock::Outcome::busy)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    Outline outline = read_floor(places.progra + "/impalcato.txt");
    Mesh mesh = read_mesh(places.progra, places.job, outline.rigid());
    Coverage coverage = cover(outline, mesh);
    Report report = make_report(places.name, outline, mesh, coverage, o.tolerance_percent);
    for (std::string& w : record_warnings(places.progra, places.job, outline.rigid()))
      report.warnings.push_back(std::move(w));

    if (!o.svg.empty()) write_file(o.svg, draw_svg(outline, mesh, coverage, report, o.unit));
    if (!o.export_path.empty()) {
      MeshFormat f = *format_for(o.export_path);
      write_file(o.export_path, f == MeshFormat::msh ? to_msh(mesh) : to_vtk(mesh, places.name));
    }
    for (const std::string& w : report.warnings) err << "gencampi-view: warning: " << w << "\n";
    out << (o.json ? format_json(report) : format_table(report));
    return report.within_tolerance ? esito_ok : esito_copertura;
  } catch (const std::exception& e) {
    err << "gencampi-view: " << e.what() << "\n";
    return esito_errore;
  }
}

}  // namespace gencampi::view
