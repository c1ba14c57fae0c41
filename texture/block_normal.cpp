#include "texture/block_normal.h"

namespace lumetra::texture {

void BlockNormal::Eval(ShadingPoint& point, SurfaceSample& sample) const {
  const math::Vector3 p = PointOf(point);
  if (static_cast<int>(subNormals.size()) == block.EntryCount()) {
    const std::size_t index = static_cast<std::size_t>(block.Index(TransformPoint(p)));
    subNormals[index]->Eval(point, sample);
    return;
  }
  SetNormal(point, PerturbBySampling(*this, p, NormalOf(point), bump,
                                     [this](math::Vector3& q) { return double(block.Index(q)); }));
}

}  // namespace lumetra::texture
