// The main window's operations that have behaviour: redraw, view fitting and exit.
#pragma once

#include "core/job.h"
#include "ui/console.h"

namespace gencampi {

// Redraw: nothing when the bounding box is flat (below 0.0001 in either direction);
// otherwise the busy pointer, an emptied drawing area, pending events, normal pointer.
void ridisegna(const Store& s, Console& ui);

// Fits the bounding box to the nodes, then redraws.
void ottimizza_click(Store& s, Console& ui);

// Ends the run at once.
[[noreturn]] void m_esci_Click();

}  // namespace gencampi
