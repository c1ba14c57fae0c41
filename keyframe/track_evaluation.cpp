#include "keyframe/track_evaluation.h"

#include <algorithm>
#include <optional>

#include "keyframe/channel_factory.h"
#include "math/quaternion.h"

namespace lumetra::keyframe {
namespace {

ParamValue BlendValue(ValueType type, const ParamValue& earlier, const ParamValue& later, double f) {
  switch (type) {
    case ValueType::EulerRotationAlt:
    case ValueType::EulerRotation: {
      const math::Quaternion a = math::Quaternion::FromEulerDegrees(earlier.Xyz());
      const math::Quaternion b = math::Quaternion::FromEulerDegrees(later.Xyz());
      const math::Vector3 angles = math::Slerp(a, b, f).ToEulerDegrees();
      return {angles.x, angles.y, angles.z, 0.0};
    }
    case ValueType::Scalar:
    case ValueType::Vector:
    case ValueType::Color:
    case ValueType::Scale:
    case ValueType::Translation:
      return {Mix(earlier.x, later.x, f), Mix(earlier.y, later.y, f), Mix(earlier.z, later.z, f), 0.0};
    case ValueType::None:
    case ValueType::NoChannel:
      break;
  }
  return {};
}

std::unique_ptr<AnimChannel> Blend(const ObjectTrack& track, int32_t time, const TrackKey& earlier,
                                   const TrackKey& later) {
  // A step track holds the earlier key's state, its data besides the parameters included.
  const double f =
      track.InterpolationKind() == Interpolation::Step
          ? 0.0
          : (static_cast<double>(time) - earlier.time) / (static_cast<double>(later.time) - earlier.time);
  const double first = track.Keys().front().time, last = track.Keys().back().time;
  const double g = (time - first) / (last - first);
  // Starting from the earlier key leaves the steady parameters as every key holds them.
  std::unique_ptr<AnimChannel> channel = earlier.snapshot.Channel()
                                             ? earlier.snapshot.Channel()->Clone()
                                             : MakeChannel(track.Type(), track.SubType());
  if (!channel) return nullptr;
  const TrackCurves& curves = track.Curves();
  std::optional<SegmentPosition> at;
  for (int i = 0; i < channel->ParamCount(); ++i) {
    if (track.IsSteady(i)) continue;
    if (const Curve* curve = curves.Find(i)) {
      if (!at) at = curve->Locate(g);
      const math::Vector3 position = curve->EvaluateIn(g, *at);
      channel->SetValue(i, {position.x, position.y, position.z, 0.0});
    } else {
      channel->SetValue(
          i, BlendValue(channel->ParamType(i), earlier.snapshot.GetValue(i), later.snapshot.GetValue(i), f));
    }
  }
  if (earlier.snapshot.Channel() && later.snapshot.Channel()) {
    channel->BlendExtra(f, g, *earlier.snapshot.Channel(), *later.snapshot.Channel(), curves);
  }
  return channel;
}

}  // namespace

TrackEvaluation EvaluateTrack(const ObjectTrack& track, int32_t time) {
  const std::vector<TrackKey>& keys = track.Keys();
  TrackEvaluation result;
  if (keys.empty()) return result;
  const auto later = std::lower_bound(keys.begin(), keys.end(), time,
                                      [](const TrackKey& key, int32_t t) { return key.time < t; });
  if (later == keys.end()) {
    result.state = KeyState::AfterLast;
    result.key = &keys.back().snapshot;
  } else if (later->time == time) {
    result.state = KeyState::AtKey;
    result.key = &later->snapshot;
  } else if (later == keys.begin()) {
    result.state = KeyState::BeforeFirst;
    result.key = &keys.front().snapshot;
  } else {
    result.state = KeyState::BetweenKeys;
    result.blended = Blend(track, time, *(later - 1), *later);
  }
  return result;
}

}  // namespace lumetra::keyframe
