#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "keyframe/anim_channel.h"
#include "keyframe/key_track.h"

namespace lumetra::keyframe {

// One key of a track: the object's channel at that time and, per parameter, the
// incoming and outgoing tangents the cubic curves use (zero until edited). A
// snapshot without a channel answers every question with a default.
class KeySnapshot {
 public:
  KeySnapshot() = default;
  explicit KeySnapshot(std::unique_ptr<AnimChannel> channel);
  KeySnapshot(const KeySnapshot& other);
  KeySnapshot& operator=(const KeySnapshot& other);
  KeySnapshot(KeySnapshot&&) noexcept = default;
  KeySnapshot& operator=(KeySnapshot&&) noexcept = default;

  // Replaces the channel by the one for the object type (and texture node kind),
  // with zero tangents for each of its parameters.
  void CreateChannel(uint32_t type, uint32_t subType);

  AnimChannel* Channel() { return channel_.get(); }
  const AnimChannel* Channel() const { return channel_.get(); }

  int ParamCount() const { return channel_ ? channel_->ParamCount() : 0; }
  ValueType ParamType(int index) const {
    return channel_ ? channel_->ParamType(index) : ValueType::NoChannel;
  }
  bool HasTangents(int index) const { return channel_ && channel_->HasTangents(index); }
  std::string ParamName(int index) const { return channel_ ? channel_->ParamName(index) : std::string(); }
  ParamValue GetValue(int index) const { return channel_ ? channel_->GetValue(index) : ParamValue{}; }
  void SetValue(int index, const ParamValue& value);
  // The value and the two tangents of a parameter; tangents are zero where none are kept.
  KeyParam GetParam(int index) const;
  void SetParam(int index, const KeyParam& param);

  void Save(ChunkWriter& out) const;
  void Load(ChunkReader& in, int32_t version);
  uint32_t SavedSize() const { return channel_ ? channel_->SavedSize() : 0; }

 private:
  void ResetTangents();

  std::unique_ptr<AnimChannel> channel_;
  std::vector<ParamValue> inTangents_;
  std::vector<ParamValue> outTangents_;
};

}  // namespace lumetra::keyframe
