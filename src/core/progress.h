// How a long stage tells the person waiting where it is. The run supplies the display
// (the progress window's count and a moment for pending window events); the stages know
// nothing of windows, and a test may pass an empty one.
#pragma once

#include <functional>

namespace gencampi {

// Called once per node turn of the triangulation with the sides the store holds.
using Progress = std::function<void(int nlati)>;

inline void avanza(const Progress& a, int nlati) {
  if (a) a(nlati);
}

}  // namespace gencampi
