#include "texture/turbulence_warp.h"

#include "texture/noise.h"

namespace texture {

lmath::Vector3 TurbulenceWarp::Apply(const lmath::Vector3& in) const {
  const lmath::Vector3 t = VectorTurbulence(in, lambda, omega, octaves);
  return {in.x + t.x * turbulence.x, in.y + t.y * turbulence.y, in.z + t.z * turbulence.z};
}

}  // namespace texture
