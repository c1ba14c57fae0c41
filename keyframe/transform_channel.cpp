#include "keyframe/transform_channel.h"

#include <cstring>

#include "abi/result_codes.h"
#include "keyframe/channel_io.h"

namespace lumetra::keyframe {
namespace {

using math::Vector3;

constexpr const char* kNames[TransformChannel::kTransformParams] = {
    "Rotate",          "Scale",          "Translate",     "Local Rotate",     "Local Scale",
    "Local Translate", "Texture Rotate", "Texture Scale", "Texture Translate"};
constexpr uint32_t kBlockTag = 101;

// Chunk versions that changed the saved form.
constexpr int32_t kLastVersionWithoutBlockFlag = 3;
constexpr int32_t kVersionWithExtraDoubles = 21;
constexpr int32_t kFirstVersionWithTexture = 16;
constexpr int kExtraDoubles = 18;

void SkipDoubles(ChunkReader& in, int count) {
  for (int i = 0; i < count; ++i) in.Double();
}

bool IsIdentityRecord(const abi::ParamRecord& record) {
  return FromArray(record.scale) == Vector3{1.0, 1.0, 1.0} && FromArray(record.rotate) == Vector3{} &&
         FromArray(record.translate) == Vector3{} && record.hasLocal == 0;
}

}  // namespace

ValueType TransformParamType(int index) {
  switch (index % 3) {
    case 0:
      return ValueType::EulerRotation;
    case 1:
      return ValueType::Scale;
    default:
      return ValueType::Translation;
  }
}

TransformChannel::TransformChannel(const TransformChannel& other)
    : AnimChannel(other),
      block_(other.block_ ? std::make_unique<TransformBlock>(*other.block_) : nullptr),
      textureScale_(other.textureScale_),
      textureRotate_(other.textureRotate_),
      textureTranslate_(other.textureTranslate_) {}

TransformChannel& TransformChannel::operator=(const TransformChannel& other) {
  if (this != &other) {
    block_ = other.block_ ? std::make_unique<TransformBlock>(*other.block_) : nullptr;
    textureScale_ = other.textureScale_;
    textureRotate_ = other.textureRotate_;
    textureTranslate_ = other.textureTranslate_;
  }
  return *this;
}

std::unique_ptr<AnimChannel> TransformChannel::Clone() const {
  return std::make_unique<TransformChannel>(*this);
}

TransformBlock& TransformChannel::EnsureBlock() {
  if (!block_) block_ = std::make_unique<TransformBlock>();
  return *block_;
}

ValueType TransformChannel::ParamType(int index) const {
  return index >= 0 && index < kTransformParams ? TransformParamType(index) : ValueType::None;
}

std::string TransformChannel::ParamName(int index) const {
  return index >= 0 && index < kTransformParams ? kNames[index] : "Obj Specific";
}

const math::Vector3* TransformChannel::Find(int index) const {
  switch (index) {
    case 6:
      return &textureRotate_;
    case 7:
      return &textureScale_;
    case 8:
      return &textureTranslate_;
    default:
      break;
  }
  if (index < 0 || index > 5 || !block_) return nullptr;
  const Vector3* const slots[6] = {&block_->rotate,      &block_->scale,      &block_->translate,
                                   &block_->localRotate, &block_->localScale, &block_->localTranslate};
  return slots[index];
}

void TransformChannel::SetValue(int index, const ParamValue& value) {
  if (index < 0 || index >= kTransformParams) return;
  EnsureBlock();
  *const_cast<Vector3*>(Find(index)) = value.Xyz();
}

// The texture entries answer their own fields even without a block, so an object
// whose transform never moved keeps its texture transform through evaluation.
ParamValue TransformChannel::GetValue(int index) const {
  if (const Vector3* slot = Find(index)) return ToParam(*slot);
  return ParamType(index) == ValueType::Scale ? ParamValue{1.0, 1.0, 1.0, 0.0} : ParamValue{};
}

void TransformChannel::ReadFromHost(const HostScene& host, uint32_t objectId, const abi::ObjectInfo& info) {
  abi::ParamRecord record{};
  if (host.GetObjectParams(objectId, record) == abi::kOk && (block_ || !IsIdentityRecord(record))) {
    TransformBlock& block = EnsureBlock();
    block.rotate = FromArray(record.rotate);
    block.scale = FromArray(record.scale);
    block.translate = FromArray(record.translate);
    if (record.hasLocal) {
      block.localRotate = FromArray(record.localRotate);
      block.localScale = FromArray(record.localScale);
      block.localTranslate = FromArray(record.localTranslate);
    } else {
      block.ResetLocal();
    }
  }
  if (const abi::ObjectDataBlock* data = info.objectData) {
    textureScale_ = FromArray(data->textureScale);
    textureRotate_ = FromArray(data->textureRotate);
    textureTranslate_ = FromArray(data->textureTranslate);
  }
}

void TransformChannel::PoseParams(abi::ParamRecord& params) const {
  const TransformBlock block = block_ ? *block_ : TransformBlock{};
  ToArray(block.scale, params.scale);
  ToArray(block.rotate, params.rotate);
  ToArray(block.translate, params.translate);
  params.hasLocal = block.LocalIsIdentity() ? 0 : 1;
  if (params.hasLocal) {
    ToArray(block.localScale, params.localScale);
    ToArray(block.localRotate, params.localRotate);
    ToArray(block.localTranslate, params.localTranslate);
  }
}

bool TransformChannel::PoseTexture(abi::ObjectDataBlock& data) const {
  if (FromArray(data.textureScale) == textureScale_ && FromArray(data.textureRotate) == textureRotate_ &&
      FromArray(data.textureTranslate) == textureTranslate_) {
    return false;
  }
  ToArray(textureScale_, data.textureScale);
  ToArray(textureRotate_, data.textureRotate);
  ToArray(textureTranslate_, data.textureTranslate);
  return true;
}

void TransformChannel::PoseRecords(abi::ParamRecord& params, abi::ObjectDataBlock& data) const {
  PoseParams(params);
  PoseTexture(data);
  if (HasOwnData()) TakeOwnData(data);
}

int32_t TransformChannel::WriteToHost(const HostScene& host, uint32_t objectId) const {
  int32_t change = kUnchanged;
  abi::ParamRecord current{};
  if (host.GetObjectParams(objectId, current) == abi::kOk) {
    abi::ParamRecord mine = current;
    PoseParams(mine);
    if (std::memcmp(&mine, &current, sizeof mine) != 0 &&
        host.SetObjectParams(objectId, mine, mine.hasLocal ? kStoreTransformWithLocal : kStoreTransform) ==
            abi::kOk) {
      change = kTransformWritten;
    }
  }
  ObjectRecord record;
  if (host.ReadObject(objectId, record, false) != abi::kOk) return change;
  abi::ObjectDataBlock& data = record.data;
  if (PoseTexture(data)) {
    if (host.SetObjectInfo(objectId, record.info, kStoreTextureTransform) != abi::kOk) return change;
    change = kTransformWritten;
  }
  // The record now holds what the host holds, so the object's own data is compared against it.
  if (HasOwnData() && TakeOwnData(data) &&
      host.SetObjectInfo(objectId, record.info, kStoreObjectData) == abi::kOk) {
    change = kObjectDataWritten;
  }
  if (WriteOwnPoints(host, objectId)) change = kObjectDataWritten;
  return change;
}

void TransformChannel::Save(ChunkWriter& out) const {
  out.U32(block_ ? 1 : 0);
  if (block_) {
    out.U32(kBlockTag);
    WriteVector(out, block_->scale);
    WriteVector(out, block_->rotate);
    WriteVector(out, block_->translate);
    const bool local = !block_->LocalIsIdentity();
    out.U32(local ? 1 : 0);
    if (local) {
      WriteVector(out, block_->localScale);
      WriteVector(out, block_->localRotate);
      WriteVector(out, block_->localTranslate);
    }
  }
  WriteVector(out, textureScale_);
  WriteVector(out, textureRotate_);
  WriteVector(out, textureTranslate_);
}

void TransformChannel::Load(ChunkReader& in, int32_t version) {
  const bool hasBlock = version <= kLastVersionWithoutBlockFlag || in.U32() != 0;
  if (!hasBlock) {
    block_.reset();
  } else {
    TransformBlock& block = EnsureBlock();
    in.U32();  // the block's tag
    block.scale = ReadVector(in);
    block.rotate = ReadVector(in);
    block.translate = ReadVector(in);
    if (version == kVersionWithExtraDoubles) SkipDoubles(in, kExtraDoubles);
    if (in.U32() != 0) {
      block.localScale = ReadVector(in);
      block.localRotate = ReadVector(in);
      block.localTranslate = ReadVector(in);
      if (version == kVersionWithExtraDoubles) SkipDoubles(in, kExtraDoubles);
    } else {
      block.ResetLocal();
    }
  }
  if (version < kFirstVersionWithTexture) {
    textureScale_ = {1.0, 1.0, 1.0};
    textureRotate_ = {};
    textureTranslate_ = {};
    return;
  }
  textureScale_ = ReadVector(in);
  textureRotate_ = ReadVector(in);
  textureTranslate_ = ReadVector(in);
}

uint32_t TransformChannel::SavedSize() const {
  constexpr uint32_t kFlag = 4, kVectors3 = 72;
  if (!block_) return kFlag + kVectors3;
  return kFlag + 4 + kVectors3 + 4 + (block_->LocalIsIdentity() ? 0 : kVectors3) + kVectors3;
}

}  // namespace lumetra::keyframe
