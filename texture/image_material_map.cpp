#include "texture/image_material_map.h"

#include "texture/image_mapping.h"

namespace lumetra::texture {

void MaterialMap::Shade(ShadingPoint& point, SurfaceSample& sample) const {
  const math::Vector3 warped = TransformPoint(PointOf(point));
  SetPoint(point, warped);
  ImageSpot spot;
  if (textures_.empty() || LocateOnImage(*image_, modifiers_, warped, point, spot) != ImageHit::kInside)
    return;
  const uint64_t value = image_->Fetch(spot.x, spot.row);
  textures_[static_cast<size_t>(value % textures_.size())]->Shade(point, sample);
}

}  // namespace lumetra::texture
