#pragma once

#include <stdexcept>
#include <string>

#include "host/scene.h"

namespace lumetra::host {

class MeshFileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Reads a Wavefront OBJ file as one triangle mesh: polygons are triangulated, and each
// distinct vertex/normal/texture-coordinate combination becomes one mesh vertex, so a
// face's three indices serve for all three arrays. Throws MeshFileError naming the
// problem (unreadable file, bad syntax, no faces).
Mesh LoadObjMesh(const std::string& path);

}  // namespace lumetra::host
