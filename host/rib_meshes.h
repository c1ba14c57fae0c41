// The ray tracer's shapes that RIB has no request for, as polygon meshes of their surfaces.
#pragma once

#include <array>
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "abi/mesh_record.h"
#include "host/pov_objects.h"
#include "host/pov_outlines.h"
#include "image/height_samples.h"
#include "math/vector3.h"

namespace lumetra::host::rib {

// Faces in space, each an outline with any holes in it, as PointsGeneralPolygons takes them.
// Faces wind counter-clockwise seen from outside the shape; holes the other way.
struct PolygonMesh {
  using Loop = std::vector<uint32_t>;  // indices into points
  std::vector<math::Vector3> points;
  std::vector<std::vector<Loop>> faces;  // outline first, then its holes
  std::vector<math::Vector3> normals;    // one a point, or none

  uint32_t Add(const math::Vector3& p) {
    points.push_back(p);
    return static_cast<uint32_t>(points.size() - 1);
  }
};

// "PointsGeneralPolygons [loops] [counts] [indices] "P" [...]" with "N" when the mesh has them.
void WritePolygonMesh(std::ostream& out, const PolygonMesh& mesh);

using pov::Outline;

// Steps around a surface of revolution or a superquadric, and from pole to pole.
constexpr int kStepsAround = 48;
constexpr int kStepsAcross = 24;

// An open outline (x: distance from the y axis, y: height) turned once about y, from +x
// towards +z.
PolygonMesh RevolvedMesh(const Outline& outline);

// Closed outlines in the x-y plane stood along z from `start` to `end`, sides and caps. An
// outline inside an odd number of others is a hole in the innermost of them. With `cone`
// the outlines are scaled by z / end, meeting the z axis at 0.
PolygonMesh ExtrudedMesh(const std::vector<Outline>& outlines, double start, double end, bool cone);

// (|x|^(2/e) + |y|^(2/e))^(e/n) + |z|^(2/n) = 1 for east-west power e, north-south power n,
// by latitude and longitude.
PolygonMesh SuperquadricMesh(double eastWest, double northSouth);

// Where the summed fields of the components reach the threshold: each adds strength
// (1 - d^2 / r^2)^2 within its radius r of its centre or segment. Sampled on a grid of
// `cells` a side over the components' reach, cut into tetrahedra; normals from the field.
PolygonMesh BlobMesh(const std::vector<abi::BlobComponent>& components, double threshold, int cells);

// The ray tracer's height field of samples: x and y -1..1 across the picture (its top row at
// y = 1), heights along z, -1..1 for 8-bit samples and 0..2 for 16-bit ones.
PolygonMesh HeightFieldMesh(const image::HeightSamples& samples);

// The mesh of a lathe, sweep, extrusion, text, height field, blob or superquadric in its own
// space. Returns why there is none (the writer makes that a comment), empty when made.
std::string KindMesh(const SceneObject& object, const pov::SceneFiles& files, PolygonMesh& mesh);

}  // namespace lumetra::host::rib
