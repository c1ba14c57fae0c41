#include "texture/pigment_map_pigment.h"

#include <algorithm>

#include "texture/map_lookup.h"

namespace lumetra::texture {

PigmentMapPigment::PigmentMapPigment(PatternId id) {
  pattern.id = id;
  PrepareNoiseFor(id, Noise());
}

bool PigmentMapPigment::LetsLightThrough() const {
  // An empty map writes a see-through white.
  return entries.empty() || std::any_of(entries.begin(), entries.end(), [](const Entry& entry) {
           return !entry.pigment || entry.pigment->LetsLightThrough();
         });
}

void PigmentMapPigment::Eval(ShadingPoint& point, SurfaceSample& sample) const {
  const double v = WarpedPatternValue(*this, pattern, point);
  if (entries.empty()) {
    sample.color[0] = sample.color[1] = sample.color[2] = 1.0f;
    sample.color[3] = 0.0f;
    return;
  }
  const MapPosition at = LookUp(entries, v);
  // Each entry sees the warped point, not what the other entry's own warps made of it.
  ShadingPoint firstPoint = point;
  entries[at.first].pigment->Eval(firstPoint, sample);
  if (!at.Blends()) return;
  float first[4];
  std::copy(sample.color, sample.color + 4, first);
  ShadingPoint secondPoint = point;
  entries[at.second].pigment->Eval(secondPoint, sample);
  for (int c = 0; c < 4; ++c) sample.color[c] = (1.0f - at.t) * first[c] + at.t * sample.color[c];
}

}  // namespace lumetra::texture
