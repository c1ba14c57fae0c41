#include "texture/texture_node.h"

#include "texture/transform_warp.h"

namespace lumetra::texture {

math::Vector3 TextureNode::TransformPoint(const math::Vector3& in) const {
  math::Vector3 p = in;
  for (const ClonePtr<Warp>& warp : warps_) p = warp->Apply(p);
  return p;
}

TransformWarp& TextureNode::LastTransformWarp() {
  if (warps_.empty() || warps_.back()->Type() != WarpType::kTransform) {
    warps_.emplace_back(std::make_unique<TransformWarp>());
  }
  return static_cast<TransformWarp&>(*warps_.back());
}

}  // namespace lumetra::texture
