#include "texture/turbulence_warp.h"

#include "texture/noise.h"

namespace lumetra::texture {

math::Vector3 TurbulenceWarp::Apply(const math::Vector3& in) const {
  const math::Vector3 t = VectorTurbulence(in, lambda, omega, octaves);
  return {in.x + t.x * turbulence.x, in.y + t.y * turbulence.y, in.z + t.z * turbulence.z};
}

}  // namespace lumetra::texture
