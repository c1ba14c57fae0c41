#pragma once

#include <cstdint>

#include "keyframe/interpolation.h"
#include "keyframe/param_value.h"

namespace lumetra::keyframe {

// One parameter of one key: its value and its incoming and outgoing tangents
// (zero when the parameter keeps no tangents).
struct KeyParam {
  ParamValue value;
  ParamValue inTangent;
  ParamValue outTangent;
};

// The keys of an animated object's track as the curve builder reads them.
// Keys are indexed 0 .. KeyCount() - 1 in time order; the parameter layout is
// that of the first key's channel.
class KeyTrack {
 public:
  virtual ~KeyTrack() = default;

  virtual int KeyCount() const = 0;
  // Ticks; never decreasing with the key index.
  virtual std::int32_t KeyTime(int key) const = 0;
  virtual Interpolation InterpolationKind() const = 0;

  virtual int ParamCount() const = 0;
  virtual ValueType ParamType(int param) const = 0;
  // True when the parameter keeps explicit tangents with each key instead of
  // having them computed from the neighbouring keys.
  virtual bool HasTangents(int param) const = 0;
  virtual KeyParam Param(int key, int param) const = 0;

 protected:
  KeyTrack() = default;
  KeyTrack(const KeyTrack&) = default;
  KeyTrack& operator=(const KeyTrack&) = default;
};

}  // namespace lumetra::keyframe
