#include "support/triangle_grid.h"

#include <algorithm>
#include <random>
#include <vector>

#include "core/store.h"

namespace gencampi {

// A jittered grid of nodes, each cell split into two triangles by a random diagonal,
// fields in random order and corner order, the outline as perimeter sides and one row of
// cell edges as a wall. Coordinates on a coarse lattice make exact ties common.
void griglia_triangoli(Job& job, unsigned seme, int nx, int ny, double passo) {
  std::mt19937 rng(seme);
  // Every third mesh is a plain grid: all its pairs score alike and ties decide.
  const int ampiezza = seme % 3 == 0 ? 0 : 12;
  std::uniform_int_distribution<int> scarto(-ampiezza, ampiezza);
  std::uniform_int_distribution<int> moneta(0, 1);
  Store& s = job.store;
  job.floor.passo = passo;
  auto id = [nx](int i, int j) { return j * (nx + 1) + i + 1; };
  for (int j = 0; j <= ny; ++j)
    for (int i = 0; i <= nx; ++i) {
      const bool bordo_x = i == 0 || i == nx, bordo_y = j == 0 || j == ny;
      const double x = i * 100.0 + (bordo_x ? 0 : scarto(rng) * 2.5);
      const double y = j * 80.0 + (bordo_y ? 0 : scarto(rng) * 2.5);
      aggiungi_nodo(s, x, y);
    }
  for (int i = 0; i < nx; ++i) {
    kreali(s, id(i, 0), id(i + 1, 0), col_perimetro);
    kreali(s, id(i + 1, ny), id(i, ny), col_perimetro);
  }
  for (int j = 0; j < ny; ++j) {
    kreali(s, id(nx, j), id(nx, j + 1), col_perimetro);
    kreali(s, id(0, j + 1), id(0, j), col_perimetro);
  }
  const int riga_muro = ny / 2;
  job.floor.nmuri = 1;
  job.floor.nvmuro[1] = nx / 2 + 1;
  job.floor.lato_muro[1] = s.nlati;
  for (int i = 0; i < nx / 2; ++i) kreali(s, id(i, riga_muro), id(i + 1, riga_muro), col_muri);

  std::vector<std::array<int, 3>> tri;
  for (int j = 0; j < ny; ++j)
    for (int i = 0; i < nx; ++i) {
      const int a = id(i, j), b = id(i + 1, j), c = id(i + 1, j + 1), d = id(i, j + 1);
      if (moneta(rng)) {
        tri.push_back({a, b, c});
        tri.push_back({a, c, d});
      } else {
        tri.push_back({a, b, d});
        tri.push_back({b, c, d});
      }
    }
  std::shuffle(tri.begin(), tri.end(), rng);
  Fields& f = job.fields;
  for (auto t : tri) {
    std::rotate(t.begin(), t.begin() + moneta(rng) + moneta(rng), t.end());
    if (moneta(rng)) std::swap(t[1], t[2]);
    ++f.ncampi;
    f.campo[f.ncampi] = {0, t[0], t[1], t[2], t[2]};
    for (int k = 0; k < 3; ++k)
      kreali(s, t[static_cast<std::size_t>(k)], t[static_cast<std::size_t>((k + 1) % 3)],
             col_buchi);
  }
  // Leftover tentative sides of the triangulation: the stage must ignore them.
  for (int k = 1; k <= 5; ++k) kreali(s, k, k + 1, col_provvisorio);
}

}  // namespace gencampi
