#pragma once

#include <cstdint>
#include <memory>

#include "keyframe/object_track.h"

namespace lumetra::keyframe {

// A track evaluated at a time: either one of its own keys (at a key, before the
// first, after the last) or a channel blended between the two keys around the time.
struct TrackEvaluation {
  KeyState state = KeyState::NoKeys;
  const KeySnapshot* key = nullptr;      // the key whose state holds, when not blended
  std::unique_ptr<AnimChannel> blended;  // between two keys

  // What the object looks like at the time; null without keys or channel.
  const AnimChannel* Channel() const { return blended ? blended.get() : key ? key->Channel() : nullptr; }
};

// Before the first key the object shows its first key, after the last its last.
// Between keys each parameter comes from its curve at the track fraction, or is
// blended from the two keys (rotations through quaternions) when it has none; a
// parameter every key holds alike keeps that value. The channel then blends its
// other data.
TrackEvaluation EvaluateTrack(const ObjectTrack& track, int32_t time);

}  // namespace lumetra::keyframe
