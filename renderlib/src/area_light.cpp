#include "area_light.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

namespace lumetra::renderlib {
namespace {

// Corners whose light differs by no more than this in any channel settle their block: a
// shadow's edge (0 against 1) always splits, a slightly tinted transparent caster does not.
constexpr double kSettled = 0.1;

// Halvings of a side of n cells until neighbouring cells are reached.
int levelsToReachEveryCell(int n) {
  int levels = 0;
  for (int gap = n - 1; gap > 1; gap = (gap + 1) / 2) ++levels;
  return levels;
}

bool differ(const Vec3& a, const Vec3& b) {
  return std::fabs(a.x - b.x) > kSettled || std::fabs(a.y - b.y) > kSettled ||
         std::fabs(a.z - b.z) > kSettled;
}

// Cells c1..c2 by rows r1..r2, corners included.
struct Block {
  int c1, r1, c2, r2;
};

// How much the first and the last of a block's columns (or rows) count in the sum of the
// cells it owns, each cell interpolated between them. Blocks own their first column and row
// up to the next block's, the grid's last ones too, so that they share no cell.
struct Ends {
  double first, second;
};
Ends ends(int from, int to, int count) {
  const int gap = to - from;
  if (gap == 0) return {1, 0};
  if (to == count - 1) return {(gap + 1) / 2.0, (gap + 1) / 2.0};
  return {(gap + 1) / 2.0, (gap - 1) / 2.0};
}

// Reused from call to call: a grid may have up to a million cells.
struct Scratch {
  std::vector<Vec3> light;        // of each sampled cell
  std::vector<char> state;        // kUnknown, kQueued or kSampled
  std::vector<int> queued;        // cells to sample next, as row * columns + column
  std::vector<ShadowQuery> rays;  // their shadow rays
  std::vector<uint8_t> blocked;
  std::vector<Block> blocks, next;
};

constexpr char kUnknown = 0, kQueued = 1, kSampled = 2;

// This thread's scratch for one sampling. A texture that a shadow ray shades may light itself
// by an area light before the sampling the ray belongs to is done: each depth has its own.
class ScratchLease {
 public:
  ScratchLease() {
    if (t_depth == t_scratches.size()) t_scratches.push_back(std::make_unique<Scratch>());
    scratch_ = t_scratches[t_depth++].get();
  }
  ~ScratchLease() { --t_depth; }
  ScratchLease(const ScratchLease&) = delete;
  ScratchLease& operator=(const ScratchLease&) = delete;
  Scratch* operator->() const { return scratch_; }

 private:
  static thread_local std::vector<std::unique_ptr<Scratch>> t_scratches;
  static thread_local size_t t_depth;
  Scratch* scratch_;
};
thread_local std::vector<std::unique_ptr<Scratch>> ScratchLease::t_scratches;
thread_local size_t ScratchLease::t_depth = 0;

// Samples the grid level by level, so that each level's new cells go to the accelerator
// together: their shadow rays leave one point for one small patch and share its traversal.
class AreaGrid {
 public:
  AreaGrid(ShadingContext& context, const CompiledLight& light, const Vec3& point)
      : context_(context),
        light_(light),
        source_(*light.light),
        point_(point),
        columns_(source_.columns),
        cells_(size_t(source_.columns) * size_t(source_.rows)) {
    s_->light.resize(cells_);
    s_->state.assign(cells_, kUnknown);
  }

  Vec3 everyCell() {
    s_->queued.clear();
    for (size_t k = 0; k < cells_; ++k) s_->queued.push_back(int(k));
    sampleQueued();
    Vec3 sum;
    for (size_t k = 0; k < cells_; ++k) sum += s_->light[k];
    return sum / double(cells_);
  }

  Vec3 adaptively() {
    Vec3 sum;
    s_->blocks.assign(1, {0, 0, source_.columns - 1, source_.rows - 1});
    for (int level = 0; !s_->blocks.empty(); ++level) {
      s_->queued.clear();
      for (const Block& b : s_->blocks) {
        for (const int k : {index(b.c1, b.r1), index(b.c2, b.r1), index(b.c1, b.r2), index(b.c2, b.r2)}) {
          if (s_->state[size_t(k)] != kUnknown) continue;
          s_->state[size_t(k)] = kQueued;
          s_->queued.push_back(k);
        }
      }
      sampleQueued();
      s_->next.clear();
      for (const Block& b : s_->blocks) sum += settle(b, level);
      std::swap(s_->blocks, s_->next);
    }
    return sum / double(cells_);
  }

