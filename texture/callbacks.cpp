#include "texture/callbacks.h"

#include "texture/media.h"
#include "texture/texture.h"

extern "C" {

void LUMETRA2_CALL LumetraShadeTexture(L2ShadingRecord* record, SurfaceSample* sample, void* texture) {
  static_cast<const lumetra::texture::Texture*>(texture)->Shade(*record, *sample);
}

void LUMETRA2_CALL LumetraFreeTexture(void* texture) {
  delete static_cast<lumetra::texture::Texture*>(texture);
}

void LUMETRA2_CALL LumetraEvaluateMedia(const L2ShadingRecord* record, float density[3], float emission[4],
                                        float scattering[4], float absorption[4], void* media) {
  static_cast<const lumetra::texture::Media*>(media)->Evaluate(*record, density, emission, scattering,
                                                               absorption);
}

void LUMETRA2_CALL LumetraFreeMedia(void* media) { delete static_cast<lumetra::texture::Media*>(media); }
}
