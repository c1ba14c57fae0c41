#include "translate/object_placement.h"

#include "translate/library_result.h"
#include "translate/transform_calls.h"

namespace lumetra::translate {
namespace {

void Hold(L2Scene scene, L2Texture texture, const HostObject& against) {
  const abi::ParamRecord& p = against.params;
  HoldTextureAgainst(scene, texture, p.scale, p.rotate, p.translate);
}

void HoldTexture(L2Scene scene, L2Texture texture, const HostObject& object,
                 std::span<const HostObject* const> ancestors) {
  const std::uint32_t lock = object.info.flags & abi::kFlagTextureLockMask;
  if (lock == abi::kFlagTextureLockAncestors) {
    for (const HostObject* ancestor : ancestors) Hold(scene, texture, *ancestor);
  }
  if (lock == abi::kFlagTextureLock || lock == abi::kFlagTextureLockAncestors) Hold(scene, texture, object);
}

}  // namespace

void PlaceObject(L2Scene scene, L2Primitive prim, const HostObject& object, L2Texture texture,
                 std::span<const HostObject* const> ancestors) {
  const abi::ParamRecord& p = object.params;
  if (p.hasLocal) PlacePrimitive(scene, prim, p.localScale, p.localRotate, p.localTranslate);
  if (texture != 0) {
    const int32_t attached = SetPrimTexture(scene, prim, texture);
    LogRefusal(attached, "SetPrimTexture");
    if (attached == L2_OK) {
      const abi::ObjectDataBlock& d = object.data;
      PlaceTexture(scene, texture, d.textureScale, d.textureRotate, d.textureTranslate);
      HoldTexture(scene, texture, object, ancestors);
    }
  }
  PlacePrimitive(scene, prim, p.scale, p.rotate, p.translate);
}

void PlaceWithinGroup(L2Scene scene, L2Light light, const HostObject& group) {
  const abi::ParamRecord& p = group.params;
  if (p.hasLocal) PlacePrimitive(scene, light, p.localScale, p.localRotate, p.localTranslate);
  PlacePrimitive(scene, light, p.scale, p.rotate, p.translate);
}

}  // namespace lumetra::translate
