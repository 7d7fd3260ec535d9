// Tables of cases kept as data beside the tests that read them.
#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace gencampi::test {

// The lines of tests/<nome> that hold a case: blank lines and lines starting with '#'
// are notes.
inline std::vector<std::string> righe_casi(const std::string& nome) {
  std::ifstream f(std::string(GENCAMPI_SOURCE_DIR) + "/tests/" + nome, std::ios::binary);
  std::vector<std::string> v;
  for (std::string riga; std::getline(f, riga);) {
    if (!riga.empty() && riga.back() == '\r') riga.pop_back();
    if (riga.find_first_not_of(' ') != std::string::npos && riga[0] != '#') v.push_back(riga);
  }
  EXPECT_FALSE(v.empty()) << "no cases in tests/" << nome;
  return v;
}

// Cases of text split by bars, where \r, \n, \t, \| and \\ stand for CR, LF, a tab, a bar
// and a backslash.
inline std::vector<std::vector<std::string>> casi(const std::string& nome) {
  std::vector<std::vector<std::string>> v;
  for (const std::string& riga : righe_casi(nome)) {
    v.emplace_back(1);
    for (std::size_t i = 0; i < riga.size(); ++i) {
      const std::size_t e =
          riga[i] == '\\' ? std::string("rnt|\\").find(riga[i + 1]) : std::string::npos;
      if (riga[i] == '|')
        v.back().emplace_back();
      else if (e != std::string::npos)
        v.back().back() += "\r\n\t|\\"[e], ++i;
      else
        v.back().back() += riga[i];
    }
  }
  return v;
}

// Cases of numbers split by blanks.
inline std::vector<std::vector<double>> tabella(const std::string& nome) {
  std::vector<std::vector<double>> v;
  for (const std::string& riga : righe_casi(nome)) {
    std::istringstream numeri(riga);
    v.emplace_back();
    for (double x; numeri >> x;) v.back().push_back(x);
  }
  return v;
}

}  // namespace gencampi::test
