// A job tree for the fuzz harnesses, laid out once per process on a memory-backed file
// system, and the checks that every run, however it ends, must leave its inputs whole.
#pragma once

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>

namespace gencampi::fuzz {

namespace fs = std::filesystem;

inline std::string leggi(const fs::path& p) {
  std::ifstream f(p, std::ios::binary);
  std::ostringstream ss;
  ss << f.rdbuf();
  return ss.str();
}

inline void scrivi(const fs::path& p, std::string_view s) {
  std::ofstream f(p, std::ios::binary | std::ios::trunc);
  f.write(s.data(), static_cast<std::streamsize>(s.size()));
}

// A harness stops the fuzzer with a readable reason when a property breaks.
[[noreturn]] inline void violato(const char* cosa) {
  std::fprintf(stderr, "property violated: %s\n", cosa);
  std::abort();
}

inline constexpr std::string_view ini_standard =
    "MESH.distanza_min            50         |(criterio per generatore mesh)\r\n"
    "MESH.distanza_max             100       |(criterio per generatore mesh)\r\n"
    "MESH.coeff_lato              0.00       |(coeff. di suddivisione campi)\r\n"
    "MESH.allinea_lati             1.00      |(allineamento lati)\r\n";

// root/impostazioni/{dirlav,lavoro,tirnel.ini}, root/progra, root/lavori/job. The root is
// lower case, because a root given on the command line is used lower-cased.
struct AlberoLavoro {
  fs::path radice;

  AlberoLavoro() {
    fs::path base = fs::is_directory("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
    // A fuzzer process that ends on a finding, or a job of -fork mode, never gets to
    // remove its tree: trees of processes that are gone are removed here instead.
    const std::string prefisso = "gencampi_fuzz_";
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(base, ec)) {
      const std::string nome = e.path().filename().string();
      if (nome.rfind(prefisso, 0) != 0) continue;
      const long pid = std::strtol(nome.c_str() + prefisso.size(), nullptr, 10);
      if (pid > 0 && ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH)
        fs::remove_all(e.path(), ec);
    }
    radice = base / (prefisso + std::to_string(::getpid()));
    fs::remove_all(radice);
    fs::create_directories(radice / "impostazioni");
    fs::create_directories(radice / "progra");
    fs::create_directories(radice / "lavori" / "job");
    scrivi(radice / "impostazioni" / "dirlav", (radice / "lavori").string() + "\r\n");
    scrivi(radice / "impostazioni" / "lavoro", "job\r\n");
    // The tree goes when the fuzzer process ends normally.
    static AlberoLavoro* questo = this;
    std::atexit([] {
      std::error_code ec;
      fs::remove_all(questo->radice, ec);
    });
  }

  fs::path ini() const { return radice / "impostazioni" / "tirnel.ini"; }
  fs::path pavimento() const { return radice / "progra" / "impalcato.txt"; }
  fs::path progra() const { return radice / "progra"; }
  fs::path lavoro() const { return radice / "lavori" / "job"; }

  // Removes what the previous input's run wrote, so that each input starts alike.
  void pulisci() const {
    for (const fs::path& d : {progra(), lavoro()})
      for (const auto& e : fs::directory_iterator(d))
        if (e.path().filename() != "impalcato.txt") fs::remove_all(e.path());
  }

  // A file written in one go goes through a temporary name beside it; none may be left.
  void nessun_temporaneo() const {
    for (const fs::path& d : {progra(), lavoro(), radice / "impostazioni"})
      for (const auto& e : fs::directory_iterator(d))
        if (e.path().filename().string().find(".tmp~") != std::string::npos)
          violato("a temporary file was left behind");
  }
};

// The settings file may only have gained whole default lines at its end.
inline void solo_righe_aggiunte(const std::string& prima, const std::string& dopo) {
  if (dopo.size() < prima.size() || dopo.compare(0, prima.size(), prima) != 0)
    violato("the settings file was changed, not only appended to");
  std::string_view coda = std::string_view(dopo).substr(prima.size());
  while (!coda.empty()) {
    const std::size_t fine = coda.find("\r\n");
    if (fine == std::string_view::npos) violato("an appended settings line is cut");
    const std::string_view riga = coda.substr(0, fine);
    if (riga.rfind("MESH.", 0) != 0 || riga.find("|(") == std::string_view::npos)
      violato("something other than a default line was appended to the settings file");
    coda.remove_prefix(fine + 2);
  }
}

}  // namespace gencampi::fuzz
