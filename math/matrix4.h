#pragma once

#include <array>

#include "math/vector3.h"

namespace lumetra::math {

// 4x4 matrix of doubles, row-major (element [r][c] at index 4r + c). Points are
// row vectors multiplied on the left (p' = p * M), so an affine matrix keeps its
// translation in row 3 and (0, 0, 0, 1) in column 3.
class Matrix4 {
 public:
  // A new matrix is the identity.
  Matrix4();
  // Sixteen values in row-major order.
  explicit Matrix4(const std::array<double, 16>& rowMajor);

  static Matrix4 Identity() { return Matrix4(); }
  // Rotation by `radians` about `axis`; a zero axis rotates about x. The
  // inverse of the result is its transpose.
  static Matrix4 AxisAngle(const Vector3& axis, double radians);

  double operator()(int row, int column) const { return m_[4 * row + column]; }
  double& operator()(int row, int column) { return m_[4 * row + column]; }
  const std::array<double, 16>& Elements() const { return m_; }

  void SetIdentity();
  void Set(const std::array<double, 16>& rowMajor) { m_ = rowMajor; }

  void Transpose();
  Matrix4 Transposed() const;

  // this = this * n
  void Multiply(const Matrix4& n);
  // this = n * this, the order in which inverses accumulate
  void PreMultiply(const Matrix4& n);
  // Multiplies every element by `factor`.
  void ScaleElements(double factor);

  double Determinant() const;
  // Replaces the matrix by its inverse. A matrix whose determinant is smaller
  // than 1e-30 in magnitude counts as singular: it becomes the identity and the
  // call returns false.
  [[nodiscard]] bool Invert();

  friend Matrix4 operator*(const Matrix4& a, const Matrix4& b);
  friend bool operator==(const Matrix4&, const Matrix4&) = default;

 private:
  // Determinant of the 3x3 matrix left when `row` and `column` are removed.
  double Minor(int row, int column) const;

  std::array<double, 16> m_;
};

}  // namespace lumetra::math
