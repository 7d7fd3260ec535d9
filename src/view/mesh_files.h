// Reads what the mesher left: the placed nodes of punti.dis and the fields of
// campi.txt, or the rigid-floor triangles of triang.txt.
#pragma once

#include <string>
#include <vector>

#include "view/model.h"

namespace gencampi::view {

// The node table of a drawing file (punti.dis).
std::vector<Point> parse_nodes(const std::string& text, const std::string& path);

// campi.txt: fields by corner coordinates. Corners shared by neighbouring fields (equal
// within the mesher's node tolerance) become one vertex, in the order the mesher's own
// drawing of the fields numbers them.
void parse_fields(const std::string& text, const std::string& path, Mesh& mesh);

// triang.txt: triangles by node number into mesh.nodes, which must be read first.
void parse_triangles(const std::string& text, const std::string& path, Mesh& mesh);

// Reads punti.dis from the job directory and, by the kind of build, campi.txt from the
// program directory or triang.txt from the job directory. A missing file is an error,
// unless the mesher stopped reading the floor on an outline error (`stopped`, the
// outline's message): it then leaves some of them out, and each one missing becomes a
// warning in the mesh.
Mesh read_mesh(const std::string& dirprogra, const std::string& dirlavoro, bool rigid,
               const std::string& stopped = {});

}  // namespace gencampi::view
