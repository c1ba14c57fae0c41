// Small double-precision vector used for points, directions and colours.
#pragma once

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <type_traits>

namespace lumetra::renderlib {

struct Vec3 {
  double x = 0, y = 0, z = 0;

  constexpr Vec3() = default;
  constexpr Vec3(double x_, double y_, double z_) : x(x_), y(y_), z(z_) {}

  constexpr double operator[](int i) const { return i == 0 ? x : (i == 1 ? y : z); }
  constexpr Vec3 operator-() const { return {-x, -y, -z}; }
  constexpr Vec3& operator+=(const Vec3& o) {
    x += o.x;
    y += o.y;
    z += o.z;
    return *this;
  }
  constexpr Vec3& operator*=(double s) {
    x *= s;
    y *= s;
    z *= s;
    return *this;
  }
};

constexpr Vec3 operator+(const Vec3& a, const Vec3& b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
constexpr Vec3 operator-(const Vec3& a, const Vec3& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
constexpr Vec3 operator*(const Vec3& a, double s) { return {a.x * s, a.y * s, a.z * s}; }
constexpr Vec3 operator*(double s, const Vec3& a) { return a * s; }
constexpr Vec3 operator/(const Vec3& a, double s) { return {a.x / s, a.y / s, a.z / s}; }
// Component-wise product: colour filtering.
constexpr Vec3 operator*(const Vec3& a, const Vec3& b) { return {a.x * b.x, a.y * b.y, a.z * b.z}; }

constexpr double dot(const Vec3& a, const Vec3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
constexpr Vec3 cross(const Vec3& a, const Vec3& b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
inline double length(const Vec3& a) { return std::sqrt(dot(a, a)); }
inline Vec3 normalized(const Vec3& a) {
  const double len = length(a);
  return len > 0 ? a / len : a;
}
inline Vec3 componentMin(const Vec3& a, const Vec3& b) {
  return {std::min(a.x, b.x), std::min(a.y, b.y), std::min(a.z, b.z)};
}
inline Vec3 componentMax(const Vec3& a, const Vec3& b) {
  return {std::max(a.x, b.x), std::max(a.y, b.y), std::max(a.z, b.z)};
}
inline double maxComponent(const Vec3& a) { return std::max({a.x, a.y, a.z}); }

// Two unit vectors that complete axis (unit) to a right-handed orthonormal frame.
inline void orthonormalFrame(const Vec3& axis, Vec3& first, Vec3& second) {
  const Vec3 helper = std::fabs(axis.x) < 0.9 ? Vec3{1, 0, 0} : Vec3{0, 1, 0};
  first = normalized(cross(helper, axis));
  second = cross(axis, first);
}

// The next representable number above a float or double, as std::nextafter(value, +infinity)
// answers, inline: ray queries ask for it a few times per ray. Infinity and NaN stay as they are.
template <typename Real>
inline Real nextUp(Real value) {
  using Bits = std::conditional_t<sizeof(Real) == 4, uint32_t, uint64_t>;
  if (std::isnan(value) || value == std::numeric_limits<Real>::infinity()) return value;
  if (value == 0) return std::numeric_limits<Real>::denorm_min();
  const Bits bits = std::bit_cast<Bits>(value);
  return std::bit_cast<Real>(value > 0 ? Bits(bits + 1) : Bits(bits - 1));
}

}  // namespace lumetra::renderlib
