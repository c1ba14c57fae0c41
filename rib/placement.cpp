#include "rib/placement.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace lumetra::rib {
namespace {

using Mat3 = std::array<std::array<double, 3>, 3>;

double Det(const Mat3& a) {
  return a[0][0] * (a[1][1] * a[2][2] - a[1][2] * a[2][1]) -
         a[0][1] * (a[1][0] * a[2][2] - a[1][2] * a[2][0]) +
         a[0][2] * (a[1][0] * a[2][1] - a[1][1] * a[2][0]);
}

// Eigenvalues and eigenvectors (the columns of v) of a symmetric matrix, by Jacobi turns.
void SymmetricEigen(Mat3 s, std::array<double, 3>& values, Mat3& v) {
  v = {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};
  for (int sweep = 0; sweep < 60; ++sweep) {
    const double off = s[0][1] * s[0][1] + s[0][2] * s[0][2] + s[1][2] * s[1][2];
    const double diag = s[0][0] * s[0][0] + s[1][1] * s[1][1] + s[2][2] * s[2][2];
    if (off <= 1e-30 * diag || off == 0) break;
    for (int p = 0; p < 2; ++p) {
      for (int q = p + 1; q < 3; ++q) {
        if (s[p][q] == 0) continue;
        const double theta = (s[q][q] - s[p][p]) / (2 * s[p][q]);
        const double t = (theta >= 0 ? 1 : -1) / (std::fabs(theta) + std::sqrt(theta * theta + 1));
        const double c = 1 / std::sqrt(t * t + 1);
        const double sn = t * c;
        for (int k = 0; k < 3; ++k) {  // s = J^T s J
          const double skp = s[k][p], skq = s[k][q];
          s[k][p] = c * skp - sn * skq;
          s[k][q] = sn * skp + c * skq;
        }
        for (int k = 0; k < 3; ++k) {
          const double spk = s[p][k], sqk = s[q][k];
          s[p][k] = c * spk - sn * sqk;
          s[q][k] = sn * spk + c * sqk;
        }
        for (int k = 0; k < 3; ++k) {
          const double vkp = v[k][p], vkq = v[k][q];
          v[k][p] = c * vkp - sn * vkq;
          v[k][q] = sn * vkp + c * vkq;
        }
      }
    }
  }
  values = {s[0][0], s[1][1], s[2][2]};
}

math::Vector3 Column(const Mat3& a, int c) { return {a[0][c], a[1][c], a[2][c]}; }
void SetColumn(Mat3& a, int c, const math::Vector3& v) {
  a[0][c] = v.x;
  a[1][c] = v.y;
  a[2][c] = v.z;
}

// The library's angles for a turn r (column vectors): r = Rz * Ry * Rx, right-handed.
math::Vector3 EulerDegrees(const Mat3& r) {
  const double toDegrees = 180 / std::numbers::pi;
  const double sy = std::clamp(-r[2][0], -1.0, 1.0);
  const double ay = std::asin(sy);
  double ax, az;
  if (std::fabs(sy) < 1 - 1e-12) {
    ax = std::atan2(r[2][1], r[2][2]);
    az = std::atan2(r[1][0], r[0][0]);
  } else {  // gimbal lock: the x and z turns are about one axis, put it all on x
    az = 0;
    ax = std::atan2(-r[1][2], r[1][1]);
  }
  return {ax * toDegrees, ay * toDegrees, az * toDegrees};
}

}  // namespace

math::Vector3 TransformPoint(const math::Matrix4& m, const math::Vector3& p) {
  return {p.x * m(0, 0) + p.y * m(1, 0) + p.z * m(2, 0) + m(3, 0),
          p.x * m(0, 1) + p.y * m(1, 1) + p.z * m(2, 1) + m(3, 1),
          p.x * m(0, 2) + p.y * m(1, 2) + p.z * m(2, 2) + m(3, 2)};
}

bool IsUsableTransform(const math::Matrix4& m) {
  for (const double e : m.Elements())
    if (!std::isfinite(e) || std::fabs(e) > 1e150) return false;
  return true;
}

int32_t PlacePrimitive(L2Scene scene, L2Primitive prim, const math::Matrix4& m) {
  // Column form: p' = b p with b the transpose of the row-vector matrix.
  Mat3 b;
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) b[i][j] = m(j, i);
  Mat3 bb{};
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j)
      for (int k = 0; k < 3; ++k) bb[i][j] += b[k][i] * b[k][j];
  std::array<double, 3> lambda;
  Mat3 v;
  SymmetricEigen(bb, lambda, v);
  // Largest singular value first, so that flat directions come last and can be completed.
  std::array<int, 3> order = {0, 1, 2};
  std::sort(order.begin(), order.end(), [&](int a, int c) { return lambda[a] > lambda[c]; });
  Mat3 vs, u;
  std::array<double, 3> sigma;
  for (int i = 0; i < 3; ++i) {
    SetColumn(vs, i, Column(v, order[i]));
    sigma[i] = std::sqrt(std::max(lambda[order[i]], 0.0));
  }
  // A flat transform keeps a sliver of thickness: the library refuses singular steps.
  const double floor = std::max(sigma[0], 1e-300) * 1e-9;
  for (int i = 0; i < 3; ++i) {
    const math::Vector3 vi = Column(vs, i);
    math::Vector3 ui{b[0][0] * vi.x + b[0][1] * vi.y + b[0][2] * vi.z,
                     b[1][0] * vi.x + b[1][1] * vi.y + b[1][2] * vi.z,
                     b[2][0] * vi.x + b[2][1] * vi.y + b[2][2] * vi.z};
    const double length = math::Length(ui);
    if (sigma[i] > floor && length > 0) {
      ui = ui * (1 / length);
    } else {
      sigma[i] = floor;
      if (i == 0) {
        ui = {1, 0, 0};
      } else if (i == 1) {
        const math::Vector3 u0 = Column(u, 0);
        ui = math::Cross(u0, std::fabs(u0.x) < 0.9 ? math::Vector3{1, 0, 0} : math::Vector3{0, 1, 0});
        ui = ui * (1 / math::Length(ui));
      } else {
        ui = math::Cross(Column(u, 0), Column(u, 1));
      }
    }
    SetColumn(u, i, ui);
  }
  if (Det(vs) < 0) {
    SetColumn(vs, 2, -Column(vs, 2));
    SetColumn(u, 2, -Column(u, 2));
  }
  if (Det(u) < 0) {
    SetColumn(u, 2, -Column(u, 2));
    sigma[2] = -sigma[2];
  }
  Mat3 vt;
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) vt[i][j] = vs[j][i];
  const math::Vector3 first = EulerDegrees(vt);
  const math::Vector3 second = EulerDegrees(u);
  for (const int32_t result : {RotatePrim(scene, prim, first.x, first.y, first.z),
                               ScalePrim(scene, prim, sigma[0], sigma[1], sigma[2]),
                               RotatePrim(scene, prim, second.x, second.y, second.z),
                               TranslatePrim(scene, prim, m(3, 0), m(3, 1), m(3, 2))})
    if (result != L2_OK) return result;
  return L2_OK;
}

}  // namespace lumetra::rib
