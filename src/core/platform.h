// The operating system's services, in one place: file status, directory listing, the
// process number, the current directory, terminal detection and starting a program.
// Nothing else in the program calls the system directly.
#pragma once

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace gencampi::sistema {

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
  int fd_ = -1;
};

// This process's number, to keep the temporary names of concurrent runs apart.
long id_processo();

std::string cartella_corrente();

// Whether the stream is a terminal, where a progress line can be redrawn in place.
bool terminale(std::FILE* f);

// Starts the program with the arguments and waits for it to end; its result is not
// looked at. False when it could not be started.
bool avvia_e_attendi(const std::string& eseguibile, const std::vector<std::string>& argomenti);

}  // namespace gencampi::sistema
