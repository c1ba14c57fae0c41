#include "area_light.h"

#include <algorithm>
#include <array>
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
    const size_t cells = size_t(source_.columns) * size_t(source_.rows);
    // Grids up to 8 x 8 keep their samples here (left unset: only sampled cells are read);
    // larger ones, up to a million cells, in buffers kept between calls.
    std::array<double, 3 * kCellsOnStack> seen_here;
    std::array<char, kCellsOnStack> sampled_here;
    thread_local std::vector<double> seen_kept;
    thread_local std::vector<char> sampled_kept;
    if (cells <= kCellsOnStack) {
      seen_ = seen_here.data();
      sampled_ = sampled_here.data();
    } else {
      seen_kept.resize(3 * cells);
      sampled_kept.resize(cells);
      seen_ = seen_kept.data();
      sampled_ = sampled_kept.data();
    }
    std::fill_n(sampled_, cells, 0);
    return settle(0, 0, source_.columns - 1, source_.rows - 1, 0) / double(cells);
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

  Vec3 cell(int column, int row) {
    const size_t k = size_t(row) * size_t(source_.columns) + size_t(column);
    double* seen = seen_ + 3 * k;
    if (!sampled_[k]) {
      const Vec3 light = sample(column, row);
      seen[0] = light.x;
      seen[1] = light.y;
      seen[2] = light.z;
      sampled_[k] = 1;
    }
    return {seen[0], seen[1], seen[2]};
  }

  // The light of the cells the block owns, summed: blocks own their first column and row up
  // to the next block's, the grid's last ones too, so that they share no cell. A settled
  // block's cells take its corners' light interpolated across it.
  Vec3 settle(int c1, int r1, int c2, int r2, int level) {
    const Vec3 a = cell(c1, r1), b = cell(c2, r1), c = cell(c1, r2), d = cell(c2, r2);
    const bool split_columns = c2 - c1 > 1, split_rows = r2 - r1 > 1;
    if ((split_columns || split_rows) &&
        (level < source_.adaptive || differ(a, b) || differ(a, c) || differ(a, d))) {
      const int cm = split_columns ? (c1 + c2) / 2 : c1, rm = split_rows ? (r1 + r2) / 2 : r1;
      Vec3 sum = settle(c1, r1, split_columns ? cm : c2, split_rows ? rm : r2, level + 1);
      if (split_columns) sum += settle(cm, r1, c2, split_rows ? rm : r2, level + 1);
      if (split_rows) sum += settle(c1, rm, split_columns ? cm : c2, r2, level + 1);
      if (split_columns && split_rows) sum += settle(cm, rm, c2, r2, level + 1);
      return sum;
    }
    const Ends columns = ends(c1, c2, source_.columns), rows = ends(r1, r2, source_.rows);
    return (a * columns.first + b * columns.second) * rows.first +
           (c * columns.first + d * columns.second) * rows.second;
  }

  // How much the first and the last of a block's columns (or rows) count in the sum of its
  // own cells when each cell is interpolated between them.
  struct Ends {
    double first, second;
  };
  static Ends ends(int from, int to, int count) {
    const int gap = to - from;
    if (gap == 0) return {1, 0};
    if (to == count - 1) return {(gap + 1) / 2.0, (gap + 1) / 2.0};
    return {(gap + 1) / 2.0, (gap - 1) / 2.0};
  }

  static constexpr size_t kCellsOnStack = 64;
  ShadingContext& context_;
  const CompiledLight& light_;
  const Light& source_;
  Vec3 point_;
  double* seen_ = nullptr;  // the red, green and blue light of each sampled cell
  char* sampled_ = nullptr;
};

}  // namespace

Vec3 areaLightPassed(ShadingContext& context, const CompiledLight& light, const Vec3& point) {
  const Light& source = *light.light;
  AreaGrid grid(context, light, point);
  const int levels = std::max(levelsToReachEveryCell(source.columns), levelsToReachEveryCell(source.rows));
  return source.adaptive >= levels ? grid.everyCell() : grid.adaptively();
}

}  // namespace lumetra::renderlib
