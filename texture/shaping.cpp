#include "texture/shaping.h"

#include <cmath>
#include <numbers>

#include "texture/pattern_math.h"

namespace lumetra::texture {
namespace {

// Slightly above 1, so that a raw value of exactly 1 survives the wrap.
constexpr double kWrapModulus = 1.0000001;

double ApplyWaveShape(double v, const NoiseParams& noise) {
  switch (static_cast<WaveShape>(noise.waveShape)) {
    case WaveShape::kTriangle: {
      double f = PatternFrac(v);
      if (f >= 0.5) f = 1.0 - f;
      return 2.0 * f;
    }
    case WaveShape::kSine:
      return (std::sin(v * kPatternTwoPi) + 1.0) * 0.5;
    case WaveShape::kScallop:
      return std::fabs(std::sin(v * std::numbers::pi));
    case WaveShape::kCubic:
      return (3.0 - 2.0 * v) * v * v;
    case WaveShape::kPower:
      return std::pow(v, noise.exponent);
    case WaveShape::kRamp:
      break;
  }
  return v;
}

}  // namespace

double ShapePatternValue(double raw, const NoiseParams& noise) {
  if (noise.frequency == 0.0) return 0.0;
  double v = std::fmod(raw * noise.frequency + noise.phase, kWrapModulus);
  if (v < 0.0) v -= std::floor(v);
  return ApplyWaveShape(v, noise);
}

}  // namespace lumetra::texture
