#include "rib/surface.h"

#include <algorithm>
#include <cmath>

namespace lumetra::rib {
namespace {

void Evaluate(L2ShadingRecord* record, SurfaceSample* sample, void* object) {
  const Surface& s = *static_cast<const Surface*>(object);
  const float r = static_cast<float>(s.color.x), g = static_cast<float>(s.color.y),
              b = static_cast<float>(s.color.z);
  sample->color[0] = r;
  sample->color[1] = g;
  sample->color[2] = b;
  sample->color[3] = 1;
  // Opacity lets the rest through uncoloured, as RIB's Os does.
  const double opacity = (s.opacity.x + s.opacity.y + s.opacity.z) / 3;
  if (opacity < 1) {
    sample->flags |= L2_SAMPLE_TRANSMISSION;
    sample->transmission = static_cast<float>(1 - std::clamp(opacity, 0.0, 1.0));
    sample->transmitted_color[0] = sample->transmitted_color[1] = sample->transmitted_color[2] = 1;
  }
  sample->ambient = static_cast<float>(s.ka);
  sample->diffuse = static_cast<float>(s.kd);
  sample->specular = 0;
  switch (s.kind) {
    case ShaderKind::kDefault: {
      // Lit from the eye, so that a file without lights still shows its shapes.
      const double facing = std::fabs(record->normal[0] * record->ray_direction[0] +
                                      record->normal[1] * record->ray_direction[1] +
                                      record->normal[2] * record->ray_direction[2]);
      const float shade = static_cast<float>(0.2 + 0.8 * facing);
      sample->color[0] = r * shade;
      sample->color[1] = g * shade;
      sample->color[2] = b * shade;
      sample->emission = 1;
      sample->ambient = 0;
      sample->diffuse = 0;
      break;
    }
    case ShaderKind::kConstant:
      sample->emission = 1;
      sample->ambient = 0;
      sample->diffuse = 0;
      break;
    case ShaderKind::kMatte:
      break;
    case ShaderKind::kMetal:
      sample->diffuse = 0;
      sample->metallic = 1;
      [[fallthrough]];
    case ShaderKind::kPlastic:
      sample->specular = static_cast<float>(s.ks);
      sample->specular_exponent = static_cast<float>(1 / std::max(s.roughness, 1e-3));
      sample->highlight_color[0] = static_cast<float>(s.specularColor.x);
      sample->highlight_color[1] = static_cast<float>(s.specularColor.y);
      sample->highlight_color[2] = static_cast<float>(s.specularColor.z);
      break;
  }
}

void Release(void* object) { delete static_cast<Surface*>(object); }

}  // namespace

bool SurfaceForName(const std::string& name, Surface& surface) {
  const Surface keep = surface;
  surface = Surface{};
  surface.color = keep.color;
  surface.opacity = keep.opacity;
  if (name == "matte") {
    surface.kind = ShaderKind::kMatte;
  } else if (name == "plastic") {
    surface.kind = ShaderKind::kPlastic;
    surface.kd = 0.5;
  } else if (name == "metal") {
    surface.kind = ShaderKind::kMetal;
    surface.ks = 1;
  } else if (name == "constant") {
    surface.kind = ShaderKind::kConstant;
  } else if (name == "defaultsurface") {
    surface.kind = ShaderKind::kDefault;
  } else {
    surface = keep;
    return false;
  }
  return true;
}

L2Texture CreateSurfaceTexture(L2Scene scene, const Surface& surface) {
  auto* object = new Surface(surface);
  const L2Texture texture = CreateUserTexture(scene, Evaluate, Release, object);
  if (texture == 0) delete object;
  return texture;
}

}  // namespace lumetra::rib
