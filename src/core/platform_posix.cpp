#include "core/platform.h"

#include <dirent.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>

extern char** environ;

namespace gencampi::sistema {

const char separatore = '/';
const bool nomi_senza_maiuscole = false;

bool esiste(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0;
}

bool file_regolare(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::optional<std::vector<std::string>> voci(const std::string& dir) {
  DIR* d = ::opendir(dir.empty() ? "." : dir.c_str());
  if (d == nullptr) return std::nullopt;
  std::vector<std::string> nomi;
  while (dirent* e = ::readdir(d)) nomi.emplace_back(e->d_name);
  ::closedir(d);
  return nomi;
}

std::optional<long long> dimensione(const std::string& path) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
  return static_cast<long long>(st.st_size);
}

bool accorcia(const std::string& path, long long byte) {
  return ::truncate(path.c_str(), static_cast<off_t>(byte)) == 0;
}

bool sostituisci(const std::string& da, const std::string& a) {
  return std::rename(da.c_str(), a.c_str()) == 0;
}

FileLock::~FileLock() {
  lascia();
}

FileLock::Outcome FileLock::prendi(const std::string& path, bool esclusivo) {
  lascia();
  int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
  if (fd < 0) fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return Outcome::unavailable;
  file_ = fd;
  if (::flock(fd, (esclusivo ? LOCK_EX : LOCK_SH) | LOCK_NB) == 0) return Outcome::acquired;
  const bool occupato = errno == EWOULDBLOCK;
  lascia();
  return occupato ? Outcome::busy : Outcome::unavailable;
}

void FileLock::lascia() {
  if (file_ >= 0) ::close(static_cast<int>(file_));
  file_ = -1;
}

long id_processo() {
  return static_cast<long>(::getpid());
}

std::string cartella_corrente() {
  std::vector<char> buf(4096);
  while (::getcwd(buf.data(), buf.size()) == nullptr) {
    if (errno != ERANGE) return {};
    buf.resize(buf.size() * 2);
  }
  return buf.data();
}

std::optional<std::string> riga_di_comando() {
  return std::nullopt;
}

bool terminale(std::FILE* f) {
  return ::isatty(::fileno(f)) != 0;
}

bool avvia_e_attendi(const std::string& eseguibile, const std::string& argomenti) {
  std::vector<std::string> parole;
  std::size_t i = 0;
  while (i < argomenti.size()) {
    std::size_t j = argomenti.find(' ', i);
    if (j == std::string::npos) j = argomenti.size();
    if (j > i) parole.push_back(argomenti.substr(i, j - i));
    i = j + 1;
  }
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(eseguibile.c_str()));
  for (std::string& a : parole) argv.push_back(a.data());
  argv.push_back(nullptr);
  std::fflush(nullptr);
  pid_t pid = 0;
  if (::posix_spawn(&pid, eseguibile.c_str(), nullptr, nullptr, argv.data(), environ) != 0)
    return false;
  int stato = 0;
  while (::waitpid(pid, &stato, 0) < 0 && errno == EINTR) {
  }
  return true;
}

// The C library's own: the results the program has always given on Linux.
double arcotangente(double x) {
  return std::atan(x);
}

}  // namespace gencampi::sistema
