// Broken jobs run through the program. Whatever breaks, a run that stops on a read error
// ends with that file's message and exit 1 and changes no file under the root: not the
// inputs, and not the results an earlier run left.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "app/esegui.h"

namespace gencampi::test {
namespace {

// A floor with every item of the format, one item per line.
const char* const pavimento_completo =
    "100\n4\n0,0\n400,0\n400,300\n0,300\n"                                // step, perimeter
    "1\n4\n100,100\n200,100\n200,200\n100,200\n"                          // a hole
    "1\n2\n300,50\n300,250\n"                                             // a wall
    "2\n50 50\n350 250 baricentro\n340,240\n360,240\n360,260\n340,260\n"  // pillars
    "1\n3 1\n10,290\n20,290\n20,280\n";                                   // a polyline

std::vector<std::string> righe_complete() {
  std::vector<std::string> v;
  std::istringstream testo(pavimento_completo);
  for (std::string r; std::getline(testo, r);) v.push_back(r);
  return v;
}

std::string unisci(const std::vector<std::string>& righe, std::size_t n) {
  std::string t;
  for (std::size_t i = 0; i < n; ++i) t += righe[i] + "\r\n";
  return t;
}

// A megabyte of every byte but line ends and commas.
std::string megabyte_binario() {
  std::string b;
  for (long long i = 0; i < (1 << 20); ++i) b.push_back(static_cast<char>((i * 7919) % 251));
  for (char& ch : b)
    if (ch == '\n' || ch == ',') ch = ' ';
  return b;
}

// Runs the job with an earlier run's drawing in the job directory and checks that the
// run stops with the read error of `file` (the settings or the floor) and leaves the
// root as it found it.
void stoppa_in_lettura(const std::string& pavimento, const std::string& ini, bool errore_ini,
                       const std::string& caso) {
  JobTree t("rotto");
  scrivi(t.pavimento(), pavimento);
  scrivi(t.ini(), ini);
  scrivi(t.lavoro() / "punti.dis", "prima\r\n");
  const auto prima = t.istantanea();
  const Esito e = esegui(t.progra());
  const fs::path file = errore_ini ? t.ini() : t.pavimento();
  EXPECT_EQ(e.stato, 1) << caso;
  EXPECT_EQ(e.messaggi, "ERRORE !!: Errore in lettura del file " + file.string() + "\n") << caso;
  // Compared as a whole: listing a megabyte of differences would help nobody.
  EXPECT_TRUE(t.istantanea() == prima) << caso;
}

TEST(BrokenJobs, AFloorCutAfterAnyItemIsAReadError) {
  const std::vector<std::string> righe = righe_complete();
  for (std::size_t n = 0; n < righe.size(); ++n)
    stoppa_in_lettura(unisci(righe, n), std::string(ini_standard), false,
                      "cut after line " + std::to_string(n));
  // The whole floor runs.
  JobTree t("intero");
  scrivi(t.pavimento(), unisci(righe, righe.size()));
  const Esito e = esegui(t.progra());
  EXPECT_EQ(e.stato, 0) << e.messaggi;
}

TEST(BrokenJobs, BadValuesInTheFloorOrTheSettingsAreReadErrors) {
  // A megabyte with no line end: the step takes all of it and the count is missing.
  const std::string binario = megabyte_binario();
  const struct {
    int riga;           // line of the complete floor to replace, -1 for none
    std::string testo;  // its new text, or the whole settings file
    bool errore_ini;    // the settings file is the broken one
  } casi[] = {
      {2, "0,x0", false},       // a word for a coordinate
      {3, "400,1e400", false},  // overflows to infinity
      {8, "100,-1E+9", false},  // beyond any floor
      {0, "1e999", false},      // the step
      {1, "1e10", false},       // a count out of range
      {7, "70000", false},      // a vertex count out of range
      {17, "50 1e300", false},  // a pillar record value
      {24, "3 1e5", false},     // a polyline's closing flag
      {-2, binario, false},     // the whole floor binary
      {-1, "MESH.distanza_min 50\r\nMESH.distanza_max 1e999\r\n", true},
      {-1, "MESH.distanza_min 50\r\nparola\r\n", true},
      {-1, "MESH.distanza_min -1e400 |commento\r\n", true},
  };
  for (const auto& c : casi) {
    std::vector<std::string> righe = righe_complete();
    if (c.riga >= 0) righe[static_cast<std::size_t>(c.riga)] = c.testo;
    const std::string pavimento = c.riga == -2 ? c.testo : unisci(righe, righe.size());
    stoppa_in_lettura(pavimento, c.errore_ini ? c.testo : std::string(ini_standard), c.errore_ini,
                      c.testo.substr(0, 40));
  }
}

TEST(BrokenJobs, HugeSettingsLinesAndBlanksInTheStepStillRun) {
  // A settings file of binary bytes is one line whose key is none of the four: the four
  // default lines (the office's settings file) are appended after it. Blanks anywhere in
  // the step are skipped, however many; a long comment is never read.
  const std::string_view senza_minimo = ini_standard.substr(ini_standard.find('\n') + 1);
  const struct {
    std::string passo, ini;
    std::string_view aggiunte;
  } casi[] = {
      {"100", megabyte_binario() + "\r\n", ini_standard},
      {std::string(1 << 20, ' ') + "1" + std::string(1 << 20, ' ') + "00",
       "MESH.distanza_min 50 |" + std::string(1 << 20, 'c') + "\r\n", senza_minimo},
  };
  for (const auto& c : casi) {
    JobTree t("lunghe");
    std::vector<std::string> righe = righe_complete();
    righe[0] = c.passo;
    scrivi(t.pavimento(), unisci(righe, righe.size()));
    scrivi(t.ini(), c.ini);
    const Esito e = esegui(t.progra());
    EXPECT_EQ(e.stato, 0) << e.messaggi;
    EXPECT_TRUE(leggi(t.ini()) == c.ini + std::string(c.aggiunte));
    EXPECT_EQ(leggi(t.progra() / "campi.txt").substr(0, 7), " 100 \r\n");
  }
}

}  // namespace
}  // namespace gencampi::test
