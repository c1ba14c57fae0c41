#include "keyframe/profile_channel.h"

#include "abi/result_codes.h"
#include "keyframe/channel_io.h"

namespace lumetra::keyframe {
namespace {

constexpr int32_t kFirstVersionWithOutline = 10;

void WritePoints(ChunkWriter& out, const std::vector<math::Vector3>& points) {
  for (const math::Vector3& point : points) WriteVector(out, point);
}

std::vector<math::Vector3> ReadPoints(ChunkReader& in, uint32_t count) {
  std::vector<math::Vector3> points;
  points.reserve(count);
  for (uint32_t i = 0; i < count; ++i) points.push_back(ReadVector(in));
  return points;
}

}  // namespace

void MixPoints(const std::vector<math::Vector3>& earlier, const std::vector<math::Vector3>& later, double t,
               std::vector<math::Vector3>& out) {
  out.assign(earlier.begin(), earlier.end());
  for (std::size_t i = 0; i < out.size() && i < later.size(); ++i)
    out[i] = MixVectors(earlier[i], later[i], t);
}

void ProfileChannel::ReadFromHost(const HostScene& host, uint32_t objectId, const abi::ObjectInfo& info) {
  TransformChannel::ReadFromHost(host, objectId, info);
  if (!info.objectData) return;
  const abi::ProfileParams& profile = info.objectData->shape.profile;
  setting_ = profile.splineKind;
  first_ = profile.extrusion[0];
  second_ = profile.extrusion[1];
  std::vector<abi::ProfilePoint> read(std::min(profile.pointCount, kMaxPoints));
  if (host.ReadProfilePoints(objectId, 0, static_cast<uint32_t>(read.size()), read.data()) != abi::kOk) {
    read.clear();
  }
  points_.clear();
  for (const abi::ProfilePoint& point : read) points_.push_back({point.x, point.y, point.z});
}

bool ProfileChannel::TakeOwnData(abi::ObjectDataBlock& data) const {
  abi::ProfileParams& profile = data.shape.profile;
  bool moved = false;
  if (profile.splineKind != setting_) {
    profile.splineKind = setting_;
    moved = true;
  }
  double first = profile.extrusion[0], second = profile.extrusion[1];
  moved = TakeIfMoved(first, first_) | moved;
  moved = TakeIfMoved(second, second_) | moved;
  profile.extrusion[0] = first;
  profile.extrusion[1] = second;
  return moved;
}

// The host's points, their flags kept, take the coordinates that moved.
bool ProfileChannel::WriteOwnPoints(const HostScene& host, uint32_t objectId) const {
  const auto count = static_cast<uint32_t>(points_.size());
  std::vector<abi::ProfilePoint> current(count);
  if (count == 0 || host.ReadProfilePoints(objectId, 0, count, current.data()) != abi::kOk) return false;
  bool moved = false;
  for (uint32_t i = 0; i < count; ++i) {
    moved = TakeIfMoved(current[i].x, points_[i].x) | moved;
    moved = TakeIfMoved(current[i].y, points_[i].y) | moved;
    moved = TakeIfMoved(current[i].z, points_[i].z) | moved;
  }
  return moved && host.WriteProfilePoints(objectId, 0, count, current.data()) == abi::kOk;
}

void ProfileChannel::BlendExtra(double f, double, const AnimChannel& earlier, const AnimChannel& later,
                                const TrackCurves&) {
  const auto* from = dynamic_cast<const ProfileChannel*>(&earlier);
  const auto* to = dynamic_cast<const ProfileChannel*>(&later);
  if (!from || !to) return;
  setting_ = from->setting_;
  first_ = Mix(from->first_, to->first_, f);
  second_ = Mix(from->second_, to->second_, f);
  MixPoints(from->points_, to->points_, f, points_);
}

// The count is saved less one, the points after the two doubles in reverse order.
void ProfileChannel::Save(ChunkWriter& out) const {
  TransformChannel::Save(out);
  out.U32(setting_);
  out.U32(static_cast<uint32_t>(points_.size()) - 1u);
  out.Double(second_);
  out.Double(first_);
  WritePoints(out, points_);
}

void ProfileChannel::Load(ChunkReader& in, int32_t version) {
  TransformChannel::Load(in, version);
  if (version < kFirstVersionWithOutline) return;
  setting_ = in.U32();
  // An outline without points was saved with the count 0xFFFFFFFF.
  const uint32_t count = in.U32() + 1u;
  if (count > kMaxPoints)
    throw ChunkFormatError("the keyframe data claims an outline of " + std::to_string(count) + " points");
  second_ = in.Double();
  first_ = in.Double();
  points_ = ReadPoints(in, count);
}

uint32_t ProfileChannel::SavedSize() const {
  return TransformChannel::SavedSize() + 4 + 4 + 16 + 24 * static_cast<uint32_t>(points_.size());
}

void SplineMeshChannel::ReadFromHost(const HostScene& host, uint32_t objectId, const abi::ObjectInfo& info) {
  TransformChannel::ReadFromHost(host, objectId, info);
  if (!info.objectData) return;
  const uint32_t count = std::min(info.objectData->shape.splineMesh.pointCount, kMaxPoints);
  std::vector<double> coordinates(3 * static_cast<std::size_t>(count));
  points_.clear();
  if (host.ReadSplinePoints(objectId, 0, count, coordinates.data()) != abi::kOk) return;
  for (uint32_t i = 0; i < count; ++i)
    points_.push_back({coordinates[3 * i], coordinates[3 * i + 1], coordinates[3 * i + 2]});
}

bool SplineMeshChannel::WriteOwnPoints(const HostScene& host, uint32_t objectId) const {
  const auto count = static_cast<uint32_t>(points_.size());
  std::vector<double> current(3 * static_cast<std::size_t>(count));
  if (count == 0 || host.ReadSplinePoints(objectId, 0, count, current.data()) != abi::kOk) return false;
  bool moved = false;
  for (uint32_t i = 0; i < count; ++i) {
    double* point = &current[3 * static_cast<std::size_t>(i)];
    moved = TakeIfMoved(point[0], points_[i].x) | moved;
    moved = TakeIfMoved(point[1], points_[i].y) | moved;
    moved = TakeIfMoved(point[2], points_[i].z) | moved;
  }
  return moved && host.WriteSplinePoints(objectId, 0, count, current.data()) == abi::kOk;
}

void SplineMeshChannel::BlendExtra(double f, double, const AnimChannel& earlier, const AnimChannel& later,
                                   const TrackCurves&) {
  const auto* from = dynamic_cast<const SplineMeshChannel*>(&earlier);
  const auto* to = dynamic_cast<const SplineMeshChannel*>(&later);
  if (from && to) MixPoints(from->points_, to->points_, f, points_);
}

void SplineMeshChannel::Save(ChunkWriter& out) const {
  TransformChannel::Save(out);
  out.U32(static_cast<uint32_t>(points_.size()));
  WritePoints(out, points_);
}

void SplineMeshChannel::Load(ChunkReader& in, int32_t version) {
  TransformChannel::Load(in, version);
  if (version < kFirstVersionWithOutline) return;
  points_ = ReadPoints(in, in.Count(kMaxPoints, "control points"));
}

uint32_t SplineMeshChannel::SavedSize() const {
  return TransformChannel::SavedSize() + 4 + 24 * static_cast<uint32_t>(points_.size());
}

}  // namespace lumetra::keyframe
