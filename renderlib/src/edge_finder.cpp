#include "edge_finder.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>
#include <optional>
#include <vector>

#include "shading.h"

namespace lumetra::renderlib {
namespace {

// How far along a ray edges are looked for.
struct EdgeMode {
  size_t max_layers;  // surfaces compared along one ray
  bool faces;         // mesh triangles count as surfaces of their own
  // Surfaces that lie on one another (a box standing on the floor) are met one or the
  // other from pixel to pixel; with this set, two primitives' surfaces lying in one plane
  // count as one there (a mesh's own triangles stay apart).
  bool merge_coplanar;
};

constexpr EdgeMode kVisible{1, false, false};
// Deep enough for any scene a wireframe is read from.
constexpr EdgeMode kWires{64, true, true};

struct Glimpse {
  const void* surface = nullptr;  // the primitive or CSG part met
  uint32_t face = 0;
  Vec3 normal;
  Vec3 point;
  double t = 0;
};

// The surfaces a pixel's ray meets, front to back; empty for background.
using Layers = std::vector<Glimpse>;

Layers look(const CompiledScene& scene, const EdgeMode& mode, int x, int y) {
  const Ray ray = scene.camera().primaryRay(x + 0.5, y + 0.5);
  Layers layers;
  double from = 0;
  WorldHit hit;
  while (layers.size() < mode.max_layers &&
         scene.accelerator().intersect(ray, from, std::numeric_limits<double>::infinity(), false, hit)) {
    const void* surface = hit.part ? static_cast<const void*>(hit.part) : hit.primitive;
    layers.push_back({surface, mode.faces ? hit.face : 0, hit.normal, hit.point, hit.t});
    from = hit.t + scene.settings().ray_epsilon;
  }
  return layers;
}

bool coplanar(const Glimpse& a, const Glimpse& b) {
  return std::fabs(dot(a.normal, b.normal)) > 1 - 1e-9 &&
         std::fabs(dot(a.normal, b.point - a.point)) <= 1e-6 * std::max(1.0, a.t);
}

bool differ(const Glimpse& a, const Glimpse& b, const EdgeMode& mode) {
  static const double kCrease = std::cos(30 * std::numbers::pi / 180);
  if (a.surface != b.surface) return !(mode.merge_coplanar && coplanar(a, b));
  if (a.face != b.face) return true;
  return std::fabs(dot(a.normal, b.normal)) < kCrease;
}

// The first layer at which the two pixels differ, or none.
std::optional<size_t> firstDifference(const Layers& a, const Layers& b, const EdgeMode& mode) {
  const size_t common = std::min(a.size(), b.size());
  for (size_t i = 0; i < common; ++i) {
    if (differ(a[i], b[i], mode)) return i;
  }
  if (a.size() != b.size()) return common;
  return std::nullopt;
}

TileShader finder(const CompiledScene& scene, uint32_t view, EdgeMode mode) {
  return [&scene, view, mode](const L2Rect& tile) -> RowShader {
    auto rowAt = [&scene, mode, tile](int y) {
      std::vector<Layers> row;
      for (int x = tile.left; x <= tile.right; ++x) row.push_back(look(scene, mode, x, y));
      return row;
    };
    return [&scene, view, mode, tile, rowAt, current = std::vector<Layers>()](int y, float* colors) mutable {
      if (current.empty()) current = rowAt(y);
      std::vector<Layers> below = rowAt(y + 1);
      const Vec3 background = scene.settings().background;
      for (int x = tile.left; x < tile.right; ++x) {
        const size_t i = x - tile.left;
        float* color = colors + 4 * i;
        const std::optional<size_t> right = firstDifference(current[i], current[i + 1], mode);
        const std::optional<size_t> under = firstDifference(current[i], below[i], mode);
        if (!right && !under) {
          color[0] = float(background.x);
          color[1] = float(background.y);
          color[2] = float(background.z);
          color[3] = 0;
          continue;
        }
        // Shade the surface at the nearer of the two differences, seen past those before it.
        const size_t layer = std::min(right.value_or(SIZE_MAX), under.value_or(SIZE_MAX));
        const double from = layer == 0 ? 0 : current[i][layer - 1].t + scene.settings().ray_epsilon;
        ShadingContext context{scene, view, SampleRandom(x + 0.5, y + 0.5)};
        const Seen seen = traceRay(context, scene.camera().primaryRay(x + 0.5, y + 0.5), from, 0, 1);
        color[0] = float(seen.color.x);
        color[1] = float(seen.color.y);
        color[2] = float(seen.color.z);
        color[3] = 1;
      }
      current = std::move(below);
    };
  };
}

}  // namespace

TileShader edgeFinder(const CompiledScene& scene, uint32_t view) { return finder(scene, view, kVisible); }

TileShader wireFinder(const CompiledScene& scene, uint32_t view) { return finder(scene, view, kWires); }

}  // namespace lumetra::renderlib
