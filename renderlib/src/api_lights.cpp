// Light entries.
#include "api_support.h"

using namespace lumetra::renderlib;

namespace {

uint32_t createLight(L2Scene scene, Light::Kind kind) {
  return createIn(scene, [&](Scene& s) -> uint32_t {
    auto light = std::make_unique<Light>();
    light->kind = kind;
    return s.add(std::move(light));
  });
}

template <class Body>
int32_t withLight(L2Scene scene, L2Light light, Body&& body) {
  return withItem<&Scene::light>(scene, light, [&](Scene&, Light& l) -> int32_t { return body(l); });
}

}  // namespace

extern "C" {

L2Light CreateLight(L2Scene scene) { return createLight(scene, Light::Kind::kPoint); }
L2Light CreateSpotLight(L2Scene scene) { return createLight(scene, Light::Kind::kSpot); }
L2Light CreateAreaLight(L2Scene scene) { return createLight(scene, Light::Kind::kArea); }

int32_t SetLightLocation(L2Scene scene, L2Light light, double x, double y, double z) {
  return withLight(scene, light, [&](Light& l) -> int32_t {
    if (!allFinite(x, y, z)) return L2_ERROR_ARGUMENT;
    l.location = {x, y, z};
    return L2_OK;
  });
}

int32_t SetSpotLightCoeffs(L2Scene scene, L2Light light, double x, double y, double z, double tightness,
                           double radius, double falloff) {
  return withLight(scene, light, [&](Light& l) -> int32_t {
    if (l.kind != Light::Kind::kSpot) return L2_ERROR_HANDLE;
    if (!allFinite(x, y, z, tightness, radius, falloff) || tightness < 0 || radius < 0 || falloff < 0 ||
        radius > 180 || falloff > 180) {
      return L2_ERROR_ARGUMENT;
    }
    l.spot_target = {x, y, z};
    l.tightness = tightness;
    l.spot_radius = radius;
    l.spot_falloff = falloff;
    return L2_OK;
  });
}

int32_t SetAreaLight(L2Scene scene, L2Light light, int32_t columns, int32_t rows, int32_t adaptive,
                     double jitter) {
  return withLight(scene, light, [&](Light& l) -> int32_t {
    if (l.kind != Light::Kind::kArea) return L2_ERROR_HANDLE;
    if (columns < 1 || rows < 1 || columns > 1024 || rows > 1024 || adaptive < 0 || !allFinite(jitter) ||
        jitter < 0 || jitter > 1) {
      return L2_ERROR_ARGUMENT;
    }
    l.columns = columns;
    l.rows = rows;
    l.adaptive = adaptive;
    l.jitter = jitter;
    return L2_OK;
  });
}

int32_t SetLightColor(L2Scene scene, L2Light light, double r, double g, double b) {
  return withLight(scene, light, [&](Light& l) -> int32_t {
    if (!allFinite(r, g, b)) return L2_ERROR_ARGUMENT;
    l.color = {r, g, b};
    return L2_OK;
  });
}

int32_t SetLightShadowing(L2Scene scene, L2Light light, int32_t on) {
  return setItemFlag<&Scene::light>(scene, light, on, &Light::casts_shadows);
}

int32_t SetLightCoeffs(L2Scene scene, L2Light light, double quadratic, double linear, double constant) {
  return withLight(scene, light, [&](Light& l) -> int32_t {
    if (!allFinite(quadratic, linear, constant) || quadratic < 0 || linear < 0 || constant < 0 ||
        quadratic + linear + constant <= 0) {
      return L2_ERROR_ARGUMENT;
    }
    l.quadratic = quadratic;
    l.linear = linear;
    l.constant = constant;
    return L2_OK;
  });
}

int32_t SetLightVolumetric(L2Scene scene, L2Light light, int32_t on) {
  return setItemFlag<&Scene::light>(scene, light, on, &Light::volumetric);
}

int32_t SetLightAttenuated(L2Scene scene, L2Light light, int32_t on) {
  return setItemFlag<&Scene::light>(scene, light, on, &Light::attenuated);
}

}  // extern "C"
