#include "math/matrix4.h"

#include <cmath>
#include <utility>

namespace lumetra::math {

namespace {

constexpr double kSingularDeterminant = 1e-30;

double Determinant3(double a, double b, double c, double d, double e, double f, double g, double h,
                    double i) {
  return a * (e * i - f * h) - b * (d * i - f * g) + c * (d * h - e * g);
}

}  // namespace

Matrix4::Matrix4() { SetIdentity(); }

Matrix4::Matrix4(const std::array<double, 16>& rowMajor) : m_(rowMajor) {}

Matrix4 Matrix4::AxisAngle(const Vector3& axis, double radians) {
  const double length = Length(axis);
  const Vector3 a = length > 0.0 ? axis * (1.0 / length) : Vector3{1.0, 0.0, 0.0};
  const double c = std::cos(radians);
  const double s = std::sin(radians);
  const double t = 1.0 - c;
  const double x = a.x, y = a.y, z = a.z;
  return Matrix4({
      x * x + (1.0 - x * x) * c,
      t * x * y + s * z,
      t * x * z - s * y,
      0.0,  //
      t * x * y - s * z,
      y * y + (1.0 - y * y) * c,
      t * y * z + s * x,
      0.0,  //
      t * x * z + s * y,
      t * y * z - s * x,
      z * z + (1.0 - z * z) * c,
      0.0,  //
      0.0,
      0.0,
      0.0,
      1.0,
  });
}

void Matrix4::SetIdentity() {
  m_.fill(0.0);
  m_[0] = m_[5] = m_[10] = m_[15] = 1.0;
}

void Matrix4::Transpose() {
  for (int r = 0; r < 4; ++r) {
    for (int c = r + 1; c < 4; ++c) std::swap(m_[4 * r + c], m_[4 * c + r]);
  }
}

Matrix4 Matrix4::Transposed() const {
  Matrix4 result = *this;
  result.Transpose();
  return result;
}

Matrix4 operator*(const Matrix4& a, const Matrix4& b) {
  Matrix4 result;
  for (int r = 0; r < 4; ++r) {
    for (int c = 0; c < 4; ++c) {
      result(r, c) = a(r, 0) * b(0, c) + a(r, 1) * b(1, c) + a(r, 2) * b(2, c) + a(r, 3) * b(3, c);
    }
  }
  return result;
}

void Matrix4::Multiply(const Matrix4& n) { *this = *this * n; }

void Matrix4::PreMultiply(const Matrix4& n) { *this = n * *this; }

void Matrix4::ScaleElements(double factor) {
  for (double& element : m_) element *= factor;
}

double Matrix4::Minor(int row, int column) const {
  double e[9];
  int k = 0;
  for (int r = 0; r < 4; ++r) {
    if (r == row) continue;
    for (int c = 0; c < 4; ++c) {
      if (c != column) e[k++] = m_[4 * r + c];
    }
  }
  return Determinant3(e[0], e[1], e[2], e[3], e[4], e[5], e[6], e[7], e[8]);
}

double Matrix4::Determinant() const {
  return m_[0] * Minor(0, 0) - m_[1] * Minor(0, 1) + m_[2] * Minor(0, 2) - m_[3] * Minor(0, 3);
}

bool Matrix4::Invert() {
  const double d = Determinant();
  if (std::fabs(d) < kSingularDeterminant) {
    SetIdentity();
    return false;
  }
  Matrix4 adjugate;
  for (int r = 0; r < 4; ++r) {
    for (int c = 0; c < 4; ++c) {
      const double sign = ((r + c) % 2 == 0) ? 1.0 : -1.0;
      adjugate(c, r) = sign * Minor(r, c);  // the cofactor, transposed
    }
  }
  adjugate.ScaleElements(1.0 / d);
  *this = adjugate;
  return true;
}

}  // namespace lumetra::math
