#include "core/numbers.h"

#include <gtest/gtest.h>

#include "support/cases.h"

namespace gencampi {
namespace {

TEST(Numbers, PrintFormLeadingNumberLiteralAndCount) {
  for (const auto& c : test::casi("core/data/numbers.txt")) {
    const std::string &f = c.at(0), &a = c.at(1), &atteso = c.at(2);
    std::optional<double> v;
    if (f == "formato" || f == "formato_intero") {
      EXPECT_EQ(f == "formato" ? formato(std::stod(a)) : formato(std::stoi(a)), atteso) << a;
      continue;
    }
    if (f == "valore_iniziale") v = valore_iniziale(a);
    if (f == "letterale") v = letterale(a);
    if (f == "conteggio") v = conteggio(std::stod(a));
    EXPECT_EQ(v, atteso == "no" ? std::nullopt : std::optional(std::stod(atteso))) << f << " " << a;
  }
}

}  // namespace
}  // namespace gencampi
