#include "core/textfile.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/resource.h>
#include <sys/stat.h>
#endif

#include <csignal>
#include <filesystem>
#include <iterator>
#include <random>
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
#ifdef _WIN32
  // A device name is valid in every directory, and no file.
  EXPECT_FALSE(leggi_tutto(c.p("nul")));
  EXPECT_FALSE(Reader::apri(c.p("NUL.txt")));
#else
  // A pipe would block the reader until someone writes to it.
  ASSERT_EQ(::mkfifo(c.p("tirnel.ini").c_str(), 0600), 0);
  EXPECT_FALSE(leggi_tutto(c.p("tirnel.ini")));
#endif
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

// A file read a block at a time gives the fields the whole text gives, wherever a
// field, a quote or a CR LF falls across a block's end.
TEST(TextFile, AFileReadInBlocksGivesTheSameFieldsAsItsWholeText) {
  ScratchDir c;
  std::mt19937 rng(3);
  const std::string pezzi[] = {
      ",", " ", "\t", "\r\n", "\n", "\r", "\"", "12.5", "-7", "x", std::string(70000, '9')};
  for (int prova = 0; prova < 4; ++prova) {
    std::string testo;
    while (testo.size() < 300000) testo += pezzi[rng() % std::size(pezzi)];
    ASSERT_TRUE(scrivi_tutto(c.p("impalcato.txt"), testo));
    std::optional<Reader> a = Reader::apri(c.p("impalcato.txt"));
    ASSERT_TRUE(a);
    Reader b(testo);
    for (int passo = 0; !b.finito(); ++passo) {
      const unsigned quale = rng() % 3;
      const auto va = quale == 0 ? a->testo() : quale == 1 ? a->numero() : a->riga();
      const auto vb = quale == 0 ? b.testo() : quale == 1 ? b.numero() : b.riga();
      ASSERT_EQ(va, vb) << "prova " << prova << " passo " << passo;
    }
    EXPECT_TRUE(a->finito());
  }
  EXPECT_FALSE(Reader::apri(c.p("manca.txt")));
}

// A write that the disk refuses half way leaves the file as it was: an append is cut
// back, and a file put in place whole is not put in place at all.
TEST(TextFile, AWriteThatFailsLeavesTheFileAsItWas) {
#ifdef _WIN32
  GTEST_SKIP() << "Windows has no file size limit of a process to stand for a full disk";
#else
  ScratchDir c;
  const std::string ini = "MESH.distanza_min 50\r\n";
  ASSERT_TRUE(scrivi_tutto(c.p("tirnel.ini"), ini));
  ASSERT_TRUE(scrivi_tutto(c.p("campi2.tmp"), "4\r\n"));
  // A file size limit stands for a full disk: a write past it fails.
  std::signal(SIGXFSZ, SIG_IGN);
  rlimit prima{};
  ::getrlimit(RLIMIT_FSIZE, &prima);
  rlimit stretto = prima;
  stretto.rlim_cur = 40;
  ::setrlimit(RLIMIT_FSIZE, &stretto);
  const bool aggiunto = appendi(c.p("campi2.tmp"), std::string(100, '1') + "\r\n");
  const bool intero = appendi_intero(c.p("tirnel.ini"), std::string(100, 'M') + "\r\n");
  ::setrlimit(RLIMIT_FSIZE, &prima);
  EXPECT_FALSE(aggiunto);
  EXPECT_FALSE(intero);
  EXPECT_EQ(c.leggi("campi2.tmp"), "4\r\n");
  EXPECT_EQ(c.leggi("tirnel.ini"), ini);
  EXPECT_EQ(c.voci(), 2);  // no temporary file left beside them
  EXPECT_TRUE(appendi_intero(c.p("tirnel.ini"), "MESH.coeff_lato 0\r\n"));
  EXPECT_EQ(c.leggi("tirnel.ini"), ini + "MESH.coeff_lato 0\r\n");
#endif
}

// What a killed run left under temporary names goes; other files stay.
TEST(TextFile, TemporariesOfAKilledRunAreRecognised) {
  ScratchDir c;
  for (const char* n : {"campi.txt.tmp~123", "punti.dis.tmp~9", "note.tmp~", "a.tmp~12x"})
    ASSERT_TRUE(appendi(c.p(n), "x"));
  elimina_temporanei(c.dir.string());
  EXPECT_FALSE(fs::exists(c.dir / "campi.txt.tmp~123"));
  EXPECT_FALSE(fs::exists(c.dir / "punti.dis.tmp~9"));
  EXPECT_EQ(c.voci(), 2);
}

}  // namespace
}  // namespace gencampi
