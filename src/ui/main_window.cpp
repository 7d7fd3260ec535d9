#include "ui/main_window.h"

namespace gencampi {

namespace {
// A view narrower than this in either direction has nothing to draw.
constexpr double larghezza_minima = 0.0001;
}  // namespace

void ridisegna(Job& job) {
  const Store& s = job.store;
  if (s.xmax - s.xmin < larghezza_minima || s.ymax - s.ymin < larghezza_minima) return;
  job.ui.main.busy = true;
  ++job.ui.main.ridisegni;
  eventi(job.ui);
  job.ui.main.busy = false;
}

void ottimizza_click(Job& job) {
  Store& s = job.store;
  s.xmin = 1000000000;
  s.ymin = 1000000000;
  s.xmax = -1000000000;
  s.ymax = -1000000000;
  for (int i = 1; i <= s.nnodi; ++i) {
    if (s.xnodo[i] > s.xmax) s.xmax = s.xnodo[i];
    if (s.xnodo[i] < s.xmin) s.xmin = s.xnodo[i];
    if (s.ynodo[i] > s.ymax) s.ymax = s.ynodo[i];
    if (s.ynodo[i] < s.ymin) s.ymin = s.ynodo[i];
  }
  ridisegna(job);
}

void m_ridisegna_Click(Job& job) { ridisegna(job); }

void m_esci_Click(Job&) { throw fine_normale(); }

}  // namespace gencampi
