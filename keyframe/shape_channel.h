#pragma once

#include <array>
#include <cstddef>
#include <span>

#include "keyframe/transform_channel.h"

namespace lumetra::keyframe {

// One value of a shape's own data in the object data block: one double, or
// three for a colour.
struct ShapeField {
  const char* name;
  ValueType type;
  bool hasTangents;
  std::size_t offset;  // bytes from the start of abi::ObjectDataBlock
  int components;      // 1 or 3
};

// How a channel class lays out its shape data: as parameters after the nine of
// the transform part, or as data blended between keys (`fieldsAreParams` false).
struct ShapeLayout {
  std::span<const ShapeField> fields;
  bool fieldsAreParams;
};

// A transform channel with a few doubles of the shape's own data, read from and
// written to the object data block and saved after the transform part in field order.
class ShapeChannel : public TransformChannel {
 public:
  static constexpr std::size_t kMaxFields = 4;

  void ReadFromHost(const HostScene& host, uint32_t objectId, const abi::ObjectInfo& info) override;
  int ParamCount() const override;
  ValueType ParamType(int index) const override;
  bool HasTangents(int index) const override;
  std::string ParamName(int index) const override;
  void BlendExtra(double f, double g, const AnimChannel& earlier, const AnimChannel& later,
                  const TrackCurves& curves) override;
  void SetValue(int index, const ParamValue& value) override;
  ParamValue GetValue(int index) const override;
  void Save(ChunkWriter& out) const override;
  void Load(ChunkReader& in, int32_t version) override;
  uint32_t SavedSize() const override;

 protected:
  explicit ShapeChannel(const ShapeLayout& layout) : layout_(layout) {}

  bool HasOwnData() const override { return true; }
  bool TakeOwnData(abi::ObjectDataBlock& data) const override;

 private:
  // The field behind parameter `index`, or null.
  const ShapeField* OwnField(int index) const;

  ShapeLayout layout_;
  std::array<ParamValue, kMaxFields> values_{};
};

class ConeChannel final : public CopyableChannel<ConeChannel, ShapeChannel> {
 public:
  ConeChannel();
};

class TorusChannel final : public CopyableChannel<TorusChannel, ShapeChannel> {
 public:
  TorusChannel();
};

class DiscChannel final : public CopyableChannel<DiscChannel, ShapeChannel> {
 public:
  DiscChannel();
};

class BlobChannel final : public CopyableChannel<BlobChannel, ShapeChannel> {
 public:
  BlobChannel();
};

class SuperquadricChannel final : public CopyableChannel<SuperquadricChannel, ShapeChannel> {
 public:
  SuperquadricChannel();
};

// Point and area lights: their colour.
class LightChannel : public CopyableChannel<LightChannel, ShapeChannel> {
 public:
  LightChannel();

 protected:
  explicit LightChannel(const ShapeLayout& layout);
};

// Spot lights: the colour, then falloff, radius and tightness.
class SpotLightChannel final : public LightChannel {
 public:
  SpotLightChannel();
  std::unique_ptr<AnimChannel> Clone() const override { return std::make_unique<SpotLightChannel>(*this); }
};

// TrueType text: depth, spacing and size, blended between keys.
class TextChannel final : public CopyableChannel<TextChannel, ShapeChannel> {
 public:
  TextChannel();
};

}  // namespace lumetra::keyframe
