#include "ray_tracers.h"

#include <cmath>
#include <vector>

#include "shading.h"

namespace lumetra::renderlib {
namespace {

using Sample = Vec3;  // the colour a primary ray sees

// One primary sample at a point of the pixel grid, seeded by that point.
Sample sampleAt(const CompiledScene& scene, uint32_t view, double x, double y) {
  ShadingContext context{scene, view, SampleRandom(x, y)};
  return traceRay(context, scene.camera().primaryRay(x, y), 0, 0, 1).color;
}

double difference(const Sample& a, const Sample& b) {
  const Vec3 d = a - b;
  return std::max({std::fabs(d.x), std::fabs(d.y), std::fabs(d.z)});
}

Sample average(const Sample& a, const Sample& b, const Sample& c, const Sample& d) {
  return (a + b + c + d) * 0.25;
}

// The mean over a square given its corner samples: split into four while the corners
// differ by more than the threshold and depth remains.
Sample squareMean(const CompiledScene& scene, uint32_t view, double x, double y, double size,
                  const Sample corners[4], int depth) {
  const double threshold = scene.settings().alias_threshold;
  bool smooth = true;
  for (int i = 0; i < 4 && smooth; ++i) {
    for (int j = i + 1; j < 4; ++j) smooth = smooth && difference(corners[i], corners[j]) <= threshold;
  }
  if (smooth || depth <= 0) return average(corners[0], corners[1], corners[2], corners[3]);
  const double half = size / 2;
  const Sample top = sampleAt(scene, view, x + half, y);
  const Sample left = sampleAt(scene, view, x, y + half);
  const Sample centre = sampleAt(scene, view, x + half, y + half);
  const Sample right = sampleAt(scene, view, x + size, y + half);
  const Sample bottom = sampleAt(scene, view, x + half, y + size);
  // Corners run top-left, top-right, bottom-left, bottom-right.
  const Sample quarters[4][4] = {{corners[0], top, left, centre},
                                 {top, corners[1], centre, right},
                                 {left, centre, corners[2], bottom},
                                 {centre, right, bottom, corners[3]}};
  return average(squareMean(scene, view, x, y, half, quarters[0], depth - 1),
                 squareMean(scene, view, x + half, y, half, quarters[1], depth - 1),
                 squareMean(scene, view, x, y + half, half, quarters[2], depth - 1),
                 squareMean(scene, view, x + half, y + half, half, quarters[3], depth - 1));
}

void store(const Sample& sample, float color[4]) {
  color[0] = float(sample.x);
  color[1] = float(sample.y);
  color[2] = float(sample.z);
  color[3] = 1;  // opaque: the background colour is part of the picture, as the window shows it
}

}  // namespace

TileShader centreSampler(const CompiledScene& scene, uint32_t view) {
  return [&scene, view](const L2Rect& tile) -> RowShader {
    return [&scene, view, tile](int y, float* colors) {
      for (int x = tile.left; x < tile.right; ++x) {
        store(sampleAt(scene, view, x + 0.5, y + 0.5), colors + 4 * (x - tile.left));
      }
    };
  };
}

// Corner samples are shared between neighbouring pixels: each row keeps the lower corners
// of the row above.
TileShader adaptiveSampler(const CompiledScene& scene, uint32_t view) {
  return [&scene, view](const L2Rect& tile) -> RowShader {
    auto cornersAt = [&scene, view, tile](int y) {
      std::vector<Sample> row;
      row.reserve(tile.right - tile.left + 1);
      for (int x = tile.left; x <= tile.right; ++x) row.push_back(sampleAt(scene, view, x, y));
      return row;
    };
    return [&scene, view, tile, cornersAt, upper = std::vector<Sample>()](int y, float* colors) mutable {
      if (upper.empty()) upper = cornersAt(y);
      std::vector<Sample> lower = cornersAt(y + 1);
      for (int x = tile.left; x < tile.right; ++x) {
        const size_t i = x - tile.left;
        const Sample corners[4] = {upper[i], upper[i + 1], lower[i], lower[i + 1]};
        store(squareMean(scene, view, x, y, 1, corners, scene.settings().alias_depth), colors + 4 * i);
      }
      upper = std::move(lower);
    };
  };
}

}  // namespace lumetra::renderlib
