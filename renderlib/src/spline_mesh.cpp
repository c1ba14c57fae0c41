#include "spline_mesh.h"

namespace lumetra::renderlib {
namespace {

// Cubic Bernstein weights and their derivatives at t.
void bernstein(double t, double weights[4], double slopes[4]) {
  const double s = 1 - t;
  weights[0] = s * s * s;
  weights[1] = 3 * t * s * s;
  weights[2] = 3 * t * t * s;
  weights[3] = t * t * t;
  slopes[0] = -3 * s * s;
  slopes[1] = 3 * s * s - 6 * t * s;
  slopes[2] = 6 * t * s - 3 * t * t;
  slopes[3] = 3 * t * t;
}

}  // namespace

MeshInput SplineMesh::tessellate() const {
  MeshInput mesh;
  for (const std::array<int, 16>& patch : patches_) {
    const uint32_t first = uint32_t(mesh.vertices.size());
    for (int j = 0; j < v_steps_; ++j) {
      const double v = double(j) / (v_steps_ - 1);
      double wv[4], dv[4];
      bernstein(v, wv, dv);
      for (int i = 0; i < u_steps_; ++i) {
        const double u = double(i) / (u_steps_ - 1);
        double wu[4], du[4];
        bernstein(u, wu, du);
        Vec3 point, along_u, along_v;
        // Rows of the patch follow v, columns u.
        for (int row = 0; row < 4; ++row) {
          for (int column = 0; column < 4; ++column) {
            const Vec3& p = points_[patch[row * 4 + column]];
            point += p * (wv[row] * wu[column]);
            along_u += p * (wv[row] * du[column]);
            along_v += p * (dv[row] * wu[column]);
          }
        }
        mesh.vertices.push_back(point);
        mesh.normals.push_back(cross(along_u, along_v));
        mesh.uvs.push_back({u, v, 0});
      }
    }
    for (int j = 0; j + 1 < v_steps_; ++j) {
      for (int i = 0; i + 1 < u_steps_; ++i) {
        const uint32_t a = first + j * u_steps_ + i, b = a + 1, c = a + u_steps_, d = c + 1;
        mesh.faces.insert(mesh.faces.end(), {a, b, c, b, d, c});
      }
    }
  }
  mesh.counter_clockwise = true;
  return mesh;
}

}  // namespace lumetra::renderlib
