// Entries that make, change and query the analytic primitives.
#include "api_support.h"
#include "blob.h"
#include "box.h"
#include "cone.h"
#include "disc.h"
#include "sphere.h"
#include "superquadric.h"
#include "torus.h"

using namespace lumetra::renderlib;

namespace {

template <class Kind, class Body>
int32_t withShape(L2Scene scene, L2Primitive prim, Body&& body) {
  return withItem<&Scene::primitive>(scene, prim, [&](Scene&, Primitive& p) -> int32_t {
    Kind* shape = p.shapeAs<Kind>();
    if (!shape) return L2_ERROR_HANDLE;
    return body(*shape);
  });
}

// Applies a change to a shape, undoing it when the shape would become invalid.
template <class Kind, class Change>
int32_t changeShape(L2Scene scene, L2Primitive prim, Change&& change) {
  return withShape<Kind>(scene, prim, [&](Kind& shape) -> int32_t {
    const Kind saved = shape;
    change(shape);
    if (shape.valid()) return L2_OK;
    shape = saved;
    return L2_ERROR_ARGUMENT;
  });
}

template <class Kind>
uint32_t createValid(L2Scene scene, std::shared_ptr<Kind> shape) {
  return createIn(scene, [&](Scene& s) -> uint32_t { return shape->valid() ? addShape(s, shape) : 0; });
}

}  // namespace

