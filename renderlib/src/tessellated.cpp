#include "tessellated.h"

namespace lumetra::renderlib {

bool tessellate(Primitive& primitive) {
  if (!primitive.source) return false;
  std::shared_ptr<TriangleMesh> mesh = TriangleMesh::create(primitive.source->tessellate());
  if (!mesh) return false;
  if (primitive.source->smoothed()) mesh->smooth(180);
  primitive.shape = mesh;
  primitive.mesh = std::move(mesh);
  return true;
}

}  // namespace lumetra::renderlib
