#include "run/run.h"

#include <chrono>
#include <cstdlib>
#include <thread>

#include "core/numbers.h"
#include "core/platform.h"
#include "core/store.h"
#include "core/textfile.h"
#include "floor/drawing.h"
#include "floor/placement.h"
#include "floor/reader.h"
#include "mesh/field_stage.h"
#include "mesh/results.h"
#include "mesh/triangulation.h"
#include "ui/main_window.h"

namespace gencampi {

namespace {

// A rigid floor is a different job for the person waiting: the window says so.
void mostra_piano_rigido(const Floor& fl, Console& ui) {
  ui.form1.caption = "COSTRUZIONE PIANO RIGIDO";
  ui.form1.label1 = std::to_string(fl.nperimetro) + " NODI";
}

// Once per node turn of the triangulation: the side count, and pending events.
Progress conta_lati(Console& ui) {
  return [&ui](int nlati) {
    ui.form1.label2 = std::to_string(nlati);
    eventi(ui);
  };
}

// One run at a time on a root: two runs of one job would share the field files in the
// program directory and mix their results. A root whose program directory cannot hold
// the lock file (there is none, or it is read-only) is run without it: such a run meets
// its own ending when it first opens a file there.
void attendi_il_turno(Run& run) {
  const std::string path = file_in(run.job.dirs.dirprogra, "gencampi.lock");
  using Outcome = sistema::FileLock::Outcome;
  Outcome esito = run.turno.prendi(risolvi(path), true);
  if (esito != Outcome::busy) return;
  avviso(run.ui, "in attesa che finisca l'elaborazione in corso in " + run.job.dirs.dirroot);
  const auto inizio = std::chrono::steady_clock::now();
  while (esito == Outcome::busy) {
    if (std::chrono::steady_clock::now() - inizio >
        std::chrono::duration<double>(run.attesa_massima_s))
      throw RunEnd("Elaborazione gia' in corso in " + run.job.dirs.dirroot +
                       ": riprovare quando sara' finita",
                   titolo_errore, 1);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    esito = run.turno.prendi(risolvi(path), true);
  }
}

// The run record as the run starts. Temporary files of a run that was killed go first:
// holding the turn, this run is the only one that could be writing them.
void apri_registro(Run& run) {
  const Dirs& d = run.job.dirs;
  for (const std::string& dir : {d.dirprogra, d.dirlavoro, file_in(d.dirroot, "impostazioni")})
    elimina_temporanei(dir);
  RunRecord r;
  r.inizio = adesso_utc();
  r.processo = sistema::id_processo();
  r.comando = d.comando;
  r.dirlavoro = d.dirlavoro;
  r.file = stato_uscite(d);
  // A record that cannot be written is no reason to stop the run.
  scrivi_tutto(file_registro(d), testo_registro(r));
  run.registro = std::move(r);
}

// The run record as the run ends: its status and messages, and which files it changed.
void chiudi_registro(Run& run, int stato) {
  if (!run.registro) return;
  RunRecord r = *run.registro;
  r.fine = adesso_utc();
  r.stato = stato;
  r.messaggi = run.ui.messaggi;
  std::vector<RunRecord::Output> ora = stato_uscite(run.job.dirs);
  for (std::size_t i = 0; i < ora.size() && i < r.file.size(); ++i) {
    const RunRecord::Output& prima = r.file[i];
    ora[i].scritto = ora[i].presente != prima.presente || ora[i].byte != prima.byte ||
                     ora[i].impronta != prima.impronta;
  }
  r.file = std::move(ora);
  scrivi_tutto(file_registro(run.job.dirs), testo_registro(r));
}

}  // namespace

Run::Run(std::FILE* err, const Capacities& cap) : job(cap) {
  ui.err = err;
  ui.status_line = err != nullptr && sistema::terminale(err);
  // GENCAMPI_ATTESA: the seconds a run waits for another one on the same root.
  if (const char* a = std::getenv("GENCAMPI_ATTESA")) attesa_massima_s = valore_iniziale(a);
}

std::string cartella_di_avvio() {
  return sistema::cartella_corrente();
}

std::vector<std::string> argomenti_di_avvio(int argc, char** argv) {
  if (std::optional<std::string> riga = sistema::riga_di_comando()) {
    std::string testo = testo_argomenti(*riga);
    if (testo.empty()) return {};
    return {testo};
  }
  return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
}

void form_load(Run& run, const std::vector<std::string>& args, const std::string& cwd) {
  Job& job = run.job;
  Console& ui = run.ui;

  job.dirs = trova_cartelle(args, cwd);
  attendi_il_turno(run);
  apri_registro(run);
  // Centring the windows has no visible effect on a console.
  mostra_progresso(ui);
  azzera(job.store);
  ridisegna(job.store, ui);

  // An outline error is shown and the run goes on with what was read: the triangulation
  // still runs, on the nodes listed so far.
  const FloorRead letto = leggibase(job);
  if (letto == FloorRead::hand_over) passa_al_programma_gemello(job.dirs);
  if (job.floor.passo < 0) mostra_piano_rigido(job.floor, ui);
  if (letto == FloorRead::complete) {
    ottimizza_click(job.store, ui);
    posiziona_nodi(job);
    scrivi_punti_dis(job);
    run.scritti.push_back("punti.dis");
  } else {
    messaggio(ui, messaggio_lettura(letto));
  }

  const int primo = triangola(job, job.nodes.punti, job.nodes.npunti, conta_lati(ui));
  ridisegna(job.store, ui);
  if (job.floor.passo < 0) {
    scrivi_triang(job);
    run.scritti.push_back("triang.txt");
  } else {
    fase_campi(job, primo);
    creadisegno(job);
    run.scritti.insert(run.scritti.end(), {"campi.txt", "campi.dis"});
  }

  chiudi_progresso(ui);
  m_esci_Click();
}

void passa_al_programma_gemello(const Dirs& dirs) {
  const std::string path = file_in(dirs.dirprogra, "tramaforo.exe");
  if (!sistema::avvia_e_attendi(risolvi(path), dirs.comando))
    throw RunEnd("Non riesco ad avviare " + path, titolo_default, 1);
  // What the sibling program returns is its own business: the hand-over succeeded.
  throw fine_normale(0);
}

// A person at a terminal learns what the run made and how long it took; a run whose
// stderr is a file or a pipe says nothing more than it always did.
void riassunto(Run& run) {
  const std::vector<std::string>& scritti = run.scritti;
  if (!run.ui.status_line || scritti.empty()) return;
  std::string testo = "scritti";
  for (std::size_t i = 0; i < scritti.size(); ++i) testo += (i ? ", " : " ") + scritti[i];
  const Job& job = run.job;
  auto quanti = [](const std::string& n, const char* uno, const char* molti) {
    return n + " " + (n == "1" ? uno : molti);
  };
  testo += ": " + quanti(std::to_string(job.nodes.npunti), "nodo", "nodi");
  if (job.floor.passo < 0) {
    testo += ", " + quanti(std::to_string(job.fields.ncampi), "triangolo", "triangoli");
  } else if (auto campi = leggi_tutto(file_in(job.dirs.dirprogra, "campi.txt"))) {
    Reader r(std::move(*campi));
    r.riga();
    if (auto n = r.riga()) testo += ", " + quanti(trim(*n), "campo", "campi");
  }
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                      std::chrono::steady_clock::now() - run.inizio)
                      .count();
  const long long centesimi = ms % 1000 / 10;
  testo += ", in " + std::to_string(ms / 1000) + (centesimi < 10 ? ".0" : ".") +
           std::to_string(centesimi) + " s";
  avviso(run.ui, testo);
}

int termina(Run& run, const RunEnd& f) {
  if (!f.testo.empty()) messaggio(run.ui, f.testo, f.titolo);
  chiudi_progresso(run.ui);
  const int stato = f.stato >= 0 ? f.stato : run.ui.messaggi.empty() ? 0 : 1;
  if (stato == 0) riassunto(run);
  chiudi_registro(run, stato);
  run.turno.lascia();
  return stato;
}

}  // namespace gencampi
