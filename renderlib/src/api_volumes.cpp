// Volume entries.
#include "api_support.h"

using namespace lumetra::renderlib;

extern "C" {

L2Volume CreateVolume(L2Scene scene, L2VolumeEvaluate evaluate, L2ReleaseCallback release, void* object) {
  return createIn(scene, [&](Scene& s) -> uint32_t {
    if (!evaluate) return 0;
    auto volume = std::make_unique<Volume>();
    volume->evaluate = evaluate;
    volume->release = release;
    volume->object = object;
    return s.add(std::move(volume));
  });
}

int32_t SetVolumeStepResolution(L2Scene scene, L2Volume volume, double step) {
  return withItem<&Scene::volume>(scene, volume, [&](Scene&, Volume& v) -> int32_t {
    if (!allFinite(step) || step <= 0) return L2_ERROR_ARGUMENT;
    v.step = step;
    return L2_OK;
  });
}

int32_t SetVolumeAmbientFlag(L2Scene scene, L2Volume volume, int32_t on) {
  return setItemFlag<&Scene::volume>(scene, volume, on, &Volume::ambient);
}
int32_t SetVolumeDiffuseFlag(L2Scene scene, L2Volume volume, int32_t on) {
  return setItemFlag<&Scene::volume>(scene, volume, on, &Volume::diffuse);
}
int32_t SetVolumeOpacityFlag(L2Scene scene, L2Volume volume, int32_t on) {
  return setItemFlag<&Scene::volume>(scene, volume, on, &Volume::opacity);
}

int32_t AddGlobalVolume(L2Scene scene, L2Volume volume) {
  return withItem<&Scene::volume>(scene, volume, [&](Scene& s, Volume&) -> int32_t {
    s.global_volumes.push_back(volume);
    return L2_OK;
  });
}

int32_t AddTextureVolume(L2Scene scene, L2Texture texture, L2Volume volume) {
  return withItem<&Scene::volume>(scene, volume, [&](Scene& s, Volume&) -> int32_t {
    if (!s.texture(texture)) return L2_ERROR_HANDLE;
    s.texture_volumes.emplace(texture, volume);
    return L2_OK;
  });
}

}  // extern "C"
