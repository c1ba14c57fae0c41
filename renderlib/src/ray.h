// Rays, axis-aligned bounds and the hit record the shapes fill.
#pragma once

#include <limits>

#include "affine.h"

namespace lumetra::renderlib {

// A ray; direction need not be unit, so t stays the same parameter in every space.
struct Ray {
  Vec3 origin;
  Vec3 direction;

  Vec3 at(double t) const { return origin + direction * t; }
  Ray transformed(const Affine& a) const { return {a.point(origin), a.vector(direction)}; }
};

struct Bounds {
  Vec3 lower{std::numeric_limits<double>::infinity(), std::numeric_limits<double>::infinity(),
             std::numeric_limits<double>::infinity()};
  Vec3 upper{-std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity(),
             -std::numeric_limits<double>::infinity()};

  void extend(const Vec3& p) {
    lower = componentMin(lower, p);
    upper = componentMax(upper, p);
  }
  bool empty() const { return lower.x > upper.x; }
  // The bounds of the eight corners carried by a transform.
  Bounds transformed(const Affine& a) const {
    Bounds out;
    for (int corner = 0; corner < 8; ++corner) {
      out.extend(a.point(
          {corner & 1 ? upper.x : lower.x, corner & 2 ? upper.y : lower.y, corner & 4 ? upper.z : lower.z}));
    }
    return out;
  }
};

struct Primitive;

// The surface coordinates (u, v) of a crossing, set, or deferred as the shape left them: shapes
// leave the trigonometry for the one hit that is kept, and only textures that read u and v
// have it worked out (surfaceCoordinates).
struct SurfaceCoordinates {
  enum class Coordinates {
    kReady,         // u, v are set
    kSpherical,     // u = turn of (raw0, raw1), v = latitude of raw2 over the distance raw3
    kTurnAndValue,  // u = turn of (raw0, raw1), v = raw2
    kTwoTurns       // u = turn of (raw0, raw1), v = turn of (raw2, raw3)
  };

  double u = 0, v = 0;
  Coordinates coordinates = Coordinates::kReady;
  double raw[4] = {0, 0, 0, 0};

  void setCoordinates(double u_value, double v_value) {
    u = u_value;
    v = v_value;
    coordinates = Coordinates::kReady;
  }
  void defer(Coordinates rule, double a, double b, double c, double d = 0) {
    coordinates = rule;
    raw[0] = a;
    raw[1] = b;
    raw[2] = c;
    raw[3] = d;
  }
};

// A ray-surface crossing in the shape's own space. The normal points out of the solid and
// need not be unit. Inside CSG, part is the innermost textured operand that was hit, and
// part_to_shape carries its own space into the shape's.
struct SurfaceHit : SurfaceCoordinates {
  double t = 0;
  Vec3 normal;
  const Primitive* part = nullptr;
  Affine part_to_shape;  // only with part; not initialised, since every ray query makes hits
};

}  // namespace lumetra::renderlib
