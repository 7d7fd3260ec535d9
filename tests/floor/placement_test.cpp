#include "floor/placement.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "core/store.h"
#include "floor/drawing.h"
#include "floor/reader.h"
#include "support/job_tree.h"

namespace gencampi {
namespace {

using test::JobOnDisk;
using Punti = std::vector<std::array<double, 2>>;

Punti nodi(const Job& job) {
  Punti v;
  for (int i = 1; i <= job.store.nnodi; ++i) v.push_back({job.store.xnodo[i], job.store.ynodo[i]});
  return v;
}

std::vector<double> lista(const Table<double>& t, int n) {
  std::vector<double> v;
  for (int i = 1; i <= n; ++i) v.push_back(t[i]);
  return v;
}

// A store holding the given nodes, all of them in the node list.
void carica(Job& job, const Punti& p) {
  for (const auto& q : p) aggiungi_nodo(job.store, q[0], q[1]);
  job.nodes.npunti = job.store.nnodi;
  for (int k = 1; k <= job.store.nnodi; ++k) job.nodes.punti[k] = k;
}

TEST(FloorPlacement, GridListsHoldDistinctCoordinatesNewestFirst) {
  Job job;
  job.floor.passo = 100;
  carica(job, {{0, 0}, {10, 0}, {10, 5}, {0, 5}, {10.09, 7}});
  Table<double> xg(10), yg(10);
  int nx = 0, ny = 0;
  sortaxy(job, xg, yg, nx, ny);
  // 10.09 lies within passo/1000 of the column at 10, which keeps the older value.
  EXPECT_EQ(lista(xg, nx), (std::vector<double>{10, 0}));
  EXPECT_EQ(lista(yg, ny), (std::vector<double>{7, 5, 0}));
  // A zero step merges nothing: every node gives a column, the first one twice.
  job.floor.passo = 0;
  sortaxy(job, xg, yg, nx, ny);
  EXPECT_EQ(lista(xg, nx), (std::vector<double>{10.09, 0, 10, 10, 0, 0}));
  Table<double> piccola(5);
  EXPECT_THROW(sortaxy(job, piccola, yg, nx, ny), RunEnd);
}

const std::string rettangolo_con_pilastro =
    "100\r\n4\r\n0,0\r\n200,0\r\n200,100\r\n0,100\r\n0\r\n0\r\n1\r\n50 40\r\n0\r\n";

struct SlabJob : JobOnDisk {
  SlabJob(const std::string& impalcato, const char* allinea, const Capacities& cap = {})
      : JobOnDisk(cap) {
    scrivi("impostazioni/tirnel.ini", std::string("MESH.distanza_min 10\r\n"
                                                  "MESH.distanza_max 100\r\nMESH.allinea_lati ") +
                                          allinea + "\r\n");
    scrivi("progra/impalcato.txt", impalcato);
  }
  // The floor read, the nodes placed and punti.dis written, as a run does.
  void posa() {
    ASSERT_EQ(leggibase(job), FloorRead::complete);
    posiziona_nodi(job);
    scrivi_punti_dis(job);
  }
};

// The node list is full one entry short of the second foot of the pillar: the run
// ends there, before punti.dis is written.
TEST(FloorPlacement, AFullNodeListEndsThePlacement) {
  Capacities cap;
  cap.punti = 6;
  SlabJob pieno(rettangolo_con_pilastro, "0", cap);
  EXPECT_EQ(leggibase(pieno.job), FloorRead::complete);
  EXPECT_THROW(posiziona_nodi(pieno.job), RunEnd);
  SlabJob abbastanza(rettangolo_con_pilastro, "0");
  abbastanza.posa();
  EXPECT_EQ(abbastanza.job.nodes.npunti, 8);
}

TEST(FloorPlacement, WallSidesPastTheTableEndAreNotRead) {
  // The wall's first side has no length and is dropped, so its run of sides reaches one
  // past the table; what an earlier stage left there must not be projected on.
  const std::string piano =
      "100\r\n4\r\n0,0\r\n200,0\r\n200,100\r\n0,100\r\n0\r\n1\r\n3\r\n"
      "150,50\r\n150,50\r\n150,90\r\n0\r\n0\r\n";
  SlabJob s(piano, "0");
  s.job.store.lato[6] = {0, 5, 1};
  s.posa();
  ASSERT_EQ(s.job.store.nlati, 5);
  SlabJob pulito(piano, "0");
  pulito.posa();
  EXPECT_EQ(nodi(s.job), nodi(pulito.job));
}

}  // namespace
}  // namespace gencampi
