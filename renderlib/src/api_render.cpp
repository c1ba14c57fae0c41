// The render entries.
#include "api_support.h"
#include "edge_finder.h"
#include "ray_tracers.h"
#include "tile_renderer.h"

using namespace lumetra::renderlib;

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

// The camera picks its own up when the view's is unusable; only a view without direction is.
bool cameraIsSound(const View& view) { return length(view.interest - view.location) > 0; }

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

// What each pixel method traces: its shading flags, limits and sampler.
struct Method {
  uint32_t removed_flags;
  uint32_t added_flags;
  Sampler sampler;
  bool scan_lines;  // see through transparent surfaces, straight on, view's scan-line depth
};

constexpr uint32_t kSecondaryRays = L2_SHADE_SHADOWS | L2_SHADE_REFLECTION | L2_SHADE_TRANSMISSION;
constexpr Method kTracer{0, 0, centreSampler, false};
constexpr Method kAATracer{0, 0, adaptiveSampler, false};
// The polygon methods see what a depth buffer sees: the nearest surface, lit locally.
constexpr Method kRender{kSecondaryRays, 0, centreSampler, false};
constexpr Method kScanner{L2_SHADE_SHADOWS | L2_SHADE_REFLECTION, L2_SHADE_TRANSMISSION, centreSampler, true};
constexpr Method kEdges{kSecondaryRays, 0, edgeFinder, false};
// A wireframe shows back faces' edges too, so nothing is culled.
constexpr Method kWires{kSecondaryRays | L2_SHADE_CULL_BACKFACES, 0, wireFinder, false};

int32_t renderPixels(const Method& method, L2Scene scene, L2View view, const L2Rect* region, uint32_t flags,
                     L2AbortCallback abort_callback, L2PixelCallback pixel_callback, void* user_data,
                     L2LineCallback line_callback = nullptr) {
  return withItem<&Scene::view>(scene, view, [&](Scene& s, View& v) -> int32_t {
    PixelJob job{{}, abort_callback, pixel_callback, user_data, line_callback};
    if ((!pixel_callback && !line_callback) || !clipRegion(v, region, job.region) || !cameraIsSound(v)) {
      return L2_ERROR_ARGUMENT;
    }
    RenderingMark mark(s);
    const TracingLimits limits{method.scan_lines ? v.scanline_depth : s.settings.max_depth,
                               !method.scan_lines};
    const CompiledScene compiled(s, v, (flags & ~method.removed_flags) | method.added_flags, limits);
    return renderTiles(job, method.sampler(compiled, view));
  });
}

}  // namespace

extern "C" {

int32_t Tracer(L2Scene scene, L2View view, const L2Rect* region, uint32_t shading_flags,
               L2AbortCallback abort_callback, L2PixelCallback pixel_callback, void* user_data) {
  return renderPixels(kTracer, scene, view, region, shading_flags, abort_callback, pixel_callback, user_data);
}

int32_t AATracer(L2Scene scene, L2View view, const L2Rect* region, uint32_t shading_flags,
                 L2AbortCallback abort_callback, L2PixelCallback pixel_callback, void* user_data) {
  return renderPixels(kAATracer, scene, view, region, shading_flags, abort_callback, pixel_callback,
                      user_data);
}

int32_t Render(L2Scene scene, L2View view, const L2Rect* region, uint32_t shading_flags,
               L2AbortCallback abort_callback, L2PixelCallback pixel_callback, void* user_data) {
  return renderPixels(kRender, scene, view, region, shading_flags, abort_callback, pixel_callback, user_data);
}

int32_t Scanner(L2Scene scene, L2View view, const L2Rect* region, uint32_t shading_flags,
                L2AbortCallback abort_callback, L2PixelCallback pixel_callback, void* user_data) {
  return renderPixels(kScanner, scene, view, region, shading_flags, abort_callback, pixel_callback,
                      user_data);
}

int32_t HiddenLine(L2Scene scene, L2View view, const L2Rect* region, uint32_t shading_flags,
                   L2AbortCallback abort_callback, L2PixelCallback pixel_callback, void* user_data) {
  return renderPixels(kEdges, scene, view, region, shading_flags, abort_callback, pixel_callback, user_data);
}

int32_t Outline(L2Scene scene, L2View view, const L2Rect* region, uint32_t shading_flags,
                L2AbortCallback abort_callback, L2LineCallback line_callback, void* user_data) {
  return renderPixels(kWires, scene, view, region, shading_flags, abort_callback, nullptr, user_data,
                      line_callback);
}

}  // extern "C"
