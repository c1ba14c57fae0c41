#include "texture/block_texture.h"

namespace lumetra::texture {

void BlockTexture::Shade(ShadingPoint& point, SurfaceSample& sample) const {
  const math::Vector3 p = TransformPoint(PointOf(point));
  SetPoint(point, p);
  const std::size_t index = static_cast<std::size_t>(block.Index(p));
  if (index < entries.size() && entries[index]) entries[index]->Shade(point, sample);
}

}  // namespace lumetra::texture
