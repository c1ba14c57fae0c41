#include "ray_tracers.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
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

// The samples inside pixels and on their edges, by their place on the finest grid the
// subdivision reaches: a point shared by neighbouring pixels, or by the squares of one pixel,
// is traced once. The places live in an open-addressing table, since a node per sample would
// cost an allocation each. Pixel corners are kept by the rows of the tile instead.
class TileSamples {
 public:
  TileSamples(const CompiledScene& scene, uint32_t view)
      : scene_(&scene),
        view_(view),
        steps_(double(int64_t{1} << std::max(scene.settings().alias_depth, 0))),
        slots_(size_t{1} << kFirstBits) {}

  Sample at(double x, double y) {
    const uint64_t key = keyOf(x, y);
    Slot& slot = find(key);
    if (slot.key != 0) return slot.sample;
    const Sample sample = sampleAt(*scene_, view_, x, y);
    insert(slot, key, sample);
    return sample;
  }

  const CompiledScene& scene() const { return *scene_; }

 private:
  static constexpr int kFirstBits = 12;  // room for the inner samples of a busy 32-pixel tile
  struct Slot {
    uint64_t key = 0;
    Sample sample;
  };

  uint64_t keyOf(double x, double y) const {
    // Exact: the points are whole multiples of the finest step, so conversion does not round.
    const auto column = uint32_t(int32_t(x * steps_));
    const auto row = uint32_t(int32_t(y * steps_));
    // Never 0, the mark of an empty slot: no place has all bits of both halves set.
    return (uint64_t{column} << 32 | row) + 1;
  }

  void insert(Slot& slot, uint64_t key, const Sample& sample) {
    slot = {key, sample};
    if (++used_ * 2 > slots_.size()) grow();
  }

  Slot& find(uint64_t key) {
    // Multiplicative hashing: the product's top bits depend on every bit of the key.
    const size_t mask = slots_.size() - 1;
    for (size_t i = (key * 0x9E3779B97F4A7C15ull) >> (64 - bits_);; i = (i + 1) & mask) {
      if (slots_[i].key == key || slots_[i].key == 0) return slots_[i];
    }
  }

  void grow() {
    std::vector<Slot> old(slots_.size() * 2);
    old.swap(slots_);
    ++bits_;
    for (const Slot& slot : old) {
      if (slot.key != 0) find(slot.key) = slot;
    }
  }

  const CompiledScene* scene_;
  uint32_t view_;
  double steps_;  // finest grid steps per pixel
  std::vector<Slot> slots_;
  int bits_ = kFirstBits;  // slots_ holds 2^bits_
  size_t used_ = 0;
};

// The corner samples of a tile's rows of pixels, the row above and the row below: a row of
// corners is traced side by side, its primary rays finding their first crossings together.
class CornerRows {
 public:
  CornerRows(const CompiledScene& scene, uint32_t view, const L2Rect& tile)
      : scene_(&scene),
        view_(view),
        left_(tile.left),
        above_(tile.right - tile.left + 1),
        below_(above_.size()) {}

  // Makes the corners of row y the ones above, those of y + 1 the ones below.
  void moveTo(int y) {
    if (y == below_y_) {
      std::swap(above_, below_);
    } else {
      trace(y, above_);
    }
    trace(y + 1, below_);
    below_y_ = y + 1;
  }
  const Sample& above(int x) const { return above_[size_t(x - left_)]; }
  const Sample& below(int x) const { return below_[size_t(x - left_)]; }

 private:
  void trace(int y, std::vector<Sample>& row) const {
    constexpr size_t kBatch = 8;
    const ShadingContext blank{*scene_, view_, {0, 0}};
    ShadingContext contexts[kBatch] = {blank, blank, blank, blank, blank, blank, blank, blank};
    Ray rays[kBatch];
    Seen seen[kBatch];
    for (size_t first = 0; first < row.size(); first += kBatch) {
      const size_t count = std::min(kBatch, row.size() - first);
      for (size_t i = 0; i < count; ++i) {
        const int x = left_ + int(first + i);
        contexts[i].random = SampleRandom(x, y);
        rays[i] = scene_->camera().primaryRay(x, y);
      }
      tracePrimaryRays({contexts, count}, {rays, count}, seen);
      for (size_t i = 0; i < count; ++i) row[first + i] = seen[i].color;
    }
  }

  const CompiledScene* scene_;
  uint32_t view_;
  int left_;
  std::vector<Sample> above_, below_;
  int below_y_ = std::numeric_limits<int>::min();
};

// The mean over a square given its corner samples: split into four while the corners
// differ by more than the threshold and depth remains.
Sample squareMean(TileSamples& samples, double x, double y, double size, const Sample corners[4], int depth) {
  const double threshold = samples.scene().settings().alias_threshold;
  bool smooth = true;
  for (int i = 0; i < 4 && smooth; ++i) {
    for (int j = i + 1; j < 4; ++j) smooth = smooth && difference(corners[i], corners[j]) <= threshold;
  }
  if (smooth || depth <= 0) return average(corners[0], corners[1], corners[2], corners[3]);
  const double half = size / 2;
  const Sample top = samples.at(x + half, y);
  const Sample left = samples.at(x, y + half);
  const Sample centre = samples.at(x + half, y + half);
  const Sample right = samples.at(x + size, y + half);
  const Sample bottom = samples.at(x + half, y + size);
  // Corners run top-left, top-right, bottom-left, bottom-right.
  const Sample quarters[4][4] = {{corners[0], top, left, centre},
                                 {top, corners[1], centre, right},
                                 {left, centre, corners[2], bottom},
                                 {centre, right, bottom, corners[3]}};
  return average(squareMean(samples, x, y, half, quarters[0], depth - 1),
                 squareMean(samples, x + half, y, half, quarters[1], depth - 1),
                 squareMean(samples, x, y + half, half, quarters[2], depth - 1),
                 squareMean(samples, x + half, y + half, half, quarters[3], depth - 1));
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

TileShader adaptiveSampler(const CompiledScene& scene, uint32_t view) {
  return [&scene, view](const L2Rect& tile) -> RowShader {
    return [tile, samples = TileSamples(scene, view), corners = CornerRows(scene, view, tile)](
               int y, float* colors) mutable {
      const int depth = samples.scene().settings().alias_depth;
      corners.moveTo(y);
      for (int x = tile.left; x < tile.right; ++x) {
        const Sample pixel[4] = {corners.above(x), corners.above(x + 1), corners.below(x),
                                 corners.below(x + 1)};
        store(squareMean(samples, x, y, 1, pixel, depth), colors + 4 * (x - tile.left));
      }
    };
  };
}

}  // namespace lumetra::renderlib
