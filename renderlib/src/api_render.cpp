// The render entries.
#include "api_support.h"
#include "ray_tracers.h"
#include "tile_renderer.h"

using namespace lumetra2;

namespace {

// Marks the scene as rendering for as long as it lives.
class RenderingMark {
 public:
  explicit RenderingMark(Scene& scene) : scene_(scene) { scene_.rendering = true; }
  ~RenderingMark() { scene_.rendering = false; }
  RenderingMark(const RenderingMark&) = delete;
  RenderingMark& operator=(const RenderingMark&) = delete;

 private:
  Scene& scene_;
};

bool cameraIsSound(const View& view) {
  const Vec3 forward = view.interest - view.location;
  return length(forward) > 0 && length(cross(forward, view.up)) > 1e-12 * length(forward) * length(view.up);
}

// The region clipped to the grid; false when it is malformed.
bool clipRegion(const View& view, const L2Rect* region, L2Rect& out) {
  if (!region) {
    out = {0, 0, view.width, view.height};
    return true;
  }
  if (region->left > region->right || region->top > region->bottom) return false;
  out = {std::max(region->left, 0), std::max(region->top, 0), std::min(region->right, view.width),
         std::min(region->bottom, view.height)};
  if (out.left > out.right) out.right = out.left;
  if (out.top > out.bottom) out.bottom = out.top;
  return true;
}

using Sampler = TileShader (*)(const CompiledScene&, uint32_t);

int32_t rayTrace(L2Scene scene, L2View view, const L2Rect* region, uint32_t flags, L2AbortCallback abort_callback,
                 L2PixelCallback pixel_callback, void* user_data, Sampler sampler) {
  return withItem<&Scene::view>(scene, view, [&](Scene& s, View& v) -> int32_t {
    PixelJob job{{}, abort_callback, pixel_callback, user_data};
    if (!pixel_callback || !clipRegion(v, region, job.region) || !cameraIsSound(v)) return L2_ERROR_ARGUMENT;
    RenderingMark mark(s);
    const CompiledScene compiled(s, v, flags);
    return renderTiles(job, sampler(compiled, view));
  });
}

}  // namespace

extern "C" {

int32_t Tracer(L2Scene scene, L2View view, const L2Rect* region, uint32_t shading_flags,
               L2AbortCallback abort_callback, L2PixelCallback pixel_callback, void* user_data) {
  return rayTrace(scene, view, region, shading_flags, abort_callback, pixel_callback, user_data, centreSampler);
}

int32_t AATracer(L2Scene scene, L2View view, const L2Rect* region, uint32_t shading_flags,
                 L2AbortCallback abort_callback, L2PixelCallback pixel_callback, void* user_data) {
  return rayTrace(scene, view, region, shading_flags, abort_callback, pixel_callback, user_data, adaptiveSampler);
}

}  // extern "C"
