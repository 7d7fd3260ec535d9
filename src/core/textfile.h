// Sequential text files as the program uses them: whole files read into memory and
// taken apart field by field or line by line, and output files built in memory and
// put in place in one go, so that no reader ever meets a file cut in half.
//
// The platform the format comes from ignores letter case in file names, so every path
// is resolved component by component ignoring ASCII case when it does not exist as
// given; a file that exists in no case is created under the name as given. On Windows
// the file system does this itself.
#pragma once

#include <cstddef>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace gencampi {

// The existing path that matches `path` ignoring ASCII letter case, component by
// component (the first match in byte order wins); the unmatched tail as given.
std::string risolvi(const std::string& path);

bool esiste(const std::string& path);

// Reads the whole file; nullopt when it cannot be opened.
std::optional<std::string> leggi_tutto(const std::string& path);

// Replaces the file with `contenuto`: written under a temporary name in the same
// directory, then renamed over it, so that the file goes from its old whole content to
// the new one. False when that cannot be done.
bool scrivi_tutto(const std::string& path, const std::string& contenuto);

// Whether scrivi_tutto could put a file there, found out without changing anything.
bool scrivibile(const std::string& path);

// Appends `contenuto`, all of it or nothing: what a failed write left is cut away again.
// False when the file cannot be opened or written.
bool appendi(const std::string& path, const std::string& contenuto);

// Appends `contenuto` by putting the whole longer file in place, so that a full disk
// leaves the file exactly as it was. For small files that must never end in half a line.
bool appendi_intero(const std::string& path, const std::string& contenuto);

// The temporary files that a run killed in the middle of scrivi_tutto left in `dir`.
void elimina_temporanei(const std::string& dir);

// Deletes the file if it exists.
void elimina(const std::string& path);

// Field reader over the text of a file. Line ends are CR LF or a bare LF; a bare CR
// is data. Every reading function returns nullopt when the file has ended before the
// item it must read.
class Reader {
 public:
  explicit Reader(std::string testo) : t_(std::move(testo)) {}

  // A reader that takes the file a block at a time, so that a huge floor file costs the
  // memory of the field being read, not of the file. Nothing when the file cannot be
  // opened or is not a plain file.
  static std::optional<Reader> apri(const std::string& path);

  bool finito() { return !ha(0); }

  // A text field: it ends at a comma or the line end (both consumed); a field that
  // starts with a double quote runs to the closing quote.
  std::optional<std::string> testo();

  // A number field's text: line ends and blanks before it are skipped; it ends at a
  // comma, blank, tab or line end; blanks after it and one comma or line end go with it.
  std::optional<std::string> numero();

  // A whole line, without its line end.
  std::optional<std::string> riga();

 private:
  struct Chiudi {
    void operator()(std::FILE* f) const { std::fclose(f); }
  };

  // Whether the byte k places after the current one exists, reading on as needed.
  bool ha(std::size_t k);
  char at(std::size_t k) const { return t_[p_ + k]; }
  // Length of the line end at the current byte (2 for CR LF, 1 for LF, 0 otherwise).
  std::size_t fine_riga();
  // Drops what has been read and takes the next block of the file.
  void ricarica();

  std::string t_;
  std::size_t p_ = 0;
  std::unique_ptr<std::FILE, Chiudi> f_;
};

// Builds the lines of an output file; every line ends with CR LF.
class Writer {
 public:
  Writer& operator<<(const std::string& s) {
    b_ += s;
    return *this;
  }
  Writer& operator<<(const char* s) {
    b_ += s;
    return *this;
  }
  Writer& num(double v);
  Writer& num(int v);
  void a_capo() { b_ += "\r\n"; }
  void riga(const std::string& s) {
    b_ += s;
    a_capo();
  }
  const std::string& testo() const { return b_; }

 private:
  std::string b_;
};

}  // namespace gencampi
