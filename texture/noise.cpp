#include "texture/noise.h"

#include <algorithm>
#include <cmath>

#include "texture/noise_tables.h"

namespace lumetra::texture {
namespace {

constexpr int kLatticeMask = kNoiseSize - 1;

// One axis of the lattice cell around a coordinate.
struct AxisCell {
  int low;       // lattice index below
  int high;      // lattice index above
  double near;   // offset from the lower lattice point
  double far;    // offset from the upper lattice point
  double blend;  // s-curve of `near`
};

// floor(t) & 0x7FF as an integer would give it, also for coordinates beyond the int range;
// a coordinate that is not a number counts as 0.
int LatticeIndex(double floorT) {
  if (std::fabs(floorT) < 2147483648.0) return static_cast<int>(floorT) & kLatticeMask;
  const double wrapped = std::fmod(floorT, static_cast<double>(kNoiseSize));
  return std::isfinite(wrapped) ? static_cast<int>(wrapped) & kLatticeMask : 0;
}

AxisCell CellOf(double t) {
  const double floorT = std::floor(t);
  AxisCell cell;
  cell.low = LatticeIndex(floorT);
  cell.high = (cell.low + 1) & kLatticeMask;
  cell.near = t - floorT;
  cell.far = cell.near - 1.0;
  cell.blend = cell.near * cell.near * (3.0 - 2.0 * cell.near);
  return cell;
}

// Permutation indices of the four lattice columns along z: [x][y].
struct Columns {
  int index[2][2];
};

Columns ColumnsOf(const NoiseTables& tables, const AxisCell& x, const AxisCell& y) {
  const int i = tables.permutation[x.low];
  const int j = tables.permutation[x.high];
  Columns c;
  c.index[0][0] = tables.permutation[i + y.low];
  c.index[1][0] = tables.permutation[j + y.low];
  c.index[0][1] = tables.permutation[i + y.high];
  c.index[1][1] = tables.permutation[j + y.high];
  return c;
}

template <typename T>
T Lerp(double t, const T& a, const T& b) {
  return a + (b - a) * t;
}

// Blends the eight corner values corner(ix, iy, iz) along x, then y, then z.
template <typename CornerValue>
auto BlendCorners(const AxisCell& x, const AxisCell& y, const AxisCell& z, CornerValue corner) {
  auto alongX = [&](int iy, int iz) { return Lerp(x.blend, corner(0, iy, iz), corner(1, iy, iz)); };
  auto alongY = [&](int iz) { return Lerp(y.blend, alongX(0, iz), alongX(1, iz)); };
  return Lerp(z.blend, alongY(0), alongY(1));
}

}  // namespace

double Noise(const math::Vector3& p) {
  const NoiseTables& tables = GetNoiseTables();
  const AxisCell x = CellOf(p.x), y = CellOf(p.y), z = CellOf(p.z);
  const Columns columns = ColumnsOf(tables, x, y);
  return BlendCorners(x, y, z, [&](int ix, int iy, int iz) {
    const math::Vector3& g = tables.gradient[columns.index[ix][iy] + (iz ? z.high : z.low)];
    return g.x * (ix ? x.far : x.near) + g.y * (iy ? y.far : y.near) + g.z * (iz ? z.far : z.near);
  });
}

math::Vector3 VectorNoise(const math::Vector3& p) {
  const NoiseTables& tables = GetNoiseTables();
  const AxisCell x = CellOf(p.x), y = CellOf(p.y), z = CellOf(p.z);
  const Columns columns = ColumnsOf(tables, x, y);
  return BlendCorners(x, y, z, [&](int ix, int iy, int iz) {
    return tables.gradient[columns.index[ix][iy] + (iz ? z.high : z.low)];
  });
}

double ClampedNoise(const math::Vector3& p) { return std::clamp((Noise(p) + 0.3) * 1.5, 0.0, 1.0); }

double Turbulence(math::Vector3 p, double lambda, double omega, int octaves) {
  double sum = 0.0;
  double weight = 1.0;
  for (int octave = 0; octave < octaves; ++octave) {
    sum += ClampedNoise(p) * weight;
    if (octave + 1 < octaves) {
      p = p * lambda;
      weight *= omega;
    }
  }
  return sum;
}

math::Vector3 VectorTurbulence(math::Vector3 p, double lambda, double omega, int octaves) {
  math::Vector3 out = VectorNoise(p);
  double weight = 1.0;
  for (int octave = 1; octave < octaves; ++octave) {
    p = p * lambda;
    weight *= omega;
    out = out + VectorNoise(p) * weight;
  }
  return out;
}

}  // namespace lumetra::texture
