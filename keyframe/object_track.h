#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "keyframe/key_snapshot.h"
#include "keyframe/key_track.h"
#include "keyframe/track_curves.h"

namespace lumetra::keyframe {

// Where a time lies against an object's keys.
enum class KeyState : int32_t {
  NoKeys = 0,       // no track or no keys
  BeforeFirst = 1,  // before the first key
  AtKey = 2,        // a key lies exactly at the time
  BetweenKeys = 3,
  AfterLast = 4,
};

struct TrackKey {
  int32_t time;
  KeySnapshot snapshot;
};

// The keys of one animated host object, at most one per tick and ordered by
// time, with the curves built from them. Known by the object's name, which
// finds the object again after a scene file is read.
class ObjectTrack final : public KeyTrack {
 public:
  ObjectTrack(std::string name, uint32_t type, uint32_t subType);

  const std::string& Name() const { return name_; }
  void SetName(std::string name) { name_ = std::move(name); }
  uint32_t Type() const { return type_; }
  uint32_t SubType() const { return subType_; }

  // The kind as stored; InterpolationKind() reads a value outside 0..3 as Linear.
  int32_t StoredInterpolation() const { return interpolation_; }
  void SetInterpolation(int32_t kind) { interpolation_ = kind; }

  const std::vector<TrackKey>& Keys() const { return keys_; }
  KeySnapshot* FindKey(int32_t time);
  const KeySnapshot* FindKey(int32_t time) const;
  // Inserts a key in time order; a key already at that time stays and the new
  // one is discarded (answers false).
  bool InsertKey(int32_t time, KeySnapshot snapshot);
  // Takes the key at exactly `time` out; false when there is none.
  bool TakeKey(int32_t time, KeySnapshot& taken);
  // Empties the track and hands its keys over in time order.
  std::vector<TrackKey> TakeAllKeys() { return std::exchange(keys_, {}); }
  KeySnapshot& SnapshotAt(int index) { return keys_[static_cast<std::size_t>(index)].snapshot; }

  KeyState StateAt(int32_t time) const;

  // Ask the processor for what evaluating the track will read: its keys and
  // curve list, then the key and curves evaluation at `time` starts from.
  void Prefetch() const;
  void PrefetchAt(int32_t time) const;

  // Rebuilds the curves from the keys; called after every change of keys or kind.
  void RebuildCurves();
  const TrackCurves& Curves() const { return curves_; }
  // True for a parameter that every key holds alike, without tangents: it stays
  // that value between the keys, so evaluation need not touch its curve.
  bool IsSteady(int param) const { return param >= 0 && param < 64 && (steadyMask_ >> param & 1u) != 0; }

  // Further words the scene file carries with a track.
  struct Extra {
    bool flag = false;
    int32_t valueA = 0;
    int32_t valueB = 0;
    int32_t mode = 0;
    int32_t valueC = 0;
  };
  Extra& Extras() { return extra_; }
  const Extra& Extras() const { return extra_; }

  int KeyCount() const override { return static_cast<int>(keys_.size()); }
  int32_t KeyTime(int key) const override { return keys_[static_cast<std::size_t>(key)].time; }
  Interpolation InterpolationKind() const override;
  int ParamCount() const override;
  ValueType ParamType(int param) const override;
  bool HasTangents(int param) const override;
  KeyParam Param(int key, int param) const override;

 private:
  std::vector<TrackKey>::const_iterator LowerBound(int32_t time) const;

  std::string name_;
  uint32_t type_;
  uint32_t subType_;
  int32_t interpolation_ = static_cast<int32_t>(Interpolation::Linear);
  std::vector<TrackKey> keys_;
  TrackCurves curves_;
  uint64_t steadyMask_ = 0;  // bit p: parameter p is steady
  Extra extra_;
};

}  // namespace lumetra::keyframe
