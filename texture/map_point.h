#pragma once

#include "math/vector3.h"

namespace lumetra::texture {

// How a surface point becomes image coordinates.
enum MapType : int {
  kMapPlanar = 0,
  kMapSpherical = 1,
  kMapCylindrical = 2,
  kMapSurfaceA = 3,  // 3, 4 and 6 use the surface's own (u, v)
  kMapSurfaceB = 4,
  kMapTorus = 5,
  kMapSurfaceC = 6,
};

// Maps `point` (or, for the surface types, the surface's own coordinates) to (u, v).
// Returns false when the point cannot be mapped: the origin for spherical mapping,
// the torus axis for torus mapping, or an unknown map type.
// Whether the map type takes the surface's own coordinates.
inline bool UsesSurfaceCoordinates(int mapType) {
  return mapType == kMapSurfaceA || mapType == kMapSurfaceB || mapType == kMapSurfaceC;
}

bool MapPoint(int mapType, const math::Vector3& point, double surfaceU, double surfaceV, float& u, float& v);

}  // namespace lumetra::texture
