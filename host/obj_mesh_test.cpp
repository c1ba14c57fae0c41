#include "host/obj_mesh.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "host/testing/scene_test_support.h"

namespace lumetra::host {
namespace {

using ::testing::ElementsAre;
using testing::FreshFolder;
using ::testing::HasSubstr;
using testing::WriteText;

Mesh Load(const std::string& name, const std::string& text) {
  const auto path = FreshFolder("obj-" + name) / (name + ".obj");
  WriteText(path, text);
  return LoadObjMesh(path.string());
}

std::string Problem(const std::string& name, const std::string& text) {
  try {
    Load(name, text);
  } catch (const MeshFileError& error) {
    return error.what();
  }
  return "(read)";
}

TEST(ObjMesh, QuadsSplitAcrossTheirShorterDiagonal) {
  // The first quad is long from corner 0 to 2, the second from corner 1 to 3. Mesh vertices
  // are numbered in order of first use, so file vertex 4 is mesh vertex 2.
  const Mesh mesh = Load("quads",
                         "v 0 0 0\nv 1 0 0\nv 5 1 0\nv 0 1 0\n"
                         "v 0 0 1\nv 1 0 1\nv 1 1 1\nv -5 1 1\n"
                         "f 1 2 3 4\nf 5 6 7 8\n");
  EXPECT_THAT(mesh.faces, ElementsAre(0, 1, 2, 1, 3, 2, 4, 5, 6, 4, 6, 7));
  EXPECT_EQ(mesh.VertexCount(), 8u);
}

TEST(ObjMesh, NegativeIndicesCountBackFromTheVerticesReadSoFar) {
  const Mesh mesh = Load("relative", "v 0 0 0\nv 1 0 0\nv 0 1 0\nf -3 -2 -1\nv 0 0 1\nf 1 2 -1\n");
  EXPECT_THAT(mesh.faces, ElementsAre(0, 1, 2, 0, 1, 3));
  EXPECT_THAT(mesh.vertices, ElementsAre(0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1));
}

TEST(ObjMesh, AVertexMetWithAnotherNormalBecomesASecondMeshVertex) {
  const Mesh mesh = Load("corners",
                         "v 0 0 0\nv 1 0 0\nv 0 1 0\nv 1 1 0\n"
                         "vn 0 0 1\nvn 0 0 -1\nvt 0 0\nvt 1 1\n"
                         "f 1/1/1 2/1/1 3/1/1\nf 2/1/1 4/2/2 3/1/2\n");
  // Mesh vertices in order of first use: 1, 2, 3, 4 and 3 again with the other normal.
  EXPECT_THAT(mesh.faces, ElementsAre(0, 1, 2, 1, 3, 4));
  ASSERT_EQ(mesh.VertexCount(), 5u);
  EXPECT_THAT(mesh.normals, ElementsAre(0, 0, 1, 0, 0, 1, 0, 0, 1, 0, 0, -1, 0, 0, -1));
  EXPECT_THAT(mesh.uvs, ElementsAre(0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 0, 0, 0, 0));
  EXPECT_DOUBLE_EQ(mesh.vertices[3 * 4 + 1], 1.0);
}

TEST(ObjMesh, NormalsAreDroppedUnlessEveryCornerHasOne) {
  const Mesh mesh = Load("partial", "v 0 0 0\nv 1 0 0\nv 0 1 0\nvn 0 0 1\nf 1//1 2//1 3\n");
  EXPECT_TRUE(mesh.normals.empty());
  EXPECT_THAT(mesh.faces, ElementsAre(0, 1, 2));
}

TEST(ObjMesh, PolygonsOfMoreCornersAreTriangulatedToo) {
  const Mesh mesh = Load("pentagon", "v 0 0 0\nv 2 0 0\nv 3 1 0\nv 1 2 0\nv -1 1 0\nf 1 2 3 4 5\n");
  EXPECT_EQ(mesh.FaceCount(), 3u);
  EXPECT_EQ(mesh.VertexCount(), 5u);
}

TEST(ObjMesh, BadFilesSayWhatIsWrong) {
  EXPECT_THAT(Problem("beyond", "v 0 0 0\nv 1 0 0\nf 1 2 7\n"), HasSubstr("vertex that does not exist"));
  EXPECT_THAT(Problem("zero", "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 0 1 2\n"), HasSubstr("vertex 0"));
  EXPECT_THAT(Problem("normal", "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1//4 2//4 3//4\n"),
              HasSubstr("normal that does not exist"));
  EXPECT_THAT(Problem("faceless", "v 0 0 0\nv 1 0 0\n"), HasSubstr("no triangles"));
  EXPECT_THAT(Problem("lines", "v 0 0 0\nv 1 0 0\nf 1 2\n"), HasSubstr("no triangles"));
  EXPECT_THAT(Problem("gone", ""), HasSubstr("no triangles"));
  EXPECT_THROW(LoadObjMesh("/nonexistent/mesh.obj"), MeshFileError);
}

}  // namespace
}  // namespace lumetra::host
