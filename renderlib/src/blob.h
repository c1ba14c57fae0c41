#pragma once

#include <vector>

#include "shape.h"

namespace lumetra::renderlib {

// An isosurface of summed fields: a component adds strength (1 - d^2 / r^2)^2 at distance d
// below its radius r from its centre (spheres) or its segment (cylinders, with round ends).
// Along a ray each field is a quartic between the points where the ray enters, leaves or
// changes region of a component, so crossings are exact roots of summed quartics.
// u, v as for a sphere about the blob's origin.
class Blob final : public Shape {
 public:
  bool intersect(const Ray& ray, double tmin, double tmax, SurfaceHit& hit) const override;
  bool inside(const Vec3& p) const override { return field(p) > threshold_; }
  Bounds bounds() const override;

  void addSphere(const Vec3& centre, double radius, double strength);
  void addCylinder(const Vec3& a, const Vec3& b, double radius, double strength);
  void setThreshold(double threshold) { threshold_ = threshold; }
  void setSturm(bool sturm) { sturm_ = sturm; }
  bool valid() const { return threshold_ > 0 && std::isfinite(threshold_); }

  double field(const Vec3& p) const;

 private:
  struct Component {
    Vec3 a, b;  // spheres: a is the centre, b = a
    Vec3 axis;  // unit, cylinders only
    double length = 0, radius, strength;
  };
  // A stretch of the ray over which one component's squared distance is one quadratic.
  struct Piece {
    double from, to;
    const Component* component;
    int region;  // 0: about a, 1: about the segment, 2: about b
  };

  void collectPieces(const Ray& ray, const Component& c, std::vector<Piece>& pieces) const;
  // Quartic coefficients (constant first) of a piece's field along origin + direction s.
  static void addField(const Piece& piece, const Vec3& origin, const Vec3& direction, double c[5]);
  Vec3 gradient(const Vec3& p) const;
  // Nearest point of c's core to p.
  static Vec3 core(const Component& c, const Vec3& p);

  std::vector<Component> components_;
  double threshold_ = 1;
  bool sturm_ = false;
};

}  // namespace lumetra::renderlib
