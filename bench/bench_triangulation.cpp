// Stage times of the mesher on generated slabs, fast engine against the straightforward
// passes. Each run reports, as counters, the seconds of each stage of one iteration,
// the listed nodes, the fields and sides built, whether the side table filled, and the
// process's peak resident memory so far. The "ranking" stage of the fast engine is only
// the setting up of its indexes: its rankings are produced during the passes.
//
//   cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DGENCAMPI_BENCH=ON
//   cmake --build build-bench -j2 --target gencampi_bench
//   build-bench/gencampi_bench --benchmark_counters_tabular=true
//
// The same build makes gencampi_campaign, the exactness test of the fast triangulation
// against the straightforward passes on some fifteen thousand floors built to sit on
// the checks' tolerances (several minutes).
#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <utility>

#include <sys/resource.h>
#include <unistd.h>

#include "core/errors.h"
#include "floor/drawing.h"
#include "floor/placement.h"
#include "mesh/fast_triangulation.h"
#include "mesh/field_stage.h"
#include "mesh/triangulation.h"
#include "support/floor_generator.h"

namespace gencampi {
namespace {

std::string cartella() {
  static const std::string d = [] {
    auto p =
        std::filesystem::temp_directory_path() / ("gencampi-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(p);
    return p.string();
  }();
  return d;
}

// An office-like slab: an L-shaped perimeter, openings, walls, a balcony edge and a
// jittered pillar grid, with a mesh step of 90. Its size sets the listed node count.
ParametriPiano piano(double larghezza, double altezza) {
  ParametriPiano p;
  p.seme = 7;
  p.larghezza = larghezza;
  p.altezza = altezza;
  p.forma_l = true;
  p.aperture = 3;
  p.muri = 3;
  p.polilinee = 1;
  p.interasse = 500;
  p.passo = 90;
  p.distanza_min = 45;
  p.distanza_max = 90;
  return p;
}

double picco_mb() {
  rusage r{};
  getrusage(RUSAGE_SELF, &r);
  return static_cast<double>(r.ru_maxrss) / 1024.0;
}

double secondi(std::chrono::steady_clock::time_point a, std::chrono::steady_clock::time_point b) {
  return std::chrono::duration<double>(b - a).count();
}

void misura(benchmark::State& state, Engine engine) {
  const ParametriPiano p =
      piano(static_cast<double>(state.range(0)), static_cast<double>(state.range(1)));
  double t_piano = 0, t_posa = 0, t_classifica = 0, t_triangoli = 0, t_campi = 0;
  int nodi = 0, campi = 0, lati = 0;
  FastTriangulation::Counters conta;  // what the fast engine did on the last run
  bool traboccato = false;
  for (auto _ : state) {
    Job job;
    job.engine = engine;
    job.dirs.dirprogra = cartella();
    job.dirs.dirlavoro = cartella();
    const auto t0 = std::chrono::steady_clock::now();
    genera_piano(job, p);
    const auto t1 = std::chrono::steady_clock::now();
    posiziona_nodi(job);
    scrivi_punti_dis(job);
    const auto t2 = std::chrono::steady_clock::now();
    const Table<int>& punti = job.nodes.punti;
    const int N = job.nodes.npunti;
    const int primo = job.fields.ncampi + 1;
    std::chrono::steady_clock::time_point t3, t4;
    // A floor this large may fill the side table: the run ends there, as the program's
    // would, and the field stage does not run.
    bool pieno = false;
    if (engine == Engine::fast) {
      FastTriangulation t(job, punti, N, {});
      t3 = std::chrono::steady_clock::now();
      try {
        while (t.passata()) {
        }
      } catch (const RunEnd&) {
        pieno = true;
      }
      t4 = std::chrono::steady_clock::now();
      conta = t.contatori();
    } else {
      OrderTable ordine = costruisci_ordine(job, punti, N);
      t3 = std::chrono::steady_clock::now();
      try {
        while (passata(job, punti, N, ordine, {})) {
        }
      } catch (const RunEnd&) {
        pieno = true;
      }
      t4 = std::chrono::steady_clock::now();
    }
    nodi = N;
    campi = job.fields.ncampi;
    lati = job.store.nlati;
    traboccato = pieno;
    if (!pieno) {
      try {
        fase_campi(job, primo);
        creadisegno(job);
      } catch (const RunEnd&) {
        // The field stage may end the run by itself; its time is still the stage's.
      }
    }
    const auto t5 = std::chrono::steady_clock::now();
    t_piano += secondi(t0, t1);
    t_posa += secondi(t1, t2);
    t_classifica += secondi(t2, t3);
    t_triangoli += secondi(t3, t4);
    t_campi += secondi(t4, t5);
  }
  const auto n = static_cast<double>(state.iterations());
  state.counters["nodes"] = nodi;
  state.counters["fields"] = campi;
  state.counters["sides"] = lati;
  state.counters["floor_s"] = t_piano / n;
  state.counters["placement_s"] = t_posa / n;
  state.counters["ranking_s"] = t_classifica / n;
  state.counters["triangulation_s"] = t_triangoli / n;
  state.counters["field_stage_s"] = t_campi / n;
  state.counters["overflow"] = traboccato ? 1 : 0;
  state.counters["peak_MB"] = picco_mb();
  if (engine == Engine::fast) {
    const std::pair<const char*, long> conteggi[] = {{"checks", conta.controlli},
                                                     {"checks_passed", conta.passati},
                                                     {"checks_known", conta.noti},
                                                     {"checks_rechecked", conta.ricontrolli},
                                                     {"percorso_calls", conta.percorsi},
                                                     {"entries", conta.voci},
                                                     {"entries_in_shadow", conta.in_ombra},
                                                     {"entries_replayed", conta.dalla_memoria},
                                                     {"walks_closed", conta.cammini_chiusi},
                                                     {"walks_open", conta.cammini_aperti},
                                                     {"walks_whole", conta.cammini_interi},
                                                     {"walks_closed_later", conta.chiusi_strada},
                                                     {"loops_stopped", conta.fermati}};
    for (const auto& [nome, quanti] : conteggi) state.counters[nome] = static_cast<double>(quanti);
  }
}

void Veloce(benchmark::State& state) {
  misura(state, Engine::fast);
}
void Riferimento(benchmark::State& state) {
  misura(state, Engine::reference);
}

// Sizes giving about 100, 300, 1100, 2000 and 4000 listed nodes (the largest of these
// floors that the side table admits), and one of about 4450 that fills the side table.
BENCHMARK(Veloce)
    ->Args({1200, 900})
    ->Args({2800, 2100})
    ->Args({7500, 5600})
    ->Args({10800, 8100})
    ->Args({15600, 11700})
    ->Args({16600, 12450})
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();
// The straightforward passes where they finish within about a minute.
BENCHMARK(Riferimento)
    ->Args({1200, 900})
    ->Args({2800, 2100})
    ->Args({7500, 5600})
    ->Unit(benchmark::kSecond)
    ->Iterations(1)
    ->UseRealTime();

}  // namespace
}  // namespace gencampi

BENCHMARK_MAIN();
