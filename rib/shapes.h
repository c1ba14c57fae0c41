// RIB's geometric primitives as render-library primitives in their own (object) space:
// whole quadrics as the library's exact shapes, partial ones and the rest as meshes.
#pragma once

#include <lumetra2.h>

#include <array>
#include <vector>

#include "math/vector3.h"
#include "rib/patch_basis.h"

namespace lumetra::rib {

// Every maker returns 0 when the library refused the shape (a zero radius, say);
// GetLastErrorMessage() then says why. Angles are in degrees, about the z axis from +x.
L2Primitive MakeSphere(L2Scene scene, double radius, double zmin, double zmax, double thetamax);
L2Primitive MakeCylinder(L2Scene scene, double radius, double zmin, double zmax, double thetamax);
L2Primitive MakeCone(L2Scene scene, double height, double radius, double thetamax);
L2Primitive MakeDisk(L2Scene scene, double height, double radius, double thetamax);
L2Primitive MakeTorus(L2Scene scene, double majorRadius, double minorRadius, double phimin, double phimax,
                      double thetamax);
L2Primitive MakeParaboloid(L2Scene scene, double rmax, double zmin, double zmax, double thetamax);
L2Primitive MakeHyperboloid(L2Scene scene, const math::Vector3& p1, const math::Vector3& p2, double thetamax);

L2Primitive MakeTriangleMesh(L2Scene scene, const std::vector<math::Vector3>& points,
                             const std::vector<std::array<int, 3>>& triangles);
L2Primitive MakeBezierPatches(L2Scene scene, const std::vector<PatchPoints>& patches);

}  // namespace lumetra::rib
