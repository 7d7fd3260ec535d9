#include "ui/main_window.h"

#include "core/errors.h"

namespace gencampi {

namespace {
// A view narrower than this in either direction has nothing to draw.
constexpr double larghezza_minima = 0.0001;
}  // namespace

void ridisegna(const Store& s, Console& ui) {
  if (s.xmax - s.xmin < larghezza_minima || s.ymax - s.ymin < larghezza_minima) return;
  ui.main.busy = true;
  ++ui.main.ridisegni;
  eventi(ui);
  ui.main.busy = false;
}

void ottimizza_click(Store& s, Console& ui) {
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
  ridisegna(s, ui);
}

void m_esci_Click() {
  throw fine_normale();
}

}  // namespace gencampi
