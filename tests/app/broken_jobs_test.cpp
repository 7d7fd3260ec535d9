// Broken jobs run through the program: each one ends with its message and exit 1 (or
// runs as a sound job would), and none of them touches the floor file or the job
// files, or changes the settings file other than by appending whole default lines.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/run_helpers.h"

namespace gencampi::test {
namespace {

// A floor with every item of the format: perimeter, hole, wall, two pillars (one with
// its four corner points), one closed polyline.
const std::vector<std::string> righe_complete = {
    "100",     "4",       "0,0",
    "400,0",   "400,300", "0,300",  // step, perimeter
    "1",       "4",       "100,100",
    "200,100", "200,200", "100,200",  // one hole
    "1",       "2",       "300,50",
    "300,250",  // one wall
    "2",       "50 50",   "350 250 baricentro",
    "340,240", "360,240", "360,260",
    "340,260", "1",       "3 1",
    "10,290",  "20,290",  "20,280",  // one closed polyline
};

std::string unisci(const std::vector<std::string>& righe, std::size_t n) {
  std::string t;
  for (std::size_t i = 0; i < n; ++i) t += righe[i] + "\r\n";
  return t;
}

const std::string ini_completo = crlf(
    "MESH.distanza_min            50         |(criterio per generatore mesh)\n"
    "MESH.distanza_max             100       |(criterio per generatore mesh)\n"
    "MESH.coeff_lato              0.00       |(coeff. di suddivisione campi)\n"
    "MESH.allinea_lati             1.00      |(allineamento lati)\n");

// One broken job in a fresh root. The run's inputs are kept to compare after it.
struct Lavoro {
  Radice r;
  std::string pavimento, ini, dirlav, lavoro;

  Lavoro(const std::string& nome, const std::string& pav, const std::string& impostazioni)
      : r(nome), pavimento(pav), ini(impostazioni) {
    scrivi(r.progra() / "impalcato.txt", pavimento);
    scrivi(r.dir / "impostazioni" / "tirnel.ini", ini);
    dirlav = leggi(r.dir / "impostazioni" / "dirlav");
    lavoro = leggi(r.dir / "impostazioni" / "lavoro");
  }

  std::string pavimento_path() const { return (r.progra() / "impalcato.txt").string(); }
  std::string ini_path() const { return (r.dir / "impostazioni" / "tirnel.ini").string(); }

