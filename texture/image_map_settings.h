#pragma once

#include <cstddef>
#include <cstdint>

namespace lumetra::texture {

// The bitmap modifiers of an [image map], [bump map] or [material map] node, as kept
// in the node's own record.
struct BitmapModifiers {
  int32_t mapType = 0;        // 0 planar, 1 spherical, 2 cylindrical, 5 torus, 3/4/6 surface
  int32_t interpolation = 0;  // 2 asks for bilinear filtering
  bool once = false;          // no repetition outside [0, 1]
  bool interpolate = false;   // the image pigment's interpolate flag
  int32_t alphaMode = 0;      // 1..4, else 0
  bool useIndex = false;      // the bump map takes the palette index as intensity
  float filterAll = 0.0f;
  float transmitAll = 0.0f;
  bool extraFlagA = false;
  float extraValues[2] = {0.0f, 0.0f};
  bool extraFlagB = false;
};

// Bytes of kind-specific parameters the modifiers need: the last field ends here.
constexpr size_t kBitmapModifiersRecordSize = 4408;

// Reads the modifiers from a node's kind-specific parameters (little-endian fields)
// and normalises them: unknown map types become spherical, interpolation 8 becomes 6
// and other unknown values 0. Throws std::invalid_argument when `size` is too small.
BitmapModifiers ReadBitmapModifiers(const uint8_t* parameters, size_t size);

}  // namespace lumetra::texture
