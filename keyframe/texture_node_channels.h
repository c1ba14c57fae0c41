#pragma once

#include <array>

#include "keyframe/anim_channel.h"
#include "math/vector3.h"

namespace lumetra::keyframe {

// Channels of texture description nodes (type-11 objects). They keep the node's
// values from the texture block, have no transform part and name every
// parameter "Spline".
class TextureNodeChannel : public AnimChannel {
 public:
  void ReadFromHost(const HostScene& host, uint32_t objectId, const abi::ObjectInfo& info) override;
  int32_t WriteToHost(const HostScene& host, uint32_t objectId) const override;
  bool HasTangents(int) const override { return false; }
  // Writes the channel's values into a copy of the node's block, as WriteToHost would
  // store them on the host.
  void PoseNode(abi::TextureBlock& node) const { TakeNode(node); }

 protected:
  virtual void ReadNode(const abi::TextureBlock& node) = 0;
  // Copies the values that moved into `node`; true when any did.
  virtual bool TakeNode(abi::TextureBlock& node) const = 0;
  virtual uint32_t StoreFlags() const { return kStoreObjectData; }
};

// [solid color], [absorption], [emission], [scattering]: the colour and two scalars.
class SpecialColorChannel final : public CopyableChannel<SpecialColorChannel, TextureNodeChannel> {
 public:
  int ParamCount() const override { return 3; }
  ValueType ParamType(int index) const override;
  void SetValue(int index, const ParamValue& value) override;
  ParamValue GetValue(int index) const override;
  void Save(ChunkWriter& out) const override;
  void Load(ChunkReader& in, int32_t version) override;
  uint32_t SavedSize() const override { return 40; }

 protected:
  void ReadNode(const abi::TextureBlock& node) override;
  bool TakeNode(abi::TextureBlock& node) const override;

 private:
  math::Vector3 color_;
  double filter_ = 0.0;
  double transmit_ = 0.0;
};

// [transform]: rotate, scale and translate. The rotation is kept negated, the
// sense in which the renderer applies a texture's rotation.
class SpecialTransformChannel final : public CopyableChannel<SpecialTransformChannel, TextureNodeChannel> {
 public:
  int ParamCount() const override { return 3; }
  ValueType ParamType(int index) const override;
  void SetValue(int index, const ParamValue& value) override;
  ParamValue GetValue(int index) const override;
  void Save(ChunkWriter& out) const override;
  void Load(ChunkReader& in, int32_t version) override;
  uint32_t SavedSize() const override { return 72; }

 protected:
  void ReadNode(const abi::TextureBlock& node) override;
  bool TakeNode(abi::TextureBlock& node) const override;
  uint32_t StoreFlags() const override { return kStoreTextureNodeTransform; }

 private:
  math::Vector3 rotate_;
  math::Vector3 scale_{1.0, 1.0, 1.0};
  math::Vector3 translate_;
};

// Data of a node without parameters, carried unchanged from the earlier key.
template <typename Derived>
class CarriedNodeChannel : public CopyableChannel<Derived, TextureNodeChannel> {
 public:
  int ParamCount() const override { return 0; }
  ValueType ParamType(int) const override { return ValueType::None; }
  void SetValue(int, const ParamValue&) override {}
  ParamValue GetValue(int) const override { return {}; }
  void BlendExtra(double, double, const AnimChannel& earlier, const AnimChannel&,
                  const TrackCurves&) override {
    if (const auto* from = dynamic_cast<const Derived*>(&earlier)) static_cast<Derived&>(*this) = *from;
  }
};

// [finish]: the node's finish as twenty-eight 4-byte words (the finish record,
// then zero words).
class SpecialTextureChannel final : public CarriedNodeChannel<SpecialTextureChannel> {
 public:
  static constexpr std::size_t kWords = 28;

  void Save(ChunkWriter& out) const override;
  void Load(ChunkReader& in, int32_t version) override;
  uint32_t SavedSize() const override { return 4 * kWords; }
  const std::array<uint32_t, kWords>& Words() const { return words_; }

 protected:
  void ReadNode(const abi::TextureBlock& node) override;
  bool TakeNode(abi::TextureBlock& node) const override;

 private:
  std::array<uint32_t, kWords> words_{};
};

// [noise modifiers]: turbulence on or off, its three factors, omega, lambda,
// frequency, phase, exponent, octaves and wave shape.
class SpecialScaleChannel final : public CarriedNodeChannel<SpecialScaleChannel> {
 public:
  void Save(ChunkWriter& out) const override;
  void Load(ChunkReader& in, int32_t version) override;
  uint32_t SavedSize() const override { return 76; }

  bool TurbulenceOn() const { return turbulenceOn_; }
  const math::Vector3& Turbulence() const { return turbulence_; }

 protected:
  void ReadNode(const abi::TextureBlock& node) override;
  bool TakeNode(abi::TextureBlock& node) const override;

 private:
  bool turbulenceOn_ = false;
  math::Vector3 turbulence_;
  double omega_ = 0.5;
  double lambda_ = 2.0;
  double frequency_ = 1.0;
  double phase_ = 0.0;
  double exponent_ = 1.0;
  uint32_t octaves_ = 1;
  uint32_t waveShape_ = 0;
};

}  // namespace lumetra::keyframe
