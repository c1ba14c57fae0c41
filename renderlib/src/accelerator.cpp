#include "accelerator.h"

#include <algorithm>
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

// What a nearest-hit query of one ray has found so far.
struct NearestLane {
  NearestLane() = default;
  NearestLane(const Ray& query_ray, double query_tmin, double tmax)
      : ray(&query_ray), tmin(query_tmin), best_t(tmax) {}

  const Ray* ray = nullptr;
  double tmin = 0;
  double best_t = 0;
  const CompiledPrimitive* best_primitive = nullptr;
  SurfaceHit best;
};

namespace {

constexpr size_t kPacketLanes = 4;

// Embree hands our context back to the callbacks; the query state rides behind it. Each
// Embree ray's id is its lane: its index in `nearest`, or in `queries` for occlusion.
struct QueryContext {
  QueryContext(bool shadow_query, NearestLane* lanes) : shadow(shadow_query), nearest(lanes) {
    rtcInitIntersectContext(&embree);
  }
  explicit QueryContext(std::span<const ShadowQuery> shadow_queries) : shadow(true), queries(shadow_queries) {
    rtcInitIntersectContext(&embree);
  }

  RTCIntersectContext embree;  // first, so that Embree's pointer to it is one to the whole
  bool shadow;
  NearestLane* nearest = nullptr;
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
  auto* query = reinterpret_cast<QueryContext*>(args->context);
  const auto* compiled = static_cast<const CompiledPrimitive*>(args->geometryUserPtr);
  const Primitive& p = *compiled->primitive;
  if (query->shadow && !p.casts_shadows) return;
  RTCRayN* rays = RTCRayHitN_RayN(args->rayhit, args->N);
  RTCHitN* hits = RTCRayHitN_HitN(args->rayhit, args->N);
  for (unsigned i = 0; i < args->N; ++i) {
    if (!args->valid[i]) continue;
    NearestLane& lane = query->nearest[RTCRayN_id(rays, args->N, i)];
    const double tmax = std::min(lane.best_t, nextUp(double(RTCRayN_tfar(rays, args->N, i))));
    SurfaceHit hit;
    if (!p.shape->intersect(p.inOwnSpace(*lane.ray), lane.tmin, tmax, hit)) continue;
    lane.best_t = hit.t;
    lane.best = hit;
    lane.best_primitive = compiled;
    RTCRayN_tfar(rays, args->N, i) = static_cast<float>(hit.t);
    RTCHitN_geomID(hits, args->N, i) = args->geomID;
    RTCHitN_primID(hits, args->N, i) = args->primID;
    RTCHitN_instID(hits, args->N, i, 0) = RTC_INVALID_GEOMETRY_ID;
  }
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

// One ray of a packet; its id is its lane, by which the callbacks find its query.
void putLane(RTCRay4& packet, size_t lane, const RTCRay& one) {
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
  NearestLane lane(ray, tmin, tmax);
  QueryContext query(shadow, &lane);
  RTCRayHit rayhit = embreeQuery(ray, tmin, tmax);
  rtcIntersect1(scene_, &query.embree, &rayhit);
  if (rayhit.hit.geomID == RTC_INVALID_GEOMETRY_ID) return false;
  describe(lane, rayhit.hit.instID[0], rayhit.hit.primID, rayhit.hit.u, rayhit.hit.v, hit);
  return true;
}

void Accelerator::intersect(std::span<const Ray> rays, double tmin, WorldHit* hits, bool* found) const {
  for (size_t first = 0; first < rays.size(); first += kPacketLanes) {
    const size_t count = std::min(kPacketLanes, rays.size() - first);
    NearestLane lanes[kPacketLanes];
    QueryContext query(false, lanes);
    query.embree.flags = RTC_INTERSECT_CONTEXT_FLAG_COHERENT;
    alignas(16) int valid[kPacketLanes] = {};
    RTCRayHit4 packet{};
    for (size_t lane = 0; lane < count; ++lane) {
      const Ray& ray = rays[first + lane];
      lanes[lane] = NearestLane(ray, tmin, std::numeric_limits<double>::infinity());
      valid[lane] = -1;
      putLane(packet.ray, lane, embreeQuery(ray, tmin, std::numeric_limits<double>::infinity()).ray);
      packet.hit.geomID[lane] = RTC_INVALID_GEOMETRY_ID;
      packet.hit.instID[0][lane] = RTC_INVALID_GEOMETRY_ID;
    }
    rtcIntersect4(valid, scene_, &query.embree, &packet);
    for (size_t lane = 0; lane < count; ++lane) {
      found[first + lane] = packet.hit.geomID[lane] != RTC_INVALID_GEOMETRY_ID;
      if (!found[first + lane]) continue;
      describe(lanes[lane], packet.hit.instID[0][lane], packet.hit.primID[lane], packet.hit.u[lane],
               packet.hit.v[lane], hits[first + lane]);
    }
  }
}

void Accelerator::describe(NearestLane& lane, unsigned instance, unsigned face, float u, float v,
                           WorldHit& hit) const {
  SurfaceHit& surface = lane.best;  // a shape's hit as it stands; a triangle's is made afresh
  if (instance != RTC_INVALID_GEOMETRY_ID) {
    surface = SurfaceHit{};
    hit.primitive = by_geometry_[instance];
    hit.polygon = true;
    hit.face = face;
    const Primitive& p = *hit.primitive->primitive;
    const Ray local = p.inOwnSpace(*lane.ray);
    surface.t = p.mesh->exactDistance(face, local);
    p.mesh->describe(face, u, v, smooth_meshes_, surface);
  } else {
    hit.primitive = lane.best_primitive;
    hit.polygon = false;
    hit.face = 0;
  }
  const Placement& placement = hit.primitive->primitive->placement;
  hit.t = surface.t;
  hit.point = lane.ray->at(surface.t);
  hit.normal = placement.isIdentity() ? normalized(surface.normal) : placement.normalToWorld(surface.normal);
  static_cast<SurfaceCoordinates&>(hit) = surface;
  hit.part = surface.part;
  if (surface.part) hit.part_to_world = surface.part_to_shape.then(placement.toWorld());
}

bool Accelerator::occluded(const Ray& ray, double tmin, double tmax) const {
  const ShadowQuery shadow{ray, tmin, tmax};
  QueryContext query(std::span<const ShadowQuery>(&shadow, 1));
  RTCRay occlusion = embreeQuery(ray, tmin, tmax).ray;
  rtcOccluded1(scene_, &query.embree, &occlusion);
  return occlusion.tfar < 0;
}

void Accelerator::occluded(std::span<const ShadowQuery> queries, uint8_t* blocked) const {
  for (size_t first = 0; first < queries.size(); first += kPacketLanes) {
    const size_t count = std::min(kPacketLanes, queries.size() - first);
    QueryContext query(queries.subspan(first, count));
    query.embree.flags = RTC_INTERSECT_CONTEXT_FLAG_COHERENT;
    alignas(16) int valid[kPacketLanes] = {};
    RTCRay4 packet{};
    for (size_t lane = 0; lane < count; ++lane) {
      const ShadowQuery& shadow = queries[first + lane];
      valid[lane] = -1;
      putLane(packet, lane, embreeQuery(shadow.ray, shadow.tmin, shadow.tmax).ray);
    }
    rtcOccluded4(valid, scene_, &query.embree, &packet);
    for (size_t lane = 0; lane < count; ++lane) blocked[first + lane] = packet.tfar[lane] < 0;
  }
}

}  // namespace lumetra::renderlib
