#include "edge_finder.h"

#include <cmath>
#include <vector>

#include "shading.h"

namespace lumetra2 {
namespace {

struct Glimpse {
  const void* surface = nullptr;  // the primitive or CSG part seen, null for background
  Vec3 normal;
};

Glimpse glimpse(const CompiledScene& scene, int x, int y) {
  const Ray ray = scene.camera().primaryRay(x + 0.5, y + 0.5);
  WorldHit hit;
  if (!scene.accelerator().intersect(ray, 0, std::numeric_limits<double>::infinity(), false, hit)) return {};
  return {hit.part ? static_cast<const void*>(hit.part) : hit.primitive, hit.normal};
}

bool differ(const Glimpse& a, const Glimpse& b) {
  static const double kCrease = std::cos(30 * kPi / 180);
  if (a.surface != b.surface) return true;
  return a.surface && std::fabs(dot(a.normal, b.normal)) < kCrease;
}

}  // namespace

TileShader edgeFinder(const CompiledScene& scene, uint32_t view) {
  return [&scene, view](const L2Rect& tile) -> RowShader {
    auto rowAt = [&scene, tile](int y) {
      std::vector<Glimpse> row;
      for (int x = tile.left; x <= tile.right; ++x) row.push_back(glimpse(scene, x, y));
      return row;
    };
    return [&scene, view, tile, rowAt, current = std::vector<Glimpse>()](int y, float* colors) mutable {
      if (current.empty()) current = rowAt(y);
      std::vector<Glimpse> below = rowAt(y + 1);
      const Vec3 background = scene.settings().background;
      for (int x = tile.left; x < tile.right; ++x) {
        const size_t i = x - tile.left;
        float* color = colors + 4 * i;
        if (!differ(current[i], current[i + 1]) && !differ(current[i], below[i])) {
          color[0] = float(background.x);
          color[1] = float(background.y);
          color[2] = float(background.z);
          color[3] = 0;
          continue;
        }
        ShadingContext context{scene, view, SampleRandom(x + 0.5, y + 0.5)};
        const Seen seen = traceRay(context, scene.camera().primaryRay(x + 0.5, y + 0.5), 0, 0, 1);
        color[0] = float(seen.color.x);
        color[1] = float(seen.color.y);
        color[2] = float(seen.color.z);
        color[3] = 1;
      }
      current = std::move(below);
    };
  };
}

}  // namespace lumetra2
