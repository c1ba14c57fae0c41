#include "accelerator.h"

#include <cmath>
#include <limits>
#include <mutex>
#include <new>
#include <stdexcept>
#include <string>

#include "compiled_scene.h"
#include "tile_threads.h"
#include "triangle_mesh.h"

namespace lumetra::renderlib {
namespace {

// Embree hands our context back to the callbacks; the query state rides behind it.
struct QueryContext {
  QueryContext(const Ray& query_ray, double query_tmin, double tmax, bool shadow_query)
      : ray(&query_ray), tmin(query_tmin), shadow(shadow_query), best_t(tmax) {
    rtcInitIntersectContext(&embree);
  }
  // Occlusion of several rays: each Embree ray's id is its index in `queries`.
  explicit QueryContext(std::span<const ShadowQuery> shadow_queries)
      : ray(nullptr), tmin(0), shadow(true), best_t(0), queries(shadow_queries) {
    rtcInitIntersectContext(&embree);
  }

  RTCIntersectContext embree;  // first, so that Embree's pointer to it is one to the whole
  const Ray* ray;
  double tmin;
  bool shadow;
  double best_t;
  const CompiledPrimitive* best_primitive = nullptr;
  SurfaceHit best;
  std::span<const ShadowQuery> queries;
};

void shapeBounds(const RTCBoundsFunctionArguments* args) {
  const auto* compiled = static_cast<const CompiledPrimitive*>(args->geometryUserPtr);
  const Primitive& p = *compiled->primitive;
  const Bounds world = p.shape->bounds().transformed(p.placement.toWorld());
  // Widen by a little more than float rounding so no crossing is culled.
  const auto lower = [](double v) { return static_cast<float>(v - 1e-5 * (1 + std::fabs(v))); };
  const auto upper = [](double v) { return static_cast<float>(v + 1e-5 * (1 + std::fabs(v))); };
  args->bounds_o->lower_x = lower(world.lower.x);
  args->bounds_o->lower_y = lower(world.lower.y);
  args->bounds_o->lower_z = lower(world.lower.z);
  args->bounds_o->upper_x = upper(world.upper.x);
  args->bounds_o->upper_y = upper(world.upper.y);
  args->bounds_o->upper_z = upper(world.upper.z);
}

void shapeIntersect(const RTCIntersectFunctionNArguments* args) {
  if (!args->valid[0]) return;
  auto* query = reinterpret_cast<QueryContext*>(args->context);
  const auto* compiled = static_cast<const CompiledPrimitive*>(args->geometryUserPtr);
  const Primitive& p = *compiled->primitive;
  if (query->shadow && !p.casts_shadows) return;
  auto* rayhit = reinterpret_cast<RTCRayHit*>(args->rayhit);
  const double tmax = std::min(query->best_t, nextUp(double(rayhit->ray.tfar)));
  const Ray local = p.inOwnSpace(*query->ray);
  SurfaceHit hit;
  if (!p.shape->intersect(local, query->tmin, tmax, hit)) return;
  query->best_t = hit.t;
  query->best = hit;
  query->best_primitive = compiled;
  rayhit->ray.tfar = static_cast<float>(hit.t);
  rayhit->hit.geomID = args->geomID;
  rayhit->hit.primID = args->primID;
  rayhit->hit.instID[0] = RTC_INVALID_GEOMETRY_ID;
}

// Occlusion: any crossing in range by a shape that casts shadows ends the query.
void shapeOccluded(const RTCOccludedFunctionNArguments* args) {
  auto* query = reinterpret_cast<QueryContext*>(args->context);
  const Primitive& p = *static_cast<const CompiledPrimitive*>(args->geometryUserPtr)->primitive;
  if (!p.casts_shadows) return;
  for (unsigned lane = 0; lane < args->N; ++lane) {
    if (!args->valid[lane]) continue;
    const ShadowQuery& shadow = query->queries[RTCRayN_id(args->ray, args->N, lane)];
    SurfaceHit hit;
    if (p.shape->intersect(p.inOwnSpace(shadow.ray), shadow.tmin, shadow.tmax, hit)) {
      RTCRayN_tfar(args->ray, args->N, lane) = -std::numeric_limits<float>::infinity();
    }
  }
}

unsigned attachShape(RTCScene scene, const CompiledPrimitive& compiled) {
  RTCGeometry geometry = rtcNewGeometry(embreeDevice(), RTC_GEOMETRY_TYPE_USER);
  rtcSetGeometryUserPrimitiveCount(geometry, 1);
  rtcSetGeometryUserData(geometry, const_cast<CompiledPrimitive*>(&compiled));
  rtcSetGeometryBoundsFunction(geometry, shapeBounds, nullptr);
  rtcSetGeometryIntersectFunction(geometry, shapeIntersect);
  rtcSetGeometryOccludedFunction(geometry, shapeOccluded);
  rtcCommitGeometry(geometry);
  const unsigned id = rtcAttachGeometry(scene, geometry);
  rtcReleaseGeometry(geometry);
  return id;
}

unsigned attachMeshInstance(RTCScene scene, const CompiledPrimitive& compiled) {
  const Primitive& p = *compiled.primitive;
  RTCGeometry geometry = rtcNewGeometry(embreeDevice(), RTC_GEOMETRY_TYPE_INSTANCE);
  rtcSetGeometryInstancedScene(geometry, p.mesh->embreeScene());
  float transform[12];
  const Affine& a = p.placement.toWorld();
  for (int r = 0; r < 3; ++r) {
    for (int c = 0; c < 4; ++c) transform[r * 4 + c] = static_cast<float>(a.m[r][c]);
  }
  rtcSetGeometryTransform(geometry, 0, RTC_FORMAT_FLOAT3X4_ROW_MAJOR, transform);
  rtcCommitGeometry(geometry);
  const unsigned id = rtcAttachGeometry(scene, geometry);
  rtcReleaseGeometry(geometry);
  return id;
}

}  // namespace

RTCDevice embreeDevice() {
  static RTCDevice device = [] {
    RTCDevice made = rtcNewDevice(embreeDeviceConfig());
    if (!made) {
      throw std::runtime_error("Embree could not make its device (error " +
                               std::to_string(rtcGetDeviceError(nullptr)) + ")");
    }
    return made;
  }();
  return device;
}

RTCRayHit embreeQuery(const Ray& ray, double tmin, double tmax) {
  RTCRayHit query;
  query.ray.org_x = static_cast<float>(ray.origin.x);
  query.ray.org_y = static_cast<float>(ray.origin.y);
  query.ray.org_z = static_cast<float>(ray.origin.z);
  query.ray.dir_x = static_cast<float>(ray.direction.x);
  query.ray.dir_y = static_cast<float>(ray.direction.y);
  query.ray.dir_z = static_cast<float>(ray.direction.z);
  const float near = static_cast<float>(tmin);
  query.ray.tnear = near > tmin ? near : nextUp(near);
  query.ray.tfar = static_cast<float>(std::min(tmax, 3e38));
  query.ray.time = 0;
  query.ray.mask = 0xFFFFFFFFu;
  query.ray.id = 0;
  query.ray.flags = 0;
  query.hit.geomID = RTC_INVALID_GEOMETRY_ID;
  query.hit.instID[0] = RTC_INVALID_GEOMETRY_ID;
  return query;
}

Accelerator::Accelerator(const std::vector<CompiledPrimitive>& primitives, bool smooth_meshes)
    : scene_(rtcNewScene(embreeDevice())), smooth_meshes_(smooth_meshes) {
  if (!scene_) throw std::bad_alloc();
  rtcSetSceneFlags(scene_, RTC_SCENE_FLAG_ROBUST);
  rtcSetSceneBuildQuality(scene_, RTC_BUILD_QUALITY_HIGH);
  for (const CompiledPrimitive& compiled : primitives) {
    const unsigned id =
        compiled.primitive->mesh ? attachMeshInstance(scene_, compiled) : attachShape(scene_, compiled);
    if (by_geometry_.size() <= id) by_geometry_.resize(id + 1, nullptr);
    by_geometry_[id] = &compiled;
  }
  rtcCommitScene(scene_);
}

Accelerator::~Accelerator() { rtcReleaseScene(scene_); }

bool Accelerator::intersect(const Ray& ray, double tmin, double tmax, bool shadow, WorldHit& hit) const {
  QueryContext query(ray, tmin, tmax, shadow);
  RTCRayHit rayhit = embreeQuery(ray, tmin, tmax);
  rtcIntersect1(scene_, &query.embree, &rayhit);
  if (rayhit.hit.geomID == RTC_INVALID_GEOMETRY_ID) return false;

  SurfaceHit& surface = query.best;  // a shape's hit as it stands; a triangle's is made afresh
  if (rayhit.hit.instID[0] != RTC_INVALID_GEOMETRY_ID) {
    surface = SurfaceHit{};
    hit.primitive = by_geometry_[rayhit.hit.instID[0]];
    hit.polygon = true;
    hit.face = rayhit.hit.primID;
    const Primitive& p = *hit.primitive->primitive;
    const Ray local = p.inOwnSpace(ray);
    surface.t = p.mesh->exactDistance(rayhit.hit.primID, local);
    hit.primitive->primitive->mesh->describe(rayhit.hit.primID, rayhit.hit.u, rayhit.hit.v, smooth_meshes_,
                                             surface);
  } else {
    hit.primitive = query.best_primitive;
    hit.polygon = false;
    hit.face = 0;
    resolveCoordinates(surface);
  }
  const Placement& placement = hit.primitive->primitive->placement;
  hit.t = surface.t;
  hit.point = ray.at(surface.t);
  hit.normal = placement.isIdentity() ? normalized(surface.normal) : placement.normalToWorld(surface.normal);
  hit.u = surface.u;
  hit.v = surface.v;
  hit.part = surface.part;
  if (surface.part) hit.part_to_world = surface.part_to_shape.then(placement.toWorld());
  return true;
}

bool Accelerator::occluded(const Ray& ray, double tmin, double tmax) const {
  const ShadowQuery shadow{ray, tmin, tmax};
  QueryContext query({&shadow, 1});
  RTCRay occlusion = embreeQuery(ray, tmin, tmax).ray;
  rtcOccluded1(scene_, &query.embree, &occlusion);
  return occlusion.tfar < 0;
}

void Accelerator::occluded(std::span<const ShadowQuery> queries, uint8_t* blocked) const {
  constexpr size_t kLanes = 4;
  for (size_t first = 0; first < queries.size(); first += kLanes) {
    const size_t count = std::min(kLanes, queries.size() - first);
    QueryContext query(queries.subspan(first, count));
    query.embree.flags = RTC_INTERSECT_CONTEXT_FLAG_COHERENT;
    alignas(16) int valid[kLanes] = {};
    RTCRay4 packet{};
    for (size_t lane = 0; lane < count; ++lane) {
      const ShadowQuery& shadow = queries[first + lane];
      const RTCRay one = embreeQuery(shadow.ray, shadow.tmin, shadow.tmax).ray;
      valid[lane] = -1;
      packet.org_x[lane] = one.org_x;
      packet.org_y[lane] = one.org_y;
      packet.org_z[lane] = one.org_z;
      packet.tnear[lane] = one.tnear;
      packet.dir_x[lane] = one.dir_x;
      packet.dir_y[lane] = one.dir_y;
      packet.dir_z[lane] = one.dir_z;
      packet.tfar[lane] = one.tfar;
      packet.mask[lane] = one.mask;
      packet.id[lane] = static_cast<unsigned>(lane);
    }
    rtcOccluded4(valid, scene_, &query.embree, &packet);
    for (size_t lane = 0; lane < count; ++lane) blocked[first + lane] = packet.tfar[lane] < 0;
  }
}

}  // namespace lumetra::renderlib
