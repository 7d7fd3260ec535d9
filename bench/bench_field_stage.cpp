// The field stage alone, on made-up triangle meshes up to the field table's capacity:
// the fast way against the reference way.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>

#include "core/job.h"
#include "floor/drawing.h"
#include "mesh/field_stage.h"
#include "support/triangle_grid.h"

namespace {

namespace fs = std::filesystem;

void fase(benchmark::State& state, gencampi::Engine engine) {
  const int nx = static_cast<int>(state.range(0));
  const int ny = nx * 3 / 5;
  const fs::path dir =
      fs::temp_directory_path() / ("gencampi_bench_fs_" + std::to_string(::getpid()));
  fs::create_directories(dir / "progra");
  fs::create_directories(dir / "lavoro");
  for (auto _ : state) {
    state.PauseTiming();
    gencampi::Job job;
    job.engine = engine;
    gencampi::griglia_triangoli(job, 1, nx, ny, 45);
    job.dirs.dirprogra = (dir / "progra").string();
    job.dirs.dirlavoro = (dir / "lavoro").string();
    state.ResumeTiming();
    gencampi::fase_campi(job, 1);
    gencampi::creadisegno(job);
    state.counters["campi"] = 2.0 * nx * ny;
  }
  fs::remove_all(dir);
}

void BM_FaseCampi(benchmark::State& state) {
  fase(state, gencampi::Engine::fast);
}
void BM_FaseCampiRiferimento(benchmark::State& state) {
  fase(state, gencampi::Engine::reference);
}

BENCHMARK(BM_FaseCampi)->Arg(20)->Arg(50)->Arg(70)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FaseCampiRiferimento)->Arg(20)->Arg(50)->Arg(70)->Unit(benchmark::kMillisecond);

}  // namespace
