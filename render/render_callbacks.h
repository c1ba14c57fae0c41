#pragma once

#include <cstdint>

#include "lumetra2.h"

namespace lumetra::render {

struct RenderJob;

// The callbacks a job hands the render library, user data being the job. Each answers
// the job's abort flag, so the library stops as soon as the job is aborted; they are
// called from many threads at once.
int32_t LUMETRA2_CALL AbortCallback(void* job);
// A pixel's colour components become bytes as value * 255, truncated and clamped;
// pixels outside the image are ignored.
int32_t LUMETRA2_CALL PixelCallback(int32_t x, int32_t y, const float color[4], void* job);
// A line of the Wireframe method, both ends included; its colour bytes are value * 256,
// truncated and clamped to 255. Pixels outside the image are skipped.
int32_t LUMETRA2_CALL LineCallback(int32_t x0, int32_t y0, int32_t x1, int32_t y1, const float color[4],
                                   void* job);

// Puts one pixel into the job's picture and into the host's preview when the job holds it.
void PutPixel(RenderJob& job, int32_t x, int32_t y, uint8_t red, uint8_t green, uint8_t blue, uint8_t alpha);

// The colour bytes of the two callbacks.
uint8_t PixelByte(float value);
uint8_t LineByte(float value);

}  // namespace lumetra::render
