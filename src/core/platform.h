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

// This process's number, to keep the temporary names of concurrent runs apart.
long id_processo();

std::string cartella_corrente();

// Whether the stream is a terminal, where a progress line can be redrawn in place.
bool terminale(std::FILE* f);

// Starts the program with the arguments and waits for it to end; its result is not
// looked at. False when it could not be started.
bool avvia_e_attendi(const std::string& eseguibile, const std::vector<std::string>& argomenti);

}  // namespace gencampi::sistema
