// Where a run finds its job: the command line, the root directory, the program directory
// and the job directory named by the root's two job files. The viewer finds a finished
// job the same way.
#pragma once

#include <string>
#include <vector>

#include "core/platform.h"

namespace gencampi {

struct Dirs {
  std::string comando;    // the arguments, lower-cased and trimmed
  std::string dirroot;    // the root, without a trailing separator
  std::string dirprogra;  // floor file, field files, sibling program
  std::string lavoro;     // the job name as the first line of impostazioni/lavoro holds it
  std::string dirlavoro;  // drawing files and triang.txt
};

// File names are a directory string, the system's separator and the name.
inline std::string file_in(const std::string& dir, const std::string& name) {
  return dir + sistema::separatore + name;
}

// The last component of a path, whichever separator it uses and with trailing ones
// dropped: the job's name in its job directory.
std::string ultimo_componente(std::string path);

// comando: the arguments joined with single blanks, ASCII-lower-cased, then trimmed.
std::string costruisci_comando(const std::vector<std::string>& args);

// The argument text of a command line as Windows hands it over: what follows the
// program's name and the blanks and tabs after it. The name ends at the first blank or
// tab outside double quotes, as the system's own command line parser reads it.
std::string testo_argomenti(const std::string& riga);

// dirroot from comando ("|diroot=") or from the current directory.
std::string radice(const std::string& comando, const std::string& cwd);

// The job named by dirroot/impostazioni/dirlav and dirroot/impostazioni/lavoro: the
// trimmed first lines joined into dirlavoro. A missing or unreadable file, or a blank
// first line, leaves no job directory to work in: the run ends with "Non trovo il file".
struct JobPlace {
  std::string lavoro;
  std::string dirlavoro;
};
JobPlace cartella_lavoro(const std::string& dirroot);

// Builds comando, dirroot, dirprogra, lavoro and dirlavoro.
Dirs trova_cartelle(const std::vector<std::string>& args, const std::string& cwd);

}  // namespace gencampi
