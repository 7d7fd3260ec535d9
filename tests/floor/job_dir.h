// A job laid out in a fresh temporary directory: impostazioni/, progra/ and a job
// directory, removed again when the test ends.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "core/job.h"

namespace gencampi::prova {

class CartellaLavoro {
 public:
  CartellaLavoro() {
    static int contatore = 0;
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string nome = std::string("gencampi_") + info->test_suite_name() + "_" + info->name() +
                       "_" + std::to_string(::getpid()) + "_" + std::to_string(++contatore);
    for (char& c : nome)
      if (c == '/') c = '_';
    radice_ = std::filesystem::temp_directory_path() / nome;
    std::filesystem::remove_all(radice_);
    std::filesystem::create_directories(radice_ / "impostazioni");
    std::filesystem::create_directories(radice_ / "progra");
    std::filesystem::create_directories(radice_ / "lavori" / "uno");
  }
  ~CartellaLavoro() {
    std::error_code ec;
    std::filesystem::remove_all(radice_, ec);
  }
  CartellaLavoro(const CartellaLavoro&) = delete;
  CartellaLavoro& operator=(const CartellaLavoro&) = delete;

  std::string radice() const { return radice_.string(); }

  // The directory strings of a job in this tree.
  void imposta(Job& job) const {
    job.dirs.dirroot = radice();
    job.dirs.dirprogra = radice() + "/progra";
    job.dirs.lavoro = "uno";
    job.dirs.dirlavoro = radice() + "/lavori/uno";
  }

  void scrivi(const std::string& rel, const std::string& testo) const {
    std::ofstream f(radice_ / rel, std::ios::binary);
    f << testo;
  }

  std::string leggi(const std::string& rel) const {
    std::ifstream f(radice_ / rel, std::ios::binary);
    std::ostringstream ss;
    ss << f.rdbuf();
    return ss.str();
  }

  bool esiste(const std::string& rel) const { return std::filesystem::exists(radice_ / rel); }

 private:
  std::filesystem::path radice_;
};

}  // namespace gencampi::prova
