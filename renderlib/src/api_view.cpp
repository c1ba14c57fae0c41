// View entries.
#include "api_support.h"

using namespace lumetra::renderlib;

namespace {

template <class Body>
int32_t withView(L2Scene scene, L2View view, Body&& body) {
  return withItem<&Scene::view>(scene, view, [&](Scene&, View& v) -> int32_t { return body(v); });
}

int32_t setPoint(L2Scene scene, L2View view, double x, double y, double z, Vec3 View::*point) {
  return withView(scene, view, [&](View& v) -> int32_t {
    if (!allFinite(x, y, z)) return L2_ERROR_ARGUMENT;
    v.*point = {x, y, z};
    return L2_OK;
  });
}

}  // namespace

extern "C" {

L2View CreateView(L2Scene scene) {
  return createIn(scene, [](Scene& s) -> uint32_t { return s.add(std::make_unique<View>()); });
}

int32_t SetViewResolution(L2Scene scene, L2View view, int32_t width, int32_t height) {
  return withView(scene, view, [&](View& v) -> int32_t {
    if (width < 1 || height < 1 || width > 65536 || height > 65536) return L2_ERROR_ARGUMENT;
    v.width = width;
    v.height = height;
    return L2_OK;
  });
}

int32_t SetViewAngle(L2Scene scene, L2View view, double angle) {
  return withView(scene, view, [&](View& v) -> int32_t {
    if (!allFinite(angle) || angle <= 0 || angle >= 180) return L2_ERROR_ARGUMENT;
    v.angle = angle;
    return L2_OK;
  });
}

int32_t SetViewAspect(L2Scene scene, L2View view, double aspect) {
  return withView(scene, view, [&](View& v) -> int32_t {
    if (!allFinite(aspect) || aspect == 0) return L2_ERROR_ARGUMENT;
    v.aspect = aspect;
    return L2_OK;
  });
}

int32_t SetViewLocation(L2Scene scene, L2View view, double x, double y, double z) {
  return setPoint(scene, view, x, y, z, &View::location);
}
int32_t SetViewInterest(L2Scene scene, L2View view, double x, double y, double z) {
  return setPoint(scene, view, x, y, z, &View::interest);
}
int32_t SetViewUp(L2Scene scene, L2View view, double x, double y, double z) {
  return setPoint(scene, view, x, y, z, &View::up);
}

int32_t SetViewVolumeResolution(L2Scene scene, L2View view, double step) {
  return withView(scene, view, [&](View& v) -> int32_t {
    if (!allFinite(step) || step <= 0) return L2_ERROR_ARGUMENT;
    v.volume_step = step;
    return L2_OK;
  });
}

int32_t SetViewVolumeSteps(L2Scene scene, L2View view, int32_t min_steps, int32_t max_steps) {
  return withView(scene, view, [&](View& v) -> int32_t {
    if (min_steps < 1 || max_steps < min_steps) return L2_ERROR_ARGUMENT;
    v.volume_min_steps = min_steps;
    v.volume_max_steps = max_steps;
    return L2_OK;
  });
}

int32_t SetViewScanlineDepth(L2Scene scene, L2View view, int32_t depth) {
  return withView(scene, view, [&](View& v) -> int32_t {
    if (depth < 1 || depth > 256) return L2_ERROR_ARGUMENT;
    v.scanline_depth = depth;
    return L2_OK;
  });
}

}  // extern "C"
