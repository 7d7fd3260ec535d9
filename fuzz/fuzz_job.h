// The fuzz harnesses' job tree, laid out once per process, and the checks that every run, however
// it ends, must leave its inputs whole.
#pragma once

#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

#include "support/job_tree.h"

namespace gencampi::fuzz {

using namespace gencampi::test;

namespace fs = std::filesystem;

// A harness stops the fuzzer with a readable reason when a property breaks.
[[noreturn]] inline void violato(const char* cosa) {
  std::fprintf(stderr, "property violated: %s\n", cosa);
  std::abort();
}

// The job tree of one fuzzer process, on a memory-backed file system where there is one.
// The root is lower case, because a root given on the command line is used lower-cased.
struct FuzzTree : JobTree {
  FuzzTree() : JobTree("fuzz", base()) {}

  // A fuzzer process that ends on a finding, or a job of -fork mode, never gets to
  // remove its tree: trees of processes that are gone are removed before this one is
  // made.
  static fs::path base() {
    fs::path b = fs::is_directory("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(b, ec)) {
      const std::string nome = e.path().filename().string();
      if (nome.rfind(prefisso_albero, 0) != 0) continue;
      const long pid = std::strtol(nome.c_str() + prefisso_albero.size(), nullptr, 10);
      if (pid > 0 && ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH)
        fs::remove_all(e.path(), ec);
    }
    return b;
  }

  // Removes what the previous input's run wrote, so that each input starts alike.
  void pulisci() const {
    for (const fs::path& d : {progra(), lavoro()})
      for (const auto& e : fs::directory_iterator(d))
        if (e.path().filename() != "impalcato.txt") fs::remove_all(e.path());
  }

  // A file written in one go goes through a temporary name beside it; none may be left.
  void nessun_temporaneo() const {
    for (const fs::path& d : {progra(), lavoro(), impostazioni()})
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
