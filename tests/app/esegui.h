// Runs the gencampi program as the office runs it: from a directory, with arguments, and
// keeps its exit status and what it wrote on stderr.
#pragma once

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#else
#include <sys/wait.h>
#endif

#include <cstdlib>
#include <string>
#include <vector>

#include "core/platform.h"
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

inline fs::path file_messaggi() {
  static int contatore = 0;
  return fs::temp_directory_path() / ("gencampi-err-" + std::to_string(sistema::id_processo()) +
                                      "-" + std::to_string(++contatore));
}

#ifdef _WIN32

// Starts the program with the command line as written, from `cwd`, its stderr going to
// `err`, and waits for it unless `attendi` is false; the process handle of a run not
// waited for is the caller's to wait for and close.
inline HANDLE avvia(const fs::path& cwd, std::string riga, const fs::path& err, bool attendi) {
  SECURITY_ATTRIBUTES ereditabile{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  HANDLE e = ::CreateFileA(err.string().c_str(), GENERIC_WRITE, FILE_SHARE_READ, &ereditabile,
                           CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  HANDLE nulla = ::CreateFileA("NUL", GENERIC_READ | GENERIC_WRITE, 0, &ereditabile, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
  STARTUPINFOA avvio{};
  avvio.cb = sizeof avvio;
  avvio.dwFlags = STARTF_USESTDHANDLES;
  avvio.hStdInput = nulla;
  avvio.hStdOutput = nulla;
  avvio.hStdError = e;
  PROCESS_INFORMATION p{};
  const std::string nome = programma();
  const std::string dir = cwd.string();
  HANDLE h = nullptr;
  if (::CreateProcessA(nome.c_str(), riga.data(), nullptr, nullptr, TRUE, 0, nullptr, dir.c_str(),
                       &avvio, &p)) {
    ::CloseHandle(p.hThread);
    h = p.hProcess;
    if (attendi) ::WaitForSingleObject(h, INFINITE);
  }
  ::CloseHandle(e);
  ::CloseHandle(nulla);
  return h;
}

inline int stato_di(HANDLE h) {
  if (h == nullptr) return -1;
  ::WaitForSingleObject(h, INFINITE);
  DWORD stato = 0;
  ::GetExitCodeProcess(h, &stato);
  ::CloseHandle(h);
  return static_cast<int>(stato);
}

// The program's quoted path, then the text as typed.
inline Esito esegui_riga(const fs::path& cwd, const std::string& argomenti) {
  const fs::path err = file_messaggi();
  Esito e;
  e.stato = stato_di(avvia(cwd, "\"" + programma() + "\" " + argomenti, err, true));
  e.messaggi = leggi(err);
  fs::remove(err);
  return e;
}

// The arguments joined by one blank, unquoted: the command line the office types.
inline Esito esegui(const fs::path& cwd, const std::vector<std::string>& args = {}) {
  std::string testo;
  for (const std::string& a : args) testo += (testo.empty() ? "" : " ") + a;
  return esegui_riga(cwd, testo);
}

#else

inline std::string quota(const std::string& s) {
  std::string q = "'";
  for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

inline Esito esegui(const fs::path& cwd, const std::vector<std::string>& args = {}) {
  const fs::path err = file_messaggi();
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

#endif

// Lays the settings and the floor of examples/<nome> into the tree: a job long enough
// for runs to overlap or to be killed half way.
inline void esempio(const JobTree& t, const std::string& nome) {
  const fs::path e = fs::path(GENCAMPI_SOURCE_DIR) / "examples" / nome;
  scrivi(t.ini(), leggi(e / "impostazioni" / "tirnel.ini"));
  scrivi(t.pavimento(), leggi(e / "progra" / "impalcato.txt"));
}

}  // namespace gencampi::test