  // The inputs after the run: the floor and job files as they were, the settings file
  // as it was followed only by whole default lines.
  void ingressi_intatti(const std::string& caso) const {
    // Compared as a whole: a failure message listing a megabyte of differences would
    // not help anyone.
    EXPECT_TRUE(leggi(r.progra() / "impalcato.txt") == pavimento) << caso;
    EXPECT_EQ(leggi(r.dir / "impostazioni" / "dirlav"), dirlav) << caso;
    EXPECT_EQ(leggi(r.dir / "impostazioni" / "lavoro"), lavoro) << caso;
    const std::string dopo = leggi(r.dir / "impostazioni" / "tirnel.ini");
    ASSERT_TRUE(dopo.substr(0, ini.size()) == ini) << caso;
    std::string coda = dopo.substr(ini.size());
    while (!coda.empty()) {
      const std::size_t fine = coda.find("\r\n");
      ASSERT_NE(fine, std::string::npos) << caso;
      EXPECT_EQ(coda.substr(0, 5), "MESH.") << caso;
      EXPECT_NE(coda.substr(0, fine).find("|("), std::string::npos) << caso;
      coda = coda.substr(fine + 2);
    }
  }
};

TEST(BrokenJobs, AFloorCutAfterAnyItemIsAReadErrorAndEarlierResultsStay) {
  for (std::size_t n = 0; n < righe_complete.size(); ++n) {
    Lavoro l("tronco", unisci(righe_complete, n), ini_completo);
    // Results of an earlier run stay as they were when this one stops.
    scrivi(l.r.lavoro() / "punti.dis", "prima\r\n");
    Esito e = esegui(l.r.progra());
    EXPECT_EQ(e.stato, 1) << n;
    EXPECT_EQ(e.messaggi, "ERRORE !!: Errore in lettura del file " + l.pavimento_path() + "\n")
        << n;
    EXPECT_EQ(leggi(l.r.lavoro() / "punti.dis"), "prima\r\n") << n;
    EXPECT_FALSE(fs::exists(l.r.progra() / "campi.txt")) << n;
    l.ingressi_intatti("cut after line " + std::to_string(n));
  }
  // The whole floor runs.
  Lavoro l("intero", unisci(righe_complete, righe_complete.size()), ini_completo);
  Esito e = esegui(l.r.progra());
  EXPECT_EQ(e.stato, 0) << e.messaggi;
  l.ingressi_intatti("whole floor");
}

TEST(BrokenJobs, BadValuesInTheFloorOrTheSettingsStopTheRunWithTheirFilesMessage) {
  const struct {
    int riga;  // line of the complete floor to replace, -1 for none
    const char* testo;
    const char* impostazioni;  // nullptr: the complete settings file
    bool errore_impostazioni;  // the message names the settings file, not the floor
  } casi[] = {
      {2, "0,x0", nullptr, false},       // a word for a coordinate
      {3, "400,1e400", nullptr, false},  // overflows to infinity
      {8, "100,-1E+9", nullptr, false},  // beyond any floor
      {0, "1e999", nullptr, false},      // the step
      {1, "1e10", nullptr, false},       // a count out of range
      {7, "70000", nullptr, false},      // a vertex count out of range
      {17, "50 1e300", nullptr, false},  // a pillar record value
      {24, "3 1e5", nullptr, false},     // a polyline's closing flag
      {-1, "", "MESH.distanza_min 50\r\nMESH.distanza_max 1e999\r\n", true},
      {-1, "", "MESH.distanza_min 50\r\nparola\r\n", true},
      {-1, "", "MESH.distanza_min -1e400 |commento\r\n", true},
  };
  for (const auto& c : casi) {
    std::vector<std::string> righe = righe_complete;
    if (c.riga >= 0) righe[static_cast<std::size_t>(c.riga)] = c.testo;
    Lavoro l("valori", unisci(righe, righe.size()),
             c.impostazioni != nullptr ? c.impostazioni : ini_completo);
    Esito e = esegui(l.r.progra());
    const std::string file = c.errore_impostazioni ? l.ini_path() : l.pavimento_path();
    EXPECT_EQ(e.stato, 1) << c.testo << c.impostazioni;
    EXPECT_EQ(e.messaggi, "ERRORE !!: Errore in lettura del file " + file + "\n")
        << c.testo << c.impostazioni;
    EXPECT_FALSE(fs::exists(l.r.lavoro() / "punti.dis"));
    l.ingressi_intatti(c.testo);
  }
}

TEST(BrokenJobs, HugeBinaryFilesAndLongLines) {
  // A megabyte with no line end: the step takes all of it and the count is missing.
  std::string binario;
  for (long i = 0; i < (1 << 20); ++i) binario.push_back(static_cast<char>((i * 7919) % 251));
  for (char& ch : binario)
    if (ch == '\n' || ch == ',') ch = ' ';
  {
    Lavoro l("binario", binario, ini_completo);
    Esito e = esegui(l.r.progra());
    EXPECT_EQ(e.stato, 1);
    EXPECT_EQ(e.messaggi, "ERRORE !!: Errore in lettura del file " + l.pavimento_path() + "\n");
    l.ingressi_intatti("binary floor");
  }
  {
    // A settings file of binary bytes is one line whose key is none of the four: the
    // four default lines are appended after it and the run goes on.
    Lavoro l("binini", unisci(righe_complete, righe_complete.size()), binario + "\r\n");
    Esito e = esegui(l.r.progra());
    EXPECT_EQ(e.stato, 0) << e.messaggi;
    EXPECT_EQ(leggi(l.r.dir / "impostazioni" / "tirnel.ini").size(),
              binario.size() + 2 + 3 * 73 + 62);
    l.ingressi_intatti("binary settings");
  }
  {
    // Blanks anywhere in a step are skipped, however many; a long comment is never read.
    std::vector<std::string> righe = righe_complete;
    righe[0] = std::string(1 << 20, ' ') + "1" + std::string(1 << 20, ' ') + "00";
    const std::string ini = "MESH.distanza_min 50 |" + std::string(1 << 20, 'c') + "\r\n";
    Lavoro l("lunghe", unisci(righe, righe.size()), ini);
    Esito e = esegui(l.r.progra());
    EXPECT_EQ(e.stato, 0) << e.messaggi;
    EXPECT_EQ(leggi(l.r.progra() / "campi.txt").substr(0, 7), " 100 \r\n");
    l.ingressi_intatti("long lines");
  }
}

TEST(BrokenJobs, OutlineErrorsStillWriteTheResultsOfTheRunThatGoesOn) {
  const struct {
    const char* pavimento;
    const char* messaggio;
  } casi[] = {
      {"-1\n2\n0,0\n100,0\n", "gencampi: ERRORE PERIMETRO\n"},
      {"-1\n3\n0,0\n100,0\n0,100\n1\n2\n1,1\n2,2\n", "gencampi: ERRORE BUCHI\n"},
      {"-1\n3\n0,0\n100,0\n0,100\n0\n1\n-1\n", "gencampi: ERRORE MURI\n"},
  };
  for (const auto& c : casi) {
    // Rigid floors: the triangulation runs on the empty node list and writes its file.
    Lavoro l("contorno", crlf(c.pavimento), ini_completo);
    Esito e = esegui(l.r.progra());
    EXPECT_EQ(e.stato, 1) << c.pavimento;
    EXPECT_EQ(e.messaggi, c.messaggio);
    EXPECT_EQ(leggi(l.r.lavoro() / "triang.txt"), " 0 \r\n") << c.pavimento;
    EXPECT_FALSE(fs::exists(l.r.lavoro() / "punti.dis"));
    l.ingressi_intatti(c.pavimento);
  }
}

// A vertex that repeats an earlier one takes that node's number and breaks the run of
// consecutive nodes the outline is read back from: the run still ends as a sound job.
TEST(BrokenJobs, RepeatedVerticesRunToTheEnd) {
  const char* const pavimenti[] = {
      // a perimeter vertex repeated in the middle of the perimeter
      "100\n5\n0,0\n400,0\n0,0\n400,300\n0,300\n0\n0\n0\n0\n",
      // a hole whose corner repeats a perimeter vertex, and one repeating itself
      "100\n4\n0,0\n400,0\n400,300\n0,300\n2\n3\n0,0\n100,100\n50,150\n"
      "3\n200,100\n200,100\n300,200\n0\n0\n0\n",
      // a wall with a zero-length side, so its run of sides reaches the next item's
      "100\n4\n0,0\n400,0\n400,300\n0,300\n0\n2\n3\n100,50\n100,50\n100,250\n"
      "2\n300,50\n300,250\n0\n1\n4 1\n10,10\n10,10\n0,0\n20,20\n",
      // a rigid floor made of one point
      "-1\n4\n5,5\n5,5\n5,5\n5,5\n0\n0\n0\n0\n",
  };
  for (const char* p : pavimenti) {
    Lavoro l("ripetuti", crlf(p), ini_completo);
    Esito e = esegui(l.r.progra());
    EXPECT_EQ(e.stato, 0) << p << e.messaggi;
    EXPECT_EQ(e.messaggi, "") << p;
    EXPECT_TRUE(fs::exists(l.r.lavoro() / "punti.dis")) << p;
    l.ingressi_intatti(p);
  }
}

}  // namespace
}  // namespace gencampi::test
