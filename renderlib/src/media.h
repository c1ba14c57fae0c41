// Participating media along a stretch of a ray: global volumes everywhere, texture volumes
// inside the primitives that carry their texture. Sampled at even steps; each sample emits
// (ambient flag), scatters the volumetric lights' light (diffuse flag) and dims what lies
// behind by absorption and scattering (opacity flag).
#pragma once

#include "shading.h"

namespace lumetra::renderlib {

struct MediaEffect {
  Vec3 added;                   // light the media send towards the ray's origin
  Vec3 transmittance{1, 1, 1};  // share of the light from behind that gets through
};

// The media over from < t < to (to may be infinite: then as far as the steps allow).
// only_dimming: just the transmittance, as for light on its way to a surface.
MediaEffect marchMedia(ShadingContext& context, const Ray& ray, double from, double to, int depth,
                       double weight, bool only_dimming = false);

}  // namespace lumetra::renderlib
