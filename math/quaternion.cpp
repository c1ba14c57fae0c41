#include "math/quaternion.h"

#include <cmath>
#include <numbers>

#include "math/angles.h"

namespace lumetra::math {

namespace {

// Below this a sine counts as zero; the value is 1e-6 rounded to single
// precision, as the rotation keys have always used.
constexpr double kTinySine = 9.999999974752427e-07;
// Slerp treats quaternions this close (in dot product) as equal.
constexpr double kSameRotation = 1e-07;

Vector3 VectorPart(const Quaternion& q) { return {q.x, q.y, q.z}; }

Quaternion WithVectorPart(const Vector3& v, double w) { return {v.x, v.y, v.z, w}; }

}  // namespace

Quaternion Quaternion::FromEulerDegrees(const Vector3& degrees) {
  const double hx = degrees.x * kDegreesToRadians * 0.5;
  const double hy = degrees.y * kDegreesToRadians * 0.5;
  const double hz = degrees.z * kDegreesToRadians * 0.5;
  const double cx = std::cos(hx), sx = std::sin(hx);
  const double cy = std::cos(hy), sy = std::sin(hy);
  const double cz = std::cos(hz), sz = std::sin(hz);
  return {cz * cy * sx - sz * sy * cx, cz * sy * cx + cy * sz * sx, cy * sz * cx - cz * sy * sx,
          sz * sy * sx + cz * cy * cx};
}

Matrix4 Quaternion::ToMatrix() const {
  const double n = x * x + y * y + z * z + w * w;
  const double s = n == 0.0 ? 0.0 : 2.0 / n;
  return Matrix4({
      1.0 - s * (y * y + z * z),
      s * (x * y - z * w),
      s * (x * z + y * w),
      0.0,  //
      s * (x * y + z * w),
      1.0 - s * (x * x + z * z),
      s * (y * z - x * w),
      0.0,  //
      s * (x * z - y * w),
      s * (y * z + x * w),
      1.0 - s * (x * x + y * y),
      0.0,  //
      0.0,
      0.0,
      0.0,
      1.0,
  });
}

Vector3 Quaternion::ToEulerDegrees() const {
  const Matrix4 m = ToMatrix();
  const double cy = std::sqrt(m(0, 0) * m(0, 0) + m(1, 0) * m(1, 0));
  Vector3 radians;
  if (cy < kTinySine) {
    // Gimbal lock: y is +-90 degrees and only x + z is defined; z takes 0.
    radians = {std::atan2(-m(1, 2), m(1, 1)), std::atan2(-m(2, 0), cy), 0.0};
  } else {
    radians = {std::atan2(m(2, 1), m(2, 2)), std::atan2(-m(2, 0), cy), std::atan2(m(1, 0), m(0, 0))};
  }
  return radians * kRadiansToDegrees;
}

Quaternion& Quaternion::operator*=(const Quaternion& q) {
  *this = {w * q.x + x * q.w + y * q.z - z * q.y, w * q.y + y * q.w + z * q.x - x * q.z,
           w * q.z + z * q.w + x * q.y - y * q.x, w * q.w - x * q.x - y * q.y - z * q.z};
  return *this;
}

Quaternion Quaternion::Inverse() const {
  const double n = Dot(*this, *this);
  if (n == 0.0) return Quaternion();
  return {-x / n, -y / n, -z / n, w / n};
}

Quaternion Quaternion::Exp() const {
  Vector3 v = VectorPart(*this);
  const double theta = Length(v);
  const double sine = std::sin(theta);
  if (std::fabs(sine) >= kTinySine) v = v * (sine / theta);
  return WithVectorPart(v, std::cos(theta));
}

Quaternion Quaternion::Log() const {
  Vector3 v = VectorPart(*this);
  if (std::fabs(w) < 1.0) {
    const double theta = std::acos(w);
    const double sine = std::sin(theta);
    if (std::fabs(sine) >= kTinySine) v = v * (theta / sine);
  }
  return WithVectorPart(v, 0.0);
}

double Dot(const Quaternion& a, const Quaternion& b) { return a.x * b.x + a.y * b.y + a.z * b.z + a.w * b.w; }

Quaternion Slerp(const Quaternion& a, const Quaternion& b, double t) {
  const double c = Dot(a, b);
  const double s = std::sqrt(std::fabs(1.0 - c * c));
  if (s >= kTinySine) {
    // For c < 0 interpolate towards -b, which is the same rotation, to stay on the shorter arc.
    const double direction = c < 0.0 ? -1.0 : 1.0;
    const double omega = std::atan2(s, direction * c);
    const double wa = std::sin((1.0 - t) * omega) / s;
    const double wb = direction * std::sin(t * omega) / s;
    return a * wa + b * wb;
  }
  if (std::fabs(c - 1.0) < kSameRotation) return a;
  // Opposite quaternions: no unique great circle, so pass through a quaternion
  // perpendicular to both.
  const double wa = std::sin((1.0 - t) * std::numbers::pi / 2.0);
  const double wb = std::sin(t * std::numbers::pi / 2.0);
  return {wa * a.x - wb * b.y, wa * a.y + wb * b.x, wa * a.z - wb * b.w, wa * a.w + wb * b.z};
}

Quaternion Squad(double t, const Quaternion& p, const Quaternion& a, const Quaternion& b,
                 const Quaternion& q) {
  return Slerp(Slerp(p, q, t), Slerp(a, b, t), 2.0 * t * (1.0 - t));
}

}  // namespace lumetra::math