extern "C" {

L2Primitive CreateBox(L2Scene scene, double x0, double y0, double z0, double x1, double y1, double z1) {
  return createIn(scene, [&](Scene& s) -> uint32_t {
    if (!allFinite(x0, y0, z0, x1, y1, z1) || x0 == x1 || y0 == y1 || z0 == z1) return 0;
    return addShape(s, std::make_shared<Box>(Vec3{x0, y0, z0}, Vec3{x1, y1, z1}));
  });
}

L2Primitive CreateSphere(L2Scene scene, double cx, double cy, double cz, double radius) {
  return createIn(scene, [&](Scene& s) -> uint32_t {
    if (!allFinite(cx, cy, cz, radius) || radius <= 0) return 0;
    return addShape(s, std::make_shared<Sphere>(Vec3{cx, cy, cz}, radius));
  });
}

L2Primitive CreateCylinder(L2Scene scene, double bx, double by, double bz, double ax, double ay, double az,
                           double radius) {
  if (!allFinite(bx, by, bz, ax, ay, az)) return 0;
  return createValid(scene, std::make_shared<Cone>(Vec3{bx, by, bz}, radius, Vec3{ax, ay, az}, radius));
}

L2Primitive CreateCone(L2Scene scene, double bx, double by, double bz, double base_radius, double ax,
                       double ay, double az, double apex_radius) {
  if (!allFinite(bx, by, bz, ax, ay, az)) return 0;
  return createValid(scene,
                     std::make_shared<Cone>(Vec3{bx, by, bz}, base_radius, Vec3{ax, ay, az}, apex_radius));
}

int32_t SetConeEndcaps(L2Scene scene, L2Primitive prim, int32_t closed) {
  return withShape<Cone>(scene, prim, [&](Cone& cone) -> int32_t {
    if (closed != 0 && closed != 1) return L2_ERROR_ARGUMENT;
    cone.setCapped(closed == 1);
    return L2_OK;
  });
}

int32_t SetConeRadii(L2Scene scene, L2Primitive prim, double base_radius, double apex_radius) {
  return changeShape<Cone>(scene, prim, [&](Cone& cone) { cone.setRadii(base_radius, apex_radius); });
}

L2Primitive CreateTorus(L2Scene scene, double cx, double cy, double cz, double nx, double ny, double nz,
                        double major_radius, double minor_radius) {
  if (!allFinite(cx, cy, cz, nx, ny, nz) || length({nx, ny, nz}) == 0) return 0;
  return createValid(scene,
                     std::make_shared<Torus>(Vec3{cx, cy, cz}, Vec3{nx, ny, nz}, major_radius, minor_radius));
}

int32_t SetTorusSolver(L2Scene scene, L2Primitive prim, int32_t solver) {
  return withShape<Torus>(scene, prim, [&](Torus& torus) -> int32_t {
    if (solver < L2_SOLVER_DEFAULT || solver > L2_SOLVER_STURM) return L2_ERROR_ARGUMENT;
    torus.setSturm(solver == L2_SOLVER_STURM);
    return L2_OK;
  });
}

int32_t SetTorusRadii(L2Scene scene, L2Primitive prim, double major_radius, double minor_radius) {
  return changeShape<Torus>(scene, prim, [&](Torus& torus) { torus.setRadii(major_radius, minor_radius); });
}

L2Primitive CreateDisc(L2Scene scene, double cx, double cy, double cz, double nx, double ny, double nz,
                       double inner_radius, double outer_radius) {
  if (!allFinite(cx, cy, cz, nx, ny, nz)) return 0;
  return createValid(scene,
                     std::make_shared<Disc>(Vec3{cx, cy, cz}, Vec3{nx, ny, nz}, inner_radius, outer_radius));
}

int32_t SetDiscRadii(L2Scene scene, L2Primitive prim, double inner_radius, double outer_radius) {
  return changeShape<Disc>(scene, prim, [&](Disc& disc) { disc.setRadii(inner_radius, outer_radius); });
}

L2Primitive CreateSuperQ(L2Scene scene, double east_west, double north_south) {
  return createValid(scene, std::make_shared<Superquadric>(east_west, north_south));
}

int32_t SetSuperQPowers(L2Scene scene, L2Primitive prim, double east_west, double north_south) {
  return changeShape<Superquadric>(scene, prim,
                                   [&](Superquadric& q) { q.setPowers(east_west, north_south); });
}

L2Primitive CreateBlob(L2Scene scene) {
  return createIn(scene, [](Scene& s) -> uint32_t { return addShape(s, std::make_shared<Blob>()); });
}

int32_t SetBlobThreshold(L2Scene scene, L2Primitive blob, double threshold) {
  return changeShape<Blob>(scene, blob, [&](Blob& b) { b.setThreshold(threshold); });
}

int32_t AddBlobSphereComponent(L2Scene scene, L2Primitive blob, double cx, double cy, double cz,
                               double radius, double strength) {
  return withShape<Blob>(scene, blob, [&](Blob& b) -> int32_t {
    if (!allFinite(cx, cy, cz, radius, strength) || radius <= 0) return L2_ERROR_ARGUMENT;
    b.addSphere({cx, cy, cz}, radius, strength);
    return L2_OK;
  });
}

int32_t AddBlobCylinderComponent(L2Scene scene, L2Primitive blob, double x0, double y0, double z0, double x1,
                                 double y1, double z1, double radius, double strength) {
  return withShape<Blob>(scene, blob, [&](Blob& b) -> int32_t {
    const Vec3 a{x0, y0, z0}, end{x1, y1, z1};
    if (!allFinite(x0, y0, z0, x1, y1, z1, radius, strength) || radius <= 0 || length(end - a) == 0) {
      return L2_ERROR_ARGUMENT;
    }
    b.addCylinder(a, end, radius, strength);
    return L2_OK;
  });
}

int32_t SetBlobSolver(L2Scene scene, L2Primitive blob, int32_t solver) {
  return withShape<Blob>(scene, blob, [&](Blob& b) -> int32_t {
    if (solver < L2_SOLVER_DEFAULT || solver > L2_SOLVER_STURM) return L2_ERROR_ARGUMENT;
    b.setSturm(solver == L2_SOLVER_STURM);
    return L2_OK;
  });
}

int32_t PrimCastsShadows(L2Scene scene, L2Primitive prim, int32_t casts) {
  return withScene(scene, [&](Scene& s) -> int32_t {
    if (casts != 0 && casts != 1) return L2_ERROR_ARGUMENT;
    if (Primitive* p = s.primitive(prim)) {
      p->casts_shadows = casts == 1;
      return L2_OK;
    }
    if (Light* l = s.light(prim)) {
      l->casts_shadows = casts == 1;
      return L2_OK;
    }
    return L2_ERROR_HANDLE;
  });
}

// Bounds and the ray-query structure are rebuilt by every render, so there is nothing
// left to do beyond checking the handle.
int32_t UpdatePrim(L2Scene scene, L2Primitive prim) {
  return withItem<&Scene::primitive>(scene, prim, [](Scene&, Primitive&) { return L2_OK; });
}

L2Primitive CreateClone(L2Scene scene, L2Primitive source) {
  return createIn(scene, [&](Scene& s) -> uint32_t {
    const Primitive* original = s.primitive(source);
    if (!original) return refuseHandle("primitive", source);
    auto clone = std::make_unique<Primitive>(*original);
    clone->is_operand = false;
    return s.add(std::move(clone));
  });
}

int32_t SetPrimTexture(L2Scene scene, L2Primitive prim, L2Texture texture) {
  return withItem<&Scene::primitive>(scene, prim, [&](Scene& s, Primitive& p) -> int32_t {
    if (texture != 0 && !s.texture(texture)) return L2_ERROR_HANDLE;
    p.texture = texture;
    return L2_OK;
  });
}

L2Texture GetPrimTexture(L2Scene scene, L2Primitive prim) {
  L2Texture texture = 0;
  withItem<&Scene::primitive>(scene, prim, [&](Scene&, Primitive& p) {
    texture = p.texture;
    return L2_OK;
  });
  return texture;
}

}  // extern "C"
