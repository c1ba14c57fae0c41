#pragma once

#include <string>

#include "keyframe/anim_channel.h"
#include "math/vector3.h"

namespace lumetra::keyframe {

// The camera: eight parameters without tangents (look-at point, location, up
// direction, field of view, roll, aperture, focal blur, focal samples) and, copied
// from the earlier key when blending, its focal distance and the two objects it
// names (location object and look-at object) with their names.
class CameraChannel final : public CopyableChannel<CameraChannel, AnimChannel> {
 public:
  static constexpr int kParams = 8;

  void ReadFromHost(const HostScene& host, uint32_t objectId, const abi::ObjectInfo& info) override;
  int32_t WriteToHost(const HostScene& host, uint32_t objectId) const override;
  void PoseRecords(abi::ParamRecord& params, abi::ObjectDataBlock& data) const override;
  int ParamCount() const override { return kParams; }
  ValueType ParamType(int index) const override;
  bool HasTangents(int) const override { return false; }
  std::string ParamName(int index) const override;
  void BlendExtra(double f, double g, const AnimChannel& earlier, const AnimChannel& later,
                  const TrackCurves& curves) override;
  void SetValue(int index, const ParamValue& value) override;
  ParamValue GetValue(int index) const override;
  void Save(ChunkWriter& out) const override;
  void Load(ChunkReader& in, int32_t version) override;
  uint32_t SavedSize() const override;

  // Turns the names of the two objects back into the scene's identifiers (0 for
  // no name or no such object); loaded keys carry only the names.
  void ResolveLinks(const HostScene& host);

  uint32_t LocationObject() const { return locationObject_; }
  uint32_t LookAtObject() const { return lookAtObject_; }
  const std::string& LocationObjectName() const { return locationName_; }
  const std::string& LookAtObjectName() const { return lookAtName_; }

 private:
  // The camera's own data and its two points (look-at and location in the parameter
  // record's rotation and translation words); true when they moved.
  bool PoseCamera(abi::CameraParams& camera) const;
  bool PosePoints(abi::ParamRecord& params) const;

  math::Vector3 lookAt_;
  math::Vector3 location_;
  math::Vector3 up_{0.0, 1.0, 0.0};
  double fieldOfView_ = 45.0;
  double roll_ = 0.0;
  double aperture_ = 0.0;
  bool focalBlur_ = false;
  int32_t focalSamples_ = 0;
  double focalDistance_ = 0.0;
  uint32_t locationObject_ = 0;
  uint32_t lookAtObject_ = 0;
  std::string locationName_;
  std::string lookAtName_;
};

}  // namespace lumetra::keyframe
