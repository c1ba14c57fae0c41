// Handles, names, settings, argument checks and transforms through the public entries.
#include <gtest/gtest.h>

#include <cmath>

#include "lumetra2.h"

namespace {

class SceneApi : public ::testing::Test {
 protected:
  void SetUp() override {
    scene = NewScene();
    ASSERT_NE(scene, 0u);
  }
  void TearDown() override { EXPECT_EQ(FreeScene(scene), L2_OK); }

  void expectLocation(L2Primitive prim, double x, double y, double z) {
    double at[3];
    ASSERT_EQ(GetPrimLocation(scene, prim, at), L2_OK);
    EXPECT_NEAR(at[0], x, 1e-12);
    EXPECT_NEAR(at[1], y, 1e-12);
    EXPECT_NEAR(at[2], z, 1e-12);
  }

  L2Scene scene = 0;
};

TEST(SceneLifetime, FreedScenesAndForeignHandlesAreRefused) {
  const L2Scene first = NewScene(), second = NewScene();
  ASSERT_NE(first, second);
  const L2Primitive sphere = CreateSphere(first, 0, 0, 0, 1);
  ASSERT_NE(sphere, 0u);
  EXPECT_EQ(ScalePrim(second, sphere, 2, 2, 2), L2_ERROR_HANDLE);
  EXPECT_EQ(SetPrimTexture(second, sphere, 0), L2_ERROR_HANDLE);
  EXPECT_EQ(FreeScene(first), L2_OK);
  EXPECT_EQ(FreeScene(first), L2_ERROR_HANDLE);
  EXPECT_EQ(ScalePrim(first, sphere, 2, 2, 2), L2_ERROR_HANDLE);
  EXPECT_EQ(CreateSphere(first, 0, 0, 0, 1), 0u);
  EXPECT_EQ(FreeScene(second), L2_OK);
}

TEST_F(SceneApi, NamesKeepTheLaterValue) {
  EXPECT_EQ(GetNameValue(scene, "ball"), 0u);
  EXPECT_EQ(SetNameValue(scene, "ball", 7), L2_OK);
  EXPECT_EQ(SetNameValue(scene, "ball", 9), L2_OK);
  EXPECT_EQ(SetNameValue(scene, "cube", 3), L2_OK);
  EXPECT_EQ(GetNameValue(scene, "ball"), 9u);
  EXPECT_EQ(GetNameValue(scene, "cube"), 3u);
  EXPECT_EQ(SetNameValue(scene, nullptr, 1), L2_ERROR_ARGUMENT);
  EXPECT_EQ(GetNameValue(scene, nullptr), 0u);
}

TEST_F(SceneApi, HandlesOfTheWrongKindAreRefused) {
  const L2Primitive sphere = CreateSphere(scene, 0, 0, 0, 1);
  const L2Light light = CreateLight(scene);
  const L2Texture matte = CreateMatteTexture(scene, 1, 0, 0);
  const L2View view = CreateView(scene);
  EXPECT_EQ(SetConeRadii(scene, sphere, 1, 2), L2_ERROR_HANDLE);
  EXPECT_EQ(SetLightColor(scene, sphere, 1, 1, 1), L2_ERROR_HANDLE);
  EXPECT_EQ(SetPrimTexture(scene, sphere, light), L2_ERROR_HANDLE);
  EXPECT_EQ(SetViewAngle(scene, matte, 30), L2_ERROR_HANDLE);
  EXPECT_EQ(ScalePrim(scene, matte, 2, 2, 2), L2_ERROR_HANDLE);
  EXPECT_EQ(ScaleTexture(scene, sphere, 2, 2, 2), L2_ERROR_HANDLE);
  EXPECT_EQ(SetSpotLightCoeffs(scene, light, 0, 0, 1, 0, 10, 20), L2_ERROR_HANDLE);  // not a spot light
  EXPECT_EQ(SmoothTriBag(scene, sphere, 30), L2_ERROR_HANDLE);
  // Lights take the transform entries and the shadow flag like primitives.
  EXPECT_EQ(TranslatePrim(scene, light, 1, 2, 3), L2_OK);
  EXPECT_EQ(PrimCastsShadows(scene, light, 0), L2_OK);
  EXPECT_EQ(SetViewAngle(scene, view, 30), L2_OK);
  EXPECT_EQ(SetPrimTexture(scene, sphere, matte), L2_OK);
  EXPECT_EQ(GetPrimTexture(scene, sphere), matte);
}

TEST_F(SceneApi, BadArgumentsChangeNothing) {
  EXPECT_EQ(CreateSphere(scene, 0, 0, 0, 0), 0u);
  EXPECT_EQ(CreateSphere(scene, 0, NAN, 0, 1), 0u);
  EXPECT_EQ(CreateBox(scene, 0, 0, 0, 1, 0, 1), 0u);
  EXPECT_EQ(CreateCylinder(scene, 0, 0, 0, 0, 0, 0, 1), 0u);
  EXPECT_EQ(CreateTorus(scene, 0, 0, 0, 0, 0, 0, 2, 1), 0u);
  EXPECT_EQ(CreateDisc(scene, 0, 0, 0, 0, 1, 0, 2, 1), 0u);
  EXPECT_EQ(CreateSuperQ(scene, 0, 1), 0u);
  const L2Primitive superquadric = CreateSuperQ(scene, 0.5, 2);
  ASSERT_NE(superquadric, 0u);
  EXPECT_EQ(SetSuperQPowers(scene, superquadric, 1, -1), L2_ERROR_ARGUMENT);
  EXPECT_EQ(SetSuperQPowers(scene, superquadric, 1, 1), L2_OK);
  const L2Primitive blob = CreateBlob(scene);
  ASSERT_NE(blob, 0u);
  EXPECT_EQ(SetBlobThreshold(scene, blob, 0), L2_ERROR_ARGUMENT);
  EXPECT_EQ(AddBlobSphereComponent(scene, blob, 0, 0, 0, -1, 1), L2_ERROR_ARGUMENT);
  EXPECT_EQ(AddBlobCylinderComponent(scene, blob, 1, 1, 1, 1, 1, 1, 1, 1), L2_ERROR_ARGUMENT);
  EXPECT_EQ(SetBlobSolver(scene, blob, 3), L2_ERROR_ARGUMENT);
  EXPECT_EQ(SetBlobSolver(scene, superquadric, 1), L2_ERROR_HANDLE);
  const L2Primitive cone = CreateCone(scene, 0, 0, 0, 1, 0, 1, 0, 0);
  ASSERT_NE(cone, 0u);
  EXPECT_EQ(SetConeRadii(scene, cone, -1, 1), L2_ERROR_ARGUMENT);
  EXPECT_EQ(SetConeEndcaps(scene, cone, 2), L2_ERROR_ARGUMENT);
  EXPECT_EQ(TranslatePrim(scene, cone, 1, 0, 0), L2_OK);
  EXPECT_EQ(ScalePrim(scene, cone, 0, 1, 1), L2_ERROR_ARGUMENT);
  expectLocation(cone, 1, 0, 0);
  const L2View view = CreateView(scene);
  EXPECT_EQ(SetViewAngle(scene, view, 180), L2_ERROR_ARGUMENT);
  EXPECT_EQ(SetViewAspect(scene, view, 0), L2_ERROR_ARGUMENT);
  EXPECT_EQ(SetViewResolution(scene, view, 0, 10), L2_ERROR_ARGUMENT);
  EXPECT_EQ(SetMaxTracingDepth(scene, -1), L2_ERROR_ARGUMENT);
  EXPECT_EQ(SetRayEpsilon(scene, 0), L2_ERROR_ARGUMENT);
  EXPECT_EQ(SetBackgroundColor(scene, -1, 0, 0), L2_ERROR_ARGUMENT);
  double background[3] = {5, 5, 5};
  EXPECT_EQ(SetBackgroundColor(scene, 0.25, 0.5, 0.75), L2_OK);
  EXPECT_EQ(GetBackgroundColor(scene, background), L2_OK);
  EXPECT_EQ(background[0], 0.25);
  EXPECT_EQ(background[2], 0.75);
  EXPECT_EQ(GetBackgroundColor(scene, nullptr), L2_ERROR_ARGUMENT);
}

TEST_F(SceneApi, TransformsApplyInCallOrder) {
  const L2Primitive a = CreateSphere(scene, 0, 0, 0, 1);
  ASSERT_EQ(ScalePrim(scene, a, 2, 2, 2), L2_OK);
  ASSERT_EQ(TranslatePrim(scene, a, 1, 0, 0), L2_OK);
  expectLocation(a, 1, 0, 0);
  const L2Primitive b = CreateSphere(scene, 0, 0, 0, 1);
  ASSERT_EQ(TranslatePrim(scene, b, 1, 0, 0), L2_OK);
  ASSERT_EQ(ScalePrim(scene, b, 2, 3, 4), L2_OK);
  expectLocation(b, 2, 0, 0);
  // About x first: (0, 1, 0) -> (0, 0, 1); then about y: -> (1, 0, 0); then z: -> (0, 1, 0).
  const L2Primitive c = CreateSphere(scene, 0, 0, 0, 1);
  ASSERT_EQ(TranslatePrim(scene, c, 0, 1, 0), L2_OK);
  ASSERT_EQ(RotatePrim(scene, c, 90, 90, 0), L2_OK);
  expectLocation(c, 1, 0, 0);
  ASSERT_EQ(RotatePrim(scene, c, 0, 0, 90), L2_OK);
  expectLocation(c, 0, 1, 0);

  const L2Primitive clone = CreateClone(scene, c);
  ASSERT_NE(clone, 0u);
  expectLocation(clone, 0, 1, 0);
  ASSERT_EQ(RemovePrimTransform(scene, c), L2_OK);
  expectLocation(c, 0, 0, 0);
  expectLocation(clone, 0, 1, 0);
  ASSERT_EQ(AlignTransforms(scene, b, clone), L2_OK);
  expectLocation(clone, 2, 0, 0);
  EXPECT_EQ(GetPrimLocation(scene, c, nullptr), L2_ERROR_ARGUMENT);
}

struct Releases {
  int count = 0;
};

void LUMETRA2_CALL paintNothing(L2ShadingRecord*, SurfaceSample*, void*) {}
void LUMETRA2_CALL countRelease(void* object) { ++static_cast<Releases*>(object)->count; }

TEST(SceneTextures, FreeSceneReleasesEveryUserTextureOnce) {
  Releases releases;
  const L2Scene scene = NewScene();
  const L2Texture first = CreateUserTexture(scene, paintNothing, countRelease, &releases);
  ASSERT_NE(first, 0u);
  ASSERT_NE(CreateUserTexture(scene, paintNothing, countRelease, &releases), 0u);
  ASSERT_NE(CreateTextureReference(scene, first), 0u);
  ASSERT_NE(CreateMatteTexture(scene, 1, 1, 1), 0u);
  EXPECT_EQ(CreateUserTexture(scene, nullptr, countRelease, &releases), 0u);
  EXPECT_EQ(CreateTextureReference(scene, 12345678), 0u);
  EXPECT_EQ(releases.count, 0);
  ASSERT_EQ(FreeScene(scene), L2_OK);
  EXPECT_EQ(releases.count, 2);
}

TEST_F(SceneApi, MeshesRefuseBadIndicesAndHalfPairs) {
  const double vertices[] = {0, 0, 0, 1, 0, 0, 0, 1, 0};
  const int32_t good[] = {0, 1, 2};
  const int32_t outside[] = {0, 1, 3};
  const int32_t negative[] = {0, -1, 2};
  EXPECT_NE(CreateTriBag(scene, 3, vertices, nullptr, 1, good, 0), 0u);
  EXPECT_EQ(CreateTriBag(scene, 3, vertices, nullptr, 1, outside, 0), 0u);
  EXPECT_EQ(CreateTriBag(scene, 3, vertices, nullptr, 1, negative, 0), 0u);
  EXPECT_EQ(CreateTriBag(scene, 3, vertices, nullptr, 0, good, 0), 0u);
  const double normals[] = {0, 0, 1};
  const int32_t normal_faces[] = {0, 0, 0};
  EXPECT_NE(CreateTriBag3(scene, 3, vertices, 1, normals, 0, nullptr, 1, good, normal_faces, nullptr, 0), 0u);
  EXPECT_EQ(CreateTriBag3(scene, 3, vertices, 1, normals, 0, nullptr, 1, good, nullptr, nullptr, 0), 0u);
  EXPECT_EQ(CreateTriBag3(scene, 3, vertices, 1, normals, 0, nullptr, 1, good, good, nullptr, 0), 0u);
}

}  // namespace
