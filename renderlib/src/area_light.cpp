#include "area_light.h"

#include <algorithm>
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

class AreaGrid {
 public:
  AreaGrid(ShadingContext& context, const CompiledLight& light, const Vec3& point)
      : context_(context), light_(light), source_(*light.light), point_(point) {}

  Vec3 everyCell() {
    Vec3 sum;
    for (int row = 0; row < source_.rows; ++row) {
      for (int column = 0; column < source_.columns; ++column) sum += sample(column, row);
    }
    return sum / double(source_.columns * source_.rows);
  }

  Vec3 adaptively() {
    // Reused between calls: a grid may have up to a million cells.
    thread_local std::vector<Vec3> values;
    thread_local std::vector<char> known;
    const size_t cells = size_t(source_.columns) * size_t(source_.rows);
    values.resize(cells);
    known.assign(cells, 0);
    values_ = values.data();
    known_ = known.data();
    settle(0, 0, source_.columns - 1, source_.rows - 1, 0);
    Vec3 sum;
    for (size_t k = 0; k < cells; ++k) sum += values[k];
    return sum / double(cells);
  }

 private:
  Vec3 sample(int column, int row) {
    const double du = 0.5 + source_.jitter * (context_.random.next() - 0.5);
    const double dv = 0.5 + source_.jitter * (context_.random.next() - 0.5);
    const Vec3 position = light_.position + light_.edge_u * ((column + du) / source_.columns) +
                          light_.edge_v * ((row + dv) / source_.rows);
    const Vec3 toward = position - point_;
    const double distance = length(toward);
    if (distance <= 0) return {1, 1, 1};
    return shadowFilter(context_, point_, toward / distance, distance);
  }

  const Vec3& cell(int column, int row) {
    const size_t k = size_t(row) * size_t(source_.columns) + size_t(column);
    if (known_[k] != kSampled) {
      values_[k] = sample(column, row);
      known_[k] = kSampled;
    }
    return values_[k];
  }

  void settle(int c1, int r1, int c2, int r2, int level) {
    const Vec3 a = cell(c1, r1), b = cell(c2, r1), c = cell(c1, r2), d = cell(c2, r2);
    const bool split_columns = c2 - c1 > 1, split_rows = r2 - r1 > 1;
    if ((split_columns || split_rows) &&
        (level < source_.adaptive || differ(a, b) || differ(a, c) || differ(a, d))) {
      const int cm = split_columns ? (c1 + c2) / 2 : c1, rm = split_rows ? (r1 + r2) / 2 : r1;
      settle(c1, r1, split_columns ? cm : c2, split_rows ? rm : r2, level + 1);
      if (split_columns) settle(cm, r1, c2, split_rows ? rm : r2, level + 1);
      if (split_rows) settle(c1, rm, split_columns ? cm : c2, r2, level + 1);
      if (split_columns && split_rows) settle(cm, rm, c2, r2, level + 1);
      return;
    }
    for (int row = r1; row <= r2; ++row) {
      const double t = r2 > r1 ? double(row - r1) / (r2 - r1) : 0;
      for (int column = c1; column <= c2; ++column) {
        const size_t k = size_t(row) * size_t(source_.columns) + size_t(column);
        if (known_[k]) continue;
        const double s = c2 > c1 ? double(column - c1) / (c2 - c1) : 0;
        values_[k] = (a * (1 - s) + b * s) * (1 - t) + (c * (1 - s) + d * s) * t;
        known_[k] = kInterpolated;
      }
    }
  }

  static constexpr char kInterpolated = 1, kSampled = 2;
  ShadingContext& context_;
  const CompiledLight& light_;
  const Light& source_;
  Vec3 point_;
  Vec3* values_ = nullptr;
  char* known_ = nullptr;
};

}  // namespace

Vec3 areaLightPassed(ShadingContext& context, const CompiledLight& light, const Vec3& point) {
  const Light& source = *light.light;
  AreaGrid grid(context, light, point);
  const int levels = std::max(levelsToReachEveryCell(source.columns), levelsToReachEveryCell(source.rows));
  return source.adaptive >= levels ? grid.everyCell() : grid.adaptively();
}

}  // namespace lumetra::renderlib
