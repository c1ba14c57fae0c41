#include "texture/block_pattern.h"

#include <cmath>

namespace lumetra::texture {
namespace {

constexpr double kCheckerEpsilon = 1.3117e-07;
constexpr double kBrickEpsilon = 1.1173e-07;
constexpr double kSqrt3 = 1.7320508075688772;
// Lattice indices stay far inside long long, (j + 3i) included.
constexpr double kFarthestCell = 1e15;

// u - trunc(u), plus 1 when negative.
double BrickFrac(double u) {
  const double f = u - std::trunc(u);
  return f < 0.0 ? f + 1.0 : f;
}

long long Floor(double t) { return static_cast<long long>(std::floor(t)); }

}  // namespace

int CheckerIndex(const math::Vector3& p) {
  const double sum = std::floor(p.x + kCheckerEpsilon) + std::floor(p.y + kCheckerEpsilon) +
                     std::floor(p.z + kCheckerEpsilon);
  return std::fmod(std::trunc(sum), 2.0) == 0.0 ? 0 : 1;
}

int HexagonIndex(const math::Vector3& p) {
  const double x = p.x * 0.6666666666666666;
  const double y = 2.0 * p.y / kSqrt3;
  // Points that no lattice index can hold (a zero texture scale makes them infinite, or
  // not a number) take the first entry.
  if (!(std::fabs(x) < kFarthestCell && std::fabs(y) < kFarthestCell)) return 0;
  long long i = Floor(x);
  long long j = Floor(y);
  const double fx = x - static_cast<double>(i);
  const double fy = y - static_cast<double>(j);
  if ((i + j) % 2 == 0) {
    const bool keep = fx < 0.333333 || (fx <= 0.666666 && fy < 2.0 - 3.0 * fx);
    if (!keep) {
      ++i;
      ++j;
    }
  } else if (fx >= 0.333333 && (fx > 0.666666 || fy <= 3.0 * fx - 1.0)) {
    ++i;
  } else {
    ++j;
  }
  const long long index = ((j + 3 * i) / 2) % 3;
  return static_cast<int>(index < 0 ? index + 3 : index);
}

int BrickIndex(const math::Vector3& p, const math::Vector3& size, double mortar) {
  const double x = (mortar + p.x + kBrickEpsilon) / size.x;
  const double y = (mortar + p.y + kBrickEpsilon) / size.y;
  const double z = (mortar + p.z + kBrickEpsilon) / size.z;
  const double joint[3] = {mortar / size.x, mortar / size.y, mortar / size.z};
  if (BrickFrac(y) <= joint[1]) return 0;
  const bool oddRow = BrickFrac(y * 0.5) > 0.5;
  if (BrickFrac(oddRow ? x + 0.5 : x) <= joint[0]) return 0;
  if (BrickFrac(oddRow ? z : z + 0.5) <= joint[2]) return 0;
  return 1;
}

int BlockPattern::Index(const math::Vector3& p) const {
  switch (kind) {
    case BlockKind::kHexagon:
      return HexagonIndex(p);
    case BlockKind::kBrick:
      return BrickIndex(p, brickSize, mortar);
    case BlockKind::kChecker:
      break;
  }
  return CheckerIndex(p);
}

}  // namespace lumetra::texture
