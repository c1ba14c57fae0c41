#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "texture/clone_ptr.h"
#include "texture/texture.h"

namespace lumetra::texture {

// A participating medium filling the inside of the objects that wear its material. The
// settings are passed on to the render library as they came from the scene.
class Media {
 public:
  using Rgb = std::array<float, 3>;

  std::int32_t intervals = 0;
  std::int32_t samplesMin = 0;
  std::int32_t samplesMax = 0;
  float confidence = 0.0f;
  float variance = 0.0f;
  float ratio = 0.0f;
  float eccentricity = 0.0f;
  float extinction = 0.0f;
  bool extinctionSet = false;
  std::int32_t method = 0;  // 1..5, 0 when the scene chose none
  Rgb emission{};
  Rgb scattering{};
  Rgb absorption{};
  std::vector<ClonePtr<Pigment>> densities;
  std::string name;

  // The medium at a point: density (3 floats) and emission, scattering and absorption
  // (red, green, blue and a spare fourth float, left alone).
  void Evaluate(const ShadingPoint& point, float density[3], float emission[4], float scattering[4],
                float absorption[4]) const;
};

}  // namespace lumetra::texture
