#include "core/textfile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "support/job_tree.h"

namespace gencampi {
namespace {

namespace fs = std::filesystem;

// An empty directory of its own for each test.
struct ScratchDir : test::JobTree {
  fs::path dir = progra();
  std::string p(const std::string& rel) const { return (dir / rel).string(); }
  std::string leggi(const std::string& rel) const { return test::leggi(dir / rel); }
  int voci() const {
    int n = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir)) ++n;
    return n;
  }
};

TEST(TextFile, AFileWrittenInOneGoIsReplacedWholeAndLeavesNothingBeside) {
  ScratchDir c;
  ASSERT_TRUE(scrivi_tutto(c.p("punti.dis"), "vecchio contenuto, piu' lungo\r\n"));
  ASSERT_TRUE(scrivi_tutto(c.p("PUNTI.DIS"), "3\r\n"));  // the same file, ignoring case
  EXPECT_EQ(c.leggi("punti.dis"), "3\r\n");
  EXPECT_EQ(c.voci(), 1);
  // Into a directory that does not exist nothing can be written, and nothing is left.
  EXPECT_FALSE(scrivi_tutto(c.p("manca/punti.dis"), "3\r\n"));
  EXPECT_FALSE(appendi(c.p("manca/campi2.tmp"), "4\r\n"));
  EXPECT_EQ(c.voci(), 1);
}

// A job file damaged by a NUL byte gives a directory string that the system would cut
// short: a write for <dir>/job/punti.dis must not land on the file <dir>.
TEST(TextFile, APathWithANulByteNamesNoFile) {
  ScratchDir c;
  ASSERT_TRUE(scrivi_tutto(c.p("lavori"), "da non toccare"));
  const std::string rotto = c.p("lavori") + std::string(1, '\0') + "/job/punti.dis";
  EXPECT_FALSE(scrivi_tutto(rotto, "3\r\n"));
  EXPECT_FALSE(appendi(rotto, "3\r\n"));
  elimina(rotto);
  EXPECT_FALSE(esiste(rotto));
  EXPECT_FALSE(leggi_tutto(rotto));
  EXPECT_EQ(c.leggi("lavori"), "da non toccare");
  EXPECT_EQ(c.voci(), 1);
}

TEST(TextFile, OnlyAPlainFileIsRead) {
  ScratchDir c;
  fs::create_directories(c.dir / "impalcato.txt");
  EXPECT_FALSE(leggi_tutto(c.p("impalcato.txt")));
  // A pipe would block the reader until someone writes to it.
  ASSERT_EQ(::mkfifo(c.p("tirnel.ini").c_str(), 0600), 0);
  EXPECT_FALSE(leggi_tutto(c.p("tirnel.ini")));
  ASSERT_TRUE(scrivi_tutto(c.p("vuoto"), ""));
  EXPECT_EQ(leggi_tutto(c.p("vuoto")), std::string());
  // Bytes of every value come back as they are.
  std::string binario;
  for (int i = 0; i < 256; ++i) binario.push_back(static_cast<char>(i));
  ASSERT_TRUE(scrivi_tutto(c.p("binario"), binario));
  EXPECT_EQ(leggi_tutto(c.p("binario")), binario);
}

TEST(TextFile, FieldReaderOnLongLinesAndBinaryText) {
  // One line of a million digits is one number field and one text field.
  const std::string lunga(1000000, '7');
  Reader r(lunga + "\r\n" + lunga + ",x");
  EXPECT_EQ(r.numero()->size(), lunga.size());
  EXPECT_EQ(r.testo()->size(), lunga.size());
  EXPECT_EQ(r.testo(), "x");
  EXPECT_FALSE(r.testo());
  // NUL bytes and a bare CR are data; a quote left open runs to the end of its line.
  Reader b(std::string("a\0b\rc,\"d,e\r\nf", 13));
  EXPECT_EQ(b.testo(), std::string("a\0b\rc", 5));
  EXPECT_EQ(b.testo(), "d,e");
  EXPECT_EQ(b.riga(), "f");
  EXPECT_TRUE(b.finito());
}

}  // namespace
}  // namespace gencampi
