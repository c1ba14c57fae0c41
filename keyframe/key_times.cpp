// The key-time set and the operations that move keys in time.
#include <cmath>
#include <limits>

#include "abi/result_codes.h"
#include "keyframe/scene_animation.h"
#include "keyframe/scene_walk.h"

namespace lumetra::keyframe {
namespace {

int32_t ClampTicks(int64_t ticks) {
  constexpr int64_t kLow = std::numeric_limits<int32_t>::min(), kHigh = std::numeric_limits<int32_t>::max();
  return static_cast<int32_t>(ticks < kLow ? kLow : ticks > kHigh ? kHigh : ticks);
}

}  // namespace

void SceneAnimation::AddTrackKeyTimes(uint32_t object) {
  if (const ObjectTrack* track = FindTrack(object)) {
    for (const TrackKey& key : track->Keys()) keyTimes_.insert(key.time);
  }
}

void SceneAnimation::AddKeyTimes(uint32_t object) {
  ObjectRecord record;
  if (host_.ReadObject(object, record, false) == abi::kOk && record.info.type == abi::kObjectTypeReference) {
    object = record.info.next;
  }
  if (keySteps_ != KeySteps::Object) return AddTrackKeyTimes(object);
  if (!WalkObjectTree(host_, object, WalkDescent::GroupsTexturesAndCsg,
                      [&](uint32_t id, const ObjectRecord&) { AddTrackKeyTimes(id); })) {
    AddTrackKeyTimes(object);
  }
}

void SceneAnimation::RebuildKeyTimes() {
  keyTimes_.clear();
  if (keySteps_ == KeySteps::Scene) {
    for (const auto& [object, track] : tracks_) AddTrackKeyTimes(object);
  } else if (const uint32_t selected = SelectedObject()) {
    AddKeyTimes(selected);
  }
  if (view_) view_->Refresh();
}

std::vector<uint32_t> SceneAnimation::CoveredTracks() {
  std::vector<uint32_t> objects;
  if (keySteps_ == KeySteps::Scene) {
    for (const auto& [object, track] : tracks_) objects.push_back(object);
    return objects;
  }
  const uint32_t selected = SelectedObject();
  if (selected == 0) return objects;
  WalkObjectTree(host_, selected, WalkDescent::GroupsTexturesAndCsg, [&](uint32_t id, const ObjectRecord&) {
    if (FindTrack(id)) objects.push_back(id);
  });
  return objects;
}

void SceneAnimation::MoveKeys(int32_t from, int32_t to) {
  for (uint32_t object : CoveredTracks()) {
    ObjectTrack& track = *FindTrack(object);
    KeySnapshot moved;
    if (!track.TakeKey(from, moved)) continue;
    track.InsertKey(to, std::move(moved));
    track.RebuildCurves();
  }
}

void SceneAnimation::RescaleTime(int32_t newStart, int32_t newEnd) {
  const int64_t start = startTime_, end = endTime_;
  const double ratio = static_cast<double>(int64_t{newEnd} - newStart) / static_cast<double>(end - start);
  const auto rescaled = [&](int64_t t) -> int32_t {
    if (t < start) return ClampTicks(t + (newStart - start));
    if (t >= end) return ClampTicks(t + (newEnd - end));
    return ClampTicks(newStart + static_cast<int64_t>(std::trunc(static_cast<double>(t - start) * ratio)));
  };
  for (uint32_t object : CoveredTracks()) {
    ObjectTrack& track = *FindTrack(object);
    for (TrackKey& key : track.TakeAllKeys()) track.InsertKey(rescaled(key.time), std::move(key.snapshot));
    track.RebuildCurves();
  }
}

}  // namespace lumetra::keyframe
