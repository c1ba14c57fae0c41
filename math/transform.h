#pragma once

#include <cstdint>

#include "math/matrix4.h"
#include "math/vector3.h"

namespace lumetra::math {

// A matrix kept together with its inverse and a handedness flag, so that points
// can be mapped both ways without inverting. Each builder replaces the matrices
// with one step; a caller adding a step to an existing transform builds the step
// in a fresh Transform and composes it.
class Transform {
 public:
  // Identity, identity, flag 0.
  Transform() = default;

  void Reset();
  // M = diag(s, 1), Inv = diag(1/s, 1). The flag is toggled when an odd number
  // of the factors are negative. A zero factor gives an infinite inverse.
  void Scale(const Vector3& s);
  // Row 3 of M becomes t, row 3 of Inv -t; the flag becomes 0.
  void Translate(const Vector3& t);
  // Rotation about x, then y, then z (radians).
  void RotateEuler(double x, double y, double z);
  // Appends `other`: M = M * other.M, Inv = other.Inv * Inv, flags combined.
  void Compose(const Transform& other);

  Vector3 TransformPoint(const Vector3& p) const;
  Vector3 InverseTransformPoint(const Vector3& p) const;

  const Matrix4& Matrix() const { return matrix_; }
  const Matrix4& Inverse() const { return inverse_; }
  // Nonzero when the transform mirrors space.
  std::int32_t HandednessFlag() const { return handedness_; }

 private:
  Matrix4 matrix_;
  Matrix4 inverse_;
  std::int32_t handedness_ = 0;
};

// p * m for an affine m: rows 0..2 weighted by the point, plus row 3.
Vector3 MapPoint(const Vector3& p, const Matrix4& m);

}  // namespace lumetra::math
