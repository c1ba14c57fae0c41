// Bicubic patch bases and their conversion to Bezier control points, the one patch
// kind the render library takes.
#pragma once

#include <array>
#include <optional>
#include <string>

#include "math/vector3.h"

namespace lumetra::rib {

// Rows of the basis matrix as RIB gives them: a curve is [t^3 t^2 t 1] * basis * points.
using BasisMatrix = std::array<double, 16>;

struct Basis {
  BasisMatrix matrix;
  int step = 3;
};

// "bezier", "b-spline" (or "bspline"), "catmull-rom", "hermite", "power" with their
// usual steps; nullopt for another name.
std::optional<Basis> NamedBasis(const std::string& name);

using PatchPoints = std::array<math::Vector3, 16>;  // u varies fastest

// The Bezier control points of the patch that `points` span in the bases `u` and `v`.
PatchPoints ToBezier(const BasisMatrix& u, const BasisMatrix& v, const PatchPoints& points);

}  // namespace lumetra::rib
