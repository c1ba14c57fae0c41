#pragma once

#include "math/matrix4.h"
#include "math/vector3.h"

namespace lumetra::math {

// Rotation quaternion (x, y, z, w), w last; the identity is (0, 0, 0, 1).
struct Quaternion {
  double x = 0.0;
  double y = 0.0;
  double z = 0.0;
  double w = 1.0;

  // Rotation about x, then y, then z by the host's Euler angles in degrees.
  static Quaternion FromEulerDegrees(const Vector3& degrees);

  // Rotation matrix in column-vector form, i.e. the transpose of the row-vector
  // matrix that Transform::RotateEuler builds for the same angles. A zero
  // quaternion gives the identity.
  Matrix4 ToMatrix() const;
  // Euler angles in degrees, read back from ToMatrix().
  Vector3 ToEulerDegrees() const;

  // Hamilton product: this = this * q.
  Quaternion& operator*=(const Quaternion& q);
  Quaternion Conjugate() const { return {-x, -y, -z, w}; }
  // The conjugate divided by the squared norm; the identity for a zero quaternion.
  Quaternion Inverse() const;
  // exp and log of the vector part, for quaternion calculus (Squad tangents).
  Quaternion Exp() const;
  Quaternion Log() const;

  friend Quaternion operator+(const Quaternion& a, const Quaternion& b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z, a.w + b.w};
  }
  friend Quaternion operator-(const Quaternion& a, const Quaternion& b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z, a.w - b.w};
  }
  friend Quaternion operator*(const Quaternion& a, double s) { return {a.x * s, a.y * s, a.z * s, a.w * s}; }
  friend Quaternion operator*(double s, const Quaternion& a) { return a * s; }
  friend Quaternion operator*(Quaternion a, const Quaternion& b) { return a *= b; }
  friend bool operator==(const Quaternion&, const Quaternion&) = default;
};

// Four-component dot product.
double Dot(const Quaternion& a, const Quaternion& b);

// Spherical interpolation from a (t = 0) to b (t = 1) along the shorter arc: when
// a and b point into opposite half-spaces the result ends at -b, the same rotation.
Quaternion Slerp(const Quaternion& a, const Quaternion& b, double t);

// Spherical quadrangle interpolation between p and q with the inner control
// quaternions a and b.
Quaternion Squad(double t, const Quaternion& p, const Quaternion& a, const Quaternion& b,
                 const Quaternion& q);

}  // namespace lumetra::math
