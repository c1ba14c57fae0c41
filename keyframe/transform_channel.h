#pragma once

#include <memory>

#include "keyframe/anim_channel.h"
#include "keyframe/transform_block.h"

namespace lumetra::keyframe {

// The transform and texture transform of a host object: nine parameters
// (rotate, scale, translate, their local counterparts and the texture's), each
// with explicit tangents. The transform block is allocated only once the object
// moves away from the identity or a value is set. Base of every object channel
// except the camera's and the texture nodes'.
class TransformChannel : public AnimChannel {
 public:
  static constexpr int kTransformParams = 9;

  TransformChannel() = default;
  TransformChannel(const TransformChannel& other);
  TransformChannel& operator=(const TransformChannel& other);

  std::unique_ptr<AnimChannel> Clone() const override;
  void ReadFromHost(const HostScene& host, uint32_t objectId, const abi::ObjectInfo& info) override;
  int32_t WriteToHost(const HostScene& host, uint32_t objectId) const override;
  void PoseRecords(abi::ParamRecord& params, abi::ObjectDataBlock& data) const override;
  int ParamCount() const override { return kTransformParams; }
  ValueType ParamType(int index) const override;
  bool HasTangents(int index) const override { return index >= 0 && index < kTransformParams; }
  std::string ParamName(int index) const override;
  void SetValue(int index, const ParamValue& value) override;
  ParamValue GetValue(int index) const override;
  void Save(ChunkWriter& out) const override;
  void Load(ChunkReader& in, int32_t version) override;
  uint32_t SavedSize() const override;

  const TransformBlock* Block() const { return block_.get(); }

 protected:
  // Derived classes with data of their own in the object data block: copy the
  // values that moved into `data` and answer whether any did.
  virtual bool TakeOwnData(abi::ObjectDataBlock& /*data*/) const { return false; }
  virtual bool HasOwnData() const { return false; }
  // Derived classes whose points the host keeps beside its records: write the points that
  // moved and answer whether any did.
  virtual bool WriteOwnPoints(const HostScene& /*host*/, uint32_t /*objectId*/) const { return false; }

 private:
  TransformBlock& EnsureBlock();
  // The transform into the host's parameter words (the host's own words stay).
  void PoseParams(abi::ParamRecord& params) const;
  // The texture transform into the object data; true when it differed.
  bool PoseTexture(abi::ObjectDataBlock& data) const;
  // The vector behind parameter `index`; null for a block entry without a block.
  const math::Vector3* Find(int index) const;

  std::unique_ptr<TransformBlock> block_;
  math::Vector3 textureScale_{1.0, 1.0, 1.0};
  math::Vector3 textureRotate_;
  math::Vector3 textureTranslate_;
};

// Type of parameter `index` of a transform part: rotations, scales, translations in turn.
ValueType TransformParamType(int index);

}  // namespace lumetra::keyframe
