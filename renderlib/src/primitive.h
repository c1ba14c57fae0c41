// A placed object of a scene: shared geometry, its transform, texture and flags.
#pragma once

#include <cstdint>
#include <memory>

#include "affine.h"
#include "shape.h"

namespace lumetra::renderlib {

class TriangleMesh;
class TessellatedSource;

struct Primitive {
  // The geometry, shared by clones; for triangle meshes mesh is the same object, which the
  // ray queries instance instead of intersecting it as a shape.
  std::shared_ptr<Shape> shape;
  std::shared_ptr<TriangleMesh> mesh;
  // Height fields and spline meshes: what their mesh is made from.
  std::shared_ptr<TessellatedSource> source;
  Placement placement;
  uint32_t texture = 0;
  bool casts_shadows = true;
  // Operands are drawn only as part of their CSG tree.
  bool is_operand = false;

  // The ray carried into the primitive's own space, where its shape is intersected.
  Ray inOwnSpace(const Ray& ray) const {
    return placement.isIdentity() ? ray : ray.transformed(placement.toLocal());
  }

  template <class Kind>
  Kind* shapeAs() const {
    return dynamic_cast<Kind*>(shape.get());
  }
  template <class Kind>
  Kind* sourceAs() const {
    return dynamic_cast<Kind*>(source.get());
  }
};

}  // namespace lumetra::renderlib
