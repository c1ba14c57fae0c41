#pragma once

#include <cstring>

#include "keyframe/chunk_stream.h"
#include "keyframe/param_value.h"
#include "math/vector3.h"

namespace lumetra::keyframe {

// Small conversions every channel uses between host records, parameters and the chunk.

inline math::Vector3 FromArray(const double (&v)[3]) { return {v[0], v[1], v[2]}; }

// Three doubles of a packed host record, which may lie off their alignment, by their bytes.
inline math::Vector3 VectorAt(const void* field) {
  double v[3];
  std::memcpy(v, field, sizeof v);
  return FromArray(v);
}

inline void ToArray(const math::Vector3& v, double (&out)[3]) {
  out[0] = v.x;
  out[1] = v.y;
  out[2] = v.z;
}

inline ParamValue ToParam(const math::Vector3& v) { return {v.x, v.y, v.z, 0.0}; }

inline void WriteVector(ChunkWriter& out, const math::Vector3& v) {
  out.Double(v.x);
  out.Double(v.y);
  out.Double(v.z);
}

inline math::Vector3 ReadVector(ChunkReader& in) {
  const double x = in.Double();
  const double y = in.Double();
  return {x, y, in.Double()};
}

inline math::Vector3 MixVectors(const math::Vector3& earlier, const math::Vector3& later, double t) {
  return earlier * (1.0 - t) + later * t;
}

}  // namespace lumetra::keyframe
