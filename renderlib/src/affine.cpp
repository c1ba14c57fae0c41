#include "affine.h"

#include <cmath>
#include <numbers>

namespace lumetra::renderlib {

Affine Affine::scaling(const Vec3& f) { return Affine{{{f.x, 0, 0, 0}, {0, f.y, 0, 0}, {0, 0, f.z, 0}}}; }

Affine Affine::translation(const Vec3& o) { return Affine{{{1, 0, 0, o.x}, {0, 1, 0, o.y}, {0, 0, 1, o.z}}}; }

Affine Affine::rotationDegrees(const Vec3& angles) {
  const double rad = std::numbers::pi / 180.0;
  const double cx = std::cos(angles.x * rad), sx = std::sin(angles.x * rad);
  const double cy = std::cos(angles.y * rad), sy = std::sin(angles.y * rad);
  const double cz = std::cos(angles.z * rad), sz = std::sin(angles.z * rad);
  const Affine about_x{{{1, 0, 0, 0}, {0, cx, -sx, 0}, {0, sx, cx, 0}}};
  const Affine about_y{{{cy, 0, sy, 0}, {0, 1, 0, 0}, {-sy, 0, cy, 0}}};
  const Affine about_z{{{cz, -sz, 0, 0}, {sz, cz, 0, 0}, {0, 0, 1, 0}}};
  return about_x.then(about_y).then(about_z);
}

Affine Affine::then(const Affine& next) const {
  Affine out{};
  for (int r = 0; r < 3; ++r) {
    for (int c = 0; c < 4; ++c) {
      double sum = c == 3 ? next.m[r][3] : 0.0;
      for (int k = 0; k < 3; ++k) sum += next.m[r][k] * m[k][c];
      out.m[r][c] = sum;
    }
  }
  return out;
}

std::optional<Affine> Affine::inverse() const {
  const double a = m[0][0], b = m[0][1], c = m[0][2];
  const double d = m[1][0], e = m[1][1], f = m[1][2];
  const double g = m[2][0], h = m[2][1], i = m[2][2];
  const double co00 = e * i - f * h, co01 = f * g - d * i, co02 = d * h - e * g;
  const double det = a * co00 + b * co01 + c * co02;
  const double scale = std::fabs(a) + std::fabs(b) + std::fabs(c) + std::fabs(d) + std::fabs(e) +
                       std::fabs(f) + std::fabs(g) + std::fabs(h) + std::fabs(i);
  if (!(std::fabs(det) > 1e-300) || std::fabs(det) < 1e-14 * scale * scale * scale) {
    return std::nullopt;
  }
  const double s = 1.0 / det;
  Affine out{{{co00 * s, (c * h - b * i) * s, (b * f - c * e) * s, 0},
              {co01 * s, (a * i - c * g) * s, (c * d - a * f) * s, 0},
              {co02 * s, (b * g - a * h) * s, (a * e - b * d) * s, 0}}};
  const Vec3 t = out.vector({m[0][3], m[1][3], m[2][3]});
  out.m[0][3] = -t.x;
  out.m[1][3] = -t.y;
  out.m[2][3] = -t.z;
  return out;
}

bool Placement::append(const Affine& step) {
  const std::optional<Affine> undo = step.inverse();
  if (!undo) return false;
  const Affine world = to_world_.then(step);
  const std::optional<Affine> local = world.inverse();
  if (!local) return false;
  to_world_ = world;
  to_local_ = *local;
  identity_ = false;
  return true;
}

void Placement::reset() {
  to_world_ = Affine::identity();
  to_local_ = Affine::identity();
  identity_ = true;
}

}  // namespace lumetra::renderlib
