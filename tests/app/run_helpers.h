// Runs the gencampi executable on a job laid out in a temporary directory.
#pragma once

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace gencampi::test {

namespace fs = std::filesystem;

inline std::string leggi(const fs::path& p) {
  std::ifstream f(p, std::ios::binary);
  std::ostringstream ss;
  ss << f.rdbuf();
  return ss.str();
}

inline void scrivi(const fs::path& p, const std::string& s) {
  fs::create_directories(p.parent_path());
  std::ofstream f(p, std::ios::binary);
  f << s;
}

// Text with LF line ends turned into CR LF, as the job files are written by hand.
inline std::string crlf(const std::string& s) {
  std::string out;
  for (char c : s) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

struct Esito {
  int stato = -1;
  std::string messaggi;  // stderr
};

inline std::string quota(const std::string& s) {
  std::string q = "'";
  for (char c : s) {
    if (c == '\'')
      q += "'\\''";
    else
      q += c;
  }
  return q + "'";
}

// Runs gencampi with `args` from the directory `cwd`.
inline Esito esegui(const fs::path& cwd, const std::vector<std::string>& args = {}) {
  fs::path err = fs::temp_directory_path() / ("gencampi_err_" + std::to_string(::getpid()));
  std::string cmd = "cd " + quota(cwd.string()) + " && " + quota(GENCAMPI_BINARY);
  for (const std::string& a : args) cmd += " " + quota(a);
  cmd += " 2>" + quota(err.string()) + " </dev/null";
  int st = std::system(cmd.c_str());
  Esito e;
  e.stato = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
  e.messaggi = leggi(err);
  fs::remove(err);
  return e;
}

// A fresh job root: impostazioni/{dirlav,lavoro,tirnel.ini}, progra/impalcato.txt and
// the job directory root/lavori/job.
struct Radice {
  fs::path dir;

  explicit Radice(const std::string& nome) {
    dir = fs::temp_directory_path() /
          ("gencampi_" + nome + "_" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir / "progra");
    fs::create_directories(dir / "lavori" / "job");
    scrivi(dir / "impostazioni" / "dirlav", crlf((dir / "lavori").string() + "\n"));
    scrivi(dir / "impostazioni" / "lavoro", crlf("job\n"));
    scrivi(dir / "impostazioni" / "tirnel.ini",
           crlf("MESH.distanza_min            50         |(criterio per generatore mesh)\n"
                "MESH.distanza_max             100       |(criterio per generatore mesh)\n"
                "MESH.coeff_lato              0.00       |(coeff. di suddivisione campi)\n"
                "MESH.allinea_lati             1.00      |(allineamento lati)\n"));
  }
  ~Radice() { fs::remove_all(dir); }

  void pavimento(const std::string& testo) { scrivi(dir / "progra" / "impalcato.txt", crlf(testo)); }
  fs::path progra() const { return dir / "progra"; }
  fs::path lavoro() const { return dir / "lavori" / "job"; }
};

}  // namespace gencampi::test
