// The fields as a mesh file for other programs: Gmsh MSH 2.2 ASCII or legacy VTK.
#pragma once

#include <optional>
#include <string>

#include "view/model.h"

namespace gencampi::view {

enum class MeshFormat { msh, vtk };

// The format named by the file's extension (".msh" or ".vtk", any letter case).
std::optional<MeshFormat> format_for(const std::string& path);

// Nodes are the mesh's vertices in order, numbered from 1 (MSH) or 0 (VTK); every
// field is written counter-clockwise, so that its normal points up (+z) in both
// programs, starting from its first corner in the file.
std::string to_msh(const Mesh& mesh);
std::string to_vtk(const Mesh& mesh, const std::string& title);

}  // namespace gencampi::view
