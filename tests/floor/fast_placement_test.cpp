// Node placement through the hash of node positions against the plain scans, on
// generated floors: the same nodes, in the same order, and the same punti.dis.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "core/node_index.h"
#include "core/store.h"
#include "floor/drawing.h"
#include "floor/placement.h"
#include "support/floor_generator.h"
#include "support/job_tree.h"

namespace gencampi {
namespace {

TEST(FastPlacement, SameNodesAsTheScansOnGeneratedFloors) {
  for (std::uint64_t seme = 1; seme <= 16; ++seme) {
    ParametriPiano p;
    p.seme = seme;
    p.forma_l = seme % 2 == 0;
    p.aperture = static_cast<int>(seme % 4);
    p.muri = static_cast<int>(seme % 3);
    p.polilinee = static_cast<int>(seme % 2);
    p.interasse = 300 + 40.0 * static_cast<double>(seme % 5);
    p.passo = seme % 5 == 0 ? 0 : 60 + 10.0 * static_cast<double>(seme % 4);
    p.distanza_min = seme % 7 == 0 ? 0 : 35;
    p.allinea = seme % 6 != 0;
    test::JobTree ra("pl_rif"), rb("pl_vel");
    Job a, b;
    genera_piano(a, p);
    genera_piano(b, p);
    a.dirs.dirlavoro = ra.lavoro().string();
    b.dirs.dirlavoro = rb.lavoro().string();
    a.engine = Engine::reference;
    posiziona_nodi(a);
    posiziona_nodi(b);
    scrivi_punti_dis(a);
    scrivi_punti_dis(b);
    ASSERT_EQ(a.store.nnodi, b.store.nnodi) << "seme " << seme;
    ASSERT_EQ(a.nodes.npunti, b.nodes.npunti);
    for (int i = 1; i <= a.store.nnodi; ++i) {
      ASSERT_EQ(a.store.xnodo[i], b.store.xnodo[i]) << "seme " << seme << " nodo " << i;
      ASSERT_EQ(a.store.ynodo[i], b.store.ynodo[i]);
    }
    EXPECT_EQ(test::leggi(ra.lavoro() / "punti.dis"), test::leggi(rb.lavoro() / "punti.dis"));
  }
}

TEST(NodeIndex, MergesWithinADistanceAndFollowsMovedNodes) {
  std::mt19937 rng(11);
  std::uniform_int_distribution<int> passo(-400, 400);
  for (double d : {0.0, 0.3, 2.5, -2.5}) {
    Job a, b;
    NodeIndex indice(b.store, 2 * std::fabs(d));
    for (int k = 0; k < 3000; ++k) {
      // Points on a lattice of quarter units: exact distances of d occur.
      const double x = passo(rng) * 0.25, y = passo(rng) * 0.25;
      int na = 0, nb = 0;
      if (k % 3 == 0) {
        na = aggiungi_nodo(a.store, x, y);
        nb = indice.aggiungi_nodo(b.store, x, y);
      } else {
        na = aggiungi_nodo_dist(a.store, x, y, d);
        nb = indice.aggiungi_nodo_dist(b.store, x, y, d);
      }
      ASSERT_EQ(na, nb) << "d " << d << " k " << k;
      if (k % 50 == 49) {
        // Move a node, as the placement does when two feet crowd each other.
        const int m = 1 + k % a.store.nnodi;
        const double xp = b.store.xnodo[m], yp = b.store.ynodo[m];
        a.store.xnodo[m] = b.store.xnodo[m] = x + 0.5;
        a.store.ynodo[m] = b.store.ynodo[m] = y - 0.5;
        indice.spostato(b.store, m, xp, yp);
      }
    }
    EXPECT_EQ(a.store.nnodi, b.store.nnodi);
  }
}

}  // namespace
}  // namespace gencampi
