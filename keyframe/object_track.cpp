#include "keyframe/object_track.h"

#include <algorithm>

namespace lumetra::keyframe {

ObjectTrack::ObjectTrack(std::string name, uint32_t type, uint32_t subType)
    : name_(std::move(name)), type_(type), subType_(subType) {}

std::vector<TrackKey>::const_iterator ObjectTrack::LowerBound(int32_t time) const {
  return std::lower_bound(keys_.begin(), keys_.end(), time,
                          [](const TrackKey& key, int32_t t) { return key.time < t; });
}

const KeySnapshot* ObjectTrack::FindKey(int32_t time) const {
  const auto it = LowerBound(time);
  return it != keys_.end() && it->time == time ? &it->snapshot : nullptr;
}

KeySnapshot* ObjectTrack::FindKey(int32_t time) {
  return const_cast<KeySnapshot*>(static_cast<const ObjectTrack&>(*this).FindKey(time));
}

bool ObjectTrack::InsertKey(int32_t time, KeySnapshot snapshot) {
  const auto it = LowerBound(time);
  if (it != keys_.end() && it->time == time) return false;
  keys_.insert(it, TrackKey{time, std::move(snapshot)});
  return true;
}

bool ObjectTrack::TakeKey(int32_t time, KeySnapshot& taken) {
  const auto it = LowerBound(time);
  if (it == keys_.end() || it->time != time) return false;
  const auto index = it - keys_.begin();
  taken = std::move(keys_[static_cast<std::size_t>(index)].snapshot);
  keys_.erase(keys_.begin() + index);
  return true;
}

void ObjectTrack::Prefetch() const {
  __builtin_prefetch(keys_.data());
  __builtin_prefetch(keys_.data() + keys_.size() / 2);
  curves_.Prefetch();
}

void ObjectTrack::PrefetchAt(int32_t time) const {
  const auto later = LowerBound(time);
  if (later != keys_.begin() && later != keys_.end()) __builtin_prefetch((later - 1)->snapshot.Channel());
  curves_.PrefetchCurves();
}

KeyState ObjectTrack::StateAt(int32_t time) const {
  if (keys_.empty()) return KeyState::NoKeys;
  const auto it = LowerBound(time);
  if (it == keys_.end()) return KeyState::AfterLast;
  if (it->time == time) return KeyState::AtKey;
  return it == keys_.begin() ? KeyState::BeforeFirst : KeyState::BetweenKeys;
}

void ObjectTrack::RebuildCurves() {
  curves_ = BuildTrackCurves(*this);
  steadyMask_ = 0;
  for (int param = 0; param < std::min(ParamCount(), 64); ++param) {
    const KeyParam first = Param(0, param);
    const auto same = [&](const TrackKey& key) {
      const KeyParam other = key.snapshot.GetParam(param);
      return other.value == first.value && other.inTangent == ParamValue{} &&
             other.outTangent == ParamValue{};
    };
    if (std::all_of(keys_.begin(), keys_.end(), same)) steadyMask_ |= uint64_t{1} << param;
  }
}

Interpolation ObjectTrack::InterpolationKind() const {
  return interpolation_ >= 0 && interpolation_ <= 3 ? static_cast<Interpolation>(interpolation_)
                                                    : Interpolation::Linear;
}

int ObjectTrack::ParamCount() const { return keys_.empty() ? 0 : keys_.front().snapshot.ParamCount(); }

ValueType ObjectTrack::ParamType(int param) const {
  return keys_.empty() ? ValueType::NoChannel : keys_.front().snapshot.ParamType(param);
}

bool ObjectTrack::HasTangents(int param) const {
  return !keys_.empty() && keys_.front().snapshot.HasTangents(param);
}

KeyParam ObjectTrack::Param(int key, int param) const {
  return keys_[static_cast<std::size_t>(key)].snapshot.GetParam(param);
}

}  // namespace lumetra::keyframe
