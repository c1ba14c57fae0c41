#include "lathe.h"

#include "polynomial.h"
#include "quadratic.h"

namespace lumetra::renderlib {
namespace {

using Poly = std::array<double, 7>;

Poly times(const Poly& a, int degree_a, const Poly& b, int degree_b) {
  Poly out{};
  for (int i = 0; i <= degree_a; ++i) {
    for (int j = 0; j <= degree_b; ++j) out[i + j] += a[i] * b[j];
  }
  return out;
}

Poly fromPiece(const std::array<double, 4>& c, double scale, double shift) {
  Poly out{};
  for (int i = 0; i < 4; ++i) out[i] = c[i] * scale;
  out[0] += shift;
  return out;
}

}  // namespace

int Lathe::pieceCrossings(const OutlinePiece& piece, const Ray& ray, double t[6], double s[6]) const {
  const Vec3& o = ray.origin;
  const Vec3& d = ray.direction;
  const int k = piece.degree;
  int count = 0;
  if (std::fabs(d.y) > 1e-12 * length(d)) {
    // With t = (y(s) - oy) / dy: (ox dy + dx (y(s) - oy))^2 + (oz dy + dz (y(s) - oy))^2 = dy^2 x(s)^2.
    const Poly across_x = fromPiece(piece.y, d.x, o.x * d.y - d.x * o.y);
    const Poly across_z = fromPiece(piece.y, d.z, o.z * d.y - d.z * o.y);
    const Poly radius = fromPiece(piece.x, d.y, 0);
    const Poly xx = times(across_x, k, across_x, k), zz = times(across_z, k, across_z, k);
    const Poly rr = times(radius, k, radius, k);
    double c[7];
    for (int i = 0; i < 7; ++i) c[i] = xx[i] + zz[i] - rr[i];
    double roots[6];
    const int found = sturmRoots(c, 2 * k, -1e-12, 1 + 1e-12, roots);
    for (int i = 0; i < found; ++i) {
      s[count] = std::clamp(roots[i], 0.0, 1.0);
      t[count] = (piece.yAt(s[count]) - o.y) / d.y;
      ++count;
    }
    return count;
  }
  // A level ray: the heights where the outline is at the ray's level, then circles there.
  double levels[3];
  const int found = pieceRoots(piece, 0, 1, -o.y, levels);
  for (int i = 0; i < found; ++i) {
    const double r = piece.xAt(levels[i]);
    double roots[2];
    const int n = solveQuadratic(d.x * d.x + d.z * d.z, 2 * (o.x * d.x + o.z * d.z),
                                 o.x * o.x + o.z * o.z - r * r, roots);
    for (int j = 0; j < n; ++j) {
      s[count] = levels[i];
      t[count++] = roots[j];
    }
  }
  return count;
}

bool Lathe::intersect(const Ray& ray, double tmin, double tmax, SurfaceHit& hit) const {
  bool found = false;
  for (size_t index = 0; index < pieces_.size(); ++index) {
    const OutlinePiece& piece = pieces_[index];
    double t[6], s[6];
    const int count = pieceCrossings(piece, ray, t, s);
    for (int i = 0; i < count; ++i) {
      if (t[i] <= tmin || t[i] >= tmax) continue;
      tmax = t[i];
      const Vec3 p = ray.at(t[i]);
      const double rho = std::sqrt(p.x * p.x + p.z * p.z);
      const Vec3 radial = rho > 0 ? Vec3{p.x / rho, 0, p.z / rho} : Vec3{1, 0, 0};
      // The outline's tangent (dx, dy) turned a quarter in its plane.
      hit.t = t[i];
      hit.normal = radial * piece.dyAt(s[i]) - Vec3{0, 1, 0} * piece.dxAt(s[i]);
      if (dot(hit.normal, hit.normal) == 0) hit.normal = radial;
      hit.setCoordinates(turnFraction(p.x, p.z), (double(index) + s[i]) / double(pieces_.size()));
      found = true;
    }
  }
  return found;
}

bool Lathe::inside(const Vec3& p) const {
  // The outline closed by a straight piece from its end back to its start.
  std::vector<OutlinePiece> closed = pieces_;
  const OutlinePiece& first = pieces_.front();
  const OutlinePiece& last = pieces_.back();
  const double x0 = last.xAt(1), y0 = last.yAt(1), x1 = first.xAt(0), y1 = first.yAt(0);
  closed.push_back({1, {x0, x1 - x0, 0, 0}, {y0, y1 - y0, 0, 0}});
  return insideOutlines({closed}, std::sqrt(p.x * p.x + p.z * p.z), p.y);
}

Bounds Lathe::bounds() const {
  double reach = 0, low = std::numeric_limits<double>::infinity(), high = -low;
  for (const OutlinePiece& piece : pieces_) {
    reach = std::max({reach, std::fabs(piece.low_x), std::fabs(piece.high_x)});
    low = std::min(low, piece.low_y);
    high = std::max(high, piece.high_y);
  }
  return {{-reach, low, -reach}, {reach, high, reach}};
}

}  // namespace lumetra::renderlib
