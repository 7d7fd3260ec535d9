#include "core/textfile.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <vector>

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
  if (path.empty() || esiste_esatto(path)) return path;
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
  if (std::rename(tmp.c_str(), p.c_str()) != 0) {
    std::remove(tmp.c_str());
    return false;
  }
  return true;
}

bool appendi(const std::string& path, const std::string& contenuto) {
  if (!nome_possibile(path)) return false;
  std::string p = risolvi(path);
  std::FILE* f = std::fopen(p.c_str(), "ab");
  if (f == nullptr) return false;
  bool ok = std::fwrite(contenuto.data(), 1, contenuto.size(), f) == contenuto.size();
  return (std::fclose(f) == 0) && ok;
}

void elimina(const std::string& path) {
  if (nome_possibile(path)) std::remove(risolvi(path).c_str());
}

std::size_t Reader::fine_riga(std::size_t i) const {
  if (i >= t_.size()) return 0;
  if (t_[i] == '\n') return 1;
  if (t_[i] == '\r' && i + 1 < t_.size() && t_[i + 1] == '\n') return 2;
  return 0;
}

std::optional<std::string> Reader::testo() {
  if (finito()) return std::nullopt;
  while (p_ < t_.size() && (t_[p_] == ' ' || t_[p_] == '\t')) ++p_;
  std::string campo;
  if (p_ < t_.size() && t_[p_] == '"') {
    ++p_;
    while (p_ < t_.size() && t_[p_] != '"' && fine_riga(p_) == 0) campo.push_back(t_[p_++]);
    if (p_ < t_.size() && t_[p_] == '"') ++p_;
    // Whatever follows the closing quote up to the next comma or line end is dropped.
    while (p_ < t_.size() && t_[p_] != ',' && fine_riga(p_) == 0) ++p_;
    if (p_ < t_.size()) p_ += (t_[p_] == ',') ? 1 : fine_riga(p_);
    return campo;
  }
  while (p_ < t_.size() && t_[p_] != ',' && fine_riga(p_) == 0) campo.push_back(t_[p_++]);
  if (p_ < t_.size()) p_ += (t_[p_] == ',') ? 1 : fine_riga(p_);
  return campo;
}

std::optional<std::string> Reader::numero() {
  for (;;) {
    if (finito()) return std::nullopt;
    if (t_[p_] == ' ' || t_[p_] == '\t') {
      ++p_;
    } else if (std::size_t n = fine_riga(p_)) {
      p_ += n;
    } else {
      break;
    }
  }
  std::string campo;
  while (p_ < t_.size() && t_[p_] != ',' && t_[p_] != ' ' && t_[p_] != '\t' && fine_riga(p_) == 0)
    campo.push_back(t_[p_++]);
  while (p_ < t_.size() && (t_[p_] == ' ' || t_[p_] == '\t')) ++p_;
  if (p_ < t_.size()) {
    if (t_[p_] == ',')
      ++p_;
    else
      p_ += fine_riga(p_);
  }
  return campo;
}

std::optional<std::string> Reader::riga() {
  if (finito()) return std::nullopt;
  std::string r;
  while (p_ < t_.size() && fine_riga(p_) == 0) r.push_back(t_[p_++]);
  p_ += fine_riga(p_);
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
