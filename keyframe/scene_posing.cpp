// Posing the host scene at a time.
#include <array>

#include "abi/result_codes.h"
#include "keyframe/scene_animation.h"
#include "keyframe/track_evaluation.h"

namespace lumetra::keyframe {
namespace {

constexpr int32_t kUpdateQuiet = 0;
constexpr int32_t kUpdateRedraw = 1;
constexpr int32_t kUpdateMany = 2;

}  // namespace

bool SceneAnimation::ShiftHeld() const {
  uint32_t held = 0;
  return host_.Connected() && host_.GetHostValue(abi::kHostValueShiftKey, &held) == abi::kOk && held != 0;
}

uint32_t SceneAnimation::SelectedObject() const {
  uint32_t selected = 0;
  return host_.GetSelectedObject(selected) == abi::kOk ? selected : 0;
}

void SceneAnimation::GoToTime(int32_t time, bool notifySelected) {
  const uint32_t selected = SelectedObject();
  host_.SetUpdateMode(kUpdateMany);
  // Posing is bound by memory latency: while one track is evaluated the
  // processor fetches the next ones in three stages, the track three ahead, the
  // keys and curve list of the one two ahead, the key and curves the next one
  // will read.
  std::array<Tracks::const_iterator, 3> ahead{tracks_.begin(), tracks_.begin(), tracks_.begin()};
  for (std::size_t stage = 0; stage < ahead.size(); ++stage) {
    for (std::size_t step = 0; step <= stage && ahead[stage] != tracks_.end(); ++step) ++ahead[stage];
  }
  for (const auto& [object, track] : tracks_) {
    if (ahead[0] != tracks_.end()) (ahead[0]++)->second->PrefetchAt(time);
    if (ahead[1] != tracks_.end()) (ahead[1]++)->second->Prefetch();
    if (ahead[2] != tracks_.end()) __builtin_prefetch((ahead[2]++)->second.get());
    const TrackEvaluation evaluation = EvaluateTrack(*track, time);
    const AnimChannel* channel = evaluation.Channel();
    if (!channel) continue;
    const int32_t change = channel->WriteToHost(host_, object);
    if (change != kUnchanged && notifySelected && object == selected) host_.ObjectChanged(object);
  }
  host_.SetUpdateMode(notifySelected ? kUpdateRedraw : kUpdateQuiet);
}

void SceneAnimation::Pose(int32_t time) {
  host_.SetUpdateMode(kUpdateMany);
  GoToTime(time, true);
  host_.SetUpdateMode(kUpdateQuiet);
}

void SceneAnimation::SetCurrentTime(int32_t time) {
  if (time != currentTime_) {
    currentTime_ = time;
    if (!ShiftHeld()) Pose(time);
  }
  if (view_) view_->ShowTime();
}

KeyState SceneAnimation::KeyStateAt(uint32_t object, int32_t time) const {
  const ObjectTrack* track = FindTrack(object);
  return track ? track->StateAt(time) : KeyState::NoKeys;
}

}  // namespace lumetra::keyframe
