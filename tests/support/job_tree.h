// A job laid out on disk as the program finds it: a root with impostazioni/ (dirlav,
// lavoro, tirnel.ini), progra/ and the job directory lavori/<job>/. The unit tests, the
// whole-run tests, the viewer's tests and the fuzz harnesses all build their jobs here.
#pragma once

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <string_view>

#include "core/job.h"
#include "core/platform.h"

namespace gencampi::test {

namespace fs = std::filesystem;

inline std::string leggi(const fs::path& p) {
  std::ifstream f(p, std::ios::binary);
  std::ostringstream ss;
  ss << f.rdbuf();
  return ss.str();
}

// Writes the file whole, making its directory first.
inline void scrivi(const fs::path& p, std::string_view testo) {
  if (p.has_parent_path()) fs::create_directories(p.parent_path());
  std::ofstream f(p, std::ios::binary | std::ios::trunc);
  f.write(testo.data(), static_cast<std::streamsize>(testo.size()));
}

// LF line ends turned into CR LF, as the job files are written by hand on the office's
// machines.
inline std::string crlf(std::string_view s) {
  std::string out;
  for (char c : s) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

// The settings file as the office ships it.
inline constexpr std::string_view ini_standard =
    "MESH.distanza_min            50         |(criterio per generatore mesh)\r\n"
    "MESH.distanza_max             100       |(criterio per generatore mesh)\r\n"
    "MESH.coeff_lato              0.00       |(coeff. di suddivisione campi)\r\n"
    "MESH.allinea_lati             1.00      |(allineamento lati)\r\n";

// The prefix of every tree's directory name; the process number follows it, so that a
// harness can find and remove the trees of processes that died before removing theirs.
inline constexpr std::string_view prefisso_albero = "gencampi-";

class JobTree {
 public:
  // A fresh root under `base`, named after the test, the process and a counter. The
  // root path is lower case, because a root given on the command line is used
  // lower-cased; so are `nome` and `job` in every caller. Windows names its temporary
  // directory with capitals: the same directory in lower case, its file system ignoring
  // case.
  explicit JobTree(const std::string& nome = "job",
                   const fs::path& base = fs::temp_directory_path(), const std::string& job = "job")
      : job_(job) {
    static int contatore = 0;
    radice = base / (std::string(prefisso_albero) + std::to_string(sistema::id_processo()) + "-" +
                     std::to_string(++contatore) + "-" + nome);
    if (sistema::nomi_senza_maiuscole) {
      std::string minuscola = radice.string();
      for (char& c : minuscola)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
      radice = minuscola;
    }
    fs::remove_all(radice);
    fs::create_directories(progra());
    fs::create_directories(lavoro());
    scrivi(impostazioni() / "dirlav", (radice / "lavori").string() + "\r\n");
    scrivi(impostazioni() / "lavoro", job + "\r\n");
    scrivi(ini(), ini_standard);
  }
  ~JobTree() {
    std::error_code ec;
    fs::remove_all(radice, ec);
  }
  JobTree(const JobTree&) = delete;
  JobTree& operator=(const JobTree&) = delete;

  fs::path impostazioni() const { return radice / "impostazioni"; }
  fs::path ini() const { return impostazioni() / "tirnel.ini"; }
  fs::path progra() const { return radice / "progra"; }
  fs::path pavimento() const { return progra() / "impalcato.txt"; }
  fs::path lavoro() const { return radice / "lavori" / job_; }

  // impalcato.txt from text with LF line ends.
  void pavimento(std::string_view testo) const { scrivi(pavimento(), crlf(testo)); }

  // Every file under the root with its content, to see what a run changed. The run's
  // record and lock file are left out: they change with every run, and the tests of
  // the run look at them on their own.
  std::map<std::string, std::string> istantanea() const {
    std::map<std::string, std::string> m;
    for (const auto& e : fs::recursive_directory_iterator(radice)) {
      const std::string file = e.path().filename().string();
      if (file == "gencampi.run" || file == "gencampi.lock") continue;
      m[fs::relative(e.path(), radice).generic_string()] =
          e.is_regular_file() ? leggi(e.path()) : "<dir>";
    }
    return m;
  }

  fs::path radice;

 private:
  std::string job_;
};

// A tree with a Job whose directories point into it, for the tests of single stages.
// Files are named relative to the root ("progra/campi.txt").
struct JobOnDisk : JobTree {
  Job job;

  explicit JobOnDisk(const Capacities& cap = {}) : JobTree("stage"), job(cap) {
    job.dirs.dirroot = radice.string();
    job.dirs.dirprogra = progra().string();
    job.dirs.dirlavoro = lavoro().string();
    // A stage test writes the settings it reads, or none to see the file missing.
    fs::remove(ini());
  }

  // With the system's separator throughout, as the program writes its paths.
  std::string path(const std::string& rel) const {
    return (radice / fs::path(rel).make_preferred()).string();
  }
  void scrivi(const std::string& rel, std::string_view testo) const {
    test::scrivi(radice / rel, testo);
  }
  std::string leggi(const std::string& rel) const { return test::leggi(radice / rel); }
  bool esiste(const std::string& rel) const { return fs::exists(radice / rel); }
};

}  // namespace gencampi::test
