#include "keyframe/texture_node_channels.h"

#include <cstring>

#include "abi/result_codes.h"
#include "keyframe/channel_io.h"
#include "keyframe/transform_channel.h"

namespace lumetra::keyframe {
namespace {

ParamValue Scalar(double x) { return {x, 0.0, 0.0, 0.0}; }

}  // namespace

void TextureNodeChannel::ReadFromHost(const HostScene&, uint32_t, const abi::ObjectInfo& info) {
  if (info.textureData) ReadNode(*info.textureData);
}

int32_t TextureNodeChannel::WriteToHost(const HostScene& host, uint32_t objectId) const {
  ObjectRecord record;
  if (host.ReadObject(objectId, record, true) != abi::kOk || !TakeNode(record.texture)) return kUnchanged;
  return host.SetObjectInfo(objectId, record.info, StoreFlags()) == abi::kOk ? kObjectDataWritten
                                                                             : kUnchanged;
}

ValueType SpecialColorChannel::ParamType(int index) const {
  if (index == 0) return ValueType::Color;
  return index == 1 || index == 2 ? ValueType::Scalar : ValueType::None;
}

void SpecialColorChannel::SetValue(int index, const ParamValue& value) {
  if (index == 0) color_ = value.Xyz();
  if (index == 1) filter_ = value.x;
  if (index == 2) transmit_ = value.x;
}

ParamValue SpecialColorChannel::GetValue(int index) const {
  if (index == 0) return ToParam(color_);
  if (index == 1) return Scalar(filter_);
  return index == 2 ? Scalar(transmit_) : ParamValue{};
}

void SpecialColorChannel::ReadNode(const abi::TextureBlock& node) {
  const abi::ColorParams& color = node.params.color;
  color_ = {color.red, color.green, color.blue};
  filter_ = color.filter;
  transmit_ = color.transmit;
}

bool SpecialColorChannel::TakeNode(abi::TextureBlock& node) const {
  abi::ColorParams& color = node.params.color;
  bool moved = TakeIfMovedAt(&color.red, color_.x);
  moved = TakeIfMovedAt(&color.green, color_.y) | moved;
  moved = TakeIfMovedAt(&color.blue, color_.z) | moved;
  moved = TakeIfMovedAt(&color.filter, filter_) | moved;
  return TakeIfMovedAt(&color.transmit, transmit_) | moved;
}

void SpecialColorChannel::Save(ChunkWriter& out) const {
  WriteVector(out, color_);
  out.Double(filter_);
  out.Double(transmit_);
}

void SpecialColorChannel::Load(ChunkReader& in, int32_t) {
  color_ = ReadVector(in);
  filter_ = in.Double();
  transmit_ = in.Double();
}

ValueType SpecialTransformChannel::ParamType(int index) const {
  return index >= 0 && index < 3 ? TransformParamType(index) : ValueType::None;
}

void SpecialTransformChannel::SetValue(int index, const ParamValue& value) {
  if (index == 0) rotate_ = value.Xyz();
  if (index == 1) scale_ = value.Xyz();
  if (index == 2) translate_ = value.Xyz();
}

ParamValue SpecialTransformChannel::GetValue(int index) const {
  if (index == 0) return ToParam(rotate_);
  if (index == 1) return ToParam(scale_);
  return index == 2 ? ToParam(translate_) : ParamValue{};
}

void SpecialTransformChannel::ReadNode(const abi::TextureBlock& node) {
  const abi::TransformNodeParams& transform = node.params.transform;
  rotate_ = -VectorAt(&transform.rotate);
  scale_ = VectorAt(&transform.scale);
  translate_ = VectorAt(&transform.translate);
}

bool SpecialTransformChannel::TakeNode(abi::TextureBlock& node) const {
  abi::TransformNodeParams& transform = node.params.transform;
  bool moved = TakeVectorIfMovedAt(&transform.rotate, -rotate_);
  moved = TakeVectorIfMovedAt(&transform.scale, scale_) | moved;
  return TakeVectorIfMovedAt(&transform.translate, translate_) | moved;
}

void SpecialTransformChannel::Save(ChunkWriter& out) const {
  WriteVector(out, scale_);
  WriteVector(out, rotate_);
  WriteVector(out, translate_);
}

void SpecialTransformChannel::Load(ChunkReader& in, int32_t) {
  scale_ = ReadVector(in);
  rotate_ = ReadVector(in);
  translate_ = ReadVector(in);
}

void SpecialTextureChannel::ReadNode(const abi::TextureBlock& node) {
  words_.fill(0);
  std::memcpy(words_.data(), &node.params.finish, sizeof(abi::FinishParams));
}

bool SpecialTextureChannel::TakeNode(abi::TextureBlock& node) const {
  if (std::memcmp(&node.params.finish, words_.data(), sizeof(abi::FinishParams)) == 0) return false;
  std::memcpy(&node.params.finish, words_.data(), sizeof(abi::FinishParams));
  return true;
}

void SpecialTextureChannel::Save(ChunkWriter& out) const {
  for (uint32_t word : words_) out.U32(word);
}

void SpecialTextureChannel::Load(ChunkReader& in, int32_t) {
  for (uint32_t& word : words_) word = in.U32();
}

// A node with a single turbulence factor uses it on every axis; turbulence is
// then on when that factor is not 0.
void SpecialScaleChannel::ReadNode(const abi::TextureBlock& node) {
  const abi::NoiseModifierParams& noise = node.params.noise;
  if (noise.perAxis) {
    turbulence_ = VectorAt(&noise.turbulenceXyz);
    turbulenceOn_ = turbulence_ != math::Vector3{};
  } else {
    turbulence_ = {noise.turbulence, noise.turbulence, noise.turbulence};
    turbulenceOn_ = noise.turbulence != 0.0;
  }
  omega_ = noise.omega;
  lambda_ = noise.lambda;
  frequency_ = noise.frequency;
  phase_ = noise.phase;
  octaves_ = noise.octaves;
  waveShape_ = noise.waveShape;
}

bool SpecialScaleChannel::TakeNode(abi::TextureBlock& node) const {
  abi::NoiseModifierParams& noise = node.params.noise;
  bool moved = noise.perAxis ? TakeVectorIfMovedAt(&noise.turbulenceXyz, turbulence_)
                             : TakeIfMovedAt(&noise.turbulence, turbulence_.x);
  moved = TakeIfMovedAt(&noise.omega, omega_) | moved;
  moved = TakeIfMovedAt(&noise.lambda, lambda_) | moved;
  moved = TakeIfMovedAt(&noise.frequency, frequency_) | moved;
  moved = TakeIfMovedAt(&noise.phase, phase_) | moved;
  if (noise.octaves != octaves_ || noise.waveShape != waveShape_) moved = true;
  noise.octaves = octaves_;
  noise.waveShape = waveShape_;
  return moved;
}

void SpecialScaleChannel::Save(ChunkWriter& out) const {
  out.U32(turbulenceOn_ ? 1 : 0);
  WriteVector(out, turbulence_);
  for (double value : {omega_, lambda_, frequency_, phase_, exponent_}) out.Double(value);
  out.U32(octaves_);
  out.U32(waveShape_);
}

void SpecialScaleChannel::Load(ChunkReader& in, int32_t) {
  turbulenceOn_ = in.U32() != 0;
  turbulence_ = ReadVector(in);
  for (double* value : {&omega_, &lambda_, &frequency_, &phase_, &exponent_}) *value = in.Double();
  octaves_ = in.U32();
  waveShape_ = in.U32();
}

}  // namespace lumetra::keyframe
