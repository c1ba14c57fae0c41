#include "keyframe/shape_channel.h"

#include <cstring>

#include "keyframe/channel_io.h"

namespace lumetra::keyframe {
namespace {

#define LUMETRA_SHAPE_OFFSET(member) offsetof(abi::ObjectDataBlock, shape.member)

constexpr ShapeField kConeFields[] = {
    {"Upper Radius", ValueType::Scalar, true, LUMETRA_SHAPE_OFFSET(cone.upperRadius), 1},
    {"Lower Radius", ValueType::Scalar, true, LUMETRA_SHAPE_OFFSET(cone.lowerRadius), 1},
};
constexpr ShapeField kTorusFields[] = {
    {"Major Radius", ValueType::Scalar, false, LUMETRA_SHAPE_OFFSET(torus.majorRadius), 1},
    {"Minor Radius", ValueType::Scalar, false, LUMETRA_SHAPE_OFFSET(torus.minorRadius), 1},
};
constexpr ShapeField kDiscFields[] = {
    {"Inner Radius", ValueType::Scalar, false, LUMETRA_SHAPE_OFFSET(disc.innerRadius), 1},
};
constexpr ShapeField kBlobFields[] = {
    {"Threshold", ValueType::Scalar, false, LUMETRA_SHAPE_OFFSET(blob.threshold), 1},
};
constexpr ShapeField kSuperquadricFields[] = {
    {"E", ValueType::Scalar, false, LUMETRA_SHAPE_OFFSET(superquadric.e), 1},
    {"R", ValueType::Scalar, false, LUMETRA_SHAPE_OFFSET(superquadric.r), 1},
};
constexpr ShapeField kLightColor = {"Color", ValueType::Color, false, LUMETRA_SHAPE_OFFSET(light.color), 3};
constexpr ShapeField kLightFields[] = {kLightColor};
constexpr ShapeField kSpotLightFields[] = {
    kLightColor,
    {"Falloff", ValueType::Scalar, false, LUMETRA_SHAPE_OFFSET(light.falloff), 1},
    {"Radius", ValueType::Scalar, false, LUMETRA_SHAPE_OFFSET(light.radius), 1},
    {"Tightness", ValueType::Scalar, false, LUMETRA_SHAPE_OFFSET(light.tightness), 1},
};
constexpr ShapeField kTextFields[] = {
    {"Depth", ValueType::Scalar, false, LUMETRA_SHAPE_OFFSET(text.depth), 1},
    {"Spacing", ValueType::Scalar, false, LUMETRA_SHAPE_OFFSET(text.spacing), 1},
    {"Size", ValueType::Scalar, false, LUMETRA_SHAPE_OFFSET(text.size), 1},
};

#undef LUMETRA_SHAPE_OFFSET

// The shape area is packed to four bytes, so its doubles are copied, not referenced.
double ReadDouble(const abi::ObjectDataBlock& data, std::size_t offset) {
  double value;
  std::memcpy(&value, reinterpret_cast<const uint8_t*>(&data) + offset, sizeof value);
  return value;
}

void WriteDouble(abi::ObjectDataBlock& data, std::size_t offset, double value) {
  std::memcpy(reinterpret_cast<uint8_t*>(&data) + offset, &value, sizeof value);
}

double& Component(ParamValue& value, int component) {
  return component == 0 ? value.x : component == 1 ? value.y : value.z;
}

double Component(const ParamValue& value, int component) {
  return component == 0 ? value.x : component == 1 ? value.y : value.z;
}

}  // namespace

const ShapeField* ShapeChannel::OwnField(int index) const {
  const int own = index - kTransformParams;
  if (!layout_.fieldsAreParams || own < 0 || own >= static_cast<int>(layout_.fields.size())) return nullptr;
  return &layout_.fields[static_cast<std::size_t>(own)];
}

void ShapeChannel::ReadFromHost(const HostScene& host, uint32_t objectId, const abi::ObjectInfo& info) {
  TransformChannel::ReadFromHost(host, objectId, info);
  if (!info.objectData) return;
  for (std::size_t i = 0; i < layout_.fields.size(); ++i) {
    const ShapeField& field = layout_.fields[i];
    for (int c = 0; c < field.components; ++c) {
      Component(values_[i], c) = ReadDouble(*info.objectData, field.offset + 8 * static_cast<std::size_t>(c));
    }
  }
}

bool ShapeChannel::TakeOwnData(abi::ObjectDataBlock& data) const {
  bool moved = false;
  for (std::size_t i = 0; i < layout_.fields.size(); ++i) {
    const ShapeField& field = layout_.fields[i];
    for (int c = 0; c < field.components; ++c) {
      const std::size_t offset = field.offset + 8 * static_cast<std::size_t>(c);
      double host = ReadDouble(data, offset);
      if (TakeIfMoved(host, Component(values_[i], c))) {
        WriteDouble(data, offset, host);
        moved = true;
      }
    }
  }
  return moved;
}

int ShapeChannel::ParamCount() const {
  return kTransformParams + (layout_.fieldsAreParams ? static_cast<int>(layout_.fields.size()) : 0);
}

ValueType ShapeChannel::ParamType(int index) const {
  if (index < kTransformParams) return TransformChannel::ParamType(index);
  const ShapeField* field = OwnField(index);
  return field ? field->type : ValueType::None;
}

bool ShapeChannel::HasTangents(int index) const {
  if (index < kTransformParams) return TransformChannel::HasTangents(index);
  const ShapeField* field = OwnField(index);
  return field && field->hasTangents;
}

std::string ShapeChannel::ParamName(int index) const {
  const ShapeField* field = OwnField(index);
  return field ? field->name : TransformChannel::ParamName(index);
}

void ShapeChannel::SetValue(int index, const ParamValue& value) {
  if (index < kTransformParams) return TransformChannel::SetValue(index, value);
  if (OwnField(index)) values_[static_cast<std::size_t>(index - kTransformParams)] = value;
}

ParamValue ShapeChannel::GetValue(int index) const {
  if (index < kTransformParams) return TransformChannel::GetValue(index);
  if (!OwnField(index)) return {};
  ParamValue value = values_[static_cast<std::size_t>(index - kTransformParams)];
  value.w = 0.0;
  return value;
}

void ShapeChannel::BlendExtra(double f, double, const AnimChannel& earlier, const AnimChannel& later,
                              const TrackCurves&) {
  if (layout_.fieldsAreParams) return;
  const auto* from = dynamic_cast<const ShapeChannel*>(&earlier);
  const auto* to = dynamic_cast<const ShapeChannel*>(&later);
  if (!from || !to) return;
  for (std::size_t i = 0; i < layout_.fields.size(); ++i) {
    for (int c = 0; c < layout_.fields[i].components; ++c) {
      Component(values_[i], c) = Mix(Component(from->values_[i], c), Component(to->values_[i], c), f);
    }
  }
}

void ShapeChannel::Save(ChunkWriter& out) const {
  TransformChannel::Save(out);
  for (std::size_t i = 0; i < layout_.fields.size(); ++i) {
    for (int c = 0; c < layout_.fields[i].components; ++c) out.Double(Component(values_[i], c));
  }
}

void ShapeChannel::Load(ChunkReader& in, int32_t version) {
  TransformChannel::Load(in, version);
  for (std::size_t i = 0; i < layout_.fields.size(); ++i) {
    for (int c = 0; c < layout_.fields[i].components; ++c) Component(values_[i], c) = in.Double();
  }
}

uint32_t ShapeChannel::SavedSize() const {
  uint32_t size = TransformChannel::SavedSize();
  for (const ShapeField& field : layout_.fields) size += 8 * static_cast<uint32_t>(field.components);
  return size;
}

ConeChannel::ConeChannel() : CopyableChannel(ShapeLayout{kConeFields, true}) {}
TorusChannel::TorusChannel() : CopyableChannel(ShapeLayout{kTorusFields, true}) {}
DiscChannel::DiscChannel() : CopyableChannel(ShapeLayout{kDiscFields, true}) {}
BlobChannel::BlobChannel() : CopyableChannel(ShapeLayout{kBlobFields, true}) {}
SuperquadricChannel::SuperquadricChannel() : CopyableChannel(ShapeLayout{kSuperquadricFields, true}) {}
LightChannel::LightChannel() : CopyableChannel(ShapeLayout{kLightFields, true}) {}
LightChannel::LightChannel(const ShapeLayout& layout) : CopyableChannel(layout) {}
SpotLightChannel::SpotLightChannel() : LightChannel(ShapeLayout{kSpotLightFields, true}) {}
TextChannel::TextChannel() : CopyableChannel(ShapeLayout{kTextFields, false}) {}

}  // namespace lumetra::keyframe
