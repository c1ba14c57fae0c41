#pragma once

#include <cstdint>
#include <memory>

#include "math/vector3.h"

namespace lumetra::texture {

enum class WarpType : std::int32_t { kTransform = 0, kTurbulence = 1, kBlackHole = 2, kRepeat = 3 };

// A change of the point that a pattern-based object applies before it evaluates; each
// object applies its warps in list order.
class Warp {
 public:
  virtual ~Warp() = default;
  virtual WarpType Type() const = 0;
  virtual math::Vector3 Apply(const math::Vector3& in) const = 0;
  virtual std::unique_ptr<Warp> Clone() const = 0;
};

}  // namespace lumetra::texture
