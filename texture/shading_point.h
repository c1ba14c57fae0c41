#pragma once

#include "lumetra2.h"
#include "math/vector3.h"

namespace lumetra::texture {

// The render library's shading record as the texture code reads it: a point the warps may
// replace and a normal the normals may replace.
using ShadingPoint = L2ShadingRecord;

inline math::Vector3 PointOf(const ShadingPoint& s) { return {s.point[0], s.point[1], s.point[2]}; }
inline void SetPoint(ShadingPoint& s, const math::Vector3& p) {
  s.point[0] = p.x;
  s.point[1] = p.y;
  s.point[2] = p.z;
}
inline math::Vector3 NormalOf(const ShadingPoint& s) { return {s.normal[0], s.normal[1], s.normal[2]}; }
inline void SetNormal(ShadingPoint& s, const math::Vector3& n) {
  s.normal[0] = n.x;
  s.normal[1] = n.y;
  s.normal[2] = n.z;
}

// The unit vector along v; a zero vector gives (1, 0, 0).
inline math::Vector3 NormalizedOrX(const math::Vector3& v) {
  const double length = math::Length(v);
  return length == 0.0 ? math::Vector3{1.0, 0.0, 0.0} : v * (1.0 / length);
}

}  // namespace lumetra::texture
