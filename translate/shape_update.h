#pragma once

#include <span>
#include <vector>

#include <lumetra2.h>

#include "abi/mesh_record.h"
#include "translate/host_object.h"

namespace lumetra::translate {

// Points an animation moves besides the object's records: a sweep's, lathe's or
// extrusion's outline, a spline mesh's control points (x, y, z each). Empty: unchanged.
struct PosedPoints {
  std::vector<abi::ProfilePoint> outline;
  std::vector<double> controlPoints;
};

// Takes a primitive's transforms off for posing and puts back the placement it was made
// with (an area light's square, a height field's fit).
void ResetPlacement(L2Scene scene, L2Primitive prim, std::uint32_t type);

// Gives an existing primitive the shape its posed records describe: cone, torus and
// disc radii, superquadric powers, blob threshold, light colour and spot beam, outline
// and control points.
void UpdateShape(L2Scene scene, L2Primitive prim, const HostObject& object, const PosedPoints& points);

}  // namespace lumetra::translate
