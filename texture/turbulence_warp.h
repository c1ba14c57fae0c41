#pragma once

#include <cstdint>

#include "texture/warp.h"

namespace lumetra::texture {

// Moves the point by vector turbulence, scaled per axis.
class TurbulenceWarp final : public Warp {
 public:
  std::int32_t octaves = 6;
  double omega = 0.5;
  double lambda = 2.0;
  math::Vector3 turbulence{1.0, 1.0, 1.0};

  WarpType Type() const override { return WarpType::kTurbulence; }
  math::Vector3 Apply(const math::Vector3& in) const override;
  std::unique_ptr<Warp> Clone() const override { return std::make_unique<TurbulenceWarp>(*this); }
};

}  // namespace lumetra::texture
