// The viewer's coverage of the slab on made-up meshes of growing size: the time per field
// should stay about the same from a thousand fields to two hundred thousand.
//
//   build-bench/gencampi_bench --benchmark_filter=Copertura
//
// Two kinds of mesh: fields tiling the slab as a mesher leaves them, with a few gaps, and
// fields each half as large again as its cell, so that every field overlaps its eight
// neighbours and the doubly covered area is one region with a hole per field. The times
// on this machine are in docs/viewer.md.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>

#include "support/floor_generator.h"
#include "view/coverage.h"

namespace gencampi::view {
namespace {

struct Generated {
  Outline outline;
  Mesh mesh;
};

// About `campi` fields on a 3:2 slab of cells 100 x 100 with one opening in every 40 x 40
// cells: interior nodes moved up to a fifth of a cell, every third cell split into two
// triangles, fields in random order and turning sense, one in 200 left out (a gap).
// `allarga` scales each field about its centre.
Generated genera(int campi, double allarga) {
  const int ny = std::max(2, static_cast<int>(std::sqrt(campi / 1.33 / 1.5)));
  const int nx = ny * 3 / 2;
  const double lato = 100;
  SeededRandom rnd(static_cast<std::uint64_t>(campi));
  Generated g;
  g.outline.passo = lato;
  g.outline.perimeter = {{0, 0}, {nx * lato, 0}, {nx * lato, ny * lato}, {0, ny * lato}};
  auto in_opening = [](int i, int j) {
    return i % 40 >= 18 && i % 40 < 22 && j % 40 >= 18 && j % 40 < 22;
  };
  for (int i = 18; i + 4 < nx; i += 40)
    for (int j = 18; j + 4 < ny; j += 40)
      g.outline.holes.push_back({{i * lato, j * lato},
                                 {(i + 4) * lato, j * lato},
                                 {(i + 4) * lato, (j + 4) * lato},
                                 {i * lato, (j + 4) * lato}});
  std::vector<Point> nodi;
  for (int j = 0; j <= ny; ++j)
    for (int i = 0; i <= nx; ++i) {
      const bool bordo = i == 0 || j == 0 || i == nx || j == ny ||
                         (i % 40 >= 18 && i % 40 <= 22 && j % 40 >= 18 && j % 40 <= 22);
      const double dx = bordo ? 0 : rnd.tra(-lato / 5, lato / 5);
      const double dy = bordo ? 0 : rnd.tra(-lato / 5, lato / 5);
      nodi.push_back({i * lato + dx, j * lato + dy});
    }
  std::vector<std::vector<Point>> poligoni;
  for (int j = 0; j < ny; ++j)
    for (int i = 0; i < nx; ++i) {
      if (in_opening(i, j) || rnd.moneta(0.005)) continue;
      auto n = [&](int a, int b) {
        return nodi[static_cast<std::size_t>((j + b) * (nx + 1) + i + a)];
      };
      if ((i + j) % 3 == 0) {
        poligoni.push_back({n(0, 0), n(1, 0), n(1, 1)});
        poligoni.push_back({n(0, 0), n(1, 1), n(0, 1)});
      } else {
        poligoni.push_back({n(0, 0), n(1, 0), n(1, 1), n(0, 1)});
      }
    }
  for (std::size_t k = poligoni.size(); k > 1; --k)
    std::swap(poligoni[k - 1], poligoni[rnd.prossimo() % k]);
  for (auto& c : poligoni) {
    if (allarga != 1) {
      Point m{0, 0};
      for (Point p : c)
        m = {m.x + p.x / static_cast<double>(c.size()), m.y + p.y / static_cast<double>(c.size())};
      for (Point& p : c) p = {m.x + (p.x - m.x) * allarga, m.y + (p.y - m.y) * allarga};
    }
    if (rnd.moneta(0.5)) std::reverse(c.begin(), c.end());
    Field& f = g.mesh.fields.emplace_back();
    for (Point p : c) {
      f.corners.push_back(static_cast<int>(g.mesh.vertices.size()));
      g.mesh.vertices.push_back(p);
    }
  }
  return g;
}

void copertura(benchmark::State& state, double allarga) {
  const Generated g = genera(static_cast<int>(state.range(0)), allarga);
  Coverage c;
  for (auto _ : state) c = cover(g.outline, g.mesh);
  state.counters["fields"] = static_cast<double>(g.mesh.fields.size());
  state.counters["gaps"] = static_cast<double>(c.gaps.size());
  state.counters["overlaps"] = static_cast<double>(c.overlaps.size());
  state.counters["per_field"] = benchmark::Counter(
      static_cast<double>(g.mesh.fields.size()),
      benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void Copertura(benchmark::State& state) {
  copertura(state, 1);
}
void CoperturaSovrapposta(benchmark::State& state) {
  copertura(state, 1.5);
}

BENCHMARK(Copertura)->Arg(1000)->Arg(8000)->Arg(24000)->Arg(200000)->Unit(benchmark::kMillisecond);
BENCHMARK(CoperturaSovrapposta)
    ->Arg(1000)
    ->Arg(8000)
    ->Arg(24000)
    ->Arg(200000)
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace gencampi::view
