// Posing the host scene at a time.
#include "abi/result_codes.h"
#include "keyframe/scene_animation.h"
#include "keyframe/track_evaluation.h"

namespace keyframe {
namespace {

constexpr int32_t kUpdateQuiet = 0;
constexpr int32_t kUpdateRedraw = 1;
constexpr int32_t kUpdateMany = 2;

}  // namespace

bool SceneAnimation::ShiftHeld() const {
  uint32_t held = 0;
  return host_.Connected() && host_.GetHostValue(iface::kHostValueShiftKey, &held) == iface::kOk && held != 0;
}

uint32_t SceneAnimation::SelectedObject() const {
  uint32_t selected = 0;
  return host_.GetSelectedObject(selected) == iface::kOk ? selected : 0;
}

void SceneAnimation::GoToTime(int32_t time, bool notifySelected) {
  const uint32_t selected = SelectedObject();
  host_.SetUpdateMode(kUpdateMany);
  for (const auto& [object, track] : tracks_) {
    const TrackEvaluation evaluation = EvaluateTrack(*track, time);
    const KeySnapshot* snapshot = evaluation.Snapshot();
    if (!snapshot || !snapshot->Channel()) continue;
    const int32_t change = snapshot->Channel()->WriteToHost(host_, object);
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

}  // namespace keyframe
