// The settings file impostazioni/tirnel.ini: one key looked up per call, and the
// caller rule that appends a missing key's default line.
#pragma once

#include <string>

#include "core/job.h"

namespace gencampi {

std::string file_impostazioni(const Dirs& d);

// Looks `titolo` up. Risposta = 1 when a line with that key was found, and associato
// then holds its value. With `ferma` missing or 1 a missing or unreadable file ends the
// run with its message; with any other value the reader returns with Risposta = 0.
void leg_tirnel_ini(const Dirs& d, const std::string& titolo, int& Risposta, std::string& associato,
                    const int* ferma = nullptr);

// The four settings the mesh generator reads, in the order it reads them.
struct MeshKey {
  const char* chiave;
  const char* riga_default;
  const char* valore_default;
};
extern const MeshKey chiave_distanza_min;
extern const MeshKey chiave_distanza_max;
extern const MeshKey chiave_coeff_lato;
extern const MeshKey chiave_allinea_lati;

// Looks the key up; when missing, appends its default line and uses its default value.
// Returns the leading-number value; a value that is not finite is a read error of the
// settings file.
double leggi_impostazione(const Dirs& d, const MeshKey& k);

}  // namespace gencampi
