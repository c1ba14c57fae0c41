#pragma once

#include "lumetra2.h"

// The functions the render library calls for the texture trees and media it was given:
// shade (any render thread), volume evaluation (any render thread) and release.
extern "C" {

// Shades `texture` (a texture::Texture) at the record's point.
void LUMETRA2_CALL LumetraShadeTexture(L2ShadingRecord* record, SurfaceSample* sample, void* texture);
// Destroys a texture::Texture and everything it owns; null is ignored.
void LUMETRA2_CALL LumetraFreeTexture(void* texture);
// Evaluates `media` (a texture::Media) at the record's point.
void LUMETRA2_CALL LumetraEvaluateMedia(const L2ShadingRecord* record, float density[3], float emission[4],
                                        float scattering[4], float absorption[4], void* media);
// Destroys a texture::Media; null is ignored.
void LUMETRA2_CALL LumetraFreeMedia(void* media);
}
