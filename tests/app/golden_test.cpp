// The bundled example jobs, run as a user runs them, against the files they produced when
// their fields were checked (the slab area less its openings covered exactly).
#include <gtest/gtest.h>

#include "app/run_helpers.h"

namespace gencampi::test {
namespace {

// Runs examples/<nome> in a scratch copy and compares every file the run writes.
void confronta(const std::string& nome, const std::string& lavoro) {
  const fs::path esempio = fs::path(GENCAMPI_SOURCE_DIR) / "examples" / nome;
  const fs::path attesi = fs::path(GENCAMPI_SOURCE_DIR) / "tests" / "app" / "golden" / nome;
  const fs::path copia =
      fs::temp_directory_path() / ("gencampi_golden_" + nome + std::to_string(::getpid()));
  fs::remove_all(copia);
  fs::create_directories(copia);
  for (const char* d : {"impostazioni", "progra"})
    fs::copy(esempio / d, copia / d, fs::copy_options::recursive);
  fs::create_directories(copia / "lavori" / lavoro);
  for (const char* f : {"campi.txt", "campi.tmp", "campi2.tmp"}) fs::remove(copia / "progra" / f);
  const std::string impostazioni = leggi(copia / "impostazioni" / "tirnel.ini");

  Esito e = esegui(copia / "progra");
  EXPECT_EQ(e.stato, 0) << e.messaggi;
  EXPECT_EQ(e.messaggi, "");
  EXPECT_EQ(leggi(copia / "impostazioni" / "tirnel.ini"), impostazioni);
  for (const char* f : {"campi.txt", "campi.tmp", "campi2.tmp"})
    EXPECT_EQ(leggi(copia / "progra" / f), leggi(attesi / f)) << f;
  for (const char* f : {"punti.dis", "campi.dis"})
    EXPECT_EQ(leggi(copia / "lavori" / lavoro / f), leggi(attesi / f)) << f;
  fs::remove_all(copia);
}

// A rectangular office floor: every field a rectangle.
TEST(GoldenRun, OfficeFloorGivesTheCheckedFiles) { confronta("palazzina", "esempio"); }

// Slanted edges, a hexagonal opening, a slanted wall and a closed polyline: squared
// quadrilaterals and leftover triangles.
TEST(GoldenRun, SlantedFloorGivesTheCheckedFiles) { confronta("villetta", "piano1"); }

}  // namespace
}  // namespace gencampi::test
