#include "translate/warp_from_node.h"

#include "texture/black_hole_warp.h"
#include "texture/repeat_warp.h"
#include "texture/turbulence_warp.h"

namespace lumetra::translate {

using namespace lumetra::texture;
namespace {

math::Vector3 VectorOf(const double (&v)[3]) { return {v[0], v[1], v[2]}; }

std::unique_ptr<Warp> BlackHoleFrom(const abi::WarpParams& params) {
  auto warp = std::make_unique<BlackHoleWarp>();
  warp->centre = VectorOf(params.centre);
  warp->radius = params.radius;
  warp->falloff = params.falloff;
  warp->strength = params.strength;
  warp->repeat = VectorOf(params.repeat);
  warp->turbulence = VectorOf(params.jitter);
  warp->inverse = params.inverse != 0;
  return warp;
}

std::unique_ptr<Warp> RepeatFrom(const abi::WarpParams& params) {
  auto warp = std::make_unique<RepeatWarp>();
  // The first axis with a width repeats; without any, x with width 1.
  warp->axis = 0;
  warp->width = 1.0;
  for (int axis = 0; axis < 3; ++axis) {
    if (params.width[axis] != 0.0) {
      warp->axis = axis;
      warp->width = params.width[axis];
      break;
    }
  }
  warp->offset = VectorOf(params.offset);
  warp->flip = {params.flip[0] != 0.0 ? -1.0 : 1.0, params.flip[1] != 0.0 ? -1.0 : 1.0,
                params.flip[2] != 0.0 ? -1.0 : 1.0};
  return warp;
}

std::unique_ptr<Warp> TurbulenceFrom(const abi::WarpParams& params) {
  auto warp = std::make_unique<TurbulenceWarp>();
  warp->turbulence = VectorOf(params.turbulence);
  warp->octaves = static_cast<std::int32_t>(params.octaves);
  warp->omega = params.omega;
  warp->lambda = params.lambda;
  return warp;
}

}  // namespace

std::unique_ptr<Warp> WarpFromNode(const abi::WarpParams& params) {
  switch (params.warp) {
    case 0:
      return BlackHoleFrom(params);
    case 1:
      return RepeatFrom(params);
    case 2:
      return TurbulenceFrom(params);
    default:
      return nullptr;
  }
}

}  // namespace lumetra::translate
