#include "keyframe/camera_channel.h"

#include <cstring>

#include "abi/result_codes.h"
#include "keyframe/channel_io.h"

namespace lumetra::keyframe {
namespace {

constexpr const char* kNames[CameraChannel::kParams] = {"Look At",       "Location",     "Up Direction",
                                                        "Field of View", "Roll",         "Aperture",
                                                        "Focal Blur",    "Focal Samples"};
constexpr uint32_t kMaxNameLength = 127;

ParamValue Scalar(double x) { return {x, 0.0, 0.0, 0.0}; }

std::string NameOf(const HostScene& host, uint32_t id) {
  if (id == 0) return {};
  abi::ObjectInfo info;
  abi::PrepareObjectInfo(info);
  if (host.GetObjectInfo(id, info) != abi::kOk) return {};
  return std::string(info.name, strnlen(info.name, sizeof info.name));
}

uint32_t IdOf(const HostScene& host, const std::string& name) {
  uint32_t id = 0;
  if (name.empty() || host.FindObjectByName(name.c_str(), id) != abi::kOk) return 0;
  return id;
}

template <typename T>
bool TakeIfDifferent(T& host, T mine) {
  if (host == mine) return false;
  host = mine;
  return true;
}

}  // namespace

ValueType CameraChannel::ParamType(int index) const {
  if (index < 0 || index >= kParams) return ValueType::None;
  return index < 3 ? ValueType::Vector : ValueType::Scalar;
}

std::string CameraChannel::ParamName(int index) const {
  return index >= 0 && index < kParams ? kNames[index] : "";
}

void CameraChannel::ReadFromHost(const HostScene& host, uint32_t objectId, const abi::ObjectInfo& info) {
  abi::ParamRecord record{};
  if (host.GetObjectParams(objectId, record) == abi::kOk) {
    lookAt_ = FromArray(record.rotate);
    location_ = FromArray(record.translate);
  }
  if (const abi::ObjectDataBlock* data = info.objectData) {
    const abi::CameraParams& camera = data->shape.camera;
    up_ = FromArray(camera.up);
    fieldOfView_ = camera.fieldOfView;
    roll_ = camera.roll;
    aperture_ = camera.aperture;
    focalBlur_ = camera.focalBlur != 0;
    focalSamples_ = static_cast<int32_t>(camera.focalSamples);
    focalDistance_ = camera.focalDistance;
  }
  locationObject_ = abi::CameraLocationObject(info);
  lookAtObject_ = abi::CameraLookAtObject(info);
  locationName_ = NameOf(host, locationObject_);
  lookAtName_ = NameOf(host, lookAtObject_);
}

bool CameraChannel::PoseCamera(abi::CameraParams& camera) const {
  bool moved = TakeVectorIfMoved(camera.up, up_);
  moved = TakeIfMoved(camera.fieldOfView, fieldOfView_) | moved;
  moved = TakeIfMoved(camera.roll, roll_) | moved;
  moved = TakeIfMoved(camera.aperture, aperture_) | moved;
  moved = TakeIfMoved(camera.focalDistance, focalDistance_) | moved;
  moved = TakeIfDifferent<uint32_t>(camera.focalBlur, focalBlur_ ? 1 : 0) | moved;
  moved = TakeIfDifferent(camera.focalSamples, static_cast<uint32_t>(focalSamples_)) | moved;
  return moved;
}

bool CameraChannel::PosePoints(abi::ParamRecord& params) const {
  return TakeVectorIfMoved(params.rotate, lookAt_) | TakeVectorIfMoved(params.translate, location_);
}

void CameraChannel::PoseRecords(abi::ParamRecord& params, abi::ObjectDataBlock& data) const {
  abi::CameraParams camera = data.shape.camera;
  PoseCamera(camera);
  data.shape.camera = camera;
  PosePoints(params);
}

int32_t CameraChannel::WriteToHost(const HostScene& host, uint32_t objectId) const {
  int32_t change = kUnchanged;
  ObjectRecord record;
  if (host.ReadObject(objectId, record, false) == abi::kOk) {
    abi::CameraParams camera = record.data.shape.camera;
    const bool moved = PoseCamera(camera);
    record.data.shape.camera = camera;
    if (moved && host.SetObjectInfo(objectId, record.info, kStoreObjectData) == abi::kOk)
      change = kObjectDataWritten;
  }
  abi::ParamRecord params{};
  if (host.GetObjectParams(objectId, params) == abi::kOk) {
    if (PosePoints(params) && host.SetObjectParams(objectId, params, kStoreTransform) == abi::kOk &&
        change == kUnchanged) {
      change = kTransformWritten;
    }
  }
  return change;
}

void CameraChannel::BlendExtra(double, double, const AnimChannel& earlier, const AnimChannel&,
                               const TrackCurves&) {
  const auto* from = dynamic_cast<const CameraChannel*>(&earlier);
  if (!from) return;
  focalDistance_ = from->focalDistance_;
  locationObject_ = from->locationObject_;
  lookAtObject_ = from->lookAtObject_;
  locationName_ = from->locationName_;
  lookAtName_ = from->lookAtName_;
}

void CameraChannel::SetValue(int index, const ParamValue& value) {
  switch (index) {
    case 0:
      lookAt_ = value.Xyz();
      break;
    case 1:
      location_ = value.Xyz();
      break;
    case 2:
      up_ = value.Xyz();
      break;
    case 3:
      fieldOfView_ = value.x;
      break;
    case 4:
      roll_ = value.x;
      break;
    case 5:
      aperture_ = value.x;
      break;
    case 6:
      focalBlur_ = value.x != 0.0;
      break;
    case 7:
      focalSamples_ = static_cast<int32_t>(value.x);
      break;
    default:
      break;
  }
}

ParamValue CameraChannel::GetValue(int index) const {
  switch (index) {
    case 0:
      return ToParam(lookAt_);
    case 1:
      return ToParam(location_);
    case 2:
      return ToParam(up_);
    case 3:
      return Scalar(fieldOfView_);
    case 4:
      return Scalar(roll_);
    case 5:
      return Scalar(aperture_);
    case 6:
      return Scalar(focalBlur_ ? 1.0 : 0.0);
    case 7:
      return Scalar(focalSamples_);
    default:
      return {};
  }
}

// The look-at object's name goes first: it is the later of the two identifier words.
void CameraChannel::Save(ChunkWriter& out) const {
  out.Double(fieldOfView_);
  out.Double(roll_);
  out.Double(focalDistance_);
  out.U32(focalBlur_ ? 1 : 0);
  out.U32(static_cast<uint32_t>(focalSamples_));
  out.Double(aperture_);
  out.String(lookAtName_);
  out.String(locationName_);
  WriteVector(out, lookAt_);
  WriteVector(out, location_);
  WriteVector(out, up_);
}

void CameraChannel::Load(ChunkReader& in, int32_t) {
  fieldOfView_ = in.Double();
  roll_ = in.Double();
  focalDistance_ = in.Double();
  focalBlur_ = in.U32() != 0;
  focalSamples_ = static_cast<int32_t>(in.U32());
  aperture_ = in.Double();
  lookAtName_ = in.String(kMaxNameLength);
  locationName_ = in.String(kMaxNameLength);
  lookAt_ = ReadVector(in);
  location_ = ReadVector(in);
  up_ = ReadVector(in);
  lookAtObject_ = 0;
  locationObject_ = 0;
}

uint32_t CameraChannel::SavedSize() const {
  return 3 * 8 + 2 * 4 + 8 + 4 + static_cast<uint32_t>(lookAtName_.size()) + 4 +
         static_cast<uint32_t>(locationName_.size()) + 3 * 24;
}

void CameraChannel::ResolveLinks(const HostScene& host) {
  lookAtObject_ = IdOf(host, lookAtName_);
  locationObject_ = IdOf(host, locationName_);
}

}  // namespace lumetra::keyframe
