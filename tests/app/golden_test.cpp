// The bundled example job, run as a user runs it, against the files it produced when
// its fields were checked (slab area covered exactly, every field inside the slab).
#include <gtest/gtest.h>

#include "app/run_helpers.h"

namespace gencampi::test {
namespace {

TEST(GoldenRun, ExampleJobGivesTheCheckedFiles) {
  const fs::path esempio = fs::path(GENCAMPI_SOURCE_DIR) / "examples" / "palazzina";
  const fs::path attesi = fs::path(GENCAMPI_SOURCE_DIR) / "tests" / "app" / "golden" / "palazzina";
  const fs::path copia =
      fs::temp_directory_path() / ("gencampi_golden_" + std::to_string(::getpid()));
  fs::remove_all(copia);
  fs::create_directories(copia);
  for (const char* d : {"impostazioni", "progra"})
    fs::copy(esempio / d, copia / d, fs::copy_options::recursive);
  fs::create_directories(copia / "lavori" / "esempio");
  for (const char* f : {"campi.txt", "campi.tmp", "campi2.tmp"}) fs::remove(copia / "progra" / f);
  const std::string impostazioni = leggi(copia / "impostazioni" / "tirnel.ini");

  Esito e = esegui(copia / "progra");
  EXPECT_EQ(e.stato, 0) << e.messaggi;
  EXPECT_EQ(e.messaggi, "");
  EXPECT_EQ(leggi(copia / "impostazioni" / "tirnel.ini"), impostazioni);
  for (const char* f : {"campi.txt", "campi.tmp", "campi2.tmp"})
    EXPECT_EQ(leggi(copia / "progra" / f), leggi(attesi / f)) << f;
  for (const char* f : {"punti.dis", "campi.dis"})
    EXPECT_EQ(leggi(copia / "lavori" / "esempio" / f), leggi(attesi / f)) << f;
  fs::remove_all(copia);
}

}  // namespace
}  // namespace gencampi::test
