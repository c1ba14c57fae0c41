// A comparison scene described once and written both ways: as calls into liblumetra2.so
// and as a POV-Ray 3.7 scene file.
#pragma once

#include <string>
#include <vector>

#include "lumetra2.h"

namespace lumetra::bench {

struct Finish {
  double r, g, b;
  double reflection;
};

struct Sphere {
  double x, y, z, radius;
  Finish finish;
};

struct Box {
  double x0, y0, z0, x1, y1, z1;
};

// A box with a sphere cut out of it, and the lens of two spheres beside it.
struct CarvedBlock {
  Box box;
  Sphere cut;
  Sphere lens_a, lens_b;
  Finish finish;
};

struct Mesh {
  std::vector<double> vertices;  // x, y, z each
  std::vector<double> normals;   // one a vertex
  std::vector<int32_t> faces;    // three vertex indices each
  Finish finish;
};

struct BenchScene {
  std::string name;
  double camera[3], look_at[3];
  double light[3];
  std::vector<Sphere> spheres;
  std::vector<CarvedBlock> blocks;
  std::vector<Mesh> meshes;
};

BenchScene reflectiveSpheres();
BenchScene triangleMesh();
BenchScene csgBlocks();

// Builds the scene into a new library scene; returns it and its view.
L2Scene buildLibraryScene(const BenchScene& scene, int width, int height, L2View& view);
std::string povraySource(const BenchScene& scene, int width, int height);

}  // namespace lumetra::bench