 private:
  int index(int column, int row) const { return row * columns_ + column; }

  // The light summed over the cells a block owns when it settles, else nothing yet: its
  // quarters (or halves) go to the next level.
  Vec3 settle(const Block& b, int level) {
    const Vec3& a = s_->light[size_t(index(b.c1, b.r1))];
    const Vec3& c_b = s_->light[size_t(index(b.c2, b.r1))];
    const Vec3& c_c = s_->light[size_t(index(b.c1, b.r2))];
    const Vec3& d = s_->light[size_t(index(b.c2, b.r2))];
    const bool split_columns = b.c2 - b.c1 > 1, split_rows = b.r2 - b.r1 > 1;
    if ((split_columns || split_rows) &&
        (level < source_.adaptive || differ(a, c_b) || differ(a, c_c) || differ(a, d))) {
      const int cm = split_columns ? (b.c1 + b.c2) / 2 : b.c2, rm = split_rows ? (b.r1 + b.r2) / 2 : b.r2;
      s_->next.push_back({b.c1, b.r1, cm, rm});
      if (split_columns) s_->next.push_back({cm, b.r1, b.c2, rm});
      if (split_rows) s_->next.push_back({b.c1, rm, cm, b.r2});
      if (split_columns && split_rows) s_->next.push_back({cm, rm, b.c2, b.r2});
      return {};
    }
    const Ends columns = ends(b.c1, b.c2, source_.columns), rows = ends(b.r1, b.r2, source_.rows);
    return (a * columns.first + c_b * columns.second) * rows.first +
           (c_c * columns.first + d * columns.second) * rows.second;
  }

  // A shadow ray from the point to each queued cell's centre, moved by the jitter.
  void sampleQueued() {
    s_->rays.clear();
    for (const int k : s_->queued) {
      const int column = k % columns_, row = k / columns_;
      const double du = 0.5 + source_.jitter * (context_.random.next() - 0.5);
      const double dv = 0.5 + source_.jitter * (context_.random.next() - 0.5);
      const Vec3 position = light_.position + light_.edge_u * ((column + du) / source_.columns) +
                            light_.edge_v * ((row + dv) / source_.rows);
      const Vec3 toward = position - point_;
      const double distance = length(toward);
      s_->rays.push_back({{point_, distance > 0 ? toward / distance : Vec3{}}, 0, distance});
      s_->state[size_t(k)] = kSampled;
    }
    const CompiledScene& scene = context_.scene;
    const double epsilon = scene.settings().ray_epsilon;
    if (scene.shadowsStopAtFirstCaster()) {
      for (ShadowQuery& ray : s_->rays) {
        ray.tmin = epsilon;
        ray.tmax -= epsilon;
      }
      s_->blocked.resize(s_->rays.size());
      scene.accelerator().occluded(s_->rays, s_->blocked.data());
    }
    for (size_t i = 0; i < s_->queued.size(); ++i) {
      const ShadowQuery& ray = s_->rays[i];
      Vec3& light = s_->light[size_t(s_->queued[i])];
      if (!(ray.tmax > 0)) {
        light = {1, 1, 1};  // the point is on the light
      } else if (scene.shadowsStopAtFirstCaster()) {
        light = s_->blocked[i] ? Vec3{} : Vec3{1, 1, 1};
      } else {
        light = shadowFilter(context_, point_, ray.ray.direction, ray.tmax);
      }
    }
  }

  ShadingContext& context_;
  const CompiledLight& light_;
  const Light& source_;
  Vec3 point_;
  int columns_;
  size_t cells_;
  ScratchLease s_;
};

}  // namespace

Vec3 areaLightPassed(ShadingContext& context, const CompiledLight& light, const Vec3& point) {
  const Light& source = *light.light;
  AreaGrid grid(context, light, point);
  const int levels = std::max(levelsToReachEveryCell(source.columns), levelsToReachEveryCell(source.rows));
  return source.adaptive >= levels ? grid.everyCell() : grid.adaptively();
}

}  // namespace lumetra::renderlib
