// The comparison scenes as POV-Ray 3.7 scene files.
#include <cmath>
#include <numbers>
#include <sstream>

#include "bench_scene.h"

namespace lumetra::bench {
namespace {

constexpr double kVerticalAngle = 40;

std::string vec(double x, double y, double z) {
  std::ostringstream out;
  out.precision(9);
  out << "<" << x << ", " << y << ", " << z << ">";
  return out.str();
}

std::string texture(const Finish& f) {
  std::ostringstream out;
  out << "texture { pigment { rgb " << vec(f.r, f.g, f.b) << " } finish { ambient 0.1 diffuse 0.6 phong 0.5 "
      << "phong_size 40 reflection " << f.reflection << " } }";
  return out.str();
}

std::string sphere(const Sphere& s, const std::string& inner = "") {
  std::ostringstream out;
  out.precision(9);
  out << "sphere { " << vec(s.x, s.y, s.z) << ", " << s.radius << " " << inner << " }";
  return out.str();
}

void writeMesh(std::ostringstream& out, const Mesh& mesh) {
  const size_t vertices = mesh.vertices.size() / 3, faces = mesh.faces.size() / 3;
  out << "mesh2 {\n vertex_vectors { " << vertices;
  for (size_t i = 0; i < vertices; ++i)
    out << ",\n" << vec(mesh.vertices[3 * i], mesh.vertices[3 * i + 1], mesh.vertices[3 * i + 2]);
  out << " }\n normal_vectors { " << vertices;
  for (size_t i = 0; i < vertices; ++i)
    out << ",\n" << vec(mesh.normals[3 * i], mesh.normals[3 * i + 1], mesh.normals[3 * i + 2]);
  out << " }\n face_indices { " << faces;
  for (size_t i = 0; i < faces; ++i) {
    out << ",\n<" << mesh.faces[3 * i] << ", " << mesh.faces[3 * i + 1] << ", " << mesh.faces[3 * i + 2]
        << ">";
  }
  out << " }\n " << texture(mesh.finish) << "\n}\n";
}

}  // namespace

std::string povraySource(const BenchScene& s, int width, int height) {
  const double aspect = double(width) / height;
  const double horizontal =
      2 * std::atan(std::tan(kVerticalAngle * std::numbers::pi / 360) * aspect) * 180 / std::numbers::pi;
  std::ostringstream out;
  out.precision(9);
  out << "#version 3.7;\n"
      << "global_settings { assumed_gamma 1.0 max_trace_level 5 adc_bailout 1/255 ambient_light rgb 1 }\n"
      << "camera { location " << vec(s.camera[0], s.camera[1], s.camera[2]) << " look_at "
      << vec(s.look_at[0], s.look_at[1], s.look_at[2]) << " right x*" << aspect << " angle " << horizontal
      << " }\n"
      << "background { rgb <0.3, 0.4, 0.6> }\n"
      << "light_source { " << vec(s.light[0], s.light[1], s.light[2])
      << " color rgb 1 }\n"
      // The checker counts y as well: lifted by half a square, its colours trade places.
      << "plane { y, 0 texture { pigment { checker rgb <0.9, 0.9, 0.8>, rgb <0.1, 0.2, 0.5> translate <0, "
         "0.5, 0> }"
      << " finish { ambient 0.1 diffuse 0.6 } } }\n";
  for (const Sphere& item : s.spheres) out << sphere(item, texture(item.finish)) << "\n";
  for (const CarvedBlock& b : s.blocks) {
    out << "union { difference { box { " << vec(b.box.x0, b.box.y0, b.box.z0) << ", "
        << vec(b.box.x1, b.box.y1, b.box.z1) << " } " << sphere(b.cut) << " } intersection { "
        << sphere(b.lens_a) << " " << sphere(b.lens_b) << " } " << texture(b.finish) << " }\n";
  }
  for (const Mesh& mesh : s.meshes) writeMesh(out, mesh);
  return out.str();
}

}  // namespace lumetra::bench
