#include "core/dirs.h"

#include <gtest/gtest.h>

namespace gencampi {
namespace {

TEST(Command, JoinedLowerCasedAndTrimmed) {
  EXPECT_EQ(costruisci_comando({"|diroot=C:\\Lavori\\Prog\\|tipo=1|"}),
            "|diroot=c:\\lavori\\prog\\|tipo=1|");
  EXPECT_EQ(costruisci_comando({"  A", "B\t", " "}), "a b\t");
  EXPECT_EQ(costruisci_comando({}), "");
}

// Windows hands over one line: the program's name ends at the first blank or tab outside
// quotes, and the blanks after it are not part of the arguments.
TEST(Command, ArgumentTextOfAWindowsCommandLine) {
  EXPECT_EQ(testo_argomenti("gencampi.exe  |diroot=c:\\a\\| x "), "|diroot=c:\\a\\| x ");
  EXPECT_EQ(testo_argomenti("\"c:\\gen campi\\g.exe\"\t \"A  b\""), "\"A  b\"");
  EXPECT_EQ(testo_argomenti("c:\\gen\" cam\"pi\\g.exe\tx"), "x");
  EXPECT_EQ(testo_argomenti("gencampi.exe"), "");
}

TEST(Root, FromTheCommandLineTakesFieldOne) {
  EXPECT_EQ(radice("|diroot=c:\\lavori\\prog\\|tipo=1|", "/x"), "c:\\lavori\\prog");
  EXPECT_EQ(radice("x|diroot=d:\\a", "/x"), "d:\\a");
  EXPECT_EQ(radice("a|b|diroot=d:\\a", "/x"), "b");
  EXPECT_EQ(radice("|diroot=/home/u/job/", "/x"), "/home/u/job");
  EXPECT_EQ(radice("|diroot=a=b", "/x"), "a=b");
}

TEST(Root, FromTheCurrentDirectoryDropsTheLastComponent) {
  EXPECT_EQ(radice("", "/a/b/progra"), "/a/b");
  EXPECT_EQ(radice("", "d:\\prog\\bin"), "d:\\prog");
  EXPECT_EQ(radice("", "c:\\"), "c:");
  EXPECT_EQ(radice("", "/progra"), "");
  EXPECT_EQ(radice("", "/srv/Microsoft Visual Studio/x/y"), "c:\\tirnel4_4");
  EXPECT_EQ(radice("", "/srv/visual studio/progra"), "/srv/visual studio");
}

}  // namespace
}  // namespace gencampi
