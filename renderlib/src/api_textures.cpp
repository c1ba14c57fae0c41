// Texture entries and ShadePoint, the lighting service for user textures.
#include "api_support.h"
#include "shading.h"

using namespace lumetra::renderlib;

extern "C" {

L2Texture CreateMatteTexture(L2Scene scene, double r, double g, double b) {
  return createIn(scene, [&](Scene& s) -> uint32_t {
    if (!allFinite(r, g, b)) return 0;
    auto texture = std::make_unique<Texture>();
    texture->color = {r, g, b};
    return s.add(std::move(texture));
  });
}

L2Texture CreateUserTexture(L2Scene scene, L2TextureEvaluate evaluate, L2ReleaseCallback release,
                            void* object) {
  return createIn(scene, [&](Scene& s) -> uint32_t {
    if (!evaluate) return 0;
    auto texture = std::make_unique<Texture>();
    texture->kind = Texture::Kind::kUser;
    texture->evaluate = evaluate;
    texture->release = release;
    texture->object = object;
    return s.add(std::move(texture));
  });
}

L2Texture CreateTextureReference(L2Scene scene, L2Texture texture) {
  return createIn(scene, [&](Scene& s) -> uint32_t {
    if (!s.texture(texture)) return refuseHandle("texture", texture);
    auto reference = std::make_unique<Texture>();
    reference->kind = Texture::Kind::kReference;
    reference->target = texture;
    return s.add(std::move(reference));
  });
}

namespace {

// One of the promises a caller makes for a user texture; references share their texture's.
int32_t promise(L2Scene scene, L2Texture texture, bool Texture::*field, bool value) {
  return withItem<&Scene::texture>(scene, texture, [&](Scene&, Texture& item) -> int32_t {
    if (item.kind == Texture::Kind::kReference) return L2_ERROR_HANDLE;
    item.*field = value;
    return L2_OK;
  });
}

}  // namespace

int32_t SetTextureOpaque(L2Scene scene, L2Texture texture, int32_t opaque) {
  return promise(scene, texture, &Texture::opaque, opaque != 0);
}

int32_t SetTextureReadsUV(L2Scene scene, L2Texture texture, int32_t reads) {
  return promise(scene, texture, &Texture::reads_uv, reads != 0);
}

int32_t ShadePoint(L2Scene scene, L2View view, uint32_t shading_flags, const L2ShadingRecord* record,
                   const SurfaceSample* sample, float color[4]) {
  try {
    ShadingContext* context = evaluatingContext();
    if (!context || context->scene.scene().handle() != scene) return L2_ERROR_STATE;
    if (!context->scene.scene().view(view)) return L2_ERROR_HANDLE;
    if (!record || !sample || !color) return L2_ERROR_ARGUMENT;
    shadeSample(*context, shading_flags, *record, *sample, color);
    return L2_OK;
  } catch (...) {
    return L2_ERROR_MEMORY;
  }
}

}  // extern "C"
