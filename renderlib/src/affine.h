// Affine transforms (3x3 linear part and a translation) and a placement that keeps a
// transform together with its inverse.
#pragma once

#include <optional>

#include "vec3.h"

namespace lumetra::renderlib {

class Affine {
 public:
  static constexpr Affine identity() { return Affine{{{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}}}; }
  static Affine scaling(const Vec3& factors);
  // Turns about x, then y, then z (degrees, right-handed).
  static Affine rotationDegrees(const Vec3& angles);
  static Affine translation(const Vec3& offset);

  // This transform followed by next.
  Affine then(const Affine& next) const;
  // Empty when the linear part is singular.
  std::optional<Affine> inverse() const;

  // Inline: every candidate shape of every ray query carries the ray into its own space.
  Vec3 point(const Vec3& p) const { return vector(p) + Vec3{m[0][3], m[1][3], m[2][3]}; }
  Vec3 vector(const Vec3& v) const {
    return {m[0][0] * v.x + m[0][1] * v.y + m[0][2] * v.z, m[1][0] * v.x + m[1][1] * v.y + m[1][2] * v.z,
            m[2][0] * v.x + m[2][1] * v.y + m[2][2] * v.z};
  }
  // The transposed linear part applied to v: for an inverse, this maps normals.
  Vec3 transposedVector(const Vec3& v) const {
    return {m[0][0] * v.x + m[1][0] * v.y + m[2][0] * v.z, m[0][1] * v.x + m[1][1] * v.y + m[2][1] * v.z,
            m[0][2] * v.x + m[1][2] * v.y + m[2][2] * v.z};
  }

  double m[3][4];  // row-major; column 3 is the translation
};

// Where an object stands: its transform to world space and back.
class Placement {
 public:
  // Appends step after the current transform; false (and nothing changed) if step
  // cannot be undone.
  bool append(const Affine& step);
  void reset();

  const Affine& toWorld() const { return to_world_; }
  const Affine& toLocal() const { return to_local_; }
  Vec3 normalToWorld(const Vec3& local_normal) const {
    return normalized(to_local_.transposedVector(local_normal));
  }
  bool isIdentity() const { return identity_; }

 private:
  Affine to_world_ = Affine::identity();
  Affine to_local_ = Affine::identity();
  bool identity_ = true;
};

}  // namespace lumetra::renderlib
