#include "floor/reader.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "support/job_tree.h"

namespace gencampi {
namespace {

using test::JobOnDisk;
using Lati = std::vector<std::array<int, 3>>;

const char* const senza_posa =
    "MESH.distanza_min 10\r\nMESH.distanza_max 0\r\nMESH.coeff_lato 0\r\nMESH.allinea_lati 0\r\n";
const std::string triangolo = "100\r\n3\r\n0,0\r\n100,0\r\n0,100\r\n";

struct FloorJob : JobOnDisk {
  explicit FloorJob(const std::string& impalcato, const char* impostazioni = senza_posa,
                    const Capacities& cap = {})
      : JobOnDisk(cap) {
    if (impostazioni != nullptr) scrivi("impostazioni/tirnel.ini", impostazioni);
    scrivi("progra/impalcato.txt", impalcato);
  }
  Lati lati() const {
    Lati v;
    for (int i = 1; i <= job.store.nlati; ++i)
      v.push_back({job.store.lato[i][1], job.store.lato[i][2], job.store.tipolato[i]});
    return v;
  }
  // The run's ending, or the message of the outline error leggibase returned with.
  std::string esito() {
    try {
      return messaggio_lettura(leggibase(job));
    } catch (const RunEnd& f) {
      return f.titolo + ": " + f.testo;
    }
  }
};

TEST(FloorReader, EstraiRTakesBlankSeparatedNumbersOffTheFront) {
  std::string r = "  12.5   40 baricentro ";
  EXPECT_EQ(estraiR(r), 12.5);
  EXPECT_EQ(estraiR(r), 40);
  EXPECT_EQ(r, "baricentro");
  EXPECT_EQ(estraiR(r), 0);  // a word where a number stands is consumed as 0
  EXPECT_EQ(r, "");
  r = "1\t2 3";  // a tab does not separate, and the leading-number rule skips it
  EXPECT_EQ(estraiR(r), 12);
  EXPECT_EQ(r, "3");
}

TEST(FloorReader, RepeatedClosingVertexDropsTheClosingSide) {
  FloorJob p("100\r\n5\r\n0,0\r\n100,0\r\n100,50\r\n0,50\r\n0,0\r\n0\r\n0\r\n0\r\n0\r\n");
  EXPECT_EQ(p.esito(), "");
  EXPECT_EQ(p.job.store.nnodi, 4);
  EXPECT_EQ(p.lati(), (Lati{{1, 2, 2}, {2, 3, 2}, {3, 4, 2}, {4, 1, 2}}));
}

TEST(FloorReader, OutlineErrorsStopTheReadingAndTheRunGoesOn) {
  const struct {
    std::string testo;
    const char* messaggio;
    int nnodi;
  } casi[] = {
      {"100\r\n2\r\n", "ERRORE PERIMETRO", 0},
      {"-5\r\n2.5\r\n", "ERRORE PERIMETRO", 0},  // 2.5 rounds to 2
      {triangolo + "2\r\n3\r\n10,10\r\n20,10\r\n10,20\r\n2\r\n", "ERRORE BUCHI", 6},
      {triangolo + "0\r\n1\r\n1.4\r\n", "ERRORE MURI", 3},
  };
  for (const auto& c : casi) {
    FloorJob p(c.testo);
    EXPECT_EQ(p.esito(), c.messaggio) << c.testo;
    EXPECT_EQ(p.job.store.nnodi, c.nnodi) << c.testo;
  }
}

TEST(FloorReader, EndingsOfTheRun) {
  const std::string lettura = "ERRORE !!: Errore in lettura del file progra/impalcato.txt";
  const std::string capacita =
      "gencampi: Superato dimensionamento massimo - elaborazione interrotta";
  Capacities uno;
  uno.buchi = 1;
  uno.muri = 1;
  const struct {
    std::string testo;  // "-": no floor file
    const char* impostazioni;
    std::string atteso;
    Capacities cap;
  } casi[] = {
      {"-", senza_posa, "ERRORE !!: Non trovo il file progra/impalcato.txt", {}},
      {"-", nullptr, "ERRORE !!: Non trovo il file impostazioni/tirnel.ini", {}},
      {"", senza_posa, lettura, {}},
      {"100\r\n3\r\n0,0\r\n100,0\r\n0", senza_posa, lettura, {}},
      {"100\r\n3\r\n0,0\r\n100,0\r\n0,1OO\r\n", senza_posa, lettura, {}},
      {"100\r\n3\r\n0,0\r\n100,0\r\n0,,100\r\n", senza_posa, lettura, {}},
      {"100\r\n3\r\n0,0\r\n100,0\r\n0,-100000001\r\n", senza_posa, lettura, {}},
      {"1e999\r\n", senza_posa, lettura, {}},
      {"100\r\n40000\r\n", senza_posa, lettura, {}},
      {triangolo + "0\r\n0\r\n1\r\n1e9 0\r\n", senza_posa, lettura, {}},
      {triangolo + "0\r\n0\r\n0\r\n1\r\n2 1e99\r\n", senza_posa, lettura, {}},
      // A hole or wall beyond the capacity ends the run when its vertex count is due,
      // before the reader finds that the file has ended.
      {triangolo + "5\r\n3\r\n10,10\r\n20,10\r\n10,20\r\n", senza_posa, capacita, uno},
      {triangolo + "0\r\n5\r\n2\r\n10,10\r\n20,10\r\n", senza_posa, capacita, uno},
  };
  for (const auto& c : casi) {
    FloorJob p(c.testo, c.impostazioni, c.cap);
    if (c.testo == "-") std::filesystem::remove(p.path("progra/impalcato.txt"));
    std::string atteso = c.atteso;
    if (std::size_t i = atteso.find("file "); i != std::string::npos)
      atteso = atteso.substr(0, i + 5) + p.path(atteso.substr(i + 5));
    EXPECT_EQ(p.esito(), atteso) << c.testo;
  }
}

TEST(FloorReader, HandOverComesRightAfterTheStep) {
  FloorJob p("100\r\nnot a floor", "MESH.distanza_min 10\r\n");
  p.job.dirs.comando = "|diroot=x|tipo=2|";
  EXPECT_EQ(leggibase(p.job), FloorRead::hand_over);
  EXPECT_EQ(p.leggi("impostazioni/tirnel.ini"), "MESH.distanza_min 10\r\n");
}

}  // namespace
}  // namespace gencampi
