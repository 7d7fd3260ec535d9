// A job laid out in a fresh temporary directory (impostazioni/, progra/, lavori/uno/),
// removed again when the test ends.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "core/job.h"

namespace gencampi::prova {

struct CartellaLavoro {
  std::filesystem::path radice;
  Job job;

  explicit CartellaLavoro(const Capacities& cap = {}) : job(cap) {
    static int n = 0;
    radice = std::filesystem::temp_directory_path() /
             ("gencampi_floor_" + std::to_string(::getpid()) + "_" + std::to_string(++n));
    std::filesystem::remove_all(radice);
    std::filesystem::create_directories(radice / "impostazioni");
    std::filesystem::create_directories(radice / "progra");
    std::filesystem::create_directories(radice / "lavori" / "uno");
    job.dirs.dirroot = radice.string();
    job.dirs.dirprogra = radice.string() + "/progra";
    job.dirs.dirlavoro = radice.string() + "/lavori/uno";
  }
  ~CartellaLavoro() {
    std::error_code ec;
    std::filesystem::remove_all(radice, ec);
  }
  CartellaLavoro(const CartellaLavoro&) = delete;
  CartellaLavoro& operator=(const CartellaLavoro&) = delete;

  std::string path(const std::string& rel) const { return (radice / rel).string(); }
  void scrivi(const std::string& rel, const std::string& testo) const {
    std::ofstream(radice / rel, std::ios::binary) << testo;
  }
  std::string leggi(const std::string& rel) const {
    std::ostringstream ss;
    ss << std::ifstream(radice / rel, std::ios::binary).rdbuf();
    return ss.str();
  }
  bool esiste(const std::string& rel) const { return std::filesystem::exists(radice / rel); }
};

}  // namespace gencampi::prova
