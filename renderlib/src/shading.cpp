#include "shading.h"

#include "area_light.h"
#include "media.h"
#include "power.h"

#include <cmath>
#include <tuple>

namespace lumetra::renderlib {
namespace {

// The general TLS model: static TLS would save a call per texture evaluation (0.2 % of a
// textured render) but could make loading the plug-in fail where other libraries loaded at run
// time (OpenGL drivers, say) have used up the static TLS that is left.
thread_local ShadingContext* t_evaluating = nullptr;

// Marks the thread as inside a texture evaluation for ShadePoint.
class EvaluationScope {
 public:
  explicit EvaluationScope(ShadingContext& context) : saved_(t_evaluating) { t_evaluating = &context; }
  ~EvaluationScope() { t_evaluating = saved_; }
  EvaluationScope(const EvaluationScope&) = delete;
  EvaluationScope& operator=(const EvaluationScope&) = delete;

 private:
  ShadingContext* saved_;
};

void put(double* out, const Vec3& v) {
  out[0] = v.x;
  out[1] = v.y;
  out[2] = v.z;
}

Vec3 get(const double* in) { return {in[0], in[1], in[2]}; }
Vec3 get(const float* in) { return {in[0], in[1], in[2]}; }

SurfaceSample defaultSample() {
  SurfaceSample s{};
  for (float& c : s.color) c = 1;
  for (float& c : s.highlight_color) c = 1;
  s.ambient = 0.1f;
  s.diffuse = 0.6f;
  s.brilliance = 1;
  s.phong_size = 1;
  s.specular_exponent = 1;
  s.ior = 1;
  return s;
}

L2ShadingRecord recordFor(const TextureBinding& texture, const WorldHit& hit, const Ray& ray, int depth,
                          double weight) {
  L2ShadingRecord record{};
  put(record.point, texture.world_to_texture.point(hit.point));
  put(record.normal, hit.normal);
  // Only for textures that read them: they cost trigonometry on most shapes.
  if (texture.readsSurfaceCoordinates()) std::tie(record.u, record.v) = surfaceCoordinates(hit);
  put(record.world_point, hit.point);
  put(record.ray_direction, ray.direction);
  put(record.geometric_normal, hit.normal);
  record.ray_distance = hit.t;
  record.depth = depth;
  record.weight = weight;
  return record;
}

SurfaceSample evaluateTexture(ShadingContext& context, const TextureBinding& binding,
                              L2ShadingRecord& record) {
  SurfaceSample sample = defaultSample();
  const Texture* texture = binding.texture;
  if (!texture) return sample;
  if (texture->kind == Texture::Kind::kMatte) {
    sample.color[0] = float(texture->color.x);
    sample.color[1] = float(texture->color.y);
    sample.color[2] = float(texture->color.z);
    return sample;
  }
  EvaluationScope scope(context);
  texture->evaluate(&record, &sample, texture->object);
  put(record.normal, normalized(get(record.normal)));
  return sample;
}

// Light passed through a surface: filtered by its colour and transmitted by its
// transmitted colour.
Vec3 passedLight(const SurfaceSample& sample, uint32_t flags) {
  if (!(flags & L2_SHADE_TRANSMISSION)) return {};
  const double filter = std::clamp(1.0 - sample.color[3], 0.0, 1.0);
  Vec3 passed = get(sample.color) * filter;
  if (sample.flags & L2_SAMPLE_TRANSMISSION) passed += get(sample.transmitted_color) * sample.transmission;
  return passed;
}

double surfaceShare(const SurfaceSample& sample, uint32_t flags) {
  if (!(flags & L2_SHADE_TRANSMISSION)) return 1;
  double share = std::clamp(double(sample.color[3]), 0.0, 1.0);
  if (sample.flags & L2_SAMPLE_TRANSMISSION) share -= sample.transmission;
  return std::max(share, 0.0);
}

struct SurfacePoint {
  Vec3 point, normal, geometric_normal, view_direction;  // normals face the viewer, but see below
  Vec3 mirrored;                                         // the view direction mirrored by the normal
  bool both_sides = false;                               // lit from either side
  Vec3 color, highlight;
};

// Diffuse and highlights from one light. An area light shines from its centre, dimmed by the
// share of its grid the point sees: one lighting however fine the grid, as in POV-Ray.
Vec3 lightFrom(ShadingContext& context, uint32_t flags, const CompiledLight& light, const SurfacePoint& at,
               const SurfaceSample& sample) {
  Vec3 toward = light.centre - at.point;
  // A light behind the surface is turned away before its distance is taken.
  if (!at.both_sides && (dot(at.normal, toward) <= 0 || dot(at.geometric_normal, toward) <= 0)) return {};
  const double distance = length(toward);
  if (distance <= 0) return {};
  toward = toward / distance;
  double cosine = dot(at.normal, toward);
  if (cosine <= 0 || dot(at.geometric_normal, toward) <= 0) {
    if (!at.both_sides) return {};
    cosine = std::fabs(cosine);
  }
  const Light& source = *light.light;
  Vec3 intensity = source.color;
  // Most lights do not fade.
  if (source.quadratic != 0 || source.linear != 0 || source.constant != 1) {
    const double fade_divisor =
        source.quadratic * distance * distance + source.linear * distance + source.constant;
    if (fade_divisor > 0) intensity = intensity * (1 / fade_divisor);
  }
  if (source.kind == Light::Kind::kSpot) intensity *= spotFactor(light, toward);
  if (maxComponent(intensity) <= 0) return {};
  if ((flags & L2_SHADE_SHADOWS) && source.casts_shadows) {
    intensity =
        intensity * (source.kind == Light::Kind::kArea ? areaLightPassed(context, light, at.point)
                                                       : shadowFilter(context, at.point, toward, distance));
    if (maxComponent(intensity) <= 0) return {};
  }
  if (source.attenuated && context.scene.hasVolumes()) {
    const Ray path{at.point, toward};
    intensity =
        intensity *
        marchMedia(context, path, context.scene.settings().ray_epsilon, distance, 0, 1, true).transmittance;
  }
  const double lit = power(cosine, double(sample.brilliance));
  Vec3 out = at.color * (sample.diffuse * lit);
  if (sample.specular > 0) {
    const double facing = dot(at.normal, normalized(toward - at.view_direction));
    if (facing > 0) out += at.highlight * (sample.specular * power(facing, double(sample.specular_exponent)));
  }
  if (sample.phong > 0) {
    const double facing = dot(at.mirrored, toward);
    if (facing > 0) out += at.highlight * (sample.phong * power(facing, double(sample.phong_size)));
  }
  return out * intensity;
}

// Direction of the ray that leaves through a surface, or none on total internal reflection.
bool refract(const Vec3& direction, const Vec3& normal, double ratio, Vec3& out) {
  const double cosine = -dot(direction, normal);
  const double k = 1 - ratio * ratio * (1 - cosine * cosine);
  if (k < 0) return false;
  out = normalized(direction * ratio + normal * (ratio * cosine - std::sqrt(k)));
  return true;
}

Vec3 secondary(ShadingContext& context, const Vec3& from, const Vec3& direction, int depth, double weight) {
  return traceRay(context, {from, direction}, context.scene.settings().ray_epsilon, depth + 1, weight).color;
}

bool worthTracing(const ShadingContext& context, int depth, double weight, const Vec3& share) {
  const RenderSettings& settings = context.scene.settings();
  return depth < context.scene.limits().max_depth && weight * maxComponent(share) >= settings.min_weight;
}

// What a ray sees given the first crossing a query found past tmin (if any): back faces of
// culled polygons let it through to the next.
Seen seenAlong(ShadingContext& context, const Ray& ray, double tmin, int depth, double weight, bool found,
               WorldHit& hit) {
  const bool cull = context.scene.flags() & L2_SHADE_CULL_BACKFACES;
  while (found && cull && hit.polygon && dot(hit.normal, ray.direction) > 0) {
    found = context.scene.accelerator().intersect(ray, hit.t + context.scene.settings().ray_epsilon,
                                                  std::numeric_limits<double>::infinity(), false, hit);
  }
  Seen seen{context.scene.settings().background};
  if (found) {
    context.polygon = hit.polygon;
    const TextureBinding texture = context.scene.textureAt(hit);
    L2ShadingRecord record = recordFor(texture, hit, ray, depth, weight);
    const SurfaceSample sample = evaluateTexture(context, texture, record);
    float color[4];
    shadeSample(context, context.scene.flags(), record, sample, color, true);
    seen = {get(color)};
  }
  if (context.scene.hasVolumes()) {
    const MediaEffect media = marchMedia(
        context, ray, tmin, found ? hit.t : std::numeric_limits<double>::infinity(), depth, weight);
    seen.color = media.added + media.transmittance * seen.color;
  }
  return seen;
}

}  // namespace

ShadingContext* evaluatingContext() { return t_evaluating; }

Vec3 shadowFilter(ShadingContext& context, const Vec3& from, const Vec3& toward, double distance) {
  const CompiledScene& scene = context.scene;
  const double epsilon = scene.settings().ray_epsilon;
  const Ray ray{from, toward};
  if (scene.shadowsStopAtFirstCaster()) {
    return scene.accelerator().occluded(ray, epsilon, distance - epsilon) ? Vec3{} : Vec3{1, 1, 1};
  }
  Vec3 passed{1, 1, 1};
  double tmin = epsilon;
  for (int layer = 0; layer < 64; ++layer) {
    WorldHit hit;
    if (!scene.accelerator().intersect(ray, tmin, distance - epsilon, true, hit)) return passed;
    tmin = hit.t + epsilon;
    if (!hit.primitive->primitive->casts_shadows) continue;
    const TextureBinding texture = scene.textureAt(hit);
    if (texture.letsNoLightThrough()) return {};
    L2ShadingRecord record = recordFor(texture, hit, ray, 0, 0);
    passed = passed * passedLight(evaluateTexture(context, texture, record), scene.flags());
    if (maxComponent(passed) < 1e-4) return {};
  }
  return {};
}

double spotFactor(const CompiledLight& light, const Vec3& toward_light) {
  const double cosine = -dot(toward_light, light.spot_axis);
  if (cosine <= light.cos_falloff) return 0;
  double factor = 1;
  if (cosine < light.cos_radius) {
    const double s = (cosine - light.cos_falloff) / (light.cos_radius - light.cos_falloff);
    factor = s * s * (3 - 2 * s);
  }
  if (light.light->tightness > 0) factor *= power(cosine, light.light->tightness);
  return factor;
}

void shadeSample(ShadingContext& context, uint32_t flags, const L2ShadingRecord& record,
                 const SurfaceSample& sample, float color[4], bool unit_vectors) {
  const RenderSettings& settings = context.scene.settings();
  const auto unit = [unit_vectors](const double* v) { return unit_vectors ? get(v) : normalized(get(v)); };
  SurfacePoint at;
  at.point = get(record.world_point);
  at.view_direction = unit(record.ray_direction);
  at.normal = unit(record.normal);
  at.geometric_normal = unit(record.geometric_normal);
  const bool from_behind = dot(at.geometric_normal, at.view_direction) > 0;
  // Solids and flipped polygons face the viewer; the back of an unflipped polygon keeps its
  // normal and takes the lights only with L2_SHADE_BACKSIDES (from either side).
  const bool keep_back = context.polygon && from_behind && !(flags & L2_SHADE_FLIP_NORMALS);
  at.both_sides = keep_back && (flags & L2_SHADE_BACKSIDES);
  const bool lit = !keep_back || at.both_sides;
  if (from_behind && !keep_back) at.geometric_normal = -at.geometric_normal;
  if (dot(at.normal, at.view_direction) > 0 && !keep_back) at.normal = -at.normal;
  at.mirrored = at.view_direction - at.normal * (2 * dot(at.view_direction, at.normal));
  at.color = get(sample.color);
  const double metallic = std::clamp(double(sample.metallic), 0.0, 1.0);
  at.highlight = get(sample.highlight_color) * (Vec3{1, 1, 1} * (1 - metallic) + at.color * metallic);

  const Vec3 ambient =
      (sample.flags & L2_SAMPLE_AMBIENT_COLOR) ? get(sample.ambient_color) : at.color * sample.ambient;
  Vec3 surface = ambient * settings.ambient_light + at.color * sample.emission;
  for (const CompiledLight& light : context.scene.lights()) {
    if (lit) surface += lightFrom(context, flags, light, at, sample);
  }
  Vec3 seen = surface * surfaceShare(sample, flags);

  const int depth = int(record.depth);
  const double weight = record.weight;
  if ((flags & L2_SHADE_REFLECTION) && (sample.flags & L2_SAMPLE_REFLECTION)) {
    const Vec3 share = get(sample.reflection_color);
    if (worthTracing(context, depth, weight, share)) {
      seen += share * secondary(context, at.point, at.mirrored, depth, weight * maxComponent(share));
    }
  }
  const Vec3 passed = passedLight(sample, flags);
  if (worthTracing(context, depth, weight, passed)) {
    const double ior = sample.ior > 0 ? sample.ior : 1.0;
    Vec3 onward = at.view_direction;
    if (context.scene.limits().refraction &&
        !refract(at.view_direction, at.normal, from_behind ? ior : 1 / ior, onward)) {
      onward = at.mirrored;
    }
    seen += passed * secondary(context, at.point, onward, depth, weight * maxComponent(passed));
  }
  color[0] = float(seen.x);
  color[1] = float(seen.y);
  color[2] = float(seen.z);
  color[3] = sample.color[3];
}

Seen traceRay(ShadingContext& context, const Ray& ray, double tmin, int depth, double weight) {
  WorldHit hit;
  const bool found =
      context.scene.accelerator().intersect(ray, tmin, std::numeric_limits<double>::infinity(), false, hit);
  return seenAlong(context, ray, tmin, depth, weight, found, hit);
}

void tracePrimaryRays(std::span<ShadingContext> contexts, std::span<const Ray> rays, Seen* seen) {
  constexpr size_t kBatch = 4;
  for (size_t first = 0; first < rays.size(); first += kBatch) {
    const size_t count = std::min(kBatch, rays.size() - first);
    WorldHit hits[kBatch];
    bool found[kBatch];
    contexts.front().scene.accelerator().intersect(rays.subspan(first, count), 0, hits, found);
    for (size_t i = 0; i < count; ++i) {
      seen[first + i] = seenAlong(contexts[first + i], rays[first + i], 0, 0, 1, found[i], hits[i]);
    }
  }
}

}  // namespace lumetra::renderlib
