#include "core/textfile.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <vector>

#include "core/dirs.h"
#include "core/numbers.h"
#include "core/platform.h"

namespace gencampi {

namespace {

bool esiste_esatto(const std::string& p) {
  return sistema::esiste(p);
}

// A path read from a damaged job file may hold a NUL byte. The system would take it to
// end there, so a write meant for a file inside a directory would land on whatever the
// first part names: such a path names no file at all.
bool nome_possibile(const std::string& p) {
  return p.find('\0') == std::string::npos;
}

char minuscola(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool uguali_senza_maiuscole(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (minuscola(a[i]) != minuscola(b[i])) return false;
  return true;
}

// The entry of `dir` equal to `name` ignoring case, the first in byte order.
std::optional<std::string> cerca_voce(const std::string& dir, const std::string& name) {
  std::optional<std::vector<std::string>> nomi = sistema::voci(dir);
  if (!nomi) return std::nullopt;
  std::vector<std::string> trovate;
  for (const std::string& n : *nomi)
    if (uguali_senza_maiuscole(n, name)) trovate.push_back(n);
  if (trovate.empty()) return std::nullopt;
  return *std::min_element(trovate.begin(), trovate.end());
}

}  // namespace

std::string risolvi(const std::string& path) {
  // Where the file system ignores case itself, it finds the file as the name is given.
  if (sistema::nomi_senza_maiuscole || path.empty() || esiste_esatto(path)) return path;
  std::vector<std::string> parti;
  std::size_t i = 0;
  while (i <= path.size()) {
    std::size_t j = path.find('/', i);
    if (j == std::string::npos) j = path.size();
    parti.push_back(path.substr(i, j - i));
    i = j + 1;
  }
  // parti[0] is "" for an absolute path.
  std::string cur = parti[0];
  bool perso = false;  // once a component is missing, the rest is taken as given
  for (std::size_t k = 1; k < parti.size(); ++k) {
    const std::string& nome = parti[k];
    std::string base = cur;
    std::string cand = base + "/" + nome;
    if (k == 1 && base.empty()) cand = "/" + nome;
    if (!perso && !nome.empty() && nome != "." && nome != ".." && !esiste_esatto(cand)) {
      std::string dir = (k == 1 && base.empty()) ? "/" : base;
      if (auto v = cerca_voce(dir, nome)) {
        cand = (k == 1 && base.empty()) ? "/" + *v : base + "/" + *v;
      } else {
        perso = true;
      }
    }
    cur = cand;
  }
  return cur;
}

bool esiste(const std::string& path) {
  return nome_possibile(path) && esiste_esatto(risolvi(path));
}

std::optional<std::string> leggi_tutto(const std::string& path) {
  if (!nome_possibile(path)) return std::nullopt;
  std::string p = risolvi(path);
  // Only a plain file can be read to its end: a directory has no text, and a pipe or a
  // device put where a job file belongs would keep the run waiting for ever.
  if (!sistema::file_regolare(p)) return std::nullopt;
  std::ifstream f(p, std::ios::binary);
  if (!f) return std::nullopt;
  std::ostringstream ss;
  ss << f.rdbuf();
  if (f.bad()) return std::nullopt;
  return ss.str();
}

bool scrivi_tutto(const std::string& path, const std::string& contenuto) {
  if (!nome_possibile(path)) return false;
  std::string p = risolvi(path);
  std::string tmp = p + ".tmp~" + std::to_string(sistema::id_processo());
  {
    std::FILE* f = std::fopen(tmp.c_str(), "wb");
    if (f == nullptr) return false;
    bool ok = std::fwrite(contenuto.data(), 1, contenuto.size(), f) == contenuto.size();
    ok = (std::fclose(f) == 0) && ok;
    if (!ok) {
      std::remove(tmp.c_str());
      return false;
    }
  }
  if (!sistema::sostituisci(tmp, p)) {
    std::remove(tmp.c_str());
    return false;
  }
  return true;
}

bool scrivibile(const std::string& path) {
  if (!nome_possibile(path)) return false;
  const std::string p = risolvi(path);
  if (sistema::esiste(p)) {
    // Opened for appending and closed again: the content stays as it is.
    std::FILE* f = std::fopen(p.c_str(), "ab");
    return f != nullptr && std::fclose(f) == 0;
  }
  const std::string tmp = p + ".tmp~" + std::to_string(sistema::id_processo());
  std::FILE* f = std::fopen(tmp.c_str(), "wb");
  if (f == nullptr) return false;
  std::fclose(f);
  std::remove(tmp.c_str());
  return true;
}

bool appendi(const std::string& path, const std::string& contenuto) {
  if (!nome_possibile(path)) return false;
  const std::string p = risolvi(path);
  const long long prima = sistema::dimensione(p).value_or(0);
  std::FILE* f = std::fopen(p.c_str(), "ab");
  if (f == nullptr) return false;
  bool ok = std::fwrite(contenuto.data(), 1, contenuto.size(), f) == contenuto.size();
  ok = (std::fclose(f) == 0) && ok;
  if (!ok) sistema::accorcia(p, prima);
  return ok;
}

bool appendi_intero(const std::string& path, const std::string& contenuto) {
  if (!nome_possibile(path)) return false;
  const std::string p = risolvi(path);
  // A file that cannot be appended to (read-only, say) is refused as an append would
  // be, even though a new file could be renamed over it.
  std::FILE* f = std::fopen(p.c_str(), "ab");
  if (f == nullptr || std::fclose(f) != 0) return false;
  std::optional<std::string> prima = leggi_tutto(p);
  if (!prima) return false;
  return scrivi_tutto(p, *prima + contenuto);
}

void elimina_temporanei(const std::string& dir) {
  const std::string segno = ".tmp~";
  std::optional<std::vector<std::string>> nomi = sistema::voci(risolvi(dir));
  if (!nomi) return;
  for (const std::string& n : *nomi) {
    const std::size_t i = n.rfind(segno);
    if (i == std::string::npos || i + segno.size() == n.size()) continue;
    if (n.find_first_not_of("0123456789", i + segno.size()) != std::string::npos) continue;
    std::remove(file_in(risolvi(dir), n).c_str());
  }
}

void elimina(const std::string& path) {
  if (nome_possibile(path)) std::remove(risolvi(path).c_str());
}

std::optional<Reader> Reader::apri(const std::string& path) {
  if (!nome_possibile(path)) return std::nullopt;
  const std::string p = risolvi(path);
  // Only a plain file can be read to its end: a directory has no text, and a pipe or a
  // device put where a job file belongs would keep the run waiting for ever.
  if (!sistema::file_regolare(p)) return std::nullopt;
  std::FILE* f = std::fopen(p.c_str(), "rb");
  if (f == nullptr) return std::nullopt;
  Reader r{std::string()};
  r.f_.reset(f);
  return r;
}

void Reader::ricarica() {
  t_.erase(0, p_);
  p_ = 0;
  char blocco[1 << 16];
  const std::size_t n = std::fread(blocco, 1, sizeof blocco, f_.get());
  if (n == 0) {
    f_.reset();
    return;
  }
  t_.append(blocco, n);
}

bool Reader::ha(std::size_t k) {
  while (p_ + k >= t_.size() && f_) ricarica();
  return p_ + k < t_.size();
}

std::size_t Reader::fine_riga() {
  if (!ha(0)) return 0;
  if (at(0) == '\n') return 1;
  if (at(0) == '\r' && ha(1) && at(1) == '\n') return 2;
  return 0;
}

// After every call of ha() or fine_riga() the current byte is at p_ again, whatever a
// refill moved: positions are never kept across them.
std::optional<std::string> Reader::testo() {
  if (!ha(0)) return std::nullopt;
  while (ha(0) && (at(0) == ' ' || at(0) == '\t')) ++p_;
  std::string campo;
  const bool tra_virgolette = ha(0) && at(0) == '"';
  if (tra_virgolette) {
    ++p_;
    while (ha(0) && at(0) != '"' && fine_riga() == 0) campo.push_back(t_[p_++]);
    if (ha(0) && at(0) == '"') ++p_;
    // Whatever follows the closing quote up to the next comma or line end is dropped.
    while (ha(0) && at(0) != ',' && fine_riga() == 0) ++p_;
  } else {
    while (ha(0) && at(0) != ',' && fine_riga() == 0) campo.push_back(t_[p_++]);
  }
  if (ha(0)) {
    const std::size_t n = at(0) == ',' ? 1 : fine_riga();
    p_ += n;
  }
  return campo;
}

std::optional<std::string> Reader::numero() {
  for (;;) {
    if (!ha(0)) return std::nullopt;
    if (at(0) == ' ' || at(0) == '\t') {
      ++p_;
    } else if (const std::size_t n = fine_riga()) {
      p_ += n;
    } else {
      break;
    }
  }
  std::string campo;
  while (ha(0) && at(0) != ',' && at(0) != ' ' && at(0) != '\t' && fine_riga() == 0)
    campo.push_back(t_[p_++]);
  while (ha(0) && (at(0) == ' ' || at(0) == '\t')) ++p_;
  if (ha(0)) {
    const std::size_t n = at(0) == ',' ? 1 : fine_riga();
    p_ += n;
  }
  return campo;
}

std::optional<std::string> Reader::riga() {
  if (!ha(0)) return std::nullopt;
  std::string r;
  while (ha(0) && fine_riga() == 0) r.push_back(t_[p_++]);
  const std::size_t n = fine_riga();
  p_ += n;
  return r;
}

Writer& Writer::num(double v) {
  b_ += formato(v);
  return *this;
}

Writer& Writer::num(int v) {
  b_ += formato(v);
  return *this;
}

}  // namespace gencampi
