// The comparison scenes as calls into liblumetra2.so.
#include <cmath>

#include "bench_scene.h"

namespace lumetra::bench {
namespace {

constexpr double kVerticalAngle = 40;

void LUMETRA2_CALL checker(L2ShadingRecord* record, SurfaceSample* sample, void*) {
  const bool odd = (int(std::floor(record->point[0])) + int(std::floor(record->point[2]))) & 1;
  sample->color[0] = odd ? 0.9f : 0.1f;
  sample->color[1] = odd ? 0.9f : 0.2f;
  sample->color[2] = odd ? 0.8f : 0.5f;
}

void LUMETRA2_CALL shiny(L2ShadingRecord*, SurfaceSample* sample, void* object) {
  const auto* finish = static_cast<const Finish*>(object);
  sample->color[0] = float(finish->r);
  sample->color[1] = float(finish->g);
  sample->color[2] = float(finish->b);
  sample->phong = 0.5f;
  sample->phong_size = 40;
  for (float& c : sample->reflection_color) c = float(finish->reflection);
  sample->flags = L2_SAMPLE_REFLECTION;
}

L2Texture finishTexture(L2Scene scene, const Finish& finish) {
  return CreateUserTexture(scene, shiny, nullptr, const_cast<Finish*>(&finish));
}

L2Primitive leaf(L2Scene scene, const Sphere& s) {
  return CreateCSGPrim(scene, CreateSphere(scene, s.x, s.y, s.z, s.radius));
}

void addBlock(L2Scene scene, const CarvedBlock& b) {
  const L2Primitive box =
      CreateCSGPrim(scene, CreateBox(scene, b.box.x0, b.box.y0, b.box.z0, b.box.x1, b.box.y1, b.box.z1));
  const L2Primitive carved = CreateCSG(scene, L2_CSG_DIFFERENCE, box, leaf(scene, b.cut));
  const L2Primitive lens =
      CreateCSG(scene, L2_CSG_INTERSECTION, leaf(scene, b.lens_a), leaf(scene, b.lens_b));
  SetPrimTexture(scene, CreateCSG(scene, L2_CSG_UNION, carved, lens), finishTexture(scene, b.finish));
}

}  // namespace

L2Scene buildLibraryScene(const BenchScene& s, int width, int height, L2View& view) {
  const L2Scene scene = NewScene();
  view = CreateView(scene);
  SetViewResolution(scene, view, width, height);
  SetViewAngle(scene, view, kVerticalAngle);
  SetViewAspect(scene, view, double(width) / height);
  SetViewLocation(scene, view, s.camera[0], s.camera[1], s.camera[2]);
  SetViewInterest(scene, view, s.look_at[0], s.look_at[1], s.look_at[2]);
  SetBackgroundColor(scene, 0.3, 0.4, 0.6);
  SetAliasDepth(scene, 3);
  SetAliasThreshold(scene, 0.3);
  const L2Light light = CreateLight(scene);
  SetLightLocation(scene, light, s.light[0], s.light[1], s.light[2]);
  SetPrimTexture(scene, CreateDisc(scene, 0, 0, 0, 0, 1, 0, 0, 1e5),
                 CreateUserTexture(scene, checker, nullptr, nullptr));
  for (const Sphere& sphere : s.spheres) {
    SetPrimTexture(scene, CreateSphere(scene, sphere.x, sphere.y, sphere.z, sphere.radius),
                   finishTexture(scene, sphere.finish));
  }
  for (const CarvedBlock& block : s.blocks) addBlock(scene, block);
  for (const Mesh& mesh : s.meshes) {
    const L2Primitive prim =
        CreateTriBag(scene, int32_t(mesh.vertices.size() / 3), mesh.vertices.data(), mesh.normals.data(),
                     int32_t(mesh.faces.size() / 3), mesh.faces.data(), 0);
    SetPrimTexture(scene, prim, finishTexture(scene, mesh.finish));
  }
  return scene;
}

}  // namespace lumetra::bench
