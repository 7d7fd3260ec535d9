#include "core/dirs.h"

#include <optional>

#include "core/errors.h"
#include "core/numbers.h"
#include "core/textfile.h"

namespace gencampi {

namespace {

bool separatore(char c) {
  return c == '/' || c == '\\';
}

std::string prima_riga(const std::string& path) {
  std::optional<std::string> testo = leggi_tutto(path);
  if (!testo) throw fine_non_trovo(path);
  Reader r(std::move(*testo));
  std::optional<std::string> riga = r.riga();
  if (!riga || trim(*riga).empty()) throw fine_non_trovo(path);
  return *riga;
}

}  // namespace

std::string ultimo_componente(std::string p) {
  while (p.size() > 1 && separatore(p.back())) p.pop_back();
  const std::size_t cut = p.find_last_of("/\\");
  return cut == std::string::npos ? p : p.substr(cut + 1);
}

std::string costruisci_comando(const std::vector<std::string>& args) {
  std::string c;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (i > 0) c.push_back(' ');
    c += args[i];
  }
  for (char& ch : c)
    if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch - 'A' + 'a');
  return trim(c);
}

std::string testo_argomenti(const std::string& riga) {
  std::size_t i = 0;
  bool tra_virgolette = false;
  for (; i < riga.size(); ++i) {
    if (riga[i] == '"') tra_virgolette = !tra_virgolette;
    if (!tra_virgolette && (riga[i] == ' ' || riga[i] == '\t')) break;
  }
  while (i < riga.size() && (riga[i] == ' ' || riga[i] == '\t')) ++i;
  return riga.substr(i);
}

std::string radice(const std::string& comando, const std::string& cwd) {
  if (comando.find("|diroot=") != std::string::npos) {
    // Field 1 of the "|"-separated command line: for a command line that begins with
    // the option, the field that holds it.
    std::size_t a = comando.find('|');
    std::size_t b = comando.find('|', a + 1);
    std::string campo =
        comando.substr(a + 1, b == std::string::npos ? std::string::npos : b - a - 1);
    std::size_t uguale = campo.find('=');
    std::string r = uguale == std::string::npos ? campo : campo.substr(uguale + 1);
    if (!r.empty() && separatore(r.back())) r.pop_back();
    return r;
  }
  std::string dir = cwd;
  if (dir.find("Visual Studio") != std::string::npos) dir = "c:\\tirnel4_4\\progra";
  // Drop the last path component, keeping its separator, then trim and drop that
  // separator.
  std::size_t ultimo = std::string::npos;
  for (std::size_t i = 0; i < dir.size(); ++i)
    if (separatore(dir[i])) ultimo = i;
  std::string r = ultimo == std::string::npos ? std::string() : dir.substr(0, ultimo + 1);
  r = trim(r);
  if (!r.empty() && separatore(r.back())) r.pop_back();
  return r;
}

JobPlace cartella_lavoro(const std::string& dirroot) {
  const std::string impostazioni = file_in(dirroot, "impostazioni");
  const std::string dirlav = prima_riga(file_in(impostazioni, "dirlav"));
  JobPlace p;
  p.lavoro = prima_riga(file_in(impostazioni, "lavoro"));
  p.dirlavoro = file_in(trim(dirlav), trim(p.lavoro));
  return p;
}

Dirs trova_cartelle(const std::vector<std::string>& args, const std::string& cwd) {
  Dirs d;
  d.comando = costruisci_comando(args);
  d.dirroot = radice(d.comando, cwd);
  d.dirprogra = file_in(d.dirroot, "progra");
  JobPlace p = cartella_lavoro(d.dirroot);
  d.lavoro = std::move(p.lavoro);
  d.dirlavoro = std::move(p.dirlavoro);
  return d;
}

}  // namespace gencampi
