#include <cmath>
#include <numbers>

#include "bench_scene.h"

namespace lumetra::bench {
namespace {

const Finish kMirror{0.25, 0.25, 0.3, 0.6};
const Finish kPaint{0.8, 0.25, 0.15, 0.15};

void frame(BenchScene& s, double cx, double cy, double cz, double lx, double ly, double lz) {
  s.camera[0] = cx;
  s.camera[1] = cy;
  s.camera[2] = cz;
  s.look_at[0] = lx;
  s.look_at[1] = ly;
  s.look_at[2] = lz;
  s.light[0] = -20;
  s.light[1] = 30;
  s.light[2] = -25;
}

}  // namespace

BenchScene reflectiveSpheres() {
  BenchScene s;
  s.name = "reflective spheres";
  frame(s, 0, 6, -16, 0, 0.5, 2);
  for (int i = 0; i < 12; ++i) {
    for (int j = 0; j < 12; ++j) {
      const double x = -11 + 2 * i, z = -6 + 2 * j;
      const Finish finish = (i + j) % 3 == 0 ? kPaint : kMirror;
      s.spheres.push_back({x, 0.7, z, 0.7, finish});
    }
  }
  return s;
}

BenchScene triangleMesh() {
  BenchScene s;
  s.name = "triangle mesh";
  frame(s, 0, 4, -9, 0, 1, 0);
  // A wavy torus knot surface: 224 x 224 quads, two triangles each (100 352 triangles).
  constexpr int kAround = 224, kTube = 224;
  Mesh mesh;
  mesh.finish = kPaint;
  for (int i = 0; i < kAround; ++i) {
    const double u = 2 * std::numbers::pi * i / kAround;
    for (int j = 0; j < kTube; ++j) {
      const double v = 2 * std::numbers::pi * j / kTube;
      const double tube = 0.7 + 0.12 * std::sin(6 * u);
      const double ring = 2.5 + tube * std::cos(v);
      const double nx = std::cos(v) * std::cos(u), ny = std::sin(v), nz = std::cos(v) * std::sin(u);
      mesh.vertices.insert(mesh.vertices.end(),
                           {ring * std::cos(u), 1.4 + tube * std::sin(v), ring * std::sin(u)});
      mesh.normals.insert(mesh.normals.end(), {nx, ny, nz});
      const int a = i * kTube + j, b = ((i + 1) % kAround) * kTube + j;
      const int c = ((i + 1) % kAround) * kTube + (j + 1) % kTube, d = i * kTube + (j + 1) % kTube;
      mesh.faces.insert(mesh.faces.end(), {a, b, c, a, c, d});
    }
  }
  s.meshes.push_back(std::move(mesh));
  s.spheres.push_back({0, 1.4, 0, 1.2, kMirror});
  return s;
}

BenchScene csgBlocks() {
  BenchScene s;
  s.name = "CSG blocks";
  frame(s, 0, 7, -15, 0, 0, 2);
  for (int i = 0; i < 7; ++i) {
    for (int j = 0; j < 6; ++j) {
      const double x = -9 + 3 * i, z = -4 + 3 * j;
      CarvedBlock block;
      block.box = {x - 0.9, 0, z - 0.9, x + 0.9, 1.8, z + 0.9};
      block.cut = {x + 0.5, 1.5, z - 0.5, 0.9, {}};
      block.lens_a = {x - 0.4, 2.4, z, 0.7, {}};
      block.lens_b = {x + 0.4, 2.4, z, 0.7, {}};
      block.finish = (i + j) % 2 ? kPaint : kMirror;
      s.blocks.push_back(block);
    }
  }
  return s;
}

}  // namespace lumetra::bench
