// Sequential text files as the program uses them: whole files read into memory and
// taken apart field by field or line by line, and output files built in memory and
// put in place in one go, so that no reader ever meets a file cut in half.
//
// The platform the format comes from ignores letter case in file names, so every path
// is resolved component by component ignoring ASCII case when it does not exist as
// given; a file that exists in no case is created under the name as given.
#pragma once

#include <cstddef>
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
// directory, then renamed over it. False when that cannot be done.
bool scrivi_tutto(const std::string& path, const std::string& contenuto);

// Appends `contenuto` in one write. False when the file cannot be opened.
bool appendi(const std::string& path, const std::string& contenuto);

// Deletes the file if it exists.
void elimina(const std::string& path);

// Field reader over the text of a file. Line ends are CR LF or a bare LF; a bare CR
// is data. Every reading function returns nullopt when the file has ended before the
// item it must read.
class Reader {
 public:
  explicit Reader(std::string testo) : t_(std::move(testo)) {}

  bool finito() const { return p_ >= t_.size(); }

  // A text field: it ends at a comma or the line end (both consumed); a field that
  // starts with a double quote runs to the closing quote.
  std::optional<std::string> testo();

  // A number field's text: line ends and blanks before it are skipped; it ends at a
  // comma, blank, tab or line end; blanks after it and one comma or line end go with it.
  std::optional<std::string> numero();

  // A whole line, without its line end.
  std::optional<std::string> riga();

 private:
  // Length of the line end starting at i (2 for CR LF, 1 for LF, 0 otherwise).
  std::size_t fine_riga(std::size_t i) const;

  std::string t_;
  std::size_t p_ = 0;
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
