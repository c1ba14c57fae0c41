#pragma once

#include <ostream>
#include <string>

#include "host/scene.h"
#include "math/matrix4.h"
#include "math/vector3.h"

// Pieces shared by the RIB writer's files.
namespace lumetra::host::rib {

// "[x y z]" in the classic locale.
struct Triple {
  double x, y, z;
};
std::ostream& operator<<(std::ostream& out, const Triple& t);
inline Triple TripleOf(const double (&v)[3]) { return {v[0], v[1], v[2]}; }
inline Triple TripleOf(const math::Vector3& v) { return {v.x, v.y, v.z}; }

// "[m00 m01 ... m33]": RIB's row-vector matrices are ours (math::Matrix4).
void WriteMatrix(std::ostream& out, const math::Matrix4& m);

// A RIB string with quotes and backslashes escaped.
std::string Quoted(const std::string& text);

// The placement of an object in its parent's space: its local transform, then its own
// (scale, the host's rotation, translation), as the ray tracer applies them.
math::Matrix4 ObjectMatrix(const abi::ParamRecord& params);

// Color, Opacity and Surface of the material called `name`; nothing when the scene has
// no such material.
void WriteSurface(const Scene& scene, const std::string& name, std::ostream& out, const std::string& indent);

}  // namespace lumetra::host::rib
