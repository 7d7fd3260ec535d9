// The grid lines, and the node placement on a floor whose wall has a side of no length.
// Where the nodes go on whole floors shows in the stored jobs' punti.dis.
#include "floor/placement.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "core/store.h"
#include "floor/reader.h"
#include "support/job_builder.h"
#include "support/job_tree.h"

namespace gencampi {
namespace {

TEST(FloorPlacement, GridListsHoldDistinctCoordinatesNewestFirst) {
  Job job = test::con_nodi({{0, 0}, {10, 0}, {10, 5}, {0, 5}, {10.09, 7}});
  job.floor.passo = 100;
  Table<double> xg(10), yg(10);
  int nx = 0, ny = 0;
  auto lista = [](const Table<double>& t, int n) {
    return std::vector<double>(t.data() + 1, t.data() + n + 1);
  };
  sortaxy(job, xg, yg, nx, ny);
  // 10.09 lies within passo/1000 of the column at 10, which keeps the older value.
  EXPECT_EQ(lista(xg, nx), (std::vector<double>{10, 0}));
  EXPECT_EQ(lista(yg, ny), (std::vector<double>{7, 5, 0}));
  // A zero step merges nothing: every node gives a column, the first one twice.
  job.floor.passo = 0;
  sortaxy(job, xg, yg, nx, ny);
  EXPECT_EQ(lista(xg, nx), (std::vector<double>{10.09, 0, 10, 10, 0, 0}));
}

TEST(FloorPlacement, WallSidesPastTheTableEndAreNotRead) {
  // The wall's first side has no length and is dropped, so its run of sides reaches one
  // past the table; what an earlier stage left there must not be projected on.
  auto posa = [](bool sporco) {
    test::JobOnDisk d;
    d.scrivi("impostazioni/tirnel.ini",
             "MESH.distanza_min 10\r\nMESH.distanza_max 100\r\nMESH.allinea_lati 0\r\n");
    d.scrivi("progra/impalcato.txt",
             "100\r\n4\r\n0,0\r\n200,0\r\n200,100\r\n0,100\r\n0\r\n1\r\n3\r\n"
             "150,50\r\n150,50\r\n150,90\r\n0\r\n0\r\n");
    EXPECT_EQ(leggibase(d.job), FloorRead::complete);
    EXPECT_EQ(d.job.store.nlati, 5);
    if (sporco) d.job.store.lato[6] = {0, 5, 1};
    posiziona_nodi(d.job);
    std::vector<std::array<double, 2>> v;
    for (int i = 1; i <= d.job.store.nnodi; ++i)
      v.push_back({d.job.store.xnodo[i], d.job.store.ynodo[i]});
    return v;
  };
  EXPECT_EQ(posa(true), posa(false));
}

}  // namespace
}  // namespace gencampi
