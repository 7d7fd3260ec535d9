#include "mesh/triangulation.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <string>

#include "core/angles.h"
#include "core/store.h"
#include "fields/candidate.h"
#include "fields/checks.h"
#include "mesh/fast_triangulation.h"
#include "mesh/nearest.h"

namespace gencampi {

namespace {

bool ha_vicini(const std::vector<int>& riga) {
  for (std::size_t j = 1; j < riga.size(); ++j)
    if (riga[j] > 0) return true;
  return false;
}

// Row k of the order table into a 1-based list, as the turn works on a copy: marks set
// during the turn must not change the neighbours it is still walking through.
void copia_riga(const OrderTable& ordine, int k, std::vector<int>& riga) {
  const std::int16_t* r = ordine.riga(k);
  riga.assign(static_cast<std::size_t>(ordine.dimensione()) + 1, 0);
  for (int j = 1; j <= ordine.dimensione(); ++j) riga[static_cast<std::size_t>(j)] = r[j - 1];
}

// Appends a tentative side and lets the mesh checks judge it; a refused side is already
// gone when this returns.
bool prova_lato(Job& job, int iniziale, int finale) {
  kreali(job.store, iniziale, finale, col_provvisorio);
  bool ok = false;
  controlla(job, ok);
  return ok;
}

void registra_triangolo(Job& job, int a, int b, int c) {
  Fields& f = job.fields;
  if (f.ncampi + 1 > f.campo.capacity()) throw fine_capacita();
  ++f.ncampi;
  f.campo[f.ncampi] = {0, a, b, c, c};
}

}  // namespace

OrderTable costruisci_ordine(Job& job, const Table<int>& punti, int Npunti) {
  // Entries are node numbers up to Npunti, held as 16-bit Integers.
  if (Npunti > std::numeric_limits<std::int16_t>::max()) throw fine_capacita();
  OrderTable ordine(Npunti);
  Table<int> vicini(Npunti);
  for (int i = 1; i <= Npunti; ++i) {
    const int k = punti[i];
    sorta(job.store, k, Npunti, vicini);
    std::int16_t* riga = ordine.riga(k);
    for (int j = 1; j <= Npunti; ++j) riga[j - 1] = static_cast<std::int16_t>(vicini[j]);
  }
  return ordine;
}

bool passata(Job& job, const Table<int>& punti, int Npunti, OrderTable& ordine,
             const Progress& avanzamento) {
  Store& s = job.store;
  const int campi_iniziali = job.fields.ncampi;
  // Tentative sides that passed the checks stay until the next commit, which drops
  // them all by going back to this count.
  int salvati = s.nlati;
  std::vector<int> vicini, vicini2;

  for (int i = 1; i <= Npunti; ++i) {
    avanza(avanzamento, s.nlati);

    const int k = punti[i];
    copia_riga(ordine, k, vicini);
    if (!ha_vicini(vicini)) continue;

    int a = 0, b = 0, c = 0;
    bool costruito = false;
    for (int jj = 1; jj <= Npunti - 1; ++jj) {
      // A 0 is a node beyond the search limit, not a neighbour.
      const int n = vicini[static_cast<std::size_t>(jj)];
      if (n <= 0) continue;
      if (!prova_lato(job, k, n)) continue;
      copia_riga(ordine, n, vicini2);
      if (!ha_vicini(vicini2)) continue;

      double migliore = 0;
      int contati = 0;
      for (int j = 1; j <= Npunti - 1; ++j) {
        const int v = vicini2[static_cast<std::size_t>(j)];
        if (v == k || v <= 0) continue;
        if (!prova_lato(job, n, v)) continue;
        if (!prova_lato(job, v, k)) continue;
        bool ok = false;
        percorso(job, k, n, v, punti, Npunti, ok);
        if (!ok) {
          s.nlati -= 2;
          continue;
        }
        // Only a strictly better shape replaces the best: on equal measures the third
        // node nearest to the neighbour wins.
        const double misura = areasuperim(s, k, n, v);
        if (misura > migliore) {
          migliore = misura;
          ++contati;
          a = k;
          b = n;
          c = v;
        }
      }
      if (contati == 0) ordine.esaurisci(k, jj);

      if (a > 0) {
        costruito = true;
        registra_triangolo(job, a, b, c);
        s.nlati = salvati;
        kreali(s, a, b, col_buchi);
        kreali(s, b, c, col_buchi);
        kreali(s, c, a, col_buchi);
        salvati = s.nlati;
        break;
      }
    }
    if (!costruito) {
      std::int16_t* riga = ordine.riga(k);
      for (int j = 1; j <= Npunti; ++j) riga[j - 1] = -1;
    }
  }
  return job.fields.ncampi != campi_iniziali;
}

int triangola_riferimento(Job& job, const Table<int>& punti, int Npunti,
                          const Progress& avanzamento) {
  const int primo = job.fields.ncampi + 1;
  OrderTable ordine = costruisci_ordine(job, punti, Npunti);
  while (passata(job, punti, Npunti, ordine, avanzamento)) {
  }
  return primo;
}

int ultimo_lato_dei_muri(const Floor& fl) {
  int ultimo = 0;
  for (int w = 1; w <= fl.nmuri; ++w) ultimo = std::max(ultimo, fl.lato_muro[w] + fl.nvmuro[w] - 1);
  return ultimo;
}

int triangola(Job& job, const Table<int>& punti, int Npunti, const Progress& avanzamento) {
  if (job.engine == Engine::reference)
    return triangola_riferimento(job, punti, Npunti, avanzamento);
  // A wall's sides are looked up as the run of slots after lato_muro. A repeated wall
  // vertex adds no side, so that run can reach past the sides the table holds, into
  // slots that keep whatever the passes last wrote there: the tentative sides the checks
  // refused included, which the fast passes never write. The field stage reads the slot
  // just past the table only after pairing has written it, so only a run that reaches two
  // slots past the table's end after the passes can see the difference. Such a floor is
  // triangulated again by the straightforward passes, from the same start, so that every
  // slot a wall's run covers holds what the straightforward passes leave there.
  const int fine_muri = ultimo_lato_dei_muri(job.floor);
  if (job.floor.passo < 0 || fine_muri <= job.store.nlati + 1)
    return triangola_veloce(job, punti, Npunti, avanzamento);
  const Store lati_iniziali = job.store;
  const Fields campi_iniziali = job.fields;
  const int primo = triangola_veloce(job, punti, Npunti, avanzamento);
  if (fine_muri <= job.store.nlati + 1) return primo;
  job.store = lati_iniziali;
  job.fields = campi_iniziali;
  return triangola_riferimento(job, punti, Npunti, avanzamento);
}

}  // namespace gencampi
