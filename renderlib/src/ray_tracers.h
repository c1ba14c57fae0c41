// The two ray-tracing methods: one sample per pixel centre, and adaptive anti-aliasing
// that subdivides pixels whose corner samples differ.
#pragma once

#include "compiled_scene.h"
#include "tile_renderer.h"

namespace lumetra::renderlib {

TileShader centreSampler(const CompiledScene& scene, uint32_t view);
TileShader adaptiveSampler(const CompiledScene& scene, uint32_t view);

}  // namespace lumetra::renderlib
