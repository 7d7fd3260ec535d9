#include "core/settings.h"

#include <gtest/gtest.h>

#include "support/job_tree.h"

namespace gencampi {
namespace {

using test::JobOnDisk;

const char* const tirnel = "impostazioni/tirnel.ini";

TEST(FloorSettings, MissingKeysAreAppendedWhereTheFileEnds) {
  JobOnDisk d;
  d.scrivi(tirnel, "mesh.distanza_min 70\r\nMESH.distanza_max      80");
  EXPECT_EQ(leggi_impostazione(d.job.dirs, chiave_distanza_min), 50);  // case matters
  // No line break at the end: the default line continues the last line, which still
  // reads 80 for its own key.
  const std::string dopo = std::string("mesh.distanza_min 70\r\nMESH.distanza_max      80") +
                           chiave_distanza_min.riga_default + "\r\n";
  EXPECT_EQ(d.leggi(tirnel), dopo);
  EXPECT_EQ(leggi_impostazione(d.job.dirs, chiave_distanza_max), 80);
  EXPECT_EQ(leggi_impostazione(d.job.dirs, chiave_allinea_lati), 1);
  EXPECT_EQ(d.leggi(tirnel), dopo + chiave_allinea_lati.riga_default + "\r\n");
  EXPECT_EQ(leggi_impostazione(d.job.dirs, chiave_allinea_lati), 1);
  EXPECT_EQ(d.leggi(tirnel), dopo + chiave_allinea_lati.riga_default + "\r\n");
}

TEST(FloorSettings, LineSplitting) {
  const struct {
    const char* testo;
    int risposta;
    const char* associato;
  } casi[] = {
      {"MESH.distanza_min\t75\r\n", 1, "75"},
      {"MESH.distanza_min \t  75   |commento\n", 1, "75"},
      {"MESH.distanza_min 12 |a|b\r\n", 1, "12 |a"},  // the value runs to the last bar
      {"MESH.distanza_min |7\r\n", 1, "|7"},
      {"MESH.distanza_min 30\nMESH.distanza_min 40\n", 1, "30"},
      {"MESH.distanza_min 5\r\nparola\r\n", 1, "5"},  // the bad line is never reached
      {" MESH.distanza_min 60\r\n", 0, "60"},         // a leading blank is part of the key
      {"MESH.distanza_minimo 60\r\n", 0, "60"},
      {"altro 5\r\n   \r\n", 0, ""},  // not found: the last line's value
      {"", 0, "x"},
  };
  for (const auto& c : casi) {
    JobOnDisk d;
    d.scrivi(tirnel, c.testo);
    int r = -1;
    std::string a = "x";
    leg_tirnel_ini(d.job.dirs, "MESH.distanza_min", r, a);
    EXPECT_EQ(r, c.risposta) << c.testo;
    EXPECT_EQ(a, c.associato) << c.testo;
  }
}

TEST(FloorSettings, UnreadableOrMissingFileEndsTheRunUnlessFermaIsNotOne) {
  const char* lettura = "Errore in lettura del file ";
  const struct {
    const char* testo;  // nullptr: no file
    const char* inizio;
  } casi[] = {
      {nullptr, "Non trovo il file "},
      {"parola\r\nMESH.distanza_min 5\r\n", lettura},
      {"parola   \r\n", lettura},
      {" parola\r\n", lettura},
      {"\t\r\n", lettura},  // a tab is not trimmed away
      {"MESH.distanza_min\r\n", lettura},
      {"MESH.distanza_min 1e999\r\n", lettura},  // not finite
  };
  for (const auto& c : casi) {
    JobOnDisk d;
    if (c.testo != nullptr) d.scrivi(tirnel, c.testo);
    try {
      leggi_impostazione(d.job.dirs, chiave_distanza_min);
      ADD_FAILURE() << c.testo;
    } catch (const RunEnd& f) {
      EXPECT_EQ(f.testo, c.inizio + d.path(tirnel));
      EXPECT_EQ(f.titolo, "ERRORE !!");
    }
    // Nothing is appended after a read error, nor is a missing file created.
    EXPECT_EQ(d.esiste(tirnel) ? d.leggi(tirnel) : "-", c.testo != nullptr ? c.testo : "-");
    const int due = 2;
    int r = -1;
    std::string a;
    leg_tirnel_ini(d.job.dirs, "MESH.distanza_max", r, a, &due);
    EXPECT_EQ(r, 0);
  }
}

}  // namespace
}  // namespace gencampi
