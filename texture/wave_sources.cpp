#include "texture/wave_sources.h"

#include <mutex>

#include "texture/random.h"

namespace lumetra::texture {

WaveSources MakeWaveSources() {
  Seed(42);
  WaveSources sources;
  for (WaveSource& source : sources) {
    const double z = RandUnit();
    const double y = RandUnit();
    const double x = RandUnit();
    const math::Vector3 direction{x, y, z};
    const double length = math::Length(direction);
    source.centre = length == 0.0 ? math::Vector3{1.0, 0.0, 0.0} : direction * (1.0 / length);
    source.size = RandUnit() + 0.01;
  }
  return sources;
}

const WaveSources& GetWaveSources() {
  static WaveSources sources;
  static std::once_flag made;
  std::call_once(made, [] { sources = MakeWaveSources(); });
  return sources;
}

}  // namespace lumetra::texture
