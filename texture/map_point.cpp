#include "texture/map_point.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace lumetra::texture {
namespace {

constexpr double kInversePi = 0.3183098861837907;
constexpr double kTwoPi = 2 * std::numbers::pi;
constexpr double kTorusMajorRadius = 1.0;
constexpr double kSmallestSphereRadius = 1e-20;

double SafeAcos(double value) { return std::acos(std::clamp(value, -1.0, 1.0)); }

// Longitude around z, 0..1, shared by the spherical and cylindrical maps.
double Longitude(double x, double y) { return (1.0 - std::atan2(-y, x) * kInversePi) * 0.5; }

bool MapSpherical(const math::Vector3& p, float& u, float& v) {
  const double length = math::Length(p);
  if (length < kSmallestSphereRadius) return false;
  u = static_cast<float>(Longitude(p.x / length, p.y / length));
  v = static_cast<float>(std::asin(std::clamp(p.z / length, -1.0, 1.0)) * kInversePi + 0.5);
  return true;
}

bool MapTorus(const math::Vector3& p, float& u, float& v) {
  const double r = std::sqrt(p.y * p.y + p.z * p.z);
  if (r == 0.0) return false;
  double a = 0.0;
  if (p.z == 0.0) {
    a = -p.y > 0.0 ? 0.0 : std::numbers::pi;
  } else {
    a = SafeAcos(-p.y / r);
    if (p.z < 0.0) a = kTwoPi - a;
  }
  const double tube = r - kTorusMajorRadius;
  const double distance = std::sqrt(p.x * p.x + tube * tube);
  if (distance == 0.0) return false;  // on the tube's centre line
  double b = SafeAcos(-tube / distance);
  if (p.x > 0.0) b = kTwoPi - b;
  u = static_cast<float>(a / kTwoPi);
  v = static_cast<float>(b / kTwoPi);
  return true;
}

}  // namespace

bool MapPoint(int mapType, const math::Vector3& point, double surfaceU, double surfaceV, float& u, float& v) {
  switch (mapType) {
    case kMapPlanar:
      u = static_cast<float>(point.x);
      v = static_cast<float>(point.y);
      return true;
    case kMapSpherical:
      return MapSpherical(point, u, v);
    case kMapCylindrical:
      u = static_cast<float>(Longitude(point.x, point.y));
      v = static_cast<float>(point.z);
      return true;
    case kMapTorus:
      return MapTorus(point, u, v);
    case kMapSurfaceA:
    case kMapSurfaceB:
    case kMapSurfaceC:
      u = static_cast<float>(surfaceU);
      v = static_cast<float>(surfaceV);
      return true;
    default:
      return false;
  }
}

}  // namespace lumetra::texture
