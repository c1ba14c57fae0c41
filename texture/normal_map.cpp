#include "texture/normal_map.h"

#include "texture/map_lookup.h"

namespace lumetra::texture {

void NormalMap::Eval(ShadingPoint& point, SurfaceSample& sample) const {
  const double v = WarpedPatternValue(*this, pattern, point);
  if (entries.empty()) return;
  const MapPosition at = LookUp(entries, v);
  ShadingPoint first = point;
  entries[at.first].normal->Eval(first, sample);
  if (!at.Blends()) {
    SetNormal(point, NormalOf(first));
    return;
  }
  ShadingPoint second = point;
  entries[at.second].normal->Eval(second, sample);
  const double t = at.t;
  SetNormal(point, NormalizedOrX(NormalOf(first) * (1.0 - t) + NormalOf(second) * t));
}

}  // namespace lumetra::texture
