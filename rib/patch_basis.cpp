#include "rib/patch_basis.h"

#include "math/matrix4.h"

namespace lumetra::rib {
namespace {

constexpr BasisMatrix kBezier = {-1, 3, -3, 1, 3, -6, 3, 0, -3, 3, 0, 0, 1, 0, 0, 0};

// The matrix that takes a curve's points in `basis` to the Bezier points of the same
// curve: bezier^-1 * basis.
math::Matrix4 ToBezierMatrix(const BasisMatrix& basis) {
  math::Matrix4 inverse{kBezier};
  (void)inverse.Invert();  // the Bezier basis is regular
  return inverse * math::Matrix4{basis};
}

}  // namespace

std::optional<Basis> NamedBasis(const std::string& name) {
  const double s = 1.0 / 6, h = 0.5;
  if (name == "bezier") return Basis{kBezier, 3};
  if (name == "b-spline" || name == "bspline")
    return Basis{{-s, 3 * s, -3 * s, s, 3 * s, -6 * s, 3 * s, 0, -3 * s, 0, 3 * s, 0, s, 4 * s, s, 0}, 1};
  if (name == "catmull-rom")
    return Basis{{-h, 3 * h, -3 * h, h, 2 * h, -5 * h, 4 * h, -h, -h, 0, h, 0, 0, 2 * h, 0, 0}, 1};
  if (name == "hermite") return Basis{{2, 1, -2, 1, -3, -2, 3, -1, 0, 1, 0, 0, 1, 0, 0, 0}, 2};
  if (name == "power") return Basis{{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}, 4};
  return std::nullopt;
}

PatchPoints ToBezier(const BasisMatrix& u, const BasisMatrix& v, const PatchPoints& points) {
  const math::Matrix4 ku = ToBezierMatrix(u);
  const math::Matrix4 kv = ToBezierMatrix(v);
  PatchPoints result{};
  for (int bv = 0; bv < 4; ++bv)
    for (int bu = 0; bu < 4; ++bu) {
      math::Vector3 sum;
      for (int iv = 0; iv < 4; ++iv)
        for (int iu = 0; iu < 4; ++iu) sum = sum + points[4 * iv + iu] * (ku(bu, iu) * kv(bv, iv));
      result[4 * bv + bu] = sum;
    }
  return result;
}

}  // namespace lumetra::rib
