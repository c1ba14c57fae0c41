#pragma once

#include "texture/normal_sampling.h"
#include "texture/pattern_choice.h"
#include "texture/texture.h"

namespace lumetra::texture {

// Bumps shaped by a pattern: the noise patterns, ripples, waves and quilted tilt the normal
// by their own gradient-like formulas; every other pattern by sampling its value.
class PatternNormal final : public Normal {
 public:
  explicit PatternNormal(PatternId id = PatternId::kAgate) { pattern.id = id; }
  void Eval(ShadingPoint& point, SurfaceSample& sample) const override;
  std::unique_ptr<Normal> Clone() const override { return std::make_unique<PatternNormal>(*this); }
  bool ReadsSurfaceCoordinates() const override { return false; }

  // The perturbed unit normal at point p (before warping) for incoming normal n.
  math::Vector3 Perturb(const math::Vector3& p, const math::Vector3& n) const;

  PatternChoice pattern;
  BumpSettings bump;
};

}  // namespace lumetra::texture
