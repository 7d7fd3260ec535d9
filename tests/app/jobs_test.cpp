// The stored jobs of tests/jobs: each folder is a job root's inputs with every file a
// run wrote or changed, its messages and its exit status, all checked by a person (the
// format is in tests/jobs/README.md). With GENCAMPI_RIGENERA=1 the test writes what the
// program produces now into the folders instead, to be looked over before it is kept.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <map>
#include <set>
#include <sstream>

#include "app/esegui.h"

namespace gencampi::test {
namespace {

const fs::path cartella_casi = fs::path(GENCAMPI_SOURCE_DIR) / "tests" / "jobs";

// What a run writes. Such files are never copied in as inputs, so that an example job
// run by hand beforehand still starts clean.
const std::set<std::string> risultati = {"punti.dis", "campi.dis", "triang.txt",
                                         "campi.txt", "campi.tmp", "campi2.tmp"};

std::vector<std::string> casi() {
  std::vector<std::string> v;
  for (const auto& e : fs::directory_iterator(cartella_casi))
    if (e.is_directory()) v.push_back(e.path().filename().string());
  std::sort(v.begin(), v.end());
  return v;
}

std::string sostituisci(std::string s, const std::string& da, const std::string& a) {
  for (std::size_t p = s.find(da); !da.empty() && p != std::string::npos; p = s.find(da, p))
    s.replace(p, da.size(), a), p += a.size();
  return s;
}

// The lines of a control file, whatever its line ends.
std::vector<std::string> righe(const fs::path& p) {
  std::vector<std::string> v;
  std::istringstream testo(leggi(p));
  for (std::string r; std::getline(testo, r);) {
    if (!r.empty() && r.back() == '\r') r.pop_back();
    if (!r.empty()) v.push_back(r);
  }
  return v;
}

// Every regular file under `dir`, by its path relative to `dir`.
std::map<std::string, std::string> file_sotto(const fs::path& dir) {
  std::map<std::string, std::string> m;
  if (fs::exists(dir))
    for (const auto& e : fs::recursive_directory_iterator(dir))
      if (e.is_regular_file()) m[fs::relative(e.path(), dir).generic_string()] = leggi(e.path());
  return m;
}

class Lavori : public testing::TestWithParam<std::string> {};

TEST_P(Lavori, RunGivesTheCheckedFiles) {
  const fs::path caso = cartella_casi / GetParam();
  JobTree t(GetParam());
  // The case's own settings file, or none.
  fs::remove(t.ini());
  fs::path ingressi = caso / "radice";
  if (fs::exists(caso / "esempio"))
    ingressi = fs::path(GENCAMPI_SOURCE_DIR) / "examples" / righe(caso / "esempio").at(0);
  for (const auto& [nome, testo] : file_sotto(ingressi)) {
    const fs::path p = t.radice / nome;
    if (risultati.count(p.filename().string()) != 0) continue;
    scrivi(p, testo);
    // A sibling program stands in progra as a script; on Windows as the small program
    // the tests build, which writes what the script writes.
#ifdef _WIN32
    if (p.extension() == ".exe")
      fs::copy_file(GENCAMPI_TRAMAFORO, p, fs::copy_options::overwrite_existing);
#else
    if (p.extension() == ".exe") fs::permissions(p, fs::perms::owner_exec, fs::perm_options::add);
#endif
  }

  std::vector<std::string> argomenti;
  if (fs::exists(caso / "comando"))
    for (const std::string& a : righe(caso / "comando"))
      argomenti.push_back(sostituisci(a, "{radice}", t.radice.string()));
  fs::path cartella = t.progra();
  if (fs::exists(caso / "cartella")) cartella = t.radice / righe(caso / "cartella").at(0);

  const auto prima = t.istantanea();
  const Esito e = esegui(cartella, argomenti);
  const auto dopo = t.istantanea();
  std::string radice_minuscola = t.radice.string();
  for (char& c : radice_minuscola) c = static_cast<char>(std::tolower(c));
  std::string messaggi = sostituisci(sostituisci(e.messaggi, t.radice.string(), "{radice}"),
                                     radice_minuscola, "{radice}");
  // The stored messages name files as Linux writes them.
  if (sistema::separatore != '/') std::replace(messaggi.begin(), messaggi.end(), '\\', '/');

  if (const char* r = std::getenv("GENCAMPI_RIGENERA"); r != nullptr && std::string(r) == "1") {
    fs::remove_all(caso / "attesi");
    for (const auto& [nome, testo] : dopo) {
      auto p = prima.find(nome);
      if (testo != "<dir>" && (p == prima.end() || p->second != testo))
        scrivi(caso / "attesi" / nome, testo);
    }
    scrivi(caso / "stato", std::to_string(e.stato) + "\n");
    scrivi(caso / "stderr", messaggi);
    GTEST_SKIP() << "written anew: " << caso;
  }

  EXPECT_EQ(std::to_string(e.stato), righe(caso / "stato").at(0));
  EXPECT_EQ(messaggi, leggi(caso / "stderr"));
  // The root after the run is the root before it with the expected files written over
  // it: nothing else is created, changed or removed.
  auto atteso = prima;
  for (const auto& [nome, testo] : file_sotto(caso / "attesi")) atteso[nome] = testo;
  for (const auto& [nome, testo] : atteso) {
    auto d = dopo.find(nome);
    if (d == dopo.end()) {
      ADD_FAILURE() << nome << " is missing after the run";
    } else if (d->second != testo) {
      // Where the files part says more than a megabyte of both.
      const auto da = std::mismatch(testo.begin(), testo.end(), d->second.begin()).first;
      ADD_FAILURE() << nome << " differs from line " << 1 + std::count(testo.begin(), da, '\n');
    }
  }
  for (const auto& [nome, testo] : dopo)
    if (atteso.count(nome) == 0) ADD_FAILURE() << nome << " was not expected";
}

INSTANTIATE_TEST_SUITE_P(Casi, Lavori, testing::ValuesIn(casi()),
                         [](const testing::TestParamInfo<std::string>& i) {
                           std::string n = i.param;
                           for (char& c : n)
                             if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                           return n;
                         });

}  // namespace
}  // namespace gencampi::test
