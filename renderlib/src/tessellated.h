// Primitives kept as a description and shown as the triangle mesh made from it: height
// fields (their cells are triangles by definition) and spline meshes (by UV subdivision).
#pragma once

#include <memory>

#include "primitive.h"
#include "triangle_mesh.h"

namespace lumetra::renderlib {

class TessellatedSource {
 public:
  virtual ~TessellatedSource() = default;
  virtual MeshInput tessellate() const = 0;
  // Whether corner normals are averaged over every face round a vertex.
  virtual bool smoothed() const = 0;
};

// Makes (or remakes) the primitive's mesh from its source; false when that fails.
bool tessellate(Primitive& primitive);

}  // namespace lumetra::renderlib
