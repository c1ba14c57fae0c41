#include "texture/pattern_choice.h"

#include "texture/pattern.h"

namespace lumetra::texture {

void PrepareNoiseFor(PatternId id, NoiseParams& noise) {
  if (id == PatternId::kAgate) noise.octaves = 6;
}

double WarpedPatternValue(const TextureNode& node, const PatternChoice& pattern, ShadingPoint& point) {
  math::Vector3 p = node.TransformPoint(PointOf(point));
  const double v = PatternValue(pattern.id, p, node.Noise(), pattern.params);
  SetPoint(point, p);
  return v;
}

}  // namespace lumetra::texture
