#pragma once

#include <functional>

#include "math/vector3.h"
#include "texture/texture_node.h"

namespace lumetra::texture {

// Sampling settings every perturbing normal carries. The bump amount comes from the
// enclosing [bump size]; the sampling distance is fixed at translation.
struct BumpSettings {
  float amount = 0.5f;
  float samplingDistance = 0.02f;
};

// Perturbs a normal by the value of a scalar field at four fixed directions around p:
// each sample point is offset from p, passed through the node's warps and valued by
// `valueAt`. Returns the perturbed unit normal.
math::Vector3 PerturbBySampling(const TextureNode& node, const math::Vector3& p, const math::Vector3& normal,
                                const BumpSettings& bump,
                                const std::function<double(math::Vector3&)>& valueAt);

}  // namespace lumetra::texture
