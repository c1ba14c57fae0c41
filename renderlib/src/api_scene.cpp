// Scene entries: lifetime, names and render settings.
#include "accelerator.h"
#include "api_support.h"

using namespace lumetra::renderlib;

namespace {

bool isColor(double r, double g, double b) { return allFinite(r, g, b) && r >= 0 && g >= 0 && b >= 0; }

template <class Apply>
int32_t setColor(L2Scene scene, double r, double g, double b, Apply apply) {
  return withScene(scene, [&](Scene& s) -> int32_t {
    if (!isColor(r, g, b)) return L2_ERROR_ARGUMENT;
    apply(s.settings) = Vec3{r, g, b};
    return L2_OK;
  });
}

template <class Value>
int32_t setSetting(L2Scene scene, bool valid, Value RenderSettings::*field, Value value) {
  return withScene(scene, [&](Scene& s) -> int32_t {
    if (!valid) return L2_ERROR_ARGUMENT;
    s.settings.*field = value;
    return L2_OK;
  });
}

}  // namespace

extern "C" {

L2Scene NewScene(void) {
  return creating([] {
    embreeDevice();  // a device that cannot be made is told here rather than at the first render
    return registerScene(std::make_unique<Scene>(newHandle()));
  });
}

int32_t FreeScene(L2Scene scene) {
  try {
    Scene* found = findScene(scene);
    if (!found) return L2_ERROR_HANDLE;
    if (found->rendering) return L2_ERROR_STATE;
    unregisterScene(scene).reset();
    return L2_OK;
  } catch (...) {
    return L2_ERROR_MEMORY;
  }
}

int32_t SetNameValue(L2Scene scene, const char* name, L2NameValue value) {
  return withScene(scene, [&](Scene& s) -> int32_t {
    if (!name) return L2_ERROR_ARGUMENT;
    s.names[name] = value;
    return L2_OK;
  });
}

L2NameValue GetNameValue(L2Scene scene, const char* name) {
  L2NameValue value = 0;
  withScene(scene, [&](Scene& s) -> int32_t {
    if (!name) return L2_ERROR_ARGUMENT;
    const auto it = s.names.find(name);
    if (it != s.names.end()) value = it->second;
    return L2_OK;
  });
  return value;
}

int32_t SetDefaultTexture(L2Scene scene, L2Texture texture) {
  return withScene(scene, [&](Scene& s) -> int32_t {
    if (texture != 0 && !s.texture(texture)) return L2_ERROR_HANDLE;
    s.settings.default_texture = texture;
    return L2_OK;
  });
}

int32_t SetBackgroundColor(L2Scene scene, double r, double g, double b) {
  return setColor(scene, r, g, b, [](RenderSettings& s) -> Vec3& { return s.background; });
}

int32_t GetBackgroundColor(L2Scene scene, double rgb[3]) {
  return withScene(scene, [&](Scene& s) -> int32_t {
    if (!rgb) return L2_ERROR_ARGUMENT;
    rgb[0] = s.settings.background.x;
    rgb[1] = s.settings.background.y;
    rgb[2] = s.settings.background.z;
    return L2_OK;
  });
}

int32_t SetAmbientLight(L2Scene scene, double r, double g, double b) {
  return setColor(scene, r, g, b, [](RenderSettings& s) -> Vec3& { return s.ambient_light; });
}

int32_t SetRayEpsilon(L2Scene scene, double epsilon) {
  return setSetting(scene, allFinite(epsilon) && epsilon > 0, &RenderSettings::ray_epsilon, epsilon);
}

int32_t SetMaxTracingDepth(L2Scene scene, int32_t depth) {
  return setSetting(scene, depth >= 0 && depth <= 256, &RenderSettings::max_depth, int(depth));
}

int32_t SetMinTracingWeight(L2Scene scene, double weight) {
  return setSetting(scene, allFinite(weight) && weight >= 0 && weight <= 1, &RenderSettings::min_weight,
                    weight);
}

int32_t SetAliasDepth(L2Scene scene, int32_t depth) {
  return setSetting(scene, depth >= 0 && depth <= 8, &RenderSettings::alias_depth, int(depth));
}

int32_t SetAliasThreshold(L2Scene scene, double threshold) {
  return setSetting(scene, allFinite(threshold) && threshold >= 0, &RenderSettings::alias_threshold,
                    threshold);
}

}  // extern "C"
