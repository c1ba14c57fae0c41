// Ray tracing and lighting: what a ray sees, and how a filled surface sample is lit.
#pragma once

#include <cstdint>
#include <span>

#include "compiled_scene.h"
#include "lumetra2.h"
#include "sample_random.h"

namespace lumetra::renderlib {

// The state of one image sample on one thread.
struct ShadingContext {
  const CompiledScene& scene;
  uint32_t view;
  SampleRandom random;
  bool polygon = false;  // the surface being shaded is a triangle of a mesh
};

struct Seen {
  Vec3 color;
};

// What a unit ray sees past tmin, at tracing depth depth and pixel weight weight.
Seen traceRay(ShadingContext& context, const Ray& ray, double tmin, int depth, double weight);
// What primary rays see (traceRay from 0 at depth 0, weight 1), each with its own context:
// neighbouring pixels' rays find their first crossings together, four at a time.
void tracePrimaryRays(std::span<ShadingContext> contexts, std::span<const Ray> rays, Seen* seen);

// Lights a sample at the record's point as the view sees it (ambient, emission, lights
// with shadows, highlights, reflection and transmission as flags allow). Writes red,
// green, blue and the sample's opacity. Records the tracer made itself hold unit directions
// and normals already (unit_vectors); a texture's own records are normalised here.
void shadeSample(ShadingContext& context, uint32_t flags, const L2ShadingRecord& record,
                 const SurfaceSample& sample, float color[4], bool unit_vectors = false);

// The light that reaches from towards a light at distance, through shadow casters and
// their transparency.
Vec3 shadowFilter(ShadingContext& context, const Vec3& from, const Vec3& toward, double distance);
// A spot light's share of its light in direction -toward.
double spotFactor(const CompiledLight& light, const Vec3& toward);

// The context whose texture evaluation runs on this thread, or null.
ShadingContext* evaluatingContext();

}  // namespace lumetra::renderlib
