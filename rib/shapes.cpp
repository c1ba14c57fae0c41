#include "rib/shapes.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>

namespace lumetra::rib {
namespace {

constexpr double kRadians = std::numbers::pi / 180;

bool IsFullTurn(double thetamax) { return std::fabs(thetamax) >= 360; }

double ClampTurn(double thetamax) { return std::clamp(thetamax, -360.0, 360.0); }

// A surface given by its points over u, v in 0..1 as a smooth mesh: a grid of points with
// their normals from the surface's own derivatives.
L2Primitive MakeParametric(L2Scene scene, double thetamax,
                           const std::function<math::Vector3(double u, double v)>& at) {
  const int columns = std::max(4, static_cast<int>(std::ceil(48 * std::fabs(ClampTurn(thetamax)) / 360)));
  const int rows = 24;
  std::vector<double> vertices, normals;
  for (int j = 0; j <= rows; ++j)
    for (int i = 0; i <= columns; ++i) {
      const double u = static_cast<double>(i) / columns, v = static_cast<double>(j) / rows;
      const math::Vector3 p = at(u, v);
      // Derivatives a little inside the patch, where poles and apexes are not degenerate.
      const double e = 1e-4;
      const double uc = std::clamp(u, e, 1 - e), vc = std::clamp(v, e, 1 - e);
      const math::Vector3 du = at(uc + e, vc) - at(uc - e, vc);
      const math::Vector3 dv = at(uc, vc + e) - at(uc, vc - e);
      math::Vector3 n = math::Cross(du, dv);
      const double length = math::Length(n);
      n = length > 0 ? n * (1 / length) : math::Vector3{0, 0, 1};
      vertices.insert(vertices.end(), {p.x, p.y, p.z});
      normals.insert(normals.end(), {n.x, n.y, n.z});
    }
  std::vector<int32_t> faces;
  for (int j = 0; j < rows; ++j)
    for (int i = 0; i < columns; ++i) {
      const int a = j * (columns + 1) + i, b = a + 1, c = a + columns + 1, d = c + 1;
      faces.insert(faces.end(), {a, b, d, a, d, c});
    }
  return CreateTriBag(scene, static_cast<int32_t>(vertices.size() / 3), vertices.data(), normals.data(),
                      static_cast<int32_t>(faces.size() / 3), faces.data(), L2_MESH_COUNTER_CLOCKWISE);
}

math::Vector3 Turned(double radius, double z, double angle) {
  return {radius * std::cos(angle), radius * std::sin(angle), z};
}

}  // namespace

L2Primitive MakeSphere(L2Scene scene, double radius, double zmin, double zmax, double thetamax) {
  const double r = std::fabs(radius);
  zmin = std::clamp(zmin, -r, r);
  zmax = std::clamp(zmax, -r, r);
  if (IsFullTurn(thetamax) && std::min(zmin, zmax) <= -r && std::max(zmin, zmax) >= r)
    return CreateSphere(scene, 0, 0, 0, r);
  if (r == 0) return CreateSphere(scene, 0, 0, 0, 0);  // refused with the library's reason
  const double phimin = std::asin(zmin / r), phimax = std::asin(zmax / r);
  const double theta = ClampTurn(thetamax) * kRadians;
  return MakeParametric(scene, thetamax, [=](double u, double v) {
    const double phi = phimin + v * (phimax - phimin);
    return Turned(r * std::cos(phi), r * std::sin(phi), u * theta);
  });
}

L2Primitive MakeCylinder(L2Scene scene, double radius, double zmin, double zmax, double thetamax) {
  if (IsFullTurn(thetamax)) {
    const L2Primitive prim = CreateCylinder(scene, 0, 0, zmin, 0, 0, zmax, std::fabs(radius));
    if (prim != 0) SetConeEndcaps(scene, prim, 0);
    return prim;
  }
  const double theta = ClampTurn(thetamax) * kRadians;
  return MakeParametric(scene, thetamax, [=](double u, double v) {
    return Turned(radius, zmin + v * (zmax - zmin), u * theta);
  });
}

L2Primitive MakeCone(L2Scene scene, double height, double radius, double thetamax) {
  if (IsFullTurn(thetamax)) {
    const L2Primitive prim = CreateCone(scene, 0, 0, 0, std::fabs(radius), 0, 0, height, 0);
    if (prim != 0) SetConeEndcaps(scene, prim, 0);
    return prim;
  }
  const double theta = ClampTurn(thetamax) * kRadians;
  return MakeParametric(scene, thetamax,
                        [=](double u, double v) { return Turned(radius * (1 - v), v * height, u * theta); });
}

L2Primitive MakeDisk(L2Scene scene, double height, double radius, double thetamax) {
  if (IsFullTurn(thetamax)) return CreateDisc(scene, 0, 0, height, 0, 0, 1, 0, std::fabs(radius));
  const double theta = ClampTurn(thetamax) * kRadians;
  return MakeParametric(scene, thetamax,
                        [=](double u, double v) { return Turned(radius * (1 - v), height, u * theta); });
}

L2Primitive MakeTorus(L2Scene scene, double majorRadius, double minorRadius, double phimin, double phimax,
                      double thetamax) {
  if (IsFullTurn(thetamax) && std::fabs(phimax - phimin) >= 360)
    return CreateTorus(scene, 0, 0, 0, 0, 0, 1, std::fabs(majorRadius), std::fabs(minorRadius));
  const double theta = ClampTurn(thetamax) * kRadians;
  const double p0 = phimin * kRadians, p1 = ClampTurn(phimax - phimin) * kRadians + p0;
  return MakeParametric(scene, thetamax, [=](double u, double v) {
    const double phi = p0 + v * (p1 - p0);
    return Turned(majorRadius + minorRadius * std::cos(phi), minorRadius * std::sin(phi), u * theta);
  });
}

L2Primitive MakeParaboloid(L2Scene scene, double rmax, double zmin, double zmax, double thetamax) {
  if (zmax == 0) return CreateSphere(scene, 0, 0, 0, 0);  // refused with the library's reason
  const double theta = ClampTurn(thetamax) * kRadians;
  return MakeParametric(scene, thetamax, [=](double u, double v) {
    const double z = zmin + v * (zmax - zmin);
    return Turned(rmax * std::sqrt(std::max(z / zmax, 0.0)), z, u * theta);
  });
}

L2Primitive MakeHyperboloid(L2Scene scene, const math::Vector3& p1, const math::Vector3& p2,
                            double thetamax) {
  const double theta = ClampTurn(thetamax) * kRadians;
  return MakeParametric(scene, thetamax, [=](double u, double v) {
    const math::Vector3 p = p1 + (p2 - p1) * v;
    const double c = std::cos(u * theta), s = std::sin(u * theta);
    return math::Vector3{p.x * c - p.y * s, p.x * s + p.y * c, p.z};
  });
}

L2Primitive MakeTriangleMesh(L2Scene scene, const std::vector<math::Vector3>& points,
                             const std::vector<std::array<int, 3>>& triangles) {
  std::vector<double> vertices;
  for (const math::Vector3& p : points) vertices.insert(vertices.end(), {p.x, p.y, p.z});
  std::vector<int32_t> faces;
  for (const auto& t : triangles) faces.insert(faces.end(), t.begin(), t.end());
  return CreateTriBag(scene, static_cast<int32_t>(points.size()), vertices.data(), nullptr,
                      static_cast<int32_t>(triangles.size()), faces.data(), L2_MESH_COUNTER_CLOCKWISE);
}

L2Primitive MakeBezierPatches(L2Scene scene, const std::vector<PatchPoints>& patches) {
  std::vector<double> points;
  std::vector<int32_t> indices;
  for (const PatchPoints& patch : patches)
    for (const math::Vector3& p : patch) {
      indices.push_back(static_cast<int32_t>(points.size() / 3));
      points.insert(points.end(), {p.x, p.y, p.z});
    }
  return CreateSplineMesh(scene, L2_PATCH_BEZIER, static_cast<int32_t>(points.size() / 3), points.data(),
                          static_cast<int32_t>(patches.size()), indices.data());
}

}  // namespace lumetra::rib
