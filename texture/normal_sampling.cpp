#include "texture/normal_sampling.h"

#include "texture/shading_point.h"

namespace lumetra::texture {
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

math::Vector3 PerturbBySampling(const TextureNode& node, const math::Vector3& p, const math::Vector3& normal,
                                const BumpSettings& bump,
                                const std::function<double(math::Vector3&)>& valueAt) {
  math::Vector3 n = NormalizedOrX(normal);
  for (const Direction& d : kSampleDirections) {
    const float distance = bump.samplingDistance;
    const math::Vector3 offset{distance * d.x, distance * d.y, distance * d.z};
    math::Vector3 q = node.TransformPoint(p + offset);
    const double s = valueAt(q);
    n = n + math::Vector3{d.x, d.y, d.z} * (s * bump.amount * -5.0);
  }
  return NormalizedOrX(n);
}

}  // namespace lumetra::texture
