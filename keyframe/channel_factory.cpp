#include "keyframe/channel_factory.h"

#include "abi/object_params.h"
#include "abi/texture_params.h"
#include "keyframe/camera_channel.h"
#include "keyframe/profile_channel.h"
#include "keyframe/shape_channel.h"
#include "keyframe/texture_node_channels.h"

namespace keyframe {
namespace {

std::unique_ptr<AnimChannel> MakeTextureNodeChannel(uint32_t kind) {
  switch (kind) {
    case iface::kNodeSolidColor:
    case iface::kNodeAbsorption:
    case iface::kNodeEmission:
    case iface::kNodeScattering:
      return std::make_unique<SpecialColorChannel>();
    case iface::kNodeTransform:
      return std::make_unique<SpecialTransformChannel>();
    case iface::kNodeFinish:
      return std::make_unique<SpecialTextureChannel>();
    case iface::kNodeNoiseModifiers:
      return std::make_unique<SpecialScaleChannel>();
    default:
      return nullptr;
  }
}

}  // namespace

std::unique_ptr<AnimChannel> MakeChannel(uint32_t type, uint32_t subType) {
  switch (type) {
    case iface::kTypeCamera:
      return std::make_unique<CameraChannel>();
    case iface::kTypeSweep:
    case iface::kTypeLathe:
    case iface::kTypeExtrusion:
      return std::make_unique<ProfileChannel>();
    case iface::kTypePointLight:
    case iface::kTypeAreaLight:
      return std::make_unique<LightChannel>();
    case iface::kTypeTextureNode:
      return MakeTextureNodeChannel(subType);
    case iface::kTypeSplineMesh:
      return std::make_unique<SplineMeshChannel>();
    case iface::kTypeCone:
      return std::make_unique<ConeChannel>();
    case iface::kTypeTorus:
      return std::make_unique<TorusChannel>();
    case iface::kTypeSpotLight:
      return std::make_unique<SpotLightChannel>();
    case iface::kTypeDisc:
      return std::make_unique<DiscChannel>();
    case iface::kTypeBlob:
      return std::make_unique<BlobChannel>();
    case iface::kTypeSuperquadric:
      return std::make_unique<SuperquadricChannel>();
    case iface::kTypeText:
      return std::make_unique<TextChannel>();
    default:
      return std::make_unique<TransformChannel>();
  }
}

}  // namespace keyframe
