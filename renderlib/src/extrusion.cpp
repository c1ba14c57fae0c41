#include "extrusion.h"

#include <cmath>

namespace lumetra::renderlib {

bool Extrusion::setExtent(double start, double end) {
  if (!std::isfinite(start) || !std::isfinite(end) || start >= end || (cone_ && end == 0)) return false;
  start_ = start;
  end_ = end;
  return true;
}

bool Extrusion::setCone(bool cone) {
  if (cone && end_ == 0) return false;
  cone_ = cone;
  return true;
}

bool Extrusion::hitSides(const Ray& ray, double tmin, double& tmax, SurfaceHit& hit) const {
  const Vec3& o = ray.origin;
  const Vec3& d = ray.direction;
  // The side is (x(s) k, y(s) k, z) with k = z / end for cones, 1 otherwise.
  double a, b, c;
  if (cone_) {
    a = o.z * d.y - o.y * d.z;
    b = o.x * d.z - o.z * d.x;
    c = end_ * (o.y * d.x - o.x * d.y);
  } else {
    a = d.y;
    b = -d.x;
    c = d.x * o.y - d.y * o.x;
  }
  if (a == 0 && b == 0 && c == 0) return false;
  bool found = false;
  for (const std::vector<OutlinePiece>& outline : outlines_) {
    for (size_t index = 0; index < outline.size(); ++index) {
      const OutlinePiece& piece = outline[index];
      double roots[3];
      const int count = pieceRoots(piece, a, b, c, roots);
      for (int i = 0; i < count; ++i) {
        const double s = roots[i], x = piece.xAt(s), y = piece.yAt(s);
        // t from whichever coordinate moves more.
        double t;
        if (cone_) {
          const double along_x = d.x * end_ - x * d.z, along_y = d.y * end_ - y * d.z;
          t = std::fabs(along_x) > std::fabs(along_y) ? (x * o.z - o.x * end_) / along_x
                                                      : (y * o.z - o.y * end_) / along_y;
        } else {
          t = std::fabs(d.x) > std::fabs(d.y) ? (x - o.x) / d.x : (y - o.y) / d.y;
        }
        if (!std::isfinite(t) || t <= tmin || t >= tmax) continue;
        const double z = o.z + d.z * t;
        if (z < start_ || z > end_) continue;
        const double k = scaleAt(z);
        const Vec3 along_s{piece.dxAt(s) * k, piece.dyAt(s) * k, 0};
        const Vec3 along_z = cone_ ? Vec3{x / end_, y / end_, 1} : Vec3{0, 0, 1};
        tmax = t;
        hit.t = t;
        hit.normal = cross(along_s, along_z);
        hit.setCoordinates((double(index) + s) / double(outline.size()), (z - start_) / (end_ - start_));
        found = true;
      }
    }
  }
  return found;
}

bool Extrusion::hitCap(const Ray& ray, double z, double tmin, double& tmax, SurfaceHit& hit) const {
  if (ray.direction.z == 0) return false;
  const double t = (z - ray.origin.z) / ray.direction.z;
  const double k = scaleAt(z);
  if (t <= tmin || t >= tmax || k == 0) return false;
  const Vec3 p = ray.at(t);
  if (!insideOutlines(outlines_, p.x / k, p.y / k)) return false;
  tmax = t;
  hit.t = t;
  hit.normal = {0, 0, z == start_ ? -1.0 : 1.0};
  hit.setCoordinates(p.x / k, p.y / k);
  return true;
}

bool Extrusion::intersect(const Ray& ray, double tmin, double tmax, SurfaceHit& hit) const {
  if (outlines_.empty()) return false;
  bool found = hitSides(ray, tmin, tmax, hit);
  found = hitCap(ray, start_, tmin, tmax, hit) || found;
  found = hitCap(ray, end_, tmin, tmax, hit) || found;
  return found;
}

bool Extrusion::inside(const Vec3& p) const {
  if (p.z <= start_ || p.z >= end_ || outlines_.empty()) return false;
  const double k = scaleAt(p.z);
  return k != 0 && insideOutlines(outlines_, p.x / k, p.y / k);
}

Bounds Extrusion::bounds() const {
  Bounds outline;
  for (const std::vector<OutlinePiece>& pieces : outlines_) {
    for (const OutlinePiece& piece : pieces) {
      outline.extend({piece.low_x, piece.low_y, 0});
      outline.extend({piece.high_x, piece.high_y, 0});
    }
  }
  if (outline.empty()) return {{0, 0, 0}, {0, 0, 0}};
  Bounds out;
  for (double z : {start_, end_}) {
    const double k = scaleAt(z);
    out.extend({outline.lower.x * k, outline.lower.y * k, z});
    out.extend({outline.upper.x * k, outline.upper.y * k, z});
  }
  if (cone_ && start_ < 0 && end_ > 0) out.extend({0, 0, 0});
  return out;
}

}  // namespace lumetra::renderlib
