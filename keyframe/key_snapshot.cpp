#include "keyframe/key_snapshot.h"

#include "keyframe/channel_factory.h"

namespace lumetra::keyframe {

KeySnapshot::KeySnapshot(std::unique_ptr<AnimChannel> channel) : channel_(std::move(channel)) {
  ResetTangents();
}

KeySnapshot::KeySnapshot(const KeySnapshot& other)
    : channel_(other.channel_ ? other.channel_->Clone() : nullptr),
      inTangents_(other.inTangents_),
      outTangents_(other.outTangents_) {}

KeySnapshot& KeySnapshot::operator=(const KeySnapshot& other) {
  if (this != &other) *this = KeySnapshot(other);
  return *this;
}

void KeySnapshot::ResetTangents() {
  const auto count = static_cast<std::size_t>(ParamCount());
  inTangents_.assign(count, ParamValue{});
  outTangents_.assign(count, ParamValue{});
}

void KeySnapshot::CreateChannel(uint32_t type, uint32_t subType) {
  channel_ = MakeChannel(type, subType);
  ResetTangents();
}

void KeySnapshot::SetValue(int index, const ParamValue& value) {
  if (channel_) channel_->SetValue(index, value);
}

KeyParam KeySnapshot::GetParam(int index) const {
  KeyParam param{GetValue(index), {}, {}};
  if (index >= 0 && static_cast<std::size_t>(index) < inTangents_.size()) {
    param.inTangent = inTangents_[static_cast<std::size_t>(index)];
    param.outTangent = outTangents_[static_cast<std::size_t>(index)];
  }
  return param;
}

void KeySnapshot::SetParam(int index, const KeyParam& param) {
  SetValue(index, param.value);
  if (index >= 0 && static_cast<std::size_t>(index) < inTangents_.size()) {
    inTangents_[static_cast<std::size_t>(index)] = param.inTangent;
    outTangents_[static_cast<std::size_t>(index)] = param.outTangent;
  }
}

void KeySnapshot::Save(ChunkWriter& out) const {
  if (channel_) channel_->Save(out);
}

void KeySnapshot::Load(ChunkReader& in, int32_t version) {
  if (channel_) channel_->Load(in, version);
}

}  // namespace lumetra::keyframe
