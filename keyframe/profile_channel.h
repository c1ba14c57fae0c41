#pragma once

#include <vector>

#include "keyframe/transform_channel.h"

namespace lumetra::keyframe {

// Sweeps, lathes and extrusions: the transform part and the outline, whose
// setting and point count come from the earlier key while its two doubles and
// its points are blended. Posing writes the setting, the two doubles and the points that
// moved back to the host.
class ProfileChannel final : public CopyableChannel<ProfileChannel, TransformChannel> {
 public:
  static constexpr uint32_t kMaxPoints = 1u << 16;

  void ReadFromHost(const HostScene& host, uint32_t objectId, const abi::ObjectInfo& info) override;
  void BlendExtra(double f, double g, const AnimChannel& earlier, const AnimChannel& later,
                  const TrackCurves& curves) override;
  void Save(ChunkWriter& out) const override;
  void Load(ChunkReader& in, int32_t version) override;
  uint32_t SavedSize() const override;

  const std::vector<math::Vector3>& Points() const { return points_; }
  double First() const { return first_; }
  double Second() const { return second_; }

 protected:
  bool HasOwnData() const override { return true; }
  bool TakeOwnData(abi::ObjectDataBlock& data) const override;
  bool WriteOwnPoints(const HostScene& host, uint32_t objectId) const override;

 private:
  uint32_t setting_ = 0;
  double first_ = 0.0;
  double second_ = 0.0;
  std::vector<math::Vector3> points_;
};

// Spline meshes: the transform part and the control points, blended between
// keys; posing writes the control points that moved back to the host.
class SplineMeshChannel final : public CopyableChannel<SplineMeshChannel, TransformChannel> {
 public:
  static constexpr uint32_t kMaxPoints = 1u << 20;

  void ReadFromHost(const HostScene& host, uint32_t objectId, const abi::ObjectInfo& info) override;
  void BlendExtra(double f, double g, const AnimChannel& earlier, const AnimChannel& later,
                  const TrackCurves& curves) override;
  void Save(ChunkWriter& out) const override;
  void Load(ChunkReader& in, int32_t version) override;
  uint32_t SavedSize() const override;

  const std::vector<math::Vector3>& Points() const { return points_; }

 protected:
  bool WriteOwnPoints(const HostScene& host, uint32_t objectId) const override;

 private:
  std::vector<math::Vector3> points_;
};

// Blends two point lists into `out`, sized like `earlier`; points the later list
// lacks stay the earlier ones.
void MixPoints(const std::vector<math::Vector3>& earlier, const std::vector<math::Vector3>& later, double t,
               std::vector<math::Vector3>& out);

}  // namespace lumetra::keyframe
