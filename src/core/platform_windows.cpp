#include "core/platform.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#define WIN32_LEAN_AND_MEAN
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include "core/arctangent.h"

#ifndef ENABLE_VIRTUAL_TERMINAL_PROCESSING
#define ENABLE_VIRTUAL_TERMINAL_PROCESSING 0x0004
#endif

// Every name goes to the system as it is, in the ANSI code page, as the job files and
// the office's command lines are written.
namespace gencampi::sistema {

const char separatore = '\\';
const bool nomi_senza_maiuscole = true;

namespace {

HANDLE maniglia(std::intptr_t f) {
  return reinterpret_cast<HANDLE>(f);
}

// The standard streams in binary mode from the start, as on Linux: the messages end with
// a bare LF wherever they go, and whatever the program writes there is the same bytes on
// both systems. The files the program writes are opened in binary mode one by one.
const bool flussi_binari = [] {
  for (std::FILE* f : {stdin, stdout, stderr}) ::_setmode(::_fileno(f), _O_BINARY);
  return true;
}();

}  // namespace

bool esiste(const std::string& path) {
  return !path.empty() && ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// A device name such as NUL or CON is valid in every directory: it opens, but it is no
// file to read to its end.
bool file_regolare(const std::string& path) {
  if (path.empty()) return false;
  HANDLE h = ::CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  BY_HANDLE_FILE_INFORMATION info;
  const bool ok = ::GetFileType(h) == FILE_TYPE_DISK && ::GetFileInformationByHandle(h, &info) &&
                  (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
  ::CloseHandle(h);
  return ok;
}

std::optional<std::vector<std::string>> voci(const std::string& dir) {
  std::string schema = dir;
  if (!schema.empty() && schema.back() != '\\' && schema.back() != '/' && schema.back() != ':')
    schema += '\\';
  schema += '*';
  WIN32_FIND_DATAA d;
  HANDLE h = ::FindFirstFileA(schema.c_str(), &d);
  std::vector<std::string> nomi;
  if (h == INVALID_HANDLE_VALUE) {
    // A drive's root holds no "." and "..": when it is empty there is nothing to find.
    if (::GetLastError() == ERROR_FILE_NOT_FOUND) return nomi;
    return std::nullopt;
  }
  do {
    nomi.emplace_back(d.cFileName);
  } while (::FindNextFileA(h, &d));
  ::FindClose(h);
  return nomi;
}

std::optional<long long> dimensione(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA d;
  if (path.empty() || !::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &d) ||
      (d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
    return std::nullopt;
  return static_cast<long long>(static_cast<unsigned long long>(d.nFileSizeHigh) << 32 |
                                d.nFileSizeLow);
}

bool accorcia(const std::string& path, long long byte) {
  HANDLE h = ::CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER posizione;
  posizione.QuadPart = byte;
  const bool ok = ::SetFilePointerEx(h, posizione, nullptr, FILE_BEGIN) && ::SetEndOfFile(h);
  ::CloseHandle(h);
  return ok;
}

// The C runtime's rename refuses to replace a file that exists.
bool sostituisci(const std::string& da, const std::string& a) {
  return ::MoveFileExA(da.c_str(), a.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
}

FileLock::~FileLock() {
  lascia();
}

// The lock covers the file's first byte; the lock file never holds any, so nobody is
// kept from reading it. The handle is not inherited by the programs a run starts.
FileLock::Outcome FileLock::prendi(const std::string& path, bool esclusivo) {
  lascia();
  const DWORD condivisione = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
  HANDLE h = ::CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, condivisione, nullptr,
                           OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE)
    h = ::CreateFileA(path.c_str(), GENERIC_READ, condivisione, nullptr, OPEN_EXISTING,
                      FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return Outcome::unavailable;
  file_ = reinterpret_cast<std::intptr_t>(h);
  OVERLAPPED inizio{};
  const DWORD modo = (esclusivo ? LOCKFILE_EXCLUSIVE_LOCK : 0) | LOCKFILE_FAIL_IMMEDIATELY;
  if (::LockFileEx(h, modo, 0, 1, 0, &inizio)) return Outcome::acquired;
  const bool occupato = ::GetLastError() == ERROR_LOCK_VIOLATION;
  lascia();
  return occupato ? Outcome::busy : Outcome::unavailable;
}

// Closing the handle releases the lock.
void FileLock::lascia() {
  if (file_ != -1) ::CloseHandle(maniglia(file_));
  file_ = -1;
}

long id_processo() {
  return static_cast<long>(::GetCurrentProcessId());
}

std::string cartella_corrente() {
  const DWORD n = ::GetCurrentDirectoryA(0, nullptr);
  if (n == 0) return {};
  std::string buf(n, '\0');
  const DWORD scritti = ::GetCurrentDirectoryA(n, buf.data());
  if (scritti == 0 || scritti >= n) return {};
  buf.resize(scritti);
  return buf;
}

std::optional<std::string> riga_di_comando() {
  return std::string(::GetCommandLineA());
}

// A console draws the progress line's cursor movements only once it has been told to
// read them; one that cannot be told shows no progress line.
bool terminale(std::FILE* f) {
  HANDLE h = maniglia(::_get_osfhandle(::_fileno(f)));
  DWORD modo = 0;
  if (!::GetConsoleMode(h, &modo)) return false;
  if ((modo & ENABLE_VIRTUAL_TERMINAL_PROCESSING) != 0) return true;
  return ::SetConsoleMode(h, modo | ENABLE_VIRTUAL_TERMINAL_PROCESSING) != 0;
}

// The program is named on its own as well, so that a directory with blanks in its name
// cannot make the system start another program; the child sees the command line as
// written.
bool avvia_e_attendi(const std::string& eseguibile, const std::string& argomenti) {
  std::string riga = eseguibile + " " + argomenti;
  STARTUPINFOA avvio{};
  avvio.cb = sizeof avvio;
  PROCESS_INFORMATION processo{};
  std::fflush(nullptr);
  if (!::CreateProcessA(eseguibile.c_str(), riga.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &avvio, &processo))
    return false;
  ::WaitForSingleObject(processo.hProcess, INFINITE);
  ::CloseHandle(processo.hThread);
  ::CloseHandle(processo.hProcess);
  return true;
}

// The Windows C runtime's arc tangent differs from glibc's in the last bit for many
// arguments, and from one version of the runtime to the next (and under Wine): glibc's own
// way of working it out is carried along instead.
double arcotangente(double x) {
  return arcotangente_glibc(x);
}

}  // namespace gencampi::sistema
