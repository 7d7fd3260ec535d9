#include "run/run.h"

#include "core/platform.h"
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

// The view of an empty store: the drawing area's size before any floor is read.
void azzera_geometria(Store& s) {
  s.nlati = 0;
  s.nnodi = 0;
  s.xmin = 0;
  s.ymin = 0;
  s.xmax = 5000;
  s.ymax = 5000;
}

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

Run::Run(std::FILE* err, const Capacities& cap) : job(cap) {
  ui.err = err;
  ui.status_line = err != nullptr && sistema::terminale(err);
}

std::string cartella_di_avvio() {
  return sistema::cartella_corrente();
}

void form_load(Run& run, const std::vector<std::string>& args, const std::string& cwd) {
  Job& job = run.job;
  Console& ui = run.ui;

  job.dirs = trova_cartelle(args, cwd);
  // Centring the windows has no visible effect on a console.
  mostra_progresso(ui);
  azzera_geometria(job.store);
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
  } else {
    messaggio(ui, messaggio_lettura(letto));
  }

  const int primo = triangola(job, job.nodes.punti, job.nodes.npunti, conta_lati(ui));
  ridisegna(job.store, ui);
  if (job.floor.passo < 0) {
    scrivi_triang(job);
  } else {
    fase_campi(job, primo);
    creadisegno(job);
  }

  chiudi_progresso(ui);
  m_esci_Click();
}

void passa_al_programma_gemello(const Dirs& dirs) {
  const std::string path = file_in(dirs.dirprogra, "tramaforo.exe");
  if (!sistema::avvia_e_attendi(risolvi(path), parole(dirs.comando)))
    throw RunEnd("Non riesco ad avviare " + path, titolo_default, 1);
  // What the sibling program returns is its own business: the hand-over succeeded.
  throw fine_normale(0);
}

int termina(Run& run, const RunEnd& f) {
  if (!f.testo.empty()) messaggio(run.ui, f.testo, f.titolo);
  chiudi_progresso(run.ui);
  if (f.stato >= 0) return f.stato;
  return run.ui.messaggi.empty() ? 0 : 1;
}

}  // namespace gencampi
