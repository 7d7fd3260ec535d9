#include "mesh/field_files.h"

#include <gtest/gtest.h>

#include <string>

#include "core/errors.h"

namespace gencampi {
namespace {

// Runs `leggi` and gives the text of the ending it throws ("" when it throws none).
template <class F>
std::string fine(F leggi) {
  try {
    leggi();
  } catch (const RunEnd& f) {
    return f.titolo + ": " + f.testo;
  }
  return "";
}

TEST(FieldFiles, RecordsReadBackAndEveryDamagedOneIsAReadError) {
  RecordReader buono("3\r\n 1.5  2 \r\n-3  .25 \n 4  5", "campi.tmp");
  double x = 0, y = 0;
  EXPECT_EQ(buono.vertici(), 3);
  buono.punto(x, y);
  EXPECT_EQ(x, 1.5);
  EXPECT_EQ(y, 2);
  buono.punto(x, y);
  EXPECT_EQ(x, -3);
  EXPECT_EQ(y, .25);
  buono.punto(x, y);
  EXPECT_EQ(y, 5);

  const std::string errore = "ERRORE !!: Errore in lettura del file /p/campi.tmp";
  for (const char* testo : {"4\r\n 1  2 \r\n 3 ",              // cut inside a record
                            "4\r\n 1  2 \r\n 3  x \r\n",       // a word for a coordinate
                            "4\r\n 1  2 \r\n 3  1E+999 \r\n",  // overflows to infinity
                            "4\r\n 1  2 \r\n 3,,4 \r\n"}) {    // an empty field
    RecordReader r(testo, "/p/campi.tmp");
    EXPECT_EQ(fine([&] {
                r.vertici();
                for (int k = 0; k < 4; ++k) r.punto(x, y);
              }),
              errore)
        << testo;
  }
  // A corner count beyond a 16-bit Integer cannot be a record.
  RecordReader conta("99999\r\n", "/p/campi.tmp");
  EXPECT_EQ(fine([&] { conta.vertici(); }), errore);
}

}  // namespace
}  // namespace gencampi
