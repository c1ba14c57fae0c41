#pragma once

#include <cmath>

namespace lumetra::math {

struct Vector3 {
  double x = 0.0;
  double y = 0.0;
  double z = 0.0;

  friend constexpr Vector3 operator+(const Vector3& a, const Vector3& b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
  }
  friend constexpr Vector3 operator-(const Vector3& a, const Vector3& b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
  }
  friend constexpr Vector3 operator-(const Vector3& a) { return {-a.x, -a.y, -a.z}; }
  friend constexpr Vector3 operator*(const Vector3& a, double s) { return {a.x * s, a.y * s, a.z * s}; }
  friend constexpr Vector3 operator*(double s, const Vector3& a) { return a * s; }
  friend constexpr bool operator==(const Vector3&, const Vector3&) = default;
};

constexpr double Dot(const Vector3& a, const Vector3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

constexpr Vector3 Cross(const Vector3& a, const Vector3& b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

inline double Length(const Vector3& a) { return std::sqrt(Dot(a, a)); }

}  // namespace lumetra::math
