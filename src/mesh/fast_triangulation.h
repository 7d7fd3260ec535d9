// The triangulation passes with spatial indexes, rankings produced on demand and
// visibility through the committed triangles. It leaves the fields, the side table
// (tentative sides included), the order table's marks and every count exactly as the
// straightforward passes do, and ends with the capacity message at the same append.
#pragma once

#include <cstdint>
#include <vector>

#include "core/job.h"
#include "fields/spatial_index.h"
#include "mesh/ranking.h"

namespace gencampi {

class TriangolazioneVeloce {
 public:
  // Checks the node list as the order table does (every entry must name a row) and
  // indexes the current sides and fields.
  TriangolazioneVeloce(Job& job, const Table<int>& punti, int Npunti);

  // One pass over the node list. True when it built any triangle.
  bool passata();

  // The order table as the straightforward passes hold it: column j of row k is a node
  // number, 0 or -1.
  int voce(int k, int j);
  // Row k of that view, columns 1..Npunti.
  std::vector<int> riga(int k);

 private:
  struct Esito {
    int contati = 0;
    int a = 0, b = 0, c = 0;
  };

  bool ha_vicini(int p);
  bool segnato(int p, int n) const;
  void segna(int p, int n);
  bool pieno() const;
  void tenta() const;
  void tentativo(int iniziale, int finale);
  Cammino cammino(int p);
  bool vista(int p, double& limite, std::vector<Voce>& oltre);
  Esito candidati(int k, int n);
  void registra(int a, int b, int c);

  Job& job_;
  Store& s_;
  const Table<int>& punti_;
  int Npunti_;
  IndiceSpaziale indice_;
  Graduatoria grad_;
  std::vector<std::vector<int>> segnati_;  // per row: the neighbours whose position is exhausted
  std::vector<char> morto_;                // the whole row is exhausted
  int salvati_ = 0;
  std::vector<int> celle_;
};

// The order table and the passes until one builds nothing, on the fast engine. Returns
// the number of the first field built.
int triangola_veloce(Job& job, const Table<int>& punti, int Npunti);

}  // namespace gencampi
