#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "keyframe/animation_view.h"
#include "keyframe/host_scene.h"
#include "keyframe/object_track.h"

namespace lumetra::keyframe {

// Which objects the key-time set and key moves cover.
enum class KeySteps : int32_t { Selected = 0, Object = 1, Scene = 2 };

// The animation of the host's scene: one track per animated object (by the
// object's identifier), the current time and the animation range, the key
// times the control bar steps through, and the tracks a scene file brought that
// wait for their objects. Poses the host scene for any time.
class SceneAnimation {
 public:
  using Tracks = std::map<uint32_t, std::unique_ptr<ObjectTrack>>;

  explicit SceneAnimation(HostScene host = HostScene()) : host_(host) {}

  void SetHost(HostScene host) { host_ = host; }
  const HostScene& Host() const { return host_; }
  // The view told about time and key changes; null for none.
  void SetView(AnimationView* view) { view_ = view; }

  int32_t CurrentTime() const { return currentTime_; }
  int32_t StartTime() const { return startTime_; }
  int32_t EndTime() const { return endTime_; }
  void SetRange(int32_t start, int32_t end);
  KeySteps KeyStepsMode() const { return keySteps_; }
  void SetKeyStepsMode(KeySteps mode) { keySteps_ = mode; }
  int32_t SliderStepsMode() const { return sliderSteps_; }
  void SetSliderStepsMode(int32_t mode) { sliderSteps_ = mode; }

  const Tracks& AllTracks() const { return tracks_; }
  int TrackCount() const { return static_cast<int>(tracks_.size()); }
  ObjectTrack* FindTrack(uint32_t object);
  const ObjectTrack* FindTrack(uint32_t object) const;

  const std::set<int32_t>& KeyTimes() const { return keyTimes_; }
  void ClearKeyTimes() { keyTimes_.clear(); }
  void RemoveKeyTime(int32_t time) { keyTimes_.erase(time); }

  // Tracks read from a scene file, known by name until AttachPendingTracks.
  void AddPendingTrack(std::unique_ptr<ObjectTrack> track) { pending_.push_back(std::move(track)); }
  const std::vector<std::unique_ptr<ObjectTrack>>& PendingTracks() const { return pending_; }
  // The first pending track named `oldName` (exactly) takes `newName`.
  void RenamePendingTrack(const std::string& oldName, const std::string& newName);
  // Gives each pending track to the object of its name (dropping those without
  // one), turns camera links back into identifiers and builds the curves. An object
  // that has a track already (a merge, or a name twice in the file) keeps its keys and
  // kind and takes the pending keys at other times; the rest is dropped with a debug line.
  void AttachPendingTracks();

  // Keys the object at `time` with the interpolation kind (its track takes the
  // kind for all its keys); with `wholeTree` also the objects below it and along
  // its chain. Ends with a redraw.
  void SetKeys(uint32_t object, int32_t time, int32_t interpolation, bool wholeTree);
  // Deletes the object's key at `time` (with `wholeTree` along the same walk,
  // texture nodes not entered). Ends with a redraw.
  void DeleteKeys(uint32_t object, int32_t time, bool wholeTree);
  // Deletes one key; the last key of a track is written to the host first so the
  // object keeps its state, and the track goes with it.
  void DeleteObjectKey(uint32_t object, int32_t time, bool rebuildCurves = true);
  // Deletes every key of the object's track, so that the track goes.
  void DeleteTrack(uint32_t object);
  void DeleteFrame(int32_t time);
  // Forgets every key and track; the host objects keep their state.
  void DeleteAll();

  // Writes every track's state at `time` to the host.
  void GoToTime(int32_t time, bool notifySelected);
  // GoToTime between update modes 2 and 0.
  void Pose(int32_t time);
  // Moves the current time and, unless Shift is held, poses the scene; then the view shows the time.
  void SetCurrentTime(int32_t time);
  // Takes the current time as a scene file holds it, posing nothing.
  void StoreCurrentTime(int32_t time) { currentTime_ = time; }

  KeyState KeyStateAt(uint32_t object, int32_t time) const;
  // The track's kind; Linear for an object without a track.
  int32_t TrackInterpolation(uint32_t object) const;
  void SetTrackInterpolation(uint32_t object, int32_t kind);

  void AddKeyTimes(uint32_t object);
  // Empties the key-time set and fills it again for the key steps mode; the view refreshes.
  void RebuildKeyTimes();

  // Moves keys at exactly `from` to `to` on the objects the key steps mode covers.
  void MoveKeys(int32_t from, int32_t to);
  // Maps the key times of the animation range onto [newStart, newEnd), shifting
  // the keys outside it, on the objects the key steps mode covers.
  void RescaleTime(int32_t newStart, int32_t newEnd);

  // True while the host holds the Shift key down (headless hosts never do).
  bool ShiftHeld() const;
  // The host's selected object, or 0.
  uint32_t SelectedObject() const;

  // State of the scene file that is only carried along.
  bool sceneFlag = false;
  std::string sceneText;

 private:
  void KeyObject(uint32_t object, int32_t time, const ObjectRecord& record, int32_t interpolation);
  void AddTrackKeyTimes(uint32_t object);
  static void MergeTrack(ObjectTrack& kept, ObjectTrack& incoming);
  // The objects the key steps mode covers that have tracks.
  std::vector<uint32_t> CoveredTracks();

  HostScene host_;
  AnimationView* view_ = nullptr;
  int32_t currentTime_ = 0;
  int32_t startTime_ = 0;
  int32_t endTime_ = 0;
  KeySteps keySteps_ = KeySteps::Selected;
  int32_t sliderSteps_ = 0;
  Tracks tracks_;
  std::set<int32_t> keyTimes_;
  std::vector<std::unique_ptr<ObjectTrack>> pending_;
};

}  // namespace lumetra::keyframe
