#include "texture/pattern_normal.h"

#include <cmath>

#include "texture/noise.h"
#include "texture/pattern.h"
#include "texture/pattern_math.h"
#include "texture/wave_sources.h"

namespace lumetra::texture {
namespace {

// The tilt of ripples (sizeFactor false) and waves (each source's size scales it).
math::Vector3 WaveTilt(const math::Vector3& p, const NoiseParams& noise, double k, bool sizeFactor) {
  math::Vector3 tilt;
  for (const WaveSource& source : GetWaveSources()) {
    const math::Vector3 d = p - source.centre;
    const double length = math::Length(d);
    if (length == 0.0) continue;
    const double z = sizeFactor ? source.size : 1.0;
    const double wave = std::sin((z * noise.frequency * length + noise.phase) * kPatternTwoPi);
    tilt = tilt + d * (wave * k / (kWaveSourceCount * z * length));
  }
  return tilt;
}

math::Vector3 QuiltTilt(const math::Vector3& p, const PatternParams& params, double k) {
  const math::Vector3 d{p.x - std::floor(p.x) - 0.5, p.y - std::floor(p.y) - 0.5,
                        p.z - std::floor(p.z) - 0.5};
  const double r = math::Length(d);
  const double t = 1.0 - r;
  const double f =
      (params.quiltControl0 * 3.0 * t * t + (params.quiltControl1 * 3.0 * t + r) * r) * r * 1.154700538 * k;
  return d * f;
}

}  // namespace

math::Vector3 PatternNormal::Perturb(const math::Vector3& point, const math::Vector3& n) const {
  const double k = bump.amount;
  const NoiseParams& noise = Noise();
  const math::Vector3 p = TransformPoint(point);
  switch (pattern.id) {
    case PatternId::kBumps:
      return NormalizedOrX(n + VectorTurbulence(p, 2.0, 0.5, 1) * k);
    case PatternId::kDents: {
      const double s = Turbulence(p, 2.0, 0.5, 1);
      return NormalizedOrX(n + VectorTurbulence(p, 2.0, 0.5, 1) * (k * s * s * s));
    }
    case PatternId::kRipples:
      return NormalizedOrX(n + WaveTilt(p, noise, k, false));
    case PatternId::kWaves:
      return NormalizedOrX(n + WaveTilt(p, noise, k, true));
    case PatternId::kWrinkles:
      return NormalizedOrX(n + VectorTurbulence(p, 2.0, 0.5, 8) * k);
    case PatternId::kQuilted:
      return NormalizedOrX(n + QuiltTilt(p, pattern.params, k));
    case PatternId::kAverage:
      return NormalizedOrX(n);
    default:
      break;
  }
  return PerturbBySampling(*this, point, n, bump, [this](math::Vector3& q) {
    return PatternValue(pattern.id, q, Noise(), pattern.params);
  });
}

void PatternNormal::Eval(ShadingPoint& point, SurfaceSample&) const {
  SetNormal(point, Perturb(PointOf(point), NormalOf(point)));
}

}  // namespace lumetra::texture
