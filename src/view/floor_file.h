// Reads impalcato.txt the way the mesher reads it, keeping the geometry instead of
// turning it into nodes and sides.
#pragma once

#include <string>

#include "view/model.h"

namespace gencampi::view {

// Reads the floor file at `path` (letter case of the name ignored). Throws ViewError
// when the file is missing, ends early or holds a field that is not a number; where the
// mesher stops on an outline error, the outline so far comes back with `stopped` set.
Outline read_floor(const std::string& path);

// Parses the text of a floor file; `path` only names it in messages.
Outline parse_floor(const std::string& text, const std::string& path);

}  // namespace gencampi::view
