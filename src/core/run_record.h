// The run record: a small file beside the outputs (progra/gencampi.run) that says when
// the last run started and ended, how it ended, and the state in which it left each
// output file. It is written whole when a run starts and again when it ends, so a run
// that was killed is recognised by a record without an end; and a viewer can tell
// outputs of different runs apart by their fingerprints.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/dirs.h"

namespace gencampi {

struct RunRecord {
  // One output file: where it lives ("progra/campi.txt", "lavoro/punti.dis",
  // "impostazioni/tirnel.ini") and its state when the record was written.
  struct Output {
    std::string nome;
    bool presente = false;
    bool scritto = false;  // changed by this run
    long long byte = 0;
    std::uint64_t impronta = 0;
  };

  std::string inizio;  // UTC, as 2026-12-06T10:15:00Z
  std::string fine;    // empty while the run has not ended
  long processo = 0;
  std::string comando;
  std::string dirlavoro;
  int stato = -1;                     // the exit status, once the run has ended
  std::vector<std::string> messaggi;  // the message boxes the run showed
  std::vector<Output> file;
};

// The record's file in the program directory.
std::string file_registro(const Dirs& d);

// The outputs of a run, as named in a record, with their paths.
std::vector<std::pair<std::string, std::string>> uscite(const Dirs& d);

// The state of every output file now.
std::vector<RunRecord::Output> stato_uscite(const Dirs& d);

// A fingerprint of a file's bytes (64-bit FNV-1a).
std::uint64_t impronta(const std::string& byte);

// The current time in UTC.
std::string adesso_utc();

std::string testo_registro(const RunRecord& r);
std::optional<RunRecord> leggi_registro(const std::string& path);

}  // namespace gencampi
