#include "blob.h"

#include <algorithm>

#include "polynomial.h"
#include "quadratic.h"

namespace lumetra::renderlib {
namespace {

// Squared distance from origin + direction s to a point (region 0, 2) or to the line
// through a along axis (region 1), as A + B s + C s^2.
void squaredDistance(const Vec3& reference, const Vec3* axis, const Vec3& origin, const Vec3& direction,
                     double q[3]) {
  const Vec3 w = origin - reference;
  if (!axis) {
    q[0] = dot(w, w);
    q[1] = 2 * dot(w, direction);
    q[2] = dot(direction, direction);
    return;
  }
  const double wa = dot(w, *axis), da = dot(direction, *axis);
  q[0] = dot(w, w) - wa * wa;
  q[1] = 2 * (dot(w, direction) - wa * da);
  q[2] = dot(direction, direction) - da * da;
}

}  // namespace

void Blob::addSphere(const Vec3& centre, double radius, double strength) {
  components_.push_back({centre, centre, {0, 0, 0}, 0, radius, strength});
}

void Blob::addCylinder(const Vec3& a, const Vec3& b, double radius, double strength) {
  const double length = renderlib::length(b - a);
  components_.push_back({a, b, (b - a) / length, length, radius, strength});
}

Vec3 Blob::core(const Component& c, const Vec3& p) {
  if (c.length == 0) return c.a;
  return c.a + c.axis * std::clamp(dot(p - c.a, c.axis), 0.0, c.length);
}

double Blob::field(const Vec3& p) const {
  double sum = 0;
  for (const Component& c : components_) {
    const Vec3 w = p - core(c, p);
    const double share = 1 - dot(w, w) / (c.radius * c.radius);
    if (share > 0) sum += c.strength * share * share;
  }
  return sum;
}

Vec3 Blob::gradient(const Vec3& p) const {
  Vec3 sum;
  for (const Component& c : components_) {
    const Vec3 w = p - core(c, p);
    const double rr = c.radius * c.radius;
    const double share = 1 - dot(w, w) / rr;
    if (share > 0) sum += w * (-4 * c.strength * share / rr);
  }
  return sum;
}

Bounds Blob::bounds() const {
  Bounds out;
  for (const Component& c : components_) {
    if (c.strength <= 0) continue;
    const Vec3 reach{c.radius, c.radius, c.radius};
    out.extend(componentMin(c.a, c.b) - reach);
    out.extend(componentMax(c.a, c.b) + reach);
  }
  if (out.empty()) out = {{0, 0, 0}, {0, 0, 0}};
  return out;
}

void Blob::collectPieces(const Ray& ray, const Component& c, std::vector<Piece>& pieces) const {
  const double rr = c.radius * c.radius;
  // Regions along the ray by the projection onto the segment: before a, along it, past b.
  double bounds[4] = {-std::numeric_limits<double>::infinity(), 0, 0,
                      std::numeric_limits<double>::infinity()};
  int regions[3] = {0, 1, 2};
  int region_count = 1;
  if (c.length > 0) {
    const double speed = dot(ray.direction, c.axis);
    const double start = dot(ray.origin - c.a, c.axis);
    if (speed == 0) {
      regions[0] = start < 0 ? 0 : (start > c.length ? 2 : 1);
    } else {
      double at_a = -start / speed, at_b = (c.length - start) / speed;
      bounds[1] = std::min(at_a, at_b);
      bounds[2] = std::max(at_a, at_b);
      region_count = 3;
      if (speed < 0) std::swap(regions[0], regions[2]);
    }
  }
  for (int r = 0; r < region_count; ++r) {
    const double from = bounds[r], to = region_count == 1 ? bounds[3] : bounds[r + 1];
    const int region = regions[r];
    double q[3];
    squaredDistance(region == 2 ? c.b : c.a, region == 1 ? &c.axis : nullptr, ray.origin, ray.direction, q);
    double roots[2];
    if (solveQuadratic(q[2], q[1], q[0] - rr, roots) < 2) continue;
    const double enter = std::max(from, roots[0]), leave = std::min(to, roots[1]);
    if (enter < leave) pieces.push_back({enter, leave, &c, region});
  }
}

void Blob::addField(const Piece& piece, const Vec3& origin, const Vec3& direction, double c[5]) {
  const Component& k = *piece.component;
  double q[3];
  squaredDistance(piece.region == 2 ? k.b : k.a, piece.region == 1 ? &k.axis : nullptr, origin, direction, q);
  // strength (1 - q / r^2)^2 with q = A + B s + C s^2.
  const double inv = 1 / (k.radius * k.radius), inv2 = inv * inv, s = k.strength;
  const double A = q[0], B = q[1], C = q[2];
  c[0] += s * (1 - 2 * A * inv + A * A * inv2);
  c[1] += s * (-2 * B * inv + 2 * A * B * inv2);
  c[2] += s * (-2 * C * inv + (B * B + 2 * A * C) * inv2);
  c[3] += s * (2 * B * C * inv2);
  c[4] += s * (C * C * inv2);
}

bool Blob::intersect(const Ray& ray, double tmin, double tmax, SurfaceHit& hit) const {
  std::vector<Piece> pieces;
  for (const Component& c : components_) collectPieces(ray, c, pieces);
  if (pieces.empty()) return false;
  std::vector<double> cuts;
  cuts.reserve(pieces.size() * 2);
  for (const Piece& p : pieces) cuts.insert(cuts.end(), {p.from, p.to});
  std::sort(cuts.begin(), cuts.end());
  for (size_t i = 0; i + 1 < cuts.size(); ++i) {
    const double from = std::max(cuts[i], tmin), to = std::min(cuts[i + 1], tmax);
    if (from >= to) continue;
    // The field over this stretch, in s = t - cuts[i] from a shifted origin.
    const Vec3 origin = ray.at(cuts[i]);
    double c[5] = {-threshold_, 0, 0, 0, 0};
    const double middle = 0.5 * (cuts[i] + cuts[i + 1]);
    bool any = false;
    for (const Piece& p : pieces) {
      if (p.from <= middle && p.to >= middle) {
        addField(p, origin, ray.direction, c);
        any = true;
      }
    }
    if (!any) continue;
    double roots[4];
    const double lo = from - cuts[i], hi = to - cuts[i];
    const int count = sturm_ ? sturmRoots(c, 4, lo, hi, roots) : solveQuartic(c, roots);
    for (int r = 0; r < count; ++r) {
      if (roots[r] <= lo || roots[r] >= hi) continue;
      const double t = cuts[i] + roots[r];
      const Vec3 p = ray.at(t);
      hit.t = t;
      hit.normal = -gradient(p);
      hit.defer(SurfaceHit::Coordinates::kSpherical, p.x, p.z, p.y, length(p));
      return true;
    }
  }
  return false;
}

}  // namespace lumetra::renderlib
