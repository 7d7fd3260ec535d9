// The operating system's services, in one place per system: file status, directory
// listing, replacing a file, the process number, the current directory, the command
// line, terminal detection, starting a program, and the one mathematical function whose
// last bit the C runtimes disagree on. The build takes platform_posix.cpp or
// platform_windows.cpp; nothing else in the program calls the system directly or knows
// which one it runs on.
#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace gencampi::sistema {

// The separator the system writes between a directory and a name: "\" on Windows,
// where the job files come from, and "/" elsewhere. Both are read as separators.
extern const char separatore;

// Whether the file system itself matches file names ignoring letter case, so that a
// path needs no resolving before it is opened.
extern const bool nomi_senza_maiuscole;

// Whether anything exists at the path exactly as written.
bool esiste(const std::string& path);

// Whether the path names a plain file: only such a file can be read to its end.
bool file_regolare(const std::string& path);

// The names in a directory ("" is the current one); nothing when it cannot be listed.
std::optional<std::vector<std::string>> voci(const std::string& dir);

// The size of a plain file in bytes; nothing when it cannot be told.
std::optional<long long> dimensione(const std::string& path);

// Cuts the file back to `byte` bytes: what a failed append left is taken away again.
bool accorcia(const std::string& path, long long byte);

// Renames `da` to `a` in one step, replacing the file that `a` names if there is one.
bool sostituisci(const std::string& da, const std::string& a);

// An advisory lock on a file, held until the object goes or the process ends, so that
// a run that is killed never keeps the next one waiting.
class FileLock {
 public:
  enum class Outcome { acquired, busy, unavailable };

  FileLock() = default;
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;
  ~FileLock();

  // Takes the lock without waiting: exclusive for a run, shared for a reader. The file
  // is created when missing; `unavailable` when it cannot be opened at all.
  Outcome prendi(const std::string& path, bool esclusivo);
  void lascia();

 private:
  std::intptr_t file_ = -1;  // the open file: a descriptor or a handle, -1 for none
};

// This process's number, to keep the temporary names of concurrent runs apart.
long id_processo();

std::string cartella_corrente();

// The command line as typed, where the system hands a program one line of text
// (Windows): the program's name, blanks and the argument text, quotes and all. Nothing
// where a program is handed a list of arguments.
std::optional<std::string> riga_di_comando();

// Whether the stream is a terminal, where a progress line can be redrawn in place.
bool terminale(std::FILE* f);

// Starts the program with the argument text and waits for it to end; its result is not
// looked at. Where programs take a list of arguments, the text's blank-separated words
// are the list; where they take a command line, the line is the program's path, one
// blank and the text, as written. False when it could not be started.
bool avvia_e_attendi(const std::string& eseguibile, const std::string& argomenti);

// The arc tangent, with the same last bit on every system (see the platform files).
double arcotangente(double x);

}  // namespace gencampi::sistema
