#pragma once

#include <cstdint>

#include "math/vector3.h"

namespace lumetra::keyframe {

// One animatable parameter's value at a key, or one of its tangents. A scalar
// uses x; vectors, colours, rotations, scales and translations use x, y, z.
struct ParamValue {
  double x = 0.0;
  double y = 0.0;
  double z = 0.0;
  double w = 0.0;

  math::Vector3 Xyz() const { return {x, y, z}; }
  friend bool operator==(const ParamValue&, const ParamValue&) = default;
};

// What a parameter holds; the integer is stored and compared.
enum class ValueType : std::int32_t {
  None = 0,       // no parameter at that index
  NoChannel = 1,  // asked of a key that holds no channel
  Scalar = 2,
  Vector = 3,  // free vector: camera points and directions
  Color = 4,
  EulerRotationAlt = 5,  // treated like EulerRotation
  EulerRotation = 6,     // Euler angles in degrees
  Scale = 7,
  Translation = 8,
};

}  // namespace lumetra::keyframe
