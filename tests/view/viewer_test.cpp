// The command on job trees: finding the job, what it prints and writes, its statuses.
#include "view/viewer.h"

#include <gtest/gtest.h>

#include <functional>
#include <sstream>

#include "core/run_record.h"
#include "view_fixture.h"

namespace gencampi::view {
namespace {

using namespace gencampi::test;

struct Outcome {
  int status;
  std::string out, err;
};

Outcome view(const std::vector<std::string>& args) {
  std::ostringstream out, err;
  int status = run_viewer(args, out, err);
  return {status, out.str(), err.str()};
}

bool has(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

TEST(ViewCommand, ReadsTheJobAndLeavesItUntouched) {
  JobTree t, out("out");
  lavoro_campi(t, square_fields());
  // Blanks around both names, and a jobs directory relative to progra/, where the
  // mesher is started.
  scrivi(t.impostazioni() / "dirlav", "  ../lavori \r\n");
  scrivi(t.impostazioni() / "lavoro", " job \r\n");
  const auto before = t.istantanea();
  const std::string svg = (out.radice / "a.svg").string(), msh = (out.radice / "a.MSH").string();
  const std::string vtk1 = (out.radice / "a.vtk").string(), csv = (out.radice / "f.csv").string();
  Outcome r = view({"--root", t.radice.string(), "--svg", svg, "--export", msh, "--export", vtk1,
                    "--fields", csv, "--tolerance", "0"});
  EXPECT_EQ(r.status, esito_ok) << r.err;
  EXPECT_EQ(r.err, "");
  EXPECT_TRUE(r.out.starts_with("job job  (fields of campi.txt)\n")) << r.out;
  EXPECT_TRUE(well_formed(leggi(svg)));
  // The fields (quadrilaterals, then triangles), the perimeter cut at 4 nodes, the hole,
  // the wall and the pillar: 19 elements in 6 blocks.
  EXPECT_TRUE(has(leggi(msh), "$Elements\n6 19 1 19\n"));
  EXPECT_TRUE(has(leggi(vtk1), "CELLS 5 23\n"));
  EXPECT_TRUE(has(leggi(csv), "\n5,3,600,400,1000,600,600,600,,,40000,")) << leggi(csv);
  EXPECT_EQ(t.istantanea(), before);

  // The same job named by its two directories, in the wrong letter case.
  const std::string vtk = (out.radice / "b.vtk").string();
  r = view({"--progra", (t.radice / "PROGRA").string(), "--job",
            (t.radice / "lavori/JOB/").string(), "--json", "--export=" + vtk, "--conforming"});
  EXPECT_EQ(r.status, esito_ok) << r.err;
  EXPECT_EQ(r.err, "gencampi-view: --conforming split 2 of 5 fields at 4 nodes on their sides\n");
  EXPECT_TRUE(has(r.out, "\"job\": \"JOB\"")) << r.out;
  EXPECT_TRUE(has(r.out, "\n    {\"field\": 5, \"corners\": [[600, 400], [1000, 600], [600, 600]]"))
      << r.out;
  EXPECT_TRUE(has(leggi(vtk), "CELLS 11 45\n"));
  EXPECT_EQ(t.istantanea(), before);
}

// The triangles may span the hole: reported, but a rigid floor is meant to do that.
// Half the square left uncovered (50 % of the slab) is a gap like any other.
TEST(ViewCommand, RigidFloorAndTolerance) {
  JobTree t;
  scrivi(t.pavimento(), square_floor("-100"));
  scrivi(t.lavoro() / "punti.dis", punti_dis({{0, 0}, {1000, 0}, {1000, 1000}, {0, 1000}}));
  scrivi(t.lavoro() / "triang.txt", crlf(" 2 \n 1  2  3 \n 1  3  4 \n"));
  const std::string root = t.radice.string();
  Outcome r = view({"--root", root, "--json"});
  EXPECT_EQ(r.status, esito_ok) << r.err;
  EXPECT_TRUE(has(r.out, "\"build\": \"rigid\"")) << r.out;
  EXPECT_TRUE(has(r.out, "\"outside\": 40000}")) << r.out;
  scrivi(t.lavoro() / "triang.txt", crlf(" 1 \n 2  3  4 \n"));
  r = view({"--root", root, "--json"});
  EXPECT_EQ(r.status, esito_copertura);
  EXPECT_TRUE(has(r.out, "\"gaps\": 480000,")) << r.out;
  EXPECT_EQ(view({"--root", root, "--tolerance", "49.9"}).status, esito_copertura);
  EXPECT_EQ(view({"--root", root, "--tolerance=50.1"}).status, esito_ok);
  // Triangles by node number: from 1 to the count of punti.dis.
  for (const char* bad : {" 1 \n 0  2  3 \n", " 1 \n 1  2  5 \n", " 2 \n 1  2  4 \n",
                          " 1 \n 1  2  4 \n 2  3  4 \n"}) {
    scrivi(t.lavoro() / "triang.txt", crlf(bad));
    r = view({"--root", root});
    EXPECT_TRUE(r.status == esito_errore && has(r.err, "/triang.txt")) << r.err;
  }
  EXPECT_TRUE(has(r.err,
                  "triang.txt, line 3: more records than the 1 triangles announced on "
                  "line 1\n"))
      << r.err;
}

TEST(ViewCommand, UsageAndReadErrorsGiveStatusOne) {
  JobTree t;
  lavoro_campi(t, square_fields());
  const std::string root = t.radice.string();
  const std::pair<std::vector<std::string>, std::string> usage_errors[] = {
      {{}, "give --root DIR, or both --progra DIR and --job DIR"},
      {{"--progra", root + "/progra"}, "give --root DIR, or both --progra DIR and --job DIR"},
      {{"--root"}, "--root needs a value"},
      {{"--root", root, "--bogus"}, "unknown option --bogus"},
      {{"--root", root, "--export", "x.stl"}, "--export: the file name must end in .msh or .vtk"},
      {{"--root", root, "--tolerance", "-1"}, "--tolerance: \"-1\" is not a percentage"},
      {{"--root", root, "--conforming"}, "--conforming needs --export FILE"},
  };
  for (const auto& [args, message] : usage_errors) {
    Outcome r = view(args);
    EXPECT_EQ(r.status, esito_errore) << message;
    EXPECT_TRUE(r.err.starts_with("gencampi-view: " + message + "\nusage: ")) << r.err;
  }
  // Each step breaks the job a little more; the message names what is wrong.
  const std::pair<std::function<void()>, std::string> read_errors[] = {
      {[] {}, "cannot write " + root + "/no/a.svg"},
      {[&] { fs::remove(t.lavoro() / "punti.dis"); },
       "cannot find " + t.lavoro().string() + "/punti.dis"},
      {[&] { scrivi(t.impostazioni() / "dirlav", "lavori\r\n"); },
       "cannot find " + root + "/progra/lavori/job/punti.dis"},
      {[&] { fs::remove(t.pavimento()); }, "cannot find " + root + "/progra/impalcato.txt"},
      {[&] { scrivi(t.impostazioni() / "lavoro", "  \r\n"); },
       root + "/impostazioni/lavoro: the first line is empty"},
      {[&] { fs::remove(t.impostazioni() / "dirlav"); },
       "cannot find " + root + "/impostazioni/dirlav"},
  };
  for (const auto& [breaks, message] : read_errors) {
    breaks();
    Outcome r = view({"--root", root, "--svg", root + "/no/a.svg"});
    EXPECT_EQ(r.status, esito_errore);
    EXPECT_EQ(r.err, "gencampi-view: " + message + "\n");
  }
  Outcome help = view({"--help"});
  EXPECT_EQ(help.status, esito_ok);
  EXPECT_TRUE(help.out.starts_with("usage: gencampi-view")) << help.out;
}

// No output may take the place of a job file or folder, however the name is spelt; a
// run that cannot write everything writes nothing; bytes from a file are not echoed raw.
TEST(ViewCommand, OutputsLeaveTheJobAlone) {
  JobTree t, out("out");
  lavoro_campi(t, square_fields());
  const std::string root = t.radice.string(), o = out.radice.string();
  fs::create_symlink(t.progra() / "campi.txt", out.radice / "link.svg");
  const auto before = t.istantanea();
  const std::vector<std::string> refused[] = {
      {"--svg", root + "/PROGRA/Campi.TXT"},
      {"--svg", root + "/progra/../progra/campi2.tmp"},
      {"--svg", root + "/progra/gencampi.lock"},
      {"--svg", t.lavoro().string() + "/PUNTI.dis"},
      {"--svg", root + "/lavori/job/"},
      {"--svg", root + "/impostazioni/nuovo.svg"},
      {"--svg", o + "/link.svg"},
      {"--fields", root + "/progra/impalcato.txt"},
      {"--export", o + "/a.msh", "--export", o + "/A.MSH"},
  };
  for (const auto& args : refused) {
    std::vector<std::string> a = {"--root", root};
    a.insert(a.end(), args.begin(), args.end());
    const Outcome r = view(a);
    EXPECT_EQ(r.status, esito_errore) << args.at(1);
    EXPECT_TRUE(has(r.err, "; choose another name\n")) << r.err;
  }
  EXPECT_EQ(t.istantanea(), before);
  Outcome r = view({"--root", root, "--svg", o + "/a.svg", "--export", o + "/no/b.msh"});
  EXPECT_EQ(r.err, "gencampi-view: cannot write " + o + "/no/b.msh\n");
  EXPECT_FALSE(fs::exists(out.radice / "a.svg"));

  scrivi(t.progra() / "campi.txt", crlf(" 100 \n 1 \n3\n0 0\n1 \x1b]0;x\x07\n"));
  r = view({"--root", root});
  EXPECT_TRUE(r.status == esito_errore && has(r.err, "\"\\x1b]0;x\\x07\" is not a number"))
      << r.err;
  EXPECT_EQ(r.err.find('\x1b'), std::string::npos);
}

// The bundled examples, with the files the mesher wrote for them as the stored jobs keep
// them, checked as covering the slab exactly: palazzina is 2000 x 1200 and a 700 x 150
// balcony less openings of 250 x 400 and 200 x 200; villetta is 1400 x 1000 less corners
// of 300 x 400 / 2 and 300 x 300 / 2, less a hexagonal opening of 200 x 120 + 2 x 200 x
// 50 / 2. Each finds its job through its own relative jobs directory.
// The mesher's run record: the viewer says when the last run did not end normally or
// ended on a message, and when a file it shows is not what that run left.
TEST(ViewCommand, WarnsFromTheRunRecord) {
  JobTree t;
  lavoro_campi(t, square_fields());
  auto ultima = [&t](bool finita, int stato, bool punti_scritto) {
    RunRecord r;
    r.inizio = "2026-12-06T10:00:00Z";
    r.dirlavoro = t.lavoro().string();
    if (finita) r.fine = "2026-12-06T10:00:01Z", r.stato = stato;
    if (stato != 0) r.messaggi = {"gencampi: ERRORE BUCHI"};
    for (const char* n : {"progra/campi.txt", "lavoro/punti.dis"}) {
      const std::string testo =
          leggi(t.radice / (n[0] == 'p' ? std::string(n) : "lavori/job/punti.dis"));
      r.file.push_back({n, true, n[0] == 'p' || punti_scritto, static_cast<long long>(testo.size()),
                        impronta(testo)});
    }
    scrivi(t.progra() / "gencampi.run", testo_registro(r));
  };
  const std::string root = t.radice.string();
  const struct {
    bool finita;
    int stato;
    bool punti_scritto;
    const char* avviso;  // "" for none
  } casi[] = {
      {true, 0, true, ""},
      {false, -1, true, "did not end normally"},
      {true, 1, true, "ended with status 1: gencampi: ERRORE BUCHI"},
      {true, 0, false, "punti.dis is older than the last run, which wrote"},
  };
  for (const auto& c : casi) {
    ultima(c.finita, c.stato, c.punti_scritto);
    const Outcome r = view({"--root", root});
    EXPECT_EQ(r.status, esito_ok) << r.err;
    if (*c.avviso == 0)
      EXPECT_EQ(r.err, "");
    else
      EXPECT_TRUE(has(r.err, c.avviso)) << r.err;
  }
  ultima(true, 0, true);
  scrivi(t.progra() / "campi.txt", campi_txt(square_fields()) + "\r\n");
  EXPECT_TRUE(has(view({"--root", root}).err, "campi.txt changed after the last run")) << root;
}

// The stored runs that met an outline error left no punti.dis and an empty mesh (a rigid
// floor only its triang.txt): the job is shown as far as it goes, each missing file
// named with the reason, and the status says the floor file stopped the mesher.
TEST(ViewCommand, OutlineErrorsShowWhatTheMesherLeft) {
  const std::tuple<const char*, const char*, const char*> jobs[] = {
      {"errore-perimetro", "ERRORE PERIMETRO", "{\"slab\": 0, "},
      {"errore-buchi", "ERRORE BUCHI", "{\"slab\": 5000, "},
      {"errore-muri", "ERRORE MURI", "{\"slab\": 120000, "}};
  for (const auto& [name, message, areas] : jobs) {
    JobTree t(name);
    const fs::path stored = fs::path(GENCAMPI_SOURCE_DIR) / "tests/jobs" / name;
    const auto merge = fs::copy_options::recursive | fs::copy_options::overwrite_existing;
    fs::copy(stored / "radice", t.radice, merge);
    fs::copy(stored / "attesi", t.radice, merge);
    const std::string svg = (t.radice / "a.svg").string();
    Outcome r = view({"--root", t.radice.string(), "--json", "--svg", svg});
    EXPECT_EQ(r.status, esito_contorno) << name << r.err;
    EXPECT_TRUE(has(r.err, "/punti.dis is missing: the mesher stopped on an outline error (" +
                               std::string(message) + ") and placed no nodes\n"))
        << r.err;
    EXPECT_TRUE(has(r.out, areas)) << r.out;
    EXPECT_TRUE(has(r.out, "\"outline_error\": \"" + std::string(message) + "\"")) << r.out;
    const std::string picture = leggi(svg);
    EXPECT_TRUE(well_formed(picture) && !has(picture, "nan") && !has(picture, "inf")) << name;
    if (fs::remove(t.lavoro() / "triang.txt")) {
      r = view({"--root", t.radice.string()});
      EXPECT_EQ(r.status, esito_contorno);
      EXPECT_TRUE(has(r.err, "/triang.txt is missing: the mesher stopped on an outline error"))
          << r.err;
    }
  }
}

TEST(ViewCommand, ExampleJobsAsTheMesherLeftThem) {
  const std::pair<const char*, std::string> examples[] = {
      {"palazzina", "{\"slab\": 2365000, \"fields\": 2365000, \"covered\": 2365000, \"gaps\": 0,"},
      {"villetta", "{\"slab\": 1261000, \"fields\": 1261000, \"covered\": 1261000, \"gaps\": "}};
  const fs::path source = GENCAMPI_SOURCE_DIR;
  for (const auto& [name, areas] : examples) {
    JobTree t(name);
    const auto merge = fs::copy_options::recursive | fs::copy_options::overwrite_existing;
    fs::copy(source / "examples" / name, t.radice, merge);
    fs::copy(source / "tests/jobs" / (std::string("esempio-") + name) / "attesi", t.radice, merge);
    const std::string svg = (t.radice / "a.svg").string();
    Outcome r = view({"--root", t.radice.string(), "--json", "--svg", svg});
    EXPECT_EQ(r.status, esito_ok) << r.err;
    EXPECT_TRUE(has(r.out, areas)) << r.out;
    EXPECT_TRUE(has(r.out, "\"regions\": {\"gaps\": 0, \"overlaps\": 0, \"outside\": 0}")) << r.out;
    EXPECT_TRUE(well_formed(leggi(svg))) << name;
  }
}

}  // namespace
}  // namespace gencampi::view
