#include "texture/pattern.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "texture/crackle.h"
#include "texture/noise.h"
#include "texture/pattern_math.h"
#include "texture/shaping.h"
#include "texture/wave_sources.h"

namespace lumetra::texture {
namespace {

double NoiseTurbulence(const math::Vector3& p, const NoiseParams& noise) {
  return Turbulence(p, noise.lambda, noise.omega, noise.octaves);
}

double Agate(const math::Vector3& p, const NoiseParams& noise, const PatternParams& params) {
  const double t = NoiseTurbulence(p, noise);
  const double w = (std::sin((t * params.agateTurbulence * 1.3 + p.z * 1.1) * kPatternTwoPi) + 1.0) * 0.5;
  return w < 0.0 ? 0.0 : std::pow(std::min(w, 1.0), 0.77);
}

double Gradient(const math::Vector3& p, const PatternParams& params) {
  const double g = std::fabs(p.x * params.gradientX) + std::fabs(p.y * params.gradientY) +
                   std::fabs(p.z * params.gradientZ);
  return g <= 1.0 ? g : std::fmod(g, 1.0);
}

double Granite(const math::Vector3& p) {
  math::Vector3 q = p * 4.0;
  double amplitude = 1.0;
  double v = 0.0;
  for (int octave = 0; octave < 6; ++octave) {
    v += std::fabs(0.5 - ClampedNoise(q)) * amplitude;
    amplitude *= 0.5;
    q = q * 2.0;
  }
  return v;
}

double Leopard(const math::Vector3& p) {
  const double s = (std::sin(p.x) + std::sin(p.y) + std::sin(p.z)) * kOneThird;
  return s * s;
}

double Mandel(const math::Vector3& p, const PatternParams& params) {
  const int limit = params.mandelIterations;
  if (limit <= 0) return 0.0;
  double a = p.x;
  double b = p.y;
  int n = 0;
  for (int i = 0; i < limit; ++i) {
    const double nextB = 2.0 * a * b + p.y;
    const double nextA = a * a - b * b + p.x;
    if (nextA * nextA + nextB * nextB > 4.0) break;
    a = nextA;
    b = nextB;
    ++n;
  }
  return static_cast<double>(n) / limit;
}

double Marble(const math::Vector3& p, const NoiseParams& noise) {
  return noise.turbulenceOn ? p.x + NoiseTurbulence(p, noise) * noise.turbulenceX : p.x;
}

// The angle around z scaled to turns per arm, shared by both spirals.
double SpiralTurns(const math::Vector3& p, const PatternParams& params) {
  return (std::numbers::pi / 2 - std::atan2(p.x, p.y)) * params.spiralArms * std::numbers::inv_pi / 2;
}

double Spiral2(const math::Vector3& p, const NoiseParams& noise, const PatternParams& params) {
  const double turbulence = noise.turbulenceOn ? NoiseTurbulence(p, noise) * noise.turbulenceX * 1.414 : 0.0;
  const double f = PatternFrac(SpiralTurns(p, params) + p.z + turbulence);
  const double a = f < 0.5 ? 2.0 * f : 2.0 * (1.0 - f);
  double g = PatternFrac(std::sqrt(p.x * p.x + p.y * p.y));
  if (g >= 0.5) g = 1.0 - g;
  return a + 2.0 * g;
}

double Wood(math::Vector3& p, const NoiseParams& noise) {
  if (noise.turbulenceOn) {
    const math::Vector3 t = VectorTurbulence(p, noise.lambda, noise.omega, noise.octaves);
    p.x += std::sin((t.x + p.x) * noise.turbulenceX * kPatternTwoPi);
    p.y += std::sin((t.y + p.y) * noise.turbulenceY * kPatternTwoPi);
  }
  return std::sqrt(p.x * p.x + p.y * p.y);
}

double Ripples(const math::Vector3& p, const NoiseParams& noise) {
  double v = 0.0;
  for (const WaveSource& source : GetWaveSources()) {
    const double distance = math::Length(p - source.centre);
    v += std::sin((distance * noise.frequency + noise.phase) * kPatternTwoPi);
  }
  return (v / kWaveSourceCount + 1.0) * 0.5;
}

double Waves(const math::Vector3& p, const NoiseParams& noise) {
  double v = 0.0;
  for (const WaveSource& source : GetWaveSources()) {
    const double distance = math::Length(p - source.centre);
    v += std::sin((distance * noise.frequency * source.size + noise.phase) * kPatternTwoPi) / source.size;
  }
  return (v / kWaveSourceCount + 2.5) * 0.2;
}

double Dents(const math::Vector3& p) {
  const double n = ClampedNoise(p);
  return n * n * n;
}

double Quilted(const math::Vector3& p, const PatternParams& params) {
  const math::Vector3 d{p.x - std::floor(p.x) - 0.5, p.y - std::floor(p.y) - 0.5,
                        p.z - std::floor(p.z) - 0.5};
  const double r = math::Length(d);
  const double t = 1.0 - r;
  const double f =
      (params.quiltControl0 * 3.0 * t * t + (params.quiltControl1 * 3.0 * t + r) * r) * r * 1.154700538;
  return (std::fabs(f * d.x) + std::fabs(f * d.y) + std::fabs(f * d.z)) * kOneThird;
}

double FallOff(double distance) { return 1.0 - std::min(distance, 1.0); }

}  // namespace

double RawPatternValue(PatternId id, math::Vector3& p, const NoiseParams& noise,
                       const PatternParams& params) {
  switch (id) {
    case PatternId::kAgate:
      return Agate(p, noise, params);
    case PatternId::kBozo:
    case PatternId::kSpotted:
    case PatternId::kBumps:
      return ClampedNoise(p);
    case PatternId::kCrackle:
      return Crackle(p);
    case PatternId::kGradient:
      return Gradient(p, params);
    case PatternId::kGranite:
      return Granite(p);
    case PatternId::kLeopard:
      return Leopard(p);
    case PatternId::kMandel:
      return Mandel(p, params);
    case PatternId::kMarble:
      return Marble(p, noise);
    case PatternId::kOnion:
      return std::fmod(math::Length(p), 1.0);
    case PatternId::kRadial:
      return (std::atan2(p.x, p.z) + std::numbers::pi) * std::numbers::inv_pi / 2 + 0.25;
    case PatternId::kSpiral1:
      return std::sqrt(p.x * p.x + p.y * p.y) + SpiralTurns(p, params) + p.z;
    case PatternId::kSpiral2:
      return Spiral2(p, noise, params);
    case PatternId::kWood:
      return Wood(p, noise);
    case PatternId::kRipples:
      return Ripples(p, noise);
    case PatternId::kDents:
      return Dents(p);
    case PatternId::kWaves:
      return Waves(p, noise);
    case PatternId::kWrinkles:
      return Turbulence(p, 2.0, 0.5, 10);
    case PatternId::kQuilted:
      return Quilted(p, params);
    case PatternId::kBoxed:
      return FallOff(std::max({std::fabs(p.x), std::fabs(p.y), std::fabs(p.z)}));
    case PatternId::kCylindrical:
      return FallOff(std::sqrt(p.x * p.x + p.z * p.z));
    case PatternId::kPlanar:
      return FallOff(std::fabs(p.y));
    case PatternId::kSpherical:
      return FallOff(math::Length(p));
    case PatternId::kUnused:
    case PatternId::kAverage:
    case PatternId::kDensityFile:
      break;
  }
  return 0.0;
}

double PatternValue(PatternId id, math::Vector3& p, const NoiseParams& noise, const PatternParams& params) {
  return ShapePatternValue(RawPatternValue(id, p, noise, params), noise);
}

}  // namespace lumetra::texture
