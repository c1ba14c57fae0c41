#include "keyframe/track_curves.h"

#include <stdexcept>
#include <string>

#include "keyframe/hermite_curve.h"
#include "keyframe/point_curve.h"
#include "keyframe/rotation_curve.h"

namespace lumetra::keyframe {

namespace {

// The keys of one parameter in time order, with the gaps between them.
struct ParamKeys {
  std::vector<KeyParam> keys;
  const std::vector<double>& gaps;
  bool hasTangents = false;

  std::vector<ParamValue> Values() const {
    std::vector<ParamValue> values;
    values.reserve(keys.size());
    for (const KeyParam& key : keys) values.push_back(key.value);
    return values;
  }
};

std::vector<double> KeyGaps(const KeyTrack& track) {
  std::vector<double> gaps;
  for (int k = 1; k < track.KeyCount(); ++k) {
    const std::int32_t before = track.KeyTime(k - 1), after = track.KeyTime(k);
    if (after < before) {
      throw std::invalid_argument("key times must not decrease: key " + std::to_string(k) + " at " +
                                  std::to_string(after) + " follows " + std::to_string(before));
    }
    gaps.push_back(static_cast<double>(after) - static_cast<double>(before));
  }
  return gaps;
}

void CheckInterpolation(Interpolation kind) {
  switch (kind) {
    case Interpolation::Step:
    case Interpolation::Linear:
    case Interpolation::Cubic:
    case Interpolation::PairBlend:
      return;
  }
  throw std::invalid_argument("unknown interpolation kind " +
                              std::to_string(static_cast<std::int32_t>(kind)));
}

ParamValue Difference(const ParamValue& a, const ParamValue& b) {
  return {a.x - b.x, a.y - b.y, a.z - b.z, 0.0};
}

// Value and tangent of each key; a tangent spans the two neighbouring keys,
// or the one neighbour at either end.
std::vector<ParamValue> ValuesWithComputedTangents(const std::vector<ParamValue>& values) {
  const std::size_t n = values.size();
  std::vector<ParamValue> records;
  records.reserve(2 * n);
  for (std::size_t k = 0; k < n; ++k) {
    records.push_back(values[k]);
    records.push_back(Difference(values[k + 1 < n ? k + 1 : k], values[k > 0 ? k - 1 : k]));
  }
  return records;
}

// Per segment: value and outgoing tangent of its start, value and incoming
// tangent of its end.
std::vector<ParamValue> SegmentsWithKeptTangents(const std::vector<KeyParam>& keys) {
  std::vector<ParamValue> records;
  records.reserve(4 * keys.size());
  for (std::size_t k = 0; k + 1 < keys.size(); ++k) {
    records.insert(records.end(),
                   {keys[k].value, keys[k].outTangent, keys[k + 1].value, keys[k + 1].inTangent});
  }
  return records;
}

std::unique_ptr<Curve> CubicCurve(const ParamKeys& param) {
  if (param.keys.size() < 2)
    return std::make_unique<PointCurve>(PointCurve::Kind::Linear, param.Values(), param.gaps);
  if (param.hasTangents)
    return std::make_unique<HermiteCurve>(4, SegmentsWithKeptTangents(param.keys), param.gaps);
  return std::make_unique<HermiteCurve>(2, ValuesWithComputedTangents(param.Values()), param.gaps);
}

std::unique_ptr<Curve> PointLikeCurve(Interpolation kind, const ParamKeys& param) {
  switch (kind) {
    case Interpolation::Step:
      return std::make_unique<PointCurve>(PointCurve::Kind::Step, param.Values(), param.gaps);
    case Interpolation::Linear:
      return std::make_unique<PointCurve>(PointCurve::Kind::Linear, param.Values(), param.gaps);
    case Interpolation::Cubic:
      return CubicCurve(param);
    case Interpolation::PairBlend:
      break;
  }
  return nullptr;
}

std::unique_ptr<Curve> RotationLikeCurve(Interpolation kind, const ParamKeys& param) {
  if (kind == Interpolation::Step)
    return std::make_unique<PointCurve>(PointCurve::Kind::Step, param.Values(), param.gaps);
  return std::make_unique<RotationCurve>(param.Values(), param.gaps);
}

std::unique_ptr<Curve> CurveFor(ValueType type, Interpolation kind, const ParamKeys& param) {
  switch (type) {
    case ValueType::Scalar:
    case ValueType::Vector:
    case ValueType::Color:
    case ValueType::Scale:
    case ValueType::Translation:
      return PointLikeCurve(kind, param);
    case ValueType::EulerRotationAlt:
    case ValueType::EulerRotation:
      return RotationLikeCurve(kind, param);
    case ValueType::None:
    case ValueType::NoChannel:
      break;
  }
  return nullptr;
}

ParamKeys CollectKeys(const KeyTrack& track, int param, const std::vector<double>& gaps) {
  ParamKeys collected{{}, gaps, track.HasTangents(param)};
  collected.keys.reserve(static_cast<std::size_t>(track.KeyCount()));
  for (int k = 0; k < track.KeyCount(); ++k) {
    collected.keys.push_back(track.Param(k, param));
  }
  return collected;
}

}  // namespace

TrackCurves BuildTrackCurves(const KeyTrack& track) {
  if (track.KeyCount() <= 0 || track.ParamCount() <= 0) return TrackCurves();
  const Interpolation kind = track.InterpolationKind();
  CheckInterpolation(kind);
  const std::vector<double> gaps = KeyGaps(track);
  std::vector<std::unique_ptr<Curve>> slots;
  slots.reserve(static_cast<std::size_t>(track.ParamCount()));
  for (int param = 0; param < track.ParamCount(); ++param) {
    slots.push_back(CurveFor(track.ParamType(param), kind, CollectKeys(track, param, gaps)));
  }
  return TrackCurves(std::move(slots));
}

}  // namespace lumetra::keyframe
