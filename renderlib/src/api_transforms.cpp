// Transform entries for primitives, lights and textures.
#include "api_support.h"

using namespace lumetra::renderlib;

namespace {

enum class Target { kObject, kTexture };

Placement* placementOf(Scene& scene, uint32_t handle, Target target) {
  if (target == Target::kTexture) {
    Texture* texture = scene.texture(handle);
    return texture ? &texture->placement : nullptr;
  }
  if (Primitive* p = scene.primitive(handle)) return &p->placement;
  if (Light* l = scene.light(handle)) return &l->placement;
  return nullptr;
}

template <class Body>
int32_t withPlacement(L2Scene scene, uint32_t handle, Target target, Body&& body) {
  return withScene(scene, [&](Scene& s) -> int32_t {
    Placement* placement = placementOf(s, handle, target);
    return placement ? body(*placement) : L2_ERROR_HANDLE;
  });
}

int32_t appendStep(L2Scene scene, uint32_t handle, Target target, double x, double y, double z,
                   Affine (*make)(const Vec3&)) {
  return withPlacement(scene, handle, target, [&](Placement& placement) -> int32_t {
    if (!allFinite(x, y, z)) return L2_ERROR_ARGUMENT;
    return placement.append(make({x, y, z})) ? L2_OK : L2_ERROR_ARGUMENT;
  });
}

}  // namespace

extern "C" {

int32_t ScalePrim(L2Scene scene, uint32_t prim, double x, double y, double z) {
  return appendStep(scene, prim, Target::kObject, x, y, z, Affine::scaling);
}
int32_t RotatePrim(L2Scene scene, uint32_t prim, double x, double y, double z) {
  return appendStep(scene, prim, Target::kObject, x, y, z, Affine::rotationDegrees);
}
int32_t TranslatePrim(L2Scene scene, uint32_t prim, double x, double y, double z) {
  return appendStep(scene, prim, Target::kObject, x, y, z, Affine::translation);
}
int32_t ScaleTexture(L2Scene scene, uint32_t texture, double x, double y, double z) {
  return appendStep(scene, texture, Target::kTexture, x, y, z, Affine::scaling);
}
int32_t RotateTexture(L2Scene scene, uint32_t texture, double x, double y, double z) {
  return appendStep(scene, texture, Target::kTexture, x, y, z, Affine::rotationDegrees);
}
int32_t TranslateTexture(L2Scene scene, uint32_t texture, double x, double y, double z) {
  return appendStep(scene, texture, Target::kTexture, x, y, z, Affine::translation);
}

int32_t RemovePrimTransform(L2Scene scene, L2Primitive prim) {
  return withPlacement(scene, prim, Target::kObject, [](Placement& placement) {
    placement.reset();
    return L2_OK;
  });
}

int32_t RemoveTextureTransform(L2Scene scene, L2Texture texture) {
  return withPlacement(scene, texture, Target::kTexture, [](Placement& placement) {
    placement.reset();
    return L2_OK;
  });
}

int32_t AlignTransforms(L2Scene scene, L2Primitive source, L2Primitive clone) {
  return withScene(scene, [&](Scene& s) -> int32_t {
    const Placement* from = placementOf(s, source, Target::kObject);
    Placement* to = placementOf(s, clone, Target::kObject);
    if (!from || !to) return L2_ERROR_HANDLE;
    *to = *from;
    return L2_OK;
  });
}

int32_t GetPrimLocation(L2Scene scene, L2Primitive prim, double location[3]) {
  return withPlacement(scene, prim, Target::kObject, [&](Placement& placement) -> int32_t {
    if (!location) return L2_ERROR_ARGUMENT;
    const Vec3 origin = placement.toWorld().point({0, 0, 0});
    location[0] = origin.x;
    location[1] = origin.y;
    location[2] = origin.z;
    return L2_OK;
  });
}

}  // extern "C"
