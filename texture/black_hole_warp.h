#pragma once

#include "texture/warp.h"

namespace lumetra::texture {

// Pulls points within the radius towards the centre (pushes them away when inverse),
// strongest at the centre. The centre may repeat on a grid, each copy jittered at random.
class BlackHoleWarp final : public Warp {
 public:
  math::Vector3 centre;
  double radius = 1.0;
  double falloff = 1.0;
  double strength = 1.0;
  math::Vector3 repeat;
  math::Vector3 turbulence;
  bool inverse = false;

  // The repeat and turbulence flags follow their vectors: set when any component is not 0.
  bool Repeats() const { return repeat.x != 0.0 || repeat.y != 0.0 || repeat.z != 0.0; }
  bool Jitters() const { return turbulence.x != 0.0 || turbulence.y != 0.0 || turbulence.z != 0.0; }

  WarpType Type() const override { return WarpType::kBlackHole; }
  math::Vector3 Apply(const math::Vector3& in) const override;
  std::unique_ptr<Warp> Clone() const override { return std::make_unique<BlackHoleWarp>(*this); }

 private:
  math::Vector3 CentreNear(const math::Vector3& p) const;
};

}  // namespace lumetra::texture
