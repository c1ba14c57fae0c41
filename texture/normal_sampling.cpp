#include "texture/normal_sampling.h"

#include "texture/shading_point.h"

namespace texture {
namespace {

struct Direction {
  float x, y, z;
};

// A regular tetrahedron's corner directions.
constexpr Direction kSampleDirections[4] = {
    {0.942809041f, -0.333333333f, 0.0f},
    {-0.471404521f, -0.333333333f, 0.816496581f},
    {-0.471404521f, -0.333333333f, -0.816496581f},
    {0.0f, 1.0f, 0.0f},
};

}  // namespace

lmath::Vector3 PerturbBySampling(const TextureNode& node, const lmath::Vector3& p,
                                 const lmath::Vector3& normal, const BumpSettings& bump,
                                 const std::function<double(lmath::Vector3&)>& valueAt) {
  lmath::Vector3 n = NormalizedOrX(normal);
  for (const Direction& d : kSampleDirections) {
    const float distance = bump.samplingDistance;
    const lmath::Vector3 offset{distance * d.x, distance * d.y, distance * d.z};
    lmath::Vector3 q = node.TransformPoint(p + offset);
    const double s = valueAt(q);
    n = n + lmath::Vector3{d.x, d.y, d.z} * (s * bump.amount * -5.0);
  }
  return NormalizedOrX(n);
}

}  // namespace texture
