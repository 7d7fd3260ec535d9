#include "mesh/triangulation.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include <unistd.h>

#include "core/store.h"
#include "floor/region.h"
#include "mesh/results.h"
#include "support/job_builder.h"

namespace gencampi {
namespace {

// A job whose nodes are all listed, the first four being a square perimeter.
Job con_nodi(const std::vector<std::pair<double, double>>& punti, const Capacities& c = {}) {
  Job job = test::con_nodi(punti, c);
  job.floor.primo_perimetro = 1;
  job.floor.nperimetro = 4;
  job.floor.passo = -1;
  return job;
}

int passate(Job& job) {
  return triangola_riferimento(job, job.nodes.punti, job.nodes.npunti, {});
}

std::vector<std::array<int, 3>> campi(const Job& job) {
  std::vector<std::array<int, 3>> v;
  for (int f = 1; f <= job.fields.ncampi; ++f) {
    const auto& c = job.fields.campo[f];
    EXPECT_EQ(c[4], c[3]) << "field " << f;
    v.push_back({c[1], c[2], c[3]});
  }
  return v;
}

std::vector<std::array<int, 3>> lati(const Job& job, int da, int a) {
  std::vector<std::array<int, 3>> v;
  for (int i = da; i <= a; ++i)
    v.push_back({job.store.lato[i][1], job.store.lato[i][2], job.store.tipolato[i]});
  return v;
}

using Terna = std::array<int, 3>;

TEST(TriangulationOrder, RowsAreRankingsByNodeNumber) {
  Job job = con_nodi({{0, 0}, {10, 0}, {0, 3}, {500000, 0}});
  OrderTable o = costruisci_ordine(job, job.nodes.punti, 4);
  auto riga = [&](int k) { return std::array{o(k, 1), o(k, 2), o(k, 3), o(k, 4)}; };
  EXPECT_EQ(riga(1), (std::array{3, 2, 0, 0}));  // node 4 beyond the search limit
  EXPECT_EQ(riga(2), (std::array{1, 3, 0, 0}));
  EXPECT_EQ(riga(3), (std::array{1, 2, 0, 0}));
  EXPECT_EQ(riga(4), (std::array{0, 0, 0, 0}));
  EXPECT_EQ(job.store.xnodo[4], 500000);
  // The rows follow the node numbers named by the list, whatever their order.
  Table<int> rovescio(4);
  for (int i = 1; i <= 4; ++i) rovescio[i] = 5 - i;
  EXPECT_EQ(costruisci_ordine(job, rovescio, 4), o);
  // A list naming a node beyond its own length would need a row the table lacks.
  rovescio[1] = 5;
  EXPECT_THROW(costruisci_ordine(job, rovescio, 4), RunEnd);
}

TEST(Triangulation, ThreeNodesMakeOneFieldAndLeaveTentativeSides) {
  Job job = con_nodi({{0, 0}, {10, 0}, {0, 10}});
  job.floor.nperimetro = 3;
  EXPECT_EQ(passate(job), 1);
  EXPECT_EQ(campi(job), (std::vector<Terna>{{1, 2, 3}}));
  // The committed sides, then the tentative ones that passed the checks in turns that
  // built nothing: they stay for good with their tag.
  EXPECT_EQ(lati(job, 1, job.store.nlati), (std::vector<Terna>{{1, 2, 3},
                                                               {2, 3, 3},
                                                               {3, 1, 3},  // field 1
                                                               {2, 1, 8},
                                                               {2, 3, 8},  // node 2, pass 1
                                                               {3, 1, 8},
                                                               {3, 2, 8},  // node 3, pass 1
                                                               {1, 2, 8},
                                                               {1, 3, 8}}));  // node 1, pass 2
}

TEST(Triangulation, PassesMarkExhaustedNeighboursAndNodes) {
  Job job = con_nodi({{0, 0}, {10, 0}, {10, 10}, {0, 10}, {5, 5}});
  Table<int>& punti = job.nodes.punti;
  OrderTable o = costruisci_ordine(job, punti, 5);
  const OrderTable prima = o;
  EXPECT_TRUE(passata(job, punti, 5, o, {}));
  // Nodes 1 to 4 each built a triangle with their first neighbour, the centre: their
  // rows are untouched. The centre found only existing triangles: all of it exhausted.
  for (int k = 1; k <= 4; ++k)
    for (int j = 1; j <= 5; ++j) EXPECT_EQ(o(k, j), prima(k, j)) << k << "," << j;
  for (int j = 1; j <= 5; ++j) EXPECT_EQ(o(5, j), -1);
  EXPECT_FALSE(passata(job, punti, 5, o, {}));
  for (int k = 1; k <= 5; ++k)
    for (int j = 1; j <= 5; ++j) EXPECT_EQ(o(k, j), -1);
}

TEST(Triangulation, AFruitlessNeighbourIsMarkedEvenWhenTheTurnBuilds) {
  // Node 2 is node 1's nearest neighbour, but a wall (5-6) cuts 2-3 and node 1 lies on
  // 2-4: node 2 offers no triangle, so that position of node 1's row is exhausted; the
  // next neighbour, node 3, builds (1, 3, 4). Nodes 5 and 6 are not listed.
  Job job = con_nodi({{0, 0}, {0, -1}, {5, 0}, {0, 5}, {2, -3}, {2, -0.3}});
  job.nodes.npunti = 4;
  kreali(job.store, 5, 6, col_muri);
  OrderTable o = costruisci_ordine(job, job.nodes.punti, 4);
  EXPECT_EQ((std::array{o(1, 1), o(1, 2), o(1, 3), o(1, 4)}), (std::array{2, 3, 4, 0}));
  EXPECT_TRUE(passata(job, job.nodes.punti, 4, o, {}));
  EXPECT_EQ(job.fields.campo[1][1], 1);
  EXPECT_EQ(job.fields.campo[1][2], 3);
  EXPECT_EQ(job.fields.campo[1][3], 4);
  EXPECT_EQ((std::array{o(1, 1), o(1, 2), o(1, 3), o(1, 4)}), (std::array{-1, 3, 4, 0}));
  // The wall stays first; the committed sides follow it.
  EXPECT_EQ(lati(job, 1, 4), (std::vector<Terna>{{5, 6, 5}, {1, 3, 3}, {3, 4, 3}, {4, 1, 3}}));
}

TEST(Triangulation, SquareWithCentreMakesFourTrianglesRoundIt) {
  Job job = con_nodi({{0, 0}, {10, 0}, {10, 10}, {0, 10}, {5, 5}});
  passate(job);
  // Node 1 has two candidates of equal shape through the centre, (1,5,2) and (1,5,4):
  // the one tried first is kept.
  EXPECT_EQ(campi(job), (std::vector<Terna>{{1, 5, 2}, {2, 5, 3}, {3, 5, 4}, {4, 5, 1}}));
  EXPECT_EQ(lati(job, 1, 12), (std::vector<Terna>{{1, 5, 3},
                                                  {5, 2, 3},
                                                  {2, 1, 3},
                                                  {2, 5, 3},
                                                  {5, 3, 3},
                                                  {3, 2, 3},
                                                  {3, 5, 3},
                                                  {5, 4, 3},
                                                  {4, 3, 3},
                                                  {4, 5, 3},
                                                  {5, 1, 3},
                                                  {1, 4, 3}}));
  // The centre's turn in the first pass keeps one tentative side per neighbour.
  EXPECT_EQ(lati(job, 13, 16), (std::vector<Terna>{{5, 1, 8}, {5, 2, 8}, {5, 3, 8}, {5, 4, 8}}));
  for (int i = 17; i <= job.store.nlati; ++i) {
    EXPECT_EQ(job.store.tipolato[i], col_provvisorio) << i;
    // No side ever passes through the centre.
    auto [p, q, t] = lati(job, i, i)[0];
    EXPECT_NE(p + q, 4) << i;  // 1-3
    EXPECT_NE(p * q, 8) << i;  // 2-4
  }
  EXPECT_GT(job.store.nlati, 16);
}

TEST(Triangulation, FieldsStayInsideTheSlabUnlessRigid) {
  // An L-shaped slab: the notch (10..20, 10..20) is outside.
  auto elle = [] {
    Job job = con_nodi({{0, 0}, {20, 0}, {20, 10}, {10, 10}, {10, 20}, {0, 20}});
    job.floor.nperimetro = 6;
    return job;
  };
  Job job = elle();
  job.floor.passo = 50;
  passate(job);
  double area = 0;
  for (const auto& [a, b, c] : campi(job)) {
    EXPECT_FALSE(esterno(job, a, b, c)) << a << " " << b << " " << c;
    const Store& s = job.store;
    area += std::fabs((s.xnodo[b] - s.xnodo[a]) * (s.ynodo[c] - s.ynodo[a]) -
                      (s.xnodo[c] - s.xnodo[a]) * (s.ynodo[b] - s.ynodo[a])) /
            2;
  }
  EXPECT_EQ(area, 300);

  // The rigid floor does not look at the outline: the notch gets a triangle too.
  Job rigido = elle();
  passate(rigido);
  bool nella_tacca = false;
  for (const auto& [a, b, c] : campi(rigido)) nella_tacca |= esterno(rigido, a, b, c);
  EXPECT_TRUE(nella_tacca);
}

TEST(Triangulation, FarNodesAndTinyListsBuildNothingStrange) {
  // Node 4 lies beyond the search limit: its row is all 0 and nobody ranks it.
  Job job = con_nodi({{0, 0}, {10, 0}, {0, 10}, {500000, 0}});
  passate(job);
  EXPECT_EQ(campi(job), (std::vector<Terna>{{1, 2, 3}}));
  for (int i = 1; i <= job.store.nlati; ++i) {
    EXPECT_NE(job.store.lato[i][1], 0);
    EXPECT_NE(job.store.lato[i][2], 0);
  }

  for (int n : {0, 1, 2}) {
    Job piccolo = con_nodi({{0, 0}, {10, 0}});
    EXPECT_EQ(triangola_riferimento(piccolo, piccolo.nodes.punti, n, {}), 1);
    EXPECT_EQ(piccolo.fields.ncampi, 0);
  }

  // Fields already in the table are kept and never rebuilt; the first new one follows.
  Job ancora = con_nodi({{0, 0}, {10, 0}, {0, 10}, {10, 10}});
  ancora.fields.ncampi = 1;
  ancora.fields.campo[1] = {0, 2, 4, 3, 3};
  EXPECT_EQ(passate(ancora), 2);
  EXPECT_EQ(campi(ancora), (std::vector<Terna>{{2, 4, 3}, {1, 2, 3}}));
}

TEST(Triangulation, FullTablesEndTheRun) {
  // Node 1's first turn appends 1-5, 5-2, 2-1, 5-3, 3-1 (refused), 5-4, 4-1: the
  // sixth side in use overflows a table of five.
  Job job = con_nodi({{0, 0}, {10, 0}, {10, 10}, {0, 10}, {5, 5}}, Capacities{.lati = 5});
  try {
    passate(job);
    FAIL() << "no ending";
  } catch (const RunEnd& f) {
    EXPECT_EQ(f.testo, testo_capacita);
    EXPECT_EQ(f.stato, 1);
  }
  EXPECT_EQ(job.fields.ncampi, 0);

  Job pochi = con_nodi({{0, 0}, {10, 0}, {10, 10}, {0, 10}, {5, 5}}, Capacities{.campi = 3});
  try {
    passate(pochi);
    FAIL() << "no ending";
  } catch (const RunEnd& f) {
    EXPECT_EQ(f.testo, testo_capacita);
  }
  EXPECT_EQ(pochi.fields.ncampi, 3);
}

class TriangulationFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    // One directory per process and test, so parallel runs never share a file.
    dir_ = std::filesystem::temp_directory_path() /
           ("gencampi-triang-" + std::to_string(::getpid()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  std::string contenuto(const std::string& nome) const {
    std::ifstream in(dir_ / nome, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }

  std::filesystem::path dir_;
};

TEST_F(TriangulationFiles, RigidFloorWritesTriangThenEnds) {
  Job job = con_nodi({{0, 0}, {10, 0}, {10, 10}, {0, 10}, {5, 5}});
  job.dirs.dirlavoro = dir_.string();
  EXPECT_EQ(triangola(job, job.nodes.punti, job.nodes.npunti, {}), 1);
  scrivi_triang(job);
  EXPECT_EQ(contenuto("triang.txt"), " 4 \r\n 1  5  2 \r\n 2  5  3 \r\n 3  5  4 \r\n 4  5  1 \r\n");
}

TEST_F(TriangulationFiles, TriangFileLayout) {
  Job job;
  job.dirs.dirlavoro = dir_.string();
  scrivi_triang(job);
  EXPECT_EQ(contenuto("triang.txt"), " 0 \r\n");
  job.fields.ncampi = 2;
  job.fields.campo[1] = {0, 57, 1234, 9, 9};
  job.fields.campo[2] = {0, 3, 2, 1, 7};  // the fourth column is not written
  scrivi_triang(job);
  EXPECT_EQ(contenuto("triang.txt"), " 2 \r\n 57  1234  9 \r\n 3  2  1 \r\n");

  job.dirs.dirlavoro = (dir_ / "manca").string();
  try {
    scrivi_triang(job);
    FAIL() << "no ending";
  } catch (const RunEnd& f) {
    EXPECT_EQ(f.testo, "Impossibile aprire il file " + job.dirs.dirlavoro + "/triang.txt");
    EXPECT_EQ(f.titolo, titolo_errore);
    EXPECT_EQ(f.stato, 1);
  }
}

}  // namespace
}  // namespace gencampi
