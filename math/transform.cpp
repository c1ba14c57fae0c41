#include "math/transform.h"

#include <cmath>

namespace lumetra::math {

namespace {

// Rotation in the plane of axes a and b, turning axis a towards axis b:
// [a][a] = [b][b] = cos, [a][b] = sin, [b][a] = -sin.
Matrix4 PlaneRotation(int a, int b, double angle) {
  Matrix4 r;
  r(a, a) = std::cos(angle);
  r(a, b) = std::sin(angle);
  r(b, a) = -std::sin(angle);
  r(b, b) = std::cos(angle);
  return r;
}

Matrix4 Diagonal(const Vector3& d) { return Matrix4({d.x, 0, 0, 0, 0, d.y, 0, 0, 0, 0, d.z, 0, 0, 0, 0, 1}); }

Matrix4 Translation(const Vector3& t) {
  return Matrix4({1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, t.x, t.y, t.z, 1});
}

}  // namespace

Vector3 MapPoint(const Vector3& p, const Matrix4& m) {
  return {p.x * m(0, 0) + p.y * m(1, 0) + p.z * m(2, 0) + m(3, 0),
          p.x * m(0, 1) + p.y * m(1, 1) + p.z * m(2, 1) + m(3, 1),
          p.x * m(0, 2) + p.y * m(1, 2) + p.z * m(2, 2) + m(3, 2)};
}

void Transform::Reset() { *this = Transform(); }

void Transform::Scale(const Vector3& s) {
  matrix_ = Diagonal(s);
  inverse_ = Diagonal({1.0 / s.x, 1.0 / s.y, 1.0 / s.z});
  if (s.x * s.y * s.z < 0.0) handedness_ ^= 1;
}

void Transform::Translate(const Vector3& t) {
  matrix_ = Translation(t);
  inverse_ = Translation(-t);
  handedness_ = 0;
}

void Transform::RotateEuler(double x, double y, double z) {
  matrix_ = PlaneRotation(1, 2, x);
  inverse_ = matrix_.Transposed();
  for (const Matrix4& step : {PlaneRotation(2, 0, y), PlaneRotation(0, 1, z)}) {
    matrix_.Multiply(step);
    inverse_.PreMultiply(step.Transposed());
  }
}

void Transform::Compose(const Transform& other) {
  matrix_.Multiply(other.matrix_);
  inverse_.PreMultiply(other.inverse_);
  handedness_ ^= other.handedness_;
}

Vector3 Transform::TransformPoint(const Vector3& p) const { return MapPoint(p, matrix_); }

Vector3 Transform::InverseTransformPoint(const Vector3& p) const { return MapPoint(p, inverse_); }

}  // namespace lumetra::math
