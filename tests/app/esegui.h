// Runs the gencampi program as the office runs it: from a directory, with arguments, and
// keeps its exit status and what it wrote on stderr.
#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "support/job_tree.h"

namespace gencampi::test {

struct Esito {
  int stato = -1;
  std::string messaggi;  // stderr
};

// The program under test is the one built beside the tests, unless
// GENCAMPI_BINARY_OVERRIDE names another: a build with a fault put in by hand, to see
// whether the suite notices it.
inline std::string programma() {
  const char* altro = std::getenv("GENCAMPI_BINARY_OVERRIDE");
  return altro != nullptr && *altro != '\0' ? altro : GENCAMPI_BINARY;
}

inline std::string quota(const std::string& s) {
  std::string q = "'";
  for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

inline Esito esegui(const fs::path& cwd, const std::vector<std::string>& args = {}) {
  static int contatore = 0;
  const fs::path err = fs::temp_directory_path() / ("gencampi-err-" + std::to_string(::getpid()) +
                                                    "-" + std::to_string(++contatore));
  std::string cmd = "cd " + quota(cwd.string()) + " && " + quota(programma());
  for (const std::string& a : args) cmd += " " + quota(a);
  cmd += " 2>" + quota(err.string()) + " </dev/null >/dev/null";
  const int st = std::system(cmd.c_str());
  Esito e;
  e.stato = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
  e.messaggi = leggi(err);
  fs::remove(err);
  return e;
}

}  // namespace gencampi::test
