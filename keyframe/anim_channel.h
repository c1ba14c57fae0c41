#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "abi/object_info.h"
#include "keyframe/chunk_stream.h"
#include "keyframe/host_scene.h"
#include "keyframe/param_value.h"
#include "keyframe/track_curves.h"
#include "math/vector3.h"

namespace lumetra::keyframe {

// What WriteToHost changed on the host object.
enum ChangeCode : int32_t {
  kUnchanged = 0,
  kTransformWritten = 1,   // the transform or the texture transform
  kObjectDataWritten = 2,  // the object's own data
};

// Flags of the host's store calls.
inline constexpr uint32_t kStoreTransform = 0x70;
inline constexpr uint32_t kStoreTransformWithLocal = 0x10070;
inline constexpr uint32_t kStoreTextureTransform = 0x2040000;
inline constexpr uint32_t kStoreObjectData = 0x1000;
inline constexpr uint32_t kStoreTextureNodeTransform = 0x208000;

// A double of the object's own data counts as moved only beyond this distance.
inline constexpr double kChangeTolerance = 1e-5;

// Copies `mine` into `host` when they lie further apart than kChangeTolerance;
// true when it did.
bool TakeIfMoved(double& host, double mine);
// The same for each of three components.
bool TakeVectorIfMoved(double (&host)[3], const math::Vector3& mine);
// The same for a double, or three, of a packed host record (the texture nodes' parameters),
// which may lie off their alignment: the field is copied byte for byte, never bound to a
// reference.
bool TakeIfMovedAt(void* hostField, double mine);
bool TakeVectorIfMovedAt(void* hostField, const math::Vector3& mine);
// (1 - t) * earlier + t * later.
inline double Mix(double earlier, double later, double t) { return (1.0 - t) * earlier + t * later; }

// The animatable state of one host object at one key: its parameters (values
// the curves interpolate) and the object's own data that is blended otherwise.
class AnimChannel {
 public:
  virtual ~AnimChannel() = default;

  // A deep copy of the same class.
  virtual std::unique_ptr<AnimChannel> Clone() const = 0;
  // Fills the channel from the host object; `info` is its ObjectInfo with the
  // object data block (and the texture block for texture nodes).
  virtual void ReadFromHost(const HostScene& host, uint32_t objectId, const abi::ObjectInfo& info) = 0;
  // Pushes the channel's values to the host object where they differ; answers a ChangeCode.
  virtual int32_t WriteToHost(const HostScene& host, uint32_t objectId) const = 0;
  // Writes the channel's state into copies of the object's records, as WriteToHost
  // would store it on the host; for those who pose the object elsewhere than in the
  // host (an animation's render-library scene). Channels of objects without such
  // records leave them alone.
  virtual void PoseRecords(abi::ParamRecord& /*params*/, abi::ObjectDataBlock& /*data*/) const {}
  virtual int ParamCount() const = 0;
  virtual ValueType ParamType(int index) const = 0;
  virtual bool HasTangents(int index) const = 0;
  virtual std::string ParamName(int index) const;
  // Sets the data that is not a parameter from the neighbouring keys: `f` is the
  // fraction between them, `g` the fraction of the whole track.
  virtual void BlendExtra(double f, double g, const AnimChannel& earlier, const AnimChannel& later,
                          const TrackCurves& curves);
  virtual void SetValue(int index, const ParamValue& value) = 0;
  virtual ParamValue GetValue(int index) const = 0;
  virtual void Save(ChunkWriter& out) const = 0;
  // `version` is the keyframe chunk's version.
  virtual void Load(ChunkReader& in, int32_t version) = 0;
  virtual uint32_t SavedSize() const = 0;

 protected:
  AnimChannel() = default;
  AnimChannel(const AnimChannel&) = default;
  AnimChannel& operator=(const AnimChannel&) = default;
};

// Clone for a channel class that copies like a value.
template <typename Derived, typename Base>
class CopyableChannel : public Base {
 public:
  using Base::Base;
  std::unique_ptr<AnimChannel> Clone() const override {
    return std::make_unique<Derived>(static_cast<const Derived&>(*this));
  }
};

}  // namespace lumetra::keyframe
