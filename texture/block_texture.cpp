#include "texture/block_texture.h"

#include <algorithm>

namespace lumetra::texture {

// A block the pattern picks without an entry to shade it is not known to be opaque.
bool BlockTexture::LetsLightThrough() const {
  const auto count = static_cast<std::size_t>(block.EntryCount());
  return entries.size() < count ||
         std::any_of(entries.begin(), entries.begin() + count,
                     [](const auto& entry) { return !entry || entry->LetsLightThrough(); });
}

void BlockTexture::Shade(ShadingPoint& point, SurfaceSample& sample) const {
  const math::Vector3 p = TransformPoint(PointOf(point));
  SetPoint(point, p);
  const std::size_t index = static_cast<std::size_t>(block.Index(p));
  if (index < entries.size() && entries[index]) entries[index]->Shade(point, sample);
}

}  // namespace lumetra::texture
