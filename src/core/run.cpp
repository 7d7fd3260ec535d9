#include "core/run.h"

#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <cstdio>
#include <optional>

#include "core/numbers.h"
#include "core/textfile.h"
#include "floor/reader.h"
#include "mesh/triangulation.h"
#include "ui/main_window.h"

extern char** environ;

namespace gencampi {

namespace {

bool separatore(char c) { return c == '/' || c == '\\'; }

// The first line of one of the two job files; a missing, unreadable or blank one
// leaves the run without a job directory.
std::string prima_riga(const std::string& path) {
  std::optional<std::string> testo = leggi_tutto(path);
  if (!testo) throw fine_non_trovo(path);
  Lettore r(std::move(*testo));
  std::optional<std::string> riga = r.riga();
  if (!riga || trim(*riga).empty()) throw fine_non_trovo(path);
  return *riga;
}

std::vector<std::string> parole(const std::string& s) {
  std::vector<std::string> out;
  std::size_t i = 0;
  while (i < s.size()) {
    std::size_t j = s.find(' ', i);
    if (j == std::string::npos) j = s.size();
    if (j > i) out.push_back(s.substr(i, j - i));
    i = j + 1;
  }
  return out;
}

}  // namespace

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

std::string radice(const std::string& comando, const std::string& cwd) {
  if (comando.find("|diroot=") != std::string::npos) {
    // Field 1 of the "|"-separated command line: for a command line that begins with
    // the option, the field that holds it.
    std::size_t a = comando.find('|');
    std::size_t b = comando.find('|', a + 1);
    std::string campo = comando.substr(a + 1, b == std::string::npos ? std::string::npos : b - a - 1);
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

void trova_cartelle(Job& job, const std::vector<std::string>& args, const std::string& cwd) {
  Dirs& d = job.dirs;
  d.comando = costruisci_comando(args);
  d.dirroot = radice(d.comando, cwd);
  d.dirprogra = d.dirroot + "/progra";
  std::string dirlav = prima_riga(d.dirroot + "/impostazioni/dirlav");
  d.lavoro = prima_riga(d.dirroot + "/impostazioni/lavoro");
  d.dirlavoro = trim(dirlav) + "/" + trim(d.lavoro);
}

void form_load(Job& job, const std::vector<std::string>& args, const std::string& cwd) {
  trova_cartelle(job, args, cwd);
  // Centring the windows has no visible effect on a console.
  mostra_progresso(job.ui);

  Store& s = job.store;
  s.nlati = 0;
  s.nnodi = 0;
  s.xmin = 0;
  s.ymin = 0;
  s.xmax = 5000;
  s.ymax = 5000;
  ridisegna(job);

  leggibase(job);
  triangola(job, job.nodes.punti, job.nodes.npunti);

  chiudi_progresso(job.ui);
  m_esci_Click(job);
}

void passa_al_programma_gemello(Job& job) {
  const std::string path = job.dirs.dirprogra + "/tramaforo.exe";
  const std::string eseguibile = risolvi(path);
  std::vector<std::string> argomenti = parole(job.dirs.comando);
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(eseguibile.c_str()));
  for (std::string& a : argomenti) argv.push_back(a.data());
  argv.push_back(nullptr);

  if (job.ui.err != nullptr) std::fflush(job.ui.err);
  std::fflush(stdout);
  pid_t pid = 0;
  if (posix_spawn(&pid, eseguibile.c_str(), nullptr, nullptr, argv.data(), environ) != 0)
    throw FineElaborazione("Non riesco ad avviare " + path, titolo_default, 1);
  int stato = 0;
  while (waitpid(pid, &stato, 0) < 0 && errno == EINTR) {
  }
  // What the sibling program returns is its own business: the hand-over succeeded.
  throw fine_normale(0);
}

int stato_finale(const Job& job) { return job.ui.messaggi.empty() ? 0 : 1; }

int termina(Job& job, const FineElaborazione& f) {
  if (!f.testo.empty()) messaggio(job.ui, f.testo, f.titolo);
  chiudi_progresso(job.ui);
  if (f.stato >= 0) return f.stato;
  return stato_finale(job);
}

}  // namespace gencampi
