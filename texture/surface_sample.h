#pragma once

#include <cstddef>
#include <cstdint>

#include "lumetra2.h"

namespace lumetra::texture {

// The record a texture fills at a shading point; the render library fixes its layout.
static_assert(offsetof(SurfaceSample, color) == 0x00);
static_assert(offsetof(SurfaceSample, ambient_color) == 0x10);
static_assert(offsetof(SurfaceSample, ambient) == 0x20);
static_assert(offsetof(SurfaceSample, emission) == 0x34);
static_assert(offsetof(SurfaceSample, diffuse) == 0x48);
static_assert(offsetof(SurfaceSample, highlight_color) == 0x4C);
static_assert(offsetof(SurfaceSample, brilliance) == 0x58);
static_assert(offsetof(SurfaceSample, phong) == 0x5C);
static_assert(offsetof(SurfaceSample, phong_size) == 0x60);
static_assert(offsetof(SurfaceSample, specular) == 0x64);
static_assert(offsetof(SurfaceSample, specular_exponent) == 0x68);
static_assert(offsetof(SurfaceSample, reflection_color) == 0x6C);
static_assert(offsetof(SurfaceSample, metallic) == 0x7C);
static_assert(offsetof(SurfaceSample, transmitted_color) == 0x80);
static_assert(offsetof(SurfaceSample, transmission) == 0x90);
static_assert(offsetof(SurfaceSample, ior) == 0x94);
static_assert(offsetof(SurfaceSample, flags) == 0x98);
static_assert(sizeof(SurfaceSample) == 156);

inline constexpr std::uint32_t kSampleAmbientColour = L2_SAMPLE_AMBIENT_COLOR;
inline constexpr std::uint32_t kSampleReflection = L2_SAMPLE_REFLECTION;
inline constexpr std::uint32_t kSampleTransmission = L2_SAMPLE_TRANSMISSION;

// Clears what a blended or layered result must not pass on: it is already lit.
inline void MarkSampleLit(SurfaceSample& sample) {
  sample.ambient = 0.0f;
  sample.diffuse = 0.0f;
  sample.phong = 0.0f;
  sample.specular = 0.0f;
  sample.metallic = 0.0f;
  sample.transmission = 0.0f;
  sample.flags = 0;
  sample.emission = 1.0f;
}

}  // namespace lumetra::texture
