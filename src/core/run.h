// Start-up and the fixed run sequence.
#pragma once

#include <string>
#include <vector>

#include "core/job.h"

namespace gencampi {

// comando: the arguments joined with single blanks, ASCII-lower-cased, then trimmed.
std::string costruisci_comando(const std::vector<std::string>& args);

// dirroot from comando ("|diroot=") or from the current directory.
std::string radice(const std::string& comando, const std::string& cwd);

// Builds comando, dirroot, dirprogra, lavoro and dirlavoro.
void trova_cartelle(Job& job, const std::vector<std::string>& args, const std::string& cwd);

// Form_Load: the whole job, from the directories to the last file.
void form_load(Job& job, const std::vector<std::string>& args, const std::string& cwd);

// Hands the job to the sibling program dirprogra/tramaforo.exe and ends the run.
[[noreturn]] void passa_al_programma_gemello(Job& job);

// Exit status of a run that ended normally (no exception).
int stato_finale(const Job& job);

// Shows the ending's message, if any, and gives the exit status.
int termina(Job& job, const FineElaborazione& f);

}  // namespace gencampi
