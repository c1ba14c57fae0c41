#include "host/rib_meshes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <numbers>
#include <sstream>

namespace lumetra::host::rib {
namespace {

using math::Vector3;

// The loops of a face cut into triangles about each loop's first point, holes included
// with their own winding: enough for sums over a closed surface.
template <typename Visit>
void EachTriangle(const PolygonMesh& mesh, Visit visit) {
  for (const auto& face : mesh.faces) {
    for (const auto& loop : face) {
      for (size_t i = 1; i + 1 < loop.size(); ++i)
        visit(mesh.points[loop[0]], mesh.points[loop[i]], mesh.points[loop[i + 1]]);
    }
  }
}

// The volume a closed surface winding counter-clockwise from outside holds (divergence
// theorem): negative when it winds the other way.
double Volume(const PolygonMesh& mesh) {
  double volume = 0;
  EachTriangle(mesh, [&](const Vector3& a, const Vector3& b, const Vector3& c) {
    volume += math::Dot(a, math::Cross(b, c)) / 6;
  });
  return volume;
}

// Every edge of a closed surface with faces that agree is crossed once each way; holes are
// their own faces' edges, so caps with holes count too. Returns the edges that are not.
int UnpairedEdges(const PolygonMesh& mesh) {
  std::map<std::pair<uint32_t, uint32_t>, int> edges;
  for (const auto& face : mesh.faces) {
    for (const auto& loop : face) {
      for (size_t i = 0; i < loop.size(); ++i) ++edges[{loop[i], loop[(i + 1) % loop.size()]}];
    }
  }
  int unpaired = 0;
  for (const auto& [edge, count] : edges) {
    const auto back = edges.find({edge.second, edge.first});
    unpaired += count != 1 || back == edges.end() || back->second != 1;
  }
  return unpaired;
}

Outline Square(double half, double cx = 0, double cy = 0) {
  return {{cx - half, cy - half}, {cx + half, cy - half}, {cx + half, cy + half}, {cx - half, cy + half}};
}

TEST(RibMeshes, ExtrusionsAreClosedOutwardAndKeepTheirHoles) {
  // A 2 x 2 square with a 1 x 1 hole given the same way round, from z = 1 to 3.
  const PolygonMesh mesh = ExtrudedMesh({Square(1), Square(0.5)}, 1, 3, false);
  EXPECT_EQ(mesh.points.size(), 16u);
  EXPECT_EQ(mesh.faces.size(), 8u + 2u);  // four sides each, a top and a bottom
  EXPECT_EQ(UnpairedEdges(mesh), 0);
  EXPECT_NEAR(Volume(mesh), (4 - 1) * 2, 1e-9);
  size_t caps = 0;
  for (const auto& face : mesh.faces) {
    if (face.size() != 2) continue;
    ++caps;
    const double z = mesh.points[face[0][0]].z;
    EXPECT_TRUE(z == 1 || z == 3);
    for (const uint32_t id : face[1]) EXPECT_LE(std::fabs(mesh.points[id].x), 0.5);  // the hole
  }
  EXPECT_EQ(caps, 2u);
  // Clockwise outlines and separate islands come out the same way.
  Outline reversed = Square(1);
  std::reverse(reversed.begin(), reversed.end());
  const PolygonMesh two = ExtrudedMesh({reversed, Square(1, 5, 0)}, 0, 1, false);
  EXPECT_EQ(UnpairedEdges(two), 0);
  EXPECT_NEAR(Volume(two), 8, 1e-9);
}

TEST(RibMeshes, ConeExtrusionsScaleTheirOutlinesByHeight) {
  const PolygonMesh mesh = ExtrudedMesh({Square(1)}, 1, 2, true);
  // z = 2 keeps the outline, z = 1 halves it: a frustum of a pyramid.
  for (const Vector3& p : mesh.points) EXPECT_NEAR(std::fabs(p.x), p.z / 2, 1e-12);
  EXPECT_NEAR(Volume(mesh), 4.0 / 3 * (8 - 1) / 4, 1e-9);
  EXPECT_EQ(UnpairedEdges(mesh), 0);
  // Down to its point the bottom cap goes.
  const PolygonMesh pointed = ExtrudedMesh({Square(1)}, 0, 1, true);
  EXPECT_EQ(pointed.faces.size(), 4u + 1u);
  EXPECT_NEAR(Volume(pointed), 4.0 / 3, 1e-9);
}

TEST(RibMeshes, RevolvingAHalfCircleMakesAClosedSphereAboutY) {
  Outline half;
  for (int i = 0; i <= 32; ++i) {
    const double angle = std::numbers::pi * (i / 32.0 - 0.5);
    half.push_back({std::cos(angle), std::sin(angle)});
  }
  half.front()[0] = half.back()[0] = 0;  // on the axis exactly
  const PolygonMesh mesh = RevolvedMesh(half);
  EXPECT_EQ(mesh.points.size(), 31u * kStepsAround + 2u);  // the poles once each
  EXPECT_EQ(UnpairedEdges(mesh), 0);
  EXPECT_NEAR(std::fabs(Volume(mesh)), 4 * std::numbers::pi / 3, 0.03);
  for (const Vector3& p : mesh.points) EXPECT_NEAR(math::Length(p), 1, 1e-9);
  // The turn starts at +x and goes towards +z.
  EXPECT_GT(mesh.points[1].x, 0);
  EXPECT_EQ(mesh.points[1].z, 0);
  EXPECT_GT(mesh.points[2].z, 0);
}

TEST(RibMeshes, SuperquadricsRunFromSphereToCube) {
  const PolygonMesh sphere = SuperquadricMesh(1, 1);
  EXPECT_EQ(UnpairedEdges(sphere), 0);
  for (const Vector3& p : sphere.points) EXPECT_NEAR(math::Length(p), 1, 1e-9);
  EXPECT_NEAR(Volume(sphere), 4 * std::numbers::pi / 3, 0.05);
  const PolygonMesh box = SuperquadricMesh(0.05, 0.05);
  EXPECT_GT(Volume(box), 7);
  EXPECT_LE(Volume(box), 8);
  // Each power acts on its own direction: e flattens across, n along z.
  const PolygonMesh disc = SuperquadricMesh(1, 0.05);
  for (const Vector3& p : disc.points) {
    const double across = std::hypot(p.x, p.y);
    EXPECT_LE(across, 1 + 1e-9);
    EXPECT_LE(std::fabs(p.z), 1 + 1e-9);
  }
  EXPECT_GT(Volume(disc), 2 * std::numbers::pi * 0.9);
}

TEST(RibMeshes, ABlobOfOneSphereIsASphereWhereItsFieldMeetsTheThreshold) {
  // strength 1 (1 - d^2 / 4)^2 = 0.25 at d^2 = 2.
  const std::vector<abi::BlobComponent> one = {{1, 0, {1, 2, 3}, {0, 0, 0}, 2, 1}};
  const PolygonMesh mesh = BlobMesh(one, 0.25, 24);
  ASSERT_FALSE(mesh.faces.empty());
  ASSERT_EQ(mesh.normals.size(), mesh.points.size());
  EXPECT_EQ(UnpairedEdges(mesh), 0);
  for (size_t i = 0; i < mesh.points.size(); ++i) {
    const Vector3 away = mesh.points[i] - Vector3{1, 2, 3};
    EXPECT_NEAR(math::Length(away), std::sqrt(2.0), 0.02);
    EXPECT_GT(math::Dot(away, mesh.normals[i]), 0.99 * math::Length(away));
  }
  EXPECT_NEAR(Volume(mesh), 4 * std::numbers::pi / 3 * std::pow(2, 1.5), 0.3);
  // A cylinder's field reaches as far past its ends as across its segment.
  const std::vector<abi::BlobComponent> capsule = {{2, 0, {0, 0, 0}, {4, 0, 0}, 1, 1}};
  const PolygonMesh long_one = BlobMesh(capsule, 0.5, 32);
  double lowest = 1e9, highest = -1e9;
  for (const Vector3& p : long_one.points) lowest = std::min(lowest, p.x), highest = std::max(highest, p.x);
  const double reach = std::sqrt(1 - std::sqrt(0.5));
  EXPECT_NEAR(lowest, -reach, 0.05);
  EXPECT_NEAR(highest, 4 + reach, 0.05);
  EXPECT_TRUE(BlobMesh(one, 2, 24).faces.empty());  // the field never reaches 2
}

TEST(RibMeshes, HeightFieldsFitTheRayTracersSquareAndHeights) {
  image::HeightSamples narrow{3, 2, false, {0, 255, 0, 0, 0, 51}, {}};
  const PolygonMesh mesh = HeightFieldMesh(narrow);
  ASSERT_EQ(mesh.points.size(), 6u);
  EXPECT_EQ(mesh.faces.size(), 4u);
  EXPECT_NEAR(mesh.points[0].x, -1, 1e-12);  // the top row's first sample
  EXPECT_NEAR(mesh.points[0].y, 1, 1e-12);
  EXPECT_NEAR(mesh.points[0].z, -1, 1e-12);
  EXPECT_NEAR(mesh.points[1].z, 1, 1e-12);
  EXPECT_NEAR(mesh.points[5].x, 1, 1e-12);
  EXPECT_NEAR(mesh.points[5].y, -1, 1e-12);
  EXPECT_NEAR(mesh.points[5].z, 51 / 255.0 * 2 - 1, 1e-12);
  // Seen from +z every triangle winds counter-clockwise.
  EachTriangle(mesh, [](const Vector3& a, const Vector3& b, const Vector3& c) {
    EXPECT_GT(math::Cross(b - a, c - a).z, 0);
  });
  const image::HeightSamples wide{2, 2, true, {}, {0, 65535, 32768, 0}};
  const PolygonMesh high = HeightFieldMesh(wide);
  EXPECT_NEAR(high.points[1].z, 65535 / 32768.0, 1e-12);
  EXPECT_NEAR(high.points[2].z, 1, 1e-12);
}

TEST(RibMeshes, WrittenMeshesCountTheirLoopsAndPoints) {
  PolygonMesh mesh;
  for (int i = 0; i < 5; ++i) mesh.Add({double(i), 0, 0});
  mesh.faces = {{{0, 1, 2, 3}, {4, 3, 2}}, {{0, 1, 4}}};
  std::ostringstream out;
  WritePolygonMesh(out, mesh);
  EXPECT_EQ(
      out.str(),
      "PointsGeneralPolygons [2 1] [4 3 3] [0 1 2 3 4 3 2 0 1 4] \"P\" [0 0 0 1 0 0 2 0 0 3 0 0 4 0 0]\n");
  mesh.normals.assign(5, {0, 0, 1});
  std::ostringstream withNormals;
  WritePolygonMesh(withNormals, mesh);
  EXPECT_NE(withNormals.str().find(" \"N\" [0 0 1 0 0 1"), std::string::npos) << withNormals.str();
}

}  // namespace
}  // namespace lumetra::host::rib
