#include "media.h"

#include <cmath>

namespace lumetra::renderlib {
namespace {

// Light from the volumetric lights reaching a point of a medium.
Vec3 lightAt(ShadingContext& context, const Vec3& point) {
  Vec3 sum;
  for (const CompiledLight& light : context.scene.lights()) {
    const Light& source = *light.light;
    if (!source.volumetric) continue;
    Vec3 toward = light.centre - point;
    const double distance = length(toward);
    if (distance <= 0) continue;
    toward = toward / distance;
    const double divisor =
        source.quadratic * distance * distance + source.linear * distance + source.constant;
    Vec3 intensity = source.color * (divisor > 0 ? 1 / divisor : 1.0);
    if (source.kind == Light::Kind::kSpot) intensity *= spotFactor(light, toward);
    if ((context.scene.flags() & L2_SHADE_SHADOWS) && source.casts_shadows && maxComponent(intensity) > 0) {
      intensity = intensity * shadowFilter(context, point, toward, distance);
    }
    sum += intensity;
  }
  return sum;
}

struct Stretch {
  const Ray& ray;
  double from, to;
  int depth;
  double weight;
  bool only_dimming;
};

void march(ShadingContext& context, const Volume& volume, const Affine* world_to_texture,
           const Stretch& stretch, MediaEffect& effect) {
  const Ray& ray = stretch.ray;
  const double from = stretch.from, to = stretch.to;
  const VolumeSampling& sampling = context.scene.volumeSampling();
  const double step = volume.step > 0 ? volume.step : sampling.step;
  const double reach = std::isfinite(to) ? to - from : step * sampling.max_steps;
  if (reach <= 0) return;
  const int steps = std::clamp(int(std::ceil(reach / step)), sampling.min_steps, sampling.max_steps);
  const double ds = reach / steps;
  for (int i = 0; i < steps; ++i) {
    const double t = from + (i + 0.5) * ds;
    const Vec3 point = ray.at(t);
    L2ShadingRecord record{};
    const auto put = [](double* out, const Vec3& v) {
      out[0] = v.x;
      out[1] = v.y;
      out[2] = v.z;
    };
    put(record.point, world_to_texture ? world_to_texture->point(point) : point);
    put(record.normal, -ray.direction);
    put(record.geometric_normal, -ray.direction);
    put(record.world_point, point);
    put(record.ray_direction, ray.direction);
    record.ray_distance = t;
    record.depth = stretch.depth;
    record.weight = stretch.weight * maxComponent(effect.transmittance);
    float density[3] = {0, 0, 0}, emission[4] = {0, 0, 0, 0}, scattering[4] = {0, 0, 0, 0},
          absorption[4] = {0, 0, 0, 0};
    volume.evaluate(&record, density, emission, scattering, absorption, volume.object);
    const Vec3 dense{density[0], density[1], density[2]};
    const Vec3 scatter = dense * Vec3{scattering[0], scattering[1], scattering[2]};
    if (!stretch.only_dimming) {
      Vec3 source;
      if (volume.ambient) source += dense * Vec3{emission[0], emission[1], emission[2]};
      if (volume.diffuse && maxComponent(scatter) > 0) source += scatter * lightAt(context, point);
      effect.added += effect.transmittance * source * ds;
    }
    if (volume.opacity) {
      const Vec3 extinction = dense * Vec3{absorption[0], absorption[1], absorption[2]} + scatter;
      effect.transmittance =
          effect.transmittance *
          Vec3{std::exp(-extinction.x * ds), std::exp(-extinction.y * ds), std::exp(-extinction.z * ds)};
    }
  }
}

}  // namespace

MediaEffect marchMedia(ShadingContext& context, const Ray& ray, double from, double to, int depth,
                       double weight, bool only_dimming) {
  MediaEffect effect;
  const Stretch stretch{ray, from, to, depth, weight, only_dimming};
  for (const Volume* volume : context.scene.globalVolumes())
    march(context, *volume, nullptr, stretch, effect);
  if (!std::isfinite(to) || context.scene.volumeRegions().empty()) return effect;
  const Vec3 middle = ray.at(0.5 * (from + to));
  for (const VolumeRegion& region : context.scene.volumeRegions()) {
    const Primitive& p = *region.primitive;
    if (p.shape->inside(p.placement.toLocal().point(middle))) {
      march(context, *region.volume, &region.world_to_texture, stretch, effect);
    }
  }
  return effect;
}

}  // namespace lumetra::renderlib
