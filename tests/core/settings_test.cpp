#include "core/settings.h"

#include <gtest/gtest.h>

#include <string>

#include "floor/job_dir.h"

namespace gencampi {
namespace {

using prova::CartellaLavoro;

const char* const tirnel = "impostazioni/tirnel.ini";

struct Impostazioni {
  CartellaLavoro dir;
  Job job;
  explicit Impostazioni(const char* testo) {
    dir.imposta(job);
    if (testo != nullptr) dir.scrivi(tirnel, testo);
  }
  double leggi(const ChiaveMesh& k) { return leggi_impostazione(job.dirs, k); }
  std::string file() const { return dir.leggi(tirnel); }
  std::string path() const { return dir.radice() + "/impostazioni/tirnel.ini"; }
};

TEST(FloorSettings, DefaultLinesKeepTheirColumns) {
  for (const ChiaveMesh* k :
       {&chiave_distanza_min, &chiave_distanza_max, &chiave_coeff_lato, &chiave_allinea_lati}) {
    std::string riga = k->riga_default;
    EXPECT_EQ(riga.find('|'), 40u) << riga;
    std::size_t valore = riga.find_first_not_of(' ', std::string(k->chiave).size());
    EXPECT_TRUE(valore == 29u || valore == 30u) << riga;
    EXPECT_EQ(riga.compare(valore, std::string(k->valore_default).size(), k->valore_default), 0);
  }
}

TEST(FloorSettings, MissingKeyIsAppendedAndFoundKeyIsNot) {
  Impostazioni t("MESH.distanza_max      80\r\n");
  EXPECT_EQ(t.leggi(chiave_distanza_min), 50);
  EXPECT_EQ(t.leggi(chiave_distanza_max), 80);
  EXPECT_EQ(t.leggi(chiave_coeff_lato), 0);
  EXPECT_EQ(t.leggi(chiave_allinea_lati), 1);
  // Found the second time: nothing more is appended.
  EXPECT_EQ(t.leggi(chiave_distanza_min), 50);
  EXPECT_EQ(t.file(), std::string("MESH.distanza_max      80\r\n") +
                          chiave_distanza_min.riga_default + "\r\n" +
                          chiave_coeff_lato.riga_default + "\r\n" +
                          chiave_allinea_lati.riga_default + "\r\n");
}

TEST(FloorSettings, DefaultContinuesALastLineWithoutLineBreak) {
  Impostazioni t("MESH.distanza_max 80");
  EXPECT_EQ(t.leggi(chiave_distanza_min), 50);
  EXPECT_EQ(t.file(),
            std::string("MESH.distanza_max 80") + chiave_distanza_min.riga_default + "\r\n");
  // The joined line still reads 80 for its own key: the value's number stops at the "M".
  EXPECT_EQ(t.leggi(chiave_distanza_max), 80);
  // ...and the appended key is no longer found at the start of a line.
  EXPECT_EQ(t.leggi(chiave_distanza_min), 50);
  EXPECT_EQ(t.file(), std::string("MESH.distanza_max 80") + chiave_distanza_min.riga_default +
                          "\r\n" + chiave_distanza_min.riga_default + "\r\n");
}

TEST(FloorSettings, LineSplitting) {
  struct Caso {
    const char* testo;
    int risposta;
    const char* associato;
  };
  const Caso casi[] = {
      {"MESH.distanza_min\t75\r\n", 1, "75"},
      {"MESH.distanza_min \t  75   |commento\r\n", 1, "75"},
      {"MESH.distanza_min 12 |a|b\r\n", 1, "12 |a"},
      {"MESH.distanza_min |7\r\n", 1, "|7"},
      {"MESH.distanza_min 1 2 3\n", 1, "1 2 3"},
      {"MESH.distanza_min 30\nMESH.distanza_min 40\n", 1, "30"},  // the first line wins
      {"mesh.distanza_min 70\r\n", 0, "70"},                      // letter case matters
      {" MESH.distanza_min 60\r\n", 0, "60"},         // a leading blank is part of the key
      {"MESH.distanza_minimo 60\r\n", 0, "60"},       // the whole key must match
      {"altro 5\r\n\r\n", 0, ""},                     // not found: the last line's value
      {"altro 5\r\n   \r\n", 0, ""},                  // blanks only count as empty
      {"", 0, "x"},                                   // nothing read, nothing changed
      {"MESH.distanza_min 5\r\nparola\r\n", 1, "5"},  // the bad line is never reached
  };
  for (const Caso& c : casi) {
    Impostazioni t(c.testo);
    int r = -1;
    std::string a = "x";
    leg_tirnel_ini(t.job.dirs, "MESH.distanza_min", r, a);
    EXPECT_EQ(r, c.risposta) << c.testo;
    EXPECT_EQ(a, c.associato) << c.testo;
    EXPECT_EQ(t.file(), c.testo) << "the lookup itself never writes";
  }
}

TEST(FloorSettings, LineWithoutValueIsAReadError) {
  for (const char* testo : {"parola\r\nMESH.distanza_min 5\r\n", "parola   \r\n", " parola\r\n",
                            "\t\r\n", "MESH.distanza_min\r\n"}) {
    Impostazioni t(testo);
    try {
      t.leggi(chiave_distanza_min);
      ADD_FAILURE() << "no ending for " << testo;
    } catch (const FineElaborazione& f) {
      EXPECT_EQ(f.testo, "Errore in lettura del file " + t.path());
      EXPECT_EQ(f.titolo, "ERRORE !!");
      EXPECT_EQ(f.stato, 1);
    }
    EXPECT_EQ(t.file(), testo) << "nothing appended after a read error";

    // With a ferma other than 1 the reader gives up quietly.
    const int zero = 0, uno = 1;
    int r = -1;
    std::string a;
    leg_tirnel_ini(t.job.dirs, "MESH.distanza_min", r, a, &zero);
    EXPECT_EQ(r, 0);
    EXPECT_THROW(leg_tirnel_ini(t.job.dirs, "MESH.distanza_min", r, a, &uno), FineElaborazione);
  }
}

TEST(FloorSettings, MissingFileEndsTheRunUnlessFermaSaysOtherwise) {
  Impostazioni t(nullptr);
  try {
    t.leggi(chiave_distanza_min);
    FAIL() << "no ending";
  } catch (const FineElaborazione& f) {
    EXPECT_EQ(f.testo, "Non trovo il file " + t.path());
    EXPECT_EQ(f.titolo, "ERRORE !!");
  }
  EXPECT_FALSE(t.dir.esiste(tirnel));
  const int due = 2;
  int r = -1;
  std::string a;
  leg_tirnel_ini(t.job.dirs, "MESH.distanza_min", r, a, &due);
  EXPECT_EQ(r, 0);
}

TEST(FloorSettings, ValuesFollowTheLeadingNumberRule) {
  Impostazioni t(
      "MESH.distanza_min  1 2.5cm\r\n"
      "MESH.distanza_max  abc\r\n"
      "MESH.coeff_lato    -.5e1\r\n"
      "MESH.allinea_lati  1e999\r\n");
  EXPECT_EQ(t.leggi(chiave_distanza_min), 12.5);
  EXPECT_EQ(t.leggi(chiave_distanza_max), 0);
  EXPECT_EQ(t.leggi(chiave_coeff_lato), -5);
  EXPECT_THROW(t.leggi(chiave_allinea_lati), FineElaborazione);
}

}  // namespace
}  // namespace gencampi
