#include "mesh/field_stage.h"

#include <optional>
#include <string>
#include <utility>

#include "core/angles.h"
#include "core/errors.h"
#include "core/store.h"
#include "core/textfile.h"
#include "fields/fast_pairing.h"
#include "fields/pairing.h"
#include "mesh/fast_pair_choice.h"
#include "mesh/field_files.h"
#include "mesh/nearest.h"
#include "mesh/pair_choice.h"

namespace gencampi {

namespace {

constexpr int cicli_massimi = 4;
// A corner up to a right angle is squared by a cut on its own long side, a wider one by
// a cut on the opposite side.
constexpr double angolo_retto = 90;
// A final triangle with an angle above this is split on its longest side.
constexpr double angolo_ottuso = 120;
// Sides no longer than passo over this are slivers, dropped from the result.
constexpr double frazione_lmin = 1000;

std::string campi_tmp(const Job& job) {
  return file_in(job.dirs.dirprogra, "campi.tmp");
}
std::string campi2_tmp(const Job& job) {
  return file_in(job.dirs.dirprogra, "campi2.tmp");
}
std::string campi_txt(const Job& job) {
  return file_in(job.dirs.dirprogra, "campi.txt");
}

// Replaces `path` by what `corpo` writes into `w`. An ending of the run thrown half way
// still leaves the records written so far, as a file written line by line would; a
// reader never meets half a line, and until the file is put in place it holds what it
// held before. A file that cannot be written ends the run before any work is done.
template <class Corpo>
void scrivi_file(const std::string& path, Writer& w, Corpo corpo) {
  if (!scrivibile(path)) throw fine_apertura(path);
  try {
    corpo();
  } catch (const RunEnd&) {
    scrivi_tutto(path, w.testo());
    throw;
  }
  if (!scrivi_tutto(path, w.testo())) throw fine_apertura(path);
}

// A corner back to its node: through the index of node positions on the fast way.
int nodo(Job& job, FieldStageState& st, double x, double y) {
  return st.indice != nullptr ? st.indice->aggiungi_nodo(job.store, x, y)
                              : aggiungi_nodo(job.store, x, y);
}

void aggiungi_campo(Fields& f, int a, int b, int c) {
  if (f.ncampi >= f.campo.capacity()) throw fine_capacita();
  ++f.ncampi;
  auto& r = f.campo[f.ncampi];
  r[1] = a;
  r[2] = b;
  r[3] = c;
  r[4] = c;
}

// Leftover triangle of the final pass: an angle above 120 degrees at c is split at the
// division point of the longest side nearest to c, and every triangle with a side of
// lmin or less is dropped.
void triangolo_finale(Job& job, int i, double lmin, Writer& w, FieldStageState& st) {
  Store& s = job.store;
  int a = job.fields.campo[i][1], b = job.fields.campo[i][2], c = job.fields.campo[i][3];
  sorta_3lati(s, a, b, c);
  int m = a;
  if (ang(s, a, c, b) > angolo_ottuso) {
    double x12 = 0, y12 = 0;
    bool estremo = false;
    piuvicino(job, a, b, c, x12, y12, estremo);
    if (!estremo) m = nodo(job, st, x12, y12);
    if (distanza(s, a, m) > lmin && distanza(s, a, c) > lmin && distanza(s, c, m) > lmin) {
      ++st.ntriangoli;
      scrivi_triangolo(w, s, a, m, c);
    }
  }
  if (distanza(s, b, m) > lmin && distanza(s, b, c) > lmin && distanza(s, c, m) > lmin) {
    ++st.ntriangoli;
    scrivi_triangolo(w, s, m, b, c);
  }
}

// Squares one quadrilateral: at corners a and b a nearly right-angled triangle is cut
// off wherever the corner is not square, and the inner quadrilateral is squared again
// until no cut is made or a cut would leave it without a side.
void squadra_quadrilatero(Job& job, int a, int b, int c, int d, FieldStageState& st) {
  Store& s = job.store;
  Fields& f = job.fields;
  const std::string path = campi2_tmp(job);
  for (;;) {
    sorta_lati2(s, a, b, c, d);
    bool taglio = false;
    double x12 = 0, y12 = 0;
    bool estremo = false;
    int m = a, b1 = b, c1 = c, d1 = d;

    if (ang(s, d, a, b) <= angolo_retto) {
      piuvicino(job, a, b, d, x12, y12, estremo);
      if (!estremo) {
        taglio = true;
        m = nodo(job, st, x12, y12);
        aggiungi_campo(f, a, m, d);
      }
    } else {
      piuvicino(job, d, c, a, x12, y12, estremo);
      if (!estremo) {
        taglio = true;
        d1 = nodo(job, st, x12, y12);
        aggiungi_campo(f, a, d1, d);
      }
    }

    if (ang(s, a, b, c) <= angolo_retto) {
      piuvicino(job, b, a, c, x12, y12, estremo);
      if (!estremo) {
        taglio = true;
        b1 = nodo(job, st, x12, y12);
        aggiungi_campo(f, b, b1, c);
      }
    } else {
      piuvicino(job, c, d, b, x12, y12, estremo);
      if (!estremo) {
        taglio = true;
        c1 = nodo(job, st, x12, y12);
        aggiungi_campo(f, b, c1, c);
      }
    }

    // Two cuts meeting in one node would leave a triangle, not a quadrilateral: the
    // quadrilateral is kept as it stood, and the triangles cut off stay fields.
    if (!taglio || m == b1 || c1 == d1) {
      Writer w;
      if (!taglio)
        scrivi_quadrilatero(w, s, m, b1, c1, d1);
      else
        scrivi_quadrilatero(w, s, a, b, c, d);
      ++st.nquadri;
      // One record at a time, so that campi2.tmp only ever holds whole records.
      if (!appendi(path, w.testo())) throw fine_apertura(path);
      return;
    }
    a = m, b = b1, c = c1, d = d1;
  }
}

}  // namespace

void accoppia(Job& job, FieldStageState& st) {
  Fields& f = job.fields;
  Store& s = job.store;
  st.nquadri = 0;
  st.ntriangoli = 0;
  st.ultimo = f.ncampi;
  for (int i = st.primo; i <= st.ultimo; ++i) f.coppie[i][1] = f.coppie[i][2] = f.coppie[i][3] = 0;
  if (job.engine == Engine::fast)
    cercacoppie_veloce(job, st.primo, st.ultimo);
  else
    for (int i = st.primo; i <= st.ultimo; ++i) cercacoppie(job, i);

  Writer w;
  scrivi_file(campi_tmp(job), w, [&] {
    PairChoices scelte(job, st.primo, st.ultimo);
    while (scelte.elencate() > 0) {
      int gA = 0, gB = 0, pv1 = 0, pv2 = 0, pv3 = 0, pv4 = 0;
      scelte.scegli(gA, gB, pv1, pv2, pv3, pv4);
      // angoli finds a pair whenever one is listed; stop rather than spin if not.
      if (gA == 0 || gB == 0) break;
      if (pv1 > 0) {
        ++st.nquadri;
        scrivi_quadrilatero(w, s, pv1, pv2, pv3, pv4);
      }
      // Also for a refused pair: both fields lose it as a partner, so every round
      // takes a pair not seen before and the loop ends.
      scelte.togli(gA, gB, pv1 > 0);
    }

    const double lmin = job.floor.passo / frazione_lmin;
    for (int i = st.primo; i <= st.ultimo; ++i) {
      if (f.coppie[i][1] != 0) continue;
      if (st.passata_finale) {
        triangolo_finale(job, i, lmin, w, st);
      } else {
        ++st.ntriangoli;
        scrivi_triangolo(w, s, f.campo[i][1], f.campo[i][2], f.campo[i][3]);
      }
    }
  });
}

void squadra(Job& job, FieldStageState& st) {
  Fields& f = job.fields;
  const std::string tmp = campi_tmp(job);
  const std::string tmp2 = campi2_tmp(job);
  f.ncampi = 0;
  std::optional<Reader> file = Reader::apri(tmp);
  if (!file) throw fine_non_trovo(tmp);
  if (!appendi(tmp2, "")) throw fine_apertura(tmp2);
  RecordReader in(std::move(*file), tmp);

  const int t = st.nquadri + st.ntriangoli;
  st.nquadri = 0;
  st.ntriangoli = 0;
  for (int r = 1; r <= t; ++r) {
    double x = 0, y = 0;
    if (in.vertici() == 3) {
      if (f.ncampi >= f.campo.capacity()) throw fine_capacita();
      ++f.ncampi;
      auto& campo = f.campo[f.ncampi];
      for (int j = 1; j <= 3; ++j) {
        in.punto(x, y);
        campo[j] = nodo(job, st, x, y);
      }
      campo[4] = campo[3];
    } else {
      int p[4];
      for (int& n : p) {
        in.punto(x, y);
        n = nodo(job, st, x, y);
      }
      squadra_quadrilatero(job, p[0], p[1], p[2], p[3], st);
    }
  }
  st.nquadri2 += st.nquadri;
}

void assembla_campi(Job& job, const FieldStageState& st) {
  const std::string tmp = campi_tmp(job);
  const std::string tmp2 = campi2_tmp(job);
  Writer w;
  scrivi_file(campi_txt(job), w, [&] {
    w.num(job.floor.passo);
    w.a_capo();
    w.num(st.nquadri + st.nquadri2 + st.ntriangoli);
    w.a_capo();

    // Each line is copied as one text field, so a coordinate line loses the blank that
    // stands for the sign of a non-negative X. A missing or short campi2.tmp gives up
    // its remaining records, and the count line is left as it is.
    if (std::optional<Reader> file2 = Reader::apri(tmp2)) {
      Reader& in = *file2;
      bool letto = true;
      for (int r = 1; r <= st.nquadri2 && letto; ++r) {
        for (int k = 1; k <= 5 && letto; ++k) {
          auto riga = in.testo();
          if (riga)
            w.riga(*riga);
          else
            letto = false;
        }
      }
    }

    std::optional<Reader> file = Reader::apri(tmp);
    if (!file) throw fine_non_trovo(tmp);
    Reader& in = *file;
    auto copia = [&](int righe) {
      for (int k = 1; k <= righe; ++k) {
        auto riga = in.testo();
        if (!riga) throw fine_lettura(tmp);
        w.riga(*riga);
      }
    };
    for (int r = 1; r <= st.nquadri; ++r) copia(5);
    for (int r = 1; r <= st.ntriangoli; ++r) copia(4);
  });
}

void fase_campi(Job& job, int primo) {
  FieldStageState st;
  st.primo = primo;
  std::optional<NodeIndex> indice;
  if (job.engine == Engine::fast) st.indice = &indice.emplace(job.store, cella_nodi_uguali);
  st.nquadri2 = 0;
  // campi2.tmp only ever grows by appending, so what an earlier run left must go; it
  // must still be a file this run could write.
  const std::string tmp2 = campi2_tmp(job);
  if (!appendi(tmp2, "")) throw fine_apertura(tmp2);
  elimina(tmp2);

  st.passata_finale = false;
  for (int ciclo = 1; ciclo <= cicli_massimi; ++ciclo) {
    accoppia(job, st);
    if (st.nquadri == 0) break;
    squadra(job, st);
  }
  st.passata_finale = true;
  accoppia(job, st);

  assembla_campi(job, st);
}

}  // namespace gencampi
