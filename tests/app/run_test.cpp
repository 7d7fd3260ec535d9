// Whole runs of the program: directories, orderly stops, exit status and the files
// each path leaves behind.
#include <gtest/gtest.h>

#include "app/run_helpers.h"

namespace gencampi::test {
namespace {

const char* rettangolo =
    "100\n"
    "4\n"
    "0,0\n"
    "400,0\n"
    "400,300\n"
    "0,300\n"
    "0\n"
    "0\n"
    "0\n"
    "0\n";

TEST(WholeRun, MeshesARectangleFromTheProgramDirectory) {
  Radice r("rett");
  r.pavimento(rettangolo);
  Esito e = esegui(r.progra());
  EXPECT_EQ(e.stato, 0) << e.messaggi;
  EXPECT_EQ(e.messaggi, "");
  EXPECT_TRUE(fs::exists(r.lavoro() / "punti.dis"));
  EXPECT_TRUE(fs::exists(r.lavoro() / "campi.dis"));
  EXPECT_TRUE(fs::exists(r.progra() / "campi.txt"));
  EXPECT_TRUE(fs::exists(r.progra() / "campi.tmp"));
  EXPECT_FALSE(fs::exists(r.lavoro() / "triang.txt"));
  std::string campi = leggi(r.progra() / "campi.txt");
  EXPECT_EQ(campi.substr(0, 7), " 100 \r\n");
}

TEST(WholeRun, RootGivenOnTheCommandLineIsFoundIgnoringLetterCase) {
  Radice r("Maiuscole");
  fs::path su = r.dir.parent_path() / ("Radice_" + std::to_string(::getpid()) + "_CASO");
  fs::remove_all(su);
  fs::rename(r.dir, su);
  r.dir = su;
  // The jobs directory named in dirlav moved with the root.
  scrivi(su / "impostazioni" / "dirlav", crlf((su / "lavori").string() + "\n"));
  r.pavimento(rettangolo);
  Esito e = esegui(fs::temp_directory_path(), {"|diroot=" + su.string() + "/"});
  EXPECT_EQ(e.stato, 0) << e.messaggi;
  EXPECT_TRUE(fs::exists(su / "lavori" / "job" / "punti.dis"));
  EXPECT_TRUE(fs::exists(su / "progra" / "campi.txt"));
}

TEST(WholeRun, RigidFloorWritesTheTrianglesAndNoFields) {
  Radice r("rigido");
  r.pavimento(
      "-1\n"
      "4\n"
      "0,0\n"
      "100,0\n"
      "100,100\n"
      "0,100\n"
      "0\n0\n0\n0\n");
  Esito e = esegui(r.progra());
  EXPECT_EQ(e.stato, 0) << e.messaggi;
  EXPECT_EQ(leggi(r.lavoro() / "triang.txt"), " 2 \r\n 1  2  3 \r\n 3  4  1 \r\n");
  EXPECT_FALSE(fs::exists(r.progra() / "campi.txt"));
  EXPECT_TRUE(fs::exists(r.lavoro() / "punti.dis"));
}

TEST(WholeRun, MissingJobFilesAndSettingsStopWithTheirMessage) {
  {
    Radice r("nodirlav");
    fs::remove(r.dir / "impostazioni" / "dirlav");
    Esito e = esegui(r.progra());
    EXPECT_EQ(e.stato, 1);
    EXPECT_EQ(e.messaggi, "ERRORE !!: Non trovo il file " + r.dir.string() +
                              "/impostazioni/dirlav\n");
  }
  {
    Radice r("lavorovuoto");
    scrivi(r.dir / "impostazioni" / "lavoro", "   \r\nseconda\r\n");
    Esito e = esegui(r.progra());
    EXPECT_EQ(e.stato, 1);
    EXPECT_EQ(e.messaggi, "ERRORE !!: Non trovo il file " + r.dir.string() +
                              "/impostazioni/lavoro\n");
  }
  {
    Radice r("noini");
    fs::remove(r.dir / "impostazioni" / "tirnel.ini");
    r.pavimento(rettangolo);
    Esito e = esegui(r.progra());
    EXPECT_EQ(e.stato, 1);
    EXPECT_EQ(e.messaggi, "ERRORE !!: Non trovo il file " + r.dir.string() +
                              "/impostazioni/tirnel.ini\n");
    EXPECT_FALSE(fs::exists(r.lavoro() / "punti.dis"));
  }
  {
    Radice r("nofloor");
    Esito e = esegui(r.progra());
    EXPECT_EQ(e.stato, 1);
    EXPECT_EQ(e.messaggi, "ERRORE !!: Non trovo il file " + r.dir.string() +
                              "/progra/impalcato.txt\n");
  }
}

TEST(WholeRun, APerimeterErrorIsReportedAndTheRunStillWritesItsResults) {
  Radice r("perimetro");
  r.pavimento("100\n2\n0,0\n100,0\n0\n0\n0\n0\n");
  Esito e = esegui(r.progra());
  EXPECT_EQ(e.stato, 1);
  EXPECT_EQ(e.messaggi, "gencampi: ERRORE PERIMETRO\n");
  // Node placement is skipped, so punti.dis is not written; the field stage still is.
  EXPECT_FALSE(fs::exists(r.lavoro() / "punti.dis"));
  EXPECT_EQ(leggi(r.progra() / "campi.txt"), " 100 \r\n 0 \r\n");
  EXPECT_TRUE(fs::exists(r.lavoro() / "campi.dis"));
}

TEST(WholeRun, MissingSettingsKeysAreAppendedAsDefaultLines) {
  Radice r("default");
  scrivi(r.dir / "impostazioni" / "tirnel.ini", "ALTRO.chiave  3\r\n");
  r.pavimento(rettangolo);
  Esito e = esegui(r.progra());
  EXPECT_EQ(e.stato, 0) << e.messaggi;
  EXPECT_EQ(leggi(r.dir / "impostazioni" / "tirnel.ini"),
            "ALTRO.chiave  3\r\n"
            "MESH.distanza_min            50         |(criterio per generatore mesh)\r\n"
            "MESH.distanza_max             100       |(criterio per generatore mesh)\r\n"
            "MESH.coeff_lato              0.00       |(coeff. di suddivisione campi)\r\n"
            "MESH.allinea_lati             1.00      |(allineamento lati)\r\n");
}

TEST(WholeRun, HandOverRunsTheSiblingProgramWithTheLowerCasedArguments) {
  Radice r("gemello");
  r.pavimento(rettangolo);
  fs::path marker = r.dir / "argomenti.txt";
  scrivi(r.progra() / "TRAMAFORO.EXE",
         "#!/bin/sh\nprintf '%s\\n' \"$@\" > " + quota(marker.string()) + "\nexit 7\n");
  fs::permissions(r.progra() / "TRAMAFORO.EXE", fs::perms::owner_all);
  Esito e = esegui(r.progra(), {"|TIPO=2|", "Extra"});
  EXPECT_EQ(e.stato, 0) << e.messaggi;
  EXPECT_EQ(leggi(marker), "|tipo=2|\nextra\n");
  EXPECT_FALSE(fs::exists(r.lavoro() / "punti.dis"));

  fs::remove(r.progra() / "TRAMAFORO.EXE");
  e = esegui(r.progra(), {"|tipo=2|"});
  EXPECT_EQ(e.stato, 1);
  EXPECT_EQ(e.messaggi, "gencampi: Non riesco ad avviare " + r.dir.string() +
                            "/progra/tramaforo.exe\n");
}

TEST(WholeRun, AnUnwritableJobDirectoryIsReported) {
  Radice r("nojob");
  fs::remove_all(r.lavoro());
  r.pavimento(rettangolo);
  Esito e = esegui(r.progra());
  EXPECT_EQ(e.stato, 1);
  EXPECT_EQ(e.messaggi, "ERRORE !!: Impossibile aprire il file " + r.lavoro().string() +
                            "/punti.dis\n");
}

}  // namespace
}  // namespace gencampi::test
