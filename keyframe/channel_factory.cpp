#include "keyframe/channel_factory.h"

#include "abi/object_params.h"
#include "abi/texture_params.h"
#include "keyframe/camera_channel.h"
#include "keyframe/profile_channel.h"
#include "keyframe/shape_channel.h"
#include "keyframe/texture_node_channels.h"

namespace lumetra::keyframe {
namespace {

std::unique_ptr<AnimChannel> MakeTextureNodeChannel(uint32_t kind) {
  switch (kind) {
    case abi::kNodeSolidColor:
    case abi::kNodeAbsorption:
    case abi::kNodeEmission:
    case abi::kNodeScattering:
      return std::make_unique<SpecialColorChannel>();
    case abi::kNodeTransform:
      return std::make_unique<SpecialTransformChannel>();
    case abi::kNodeFinish:
      return std::make_unique<SpecialTextureChannel>();
    case abi::kNodeNoiseModifiers:
      return std::make_unique<SpecialScaleChannel>();
    default:
      return nullptr;
  }
}

}  // namespace

std::unique_ptr<AnimChannel> MakeChannel(uint32_t type, uint32_t subType) {
  switch (type) {
    case abi::kTypeCamera:
      return std::make_unique<CameraChannel>();
    case abi::kTypeSweep:
    case abi::kTypeLathe:
    case abi::kTypeExtrusion:
      return std::make_unique<ProfileChannel>();
    case abi::kTypePointLight:
    case abi::kTypeAreaLight:
      return std::make_unique<LightChannel>();
    case abi::kTypeTextureNode:
      return MakeTextureNodeChannel(subType);
    case abi::kTypeSplineMesh:
      return std::make_unique<SplineMeshChannel>();
    case abi::kTypeCone:
      return std::make_unique<ConeChannel>();
    case abi::kTypeTorus:
      return std::make_unique<TorusChannel>();
    case abi::kTypeSpotLight:
      return std::make_unique<SpotLightChannel>();
    case abi::kTypeDisc:
      return std::make_unique<DiscChannel>();
    case abi::kTypeBlob:
      return std::make_unique<BlobChannel>();
    case abi::kTypeSuperquadric:
      return std::make_unique<SuperquadricChannel>();
    case abi::kTypeText:
      return std::make_unique<TextChannel>();
    default:
      return std::make_unique<TransformChannel>();
  }
}

}  // namespace lumetra::keyframe
