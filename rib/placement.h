// Puts a RIB transform (a general affine matrix, row vectors as RIB writes them) onto a
// primitive of the render library, which only takes scales, turns and moves.
#pragma once

#include <lumetra2.h>

#include "math/matrix4.h"
#include "math/vector3.h"

namespace lumetra::rib {

// p * m for a point (the affine part; the last column of m is taken as 0, 0, 0, 1).
math::Vector3 TransformPoint(const math::Matrix4& m, const math::Vector3& p);

// Whether every element is finite and the 3x3 part is not flat beyond use.
bool IsUsableTransform(const math::Matrix4& m);

// Appends `m` to the primitive's transform: the linear part split by its singular values
// into a turn, a scale (negative for a mirror) and a turn, then the translation. Returns
// the first failing result of the library, else L2_OK.
int32_t PlacePrimitive(L2Scene scene, L2Primitive prim, const math::Matrix4& m);

}  // namespace lumetra::rib
