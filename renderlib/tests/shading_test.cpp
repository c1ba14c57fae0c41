// Lighting, textures, the shading record and ShadePoint, checked pixel by pixel against
// values worked out from the finish definitions.
#include <gtest/gtest.h>

#include <atomic>

#include "renderlib/testing/render_support.h"

namespace lumetra::renderlib::testing {
namespace {

constexpr uint32_t kTraceFlags = L2_SHADE_SHADOWS | L2_SHADE_REFLECTION | L2_SHADE_TRANSMISSION;

// A unit sphere seen head-on from (0, 0, -5) by a 9 x 9 view, a light far behind the eye.
class ShadingScene : public ::testing::Test {
 protected:
  void SetUp() override {
    scene = NewScene();
    view = CreateView(scene);
    ASSERT_EQ(SetViewLocation(scene, view, 0, 0, -5), L2_OK);
    ASSERT_EQ(SetViewInterest(scene, view, 0, 0, 0), L2_OK);
    ASSERT_EQ(SetViewAspect(scene, view, 1), L2_OK);
    ASSERT_EQ(SetViewAngle(scene, view, 40), L2_OK);
    sphere = CreateSphere(scene, 0, 0, 0, 1);
    light = CreateLight(scene);
    ASSERT_EQ(SetLightLocation(scene, light, 0, 0, -1e6), L2_OK);
  }
  void TearDown() override { EXPECT_EQ(FreeScene(scene), L2_OK); }

  // The centre pixel alone.
  std::array<float, 4> centre(uint32_t flags = kTraceFlags, L2RenderEntry* method = Tracer) {
    EXPECT_EQ(SetViewResolution(scene, view, 9, 9), L2_OK);
    Image image(9, 9);
    const L2Rect middle{4, 4, 5, 5};
    EXPECT_EQ(method(scene, view, &middle, flags, nullptr, storePixel, &image), L2_OK);
    const float* c = image.at(4, 4);
    return {c[0], c[1], c[2], c[3]};
  }

  L2Scene scene = 0;
  L2View view = 0;
  L2Primitive sphere = 0;
  L2Light light = 0;
};

// Traced pictures are opaque, background included.
void expectColor(const std::array<float, 4>& actual, double r, double g, double b) {
  EXPECT_NEAR(actual[0], r, 1e-4);
  EXPECT_NEAR(actual[1], g, 1e-4);
  EXPECT_NEAR(actual[2], b, 1e-4);
  EXPECT_EQ(actual[3], 1.0f);
}

TEST_F(ShadingScene, MatteIsAmbientPlusDiffuse) {
  ASSERT_EQ(SetPrimTexture(scene, sphere, CreateMatteTexture(scene, 0.5, 0.25, 1)), L2_OK);
  // ambient 0.1 and diffuse 0.6 of the colour, the light straight on.
  expectColor(centre(), 0.35, 0.175, 0.7);
  ASSERT_EQ(SetAmbientLight(scene, 0, 0, 0), L2_OK);
  ASSERT_EQ(SetLightColor(scene, light, 0.5, 1, 1), L2_OK);
  expectColor(centre(), 0.15, 0.15, 0.6);
}

TEST_F(ShadingScene, DefaultTextureAndBackground) {
  ASSERT_EQ(SetBackgroundColor(scene, 0.2, 0.3, 0.4), L2_OK);
  expectColor(centre(), 0.7, 0.7, 0.7);  // the built-in white matte
  ASSERT_EQ(SetDefaultTexture(scene, CreateMatteTexture(scene, 0, 1, 0)), L2_OK);
  expectColor(centre(), 0, 0.7, 0);
  ASSERT_EQ(TranslatePrim(scene, sphere, 10, 0, 0), L2_OK);
  expectColor(centre(), 0.2, 0.3, 0.4);
}

TEST_F(ShadingScene, LightFadesWithDistance) {
  ASSERT_EQ(SetAmbientLight(scene, 0, 0, 0), L2_OK);
  ASSERT_EQ(SetLightLocation(scene, light, 0, 0, -3), L2_OK);   // 2 from the surface
  ASSERT_EQ(SetLightCoeffs(scene, light, 0.5, 1, 0.5), L2_OK);  // 1 / (2 + 2 + 0.5)
  expectColor(centre(), 0.6 / 4.5, 0.6 / 4.5, 0.6 / 4.5);
  EXPECT_EQ(SetLightCoeffs(scene, light, 0, 0, 0), L2_ERROR_ARGUMENT);
}

TEST_F(ShadingScene, ShadowsOnlyWithTheFlagAndFromCastingObjects) {
  ASSERT_EQ(SetAmbientLight(scene, 0, 0, 0), L2_OK);
  // Light from the front left; a box on the way from the sphere's front point to it.
  ASSERT_EQ(SetLightLocation(scene, light, -1e6, 0, -1e6), L2_OK);
  const L2Primitive blocker = CreateBox(scene, -2.5, -0.5, -3.5, -1.5, 0.5, -2.5);
  const double lit = 0.6 / std::sqrt(2.0);
  expectColor(centre(), 0, 0, 0);
  expectColor(centre(kTraceFlags & ~L2_SHADE_SHADOWS), lit, lit, lit);
  ASSERT_EQ(PrimCastsShadows(scene, blocker, 0), L2_OK);
  expectColor(centre(), lit, lit, lit);
  ASSERT_EQ(PrimCastsShadows(scene, blocker, 1), L2_OK);
  expectColor(centre(kTraceFlags, Render), lit, lit, lit);  // the depth-buffer method casts no shadows
  ASSERT_EQ(SetLightShadowing(scene, light, 0), L2_OK);
  expectColor(centre(), lit, lit, lit);
}

// A 2 x 2 area light of 4 x 4 cells facing the sphere's front point (0, 0, -1) from z = -5, so
// that the shadow ray to each cell crosses z = -3 at half the cell's x and y.
L2Light facingAreaLight(L2Scene scene, int32_t adaptive) {
  const L2Light area = CreateAreaLight(scene);
  EXPECT_EQ(TranslatePrim(scene, area, -0.5, 0, -0.5), L2_OK);
  EXPECT_EQ(ScalePrim(scene, area, 2, 2, 2), L2_OK);
  EXPECT_EQ(RotatePrim(scene, area, 90, 0, 0), L2_OK);
  EXPECT_EQ(TranslatePrim(scene, area, 0, 0, -5), L2_OK);
  EXPECT_EQ(SetAreaLight(scene, area, 4, 4, adaptive, 0), L2_OK);
  return area;
}

TEST_F(ShadingScene, AnAreaLightLightsFromItsCentreDimmedByTheShareOfItThePointSees) {
  ASSERT_EQ(SetAmbientLight(scene, 0, 0, 0), L2_OK);
  ASSERT_EQ(SetLightColor(scene, light, 0, 0, 0), L2_OK);
  const L2Light area = facingAreaLight(scene, 0);
  // Straight on from the centre, whatever the cells' own angles and jitter.
  expectColor(centre(), 0.6, 0.6, 0.6);
  ASSERT_EQ(SetAreaLight(scene, area, 4, 4, 0, 1), L2_OK);
  expectColor(centre(), 0.6, 0.6, 0.6);
  ASSERT_EQ(SetAreaLight(scene, area, 4, 4, 0, 0), L2_OK);
  // A wall hiding the columns left of the middle: the corners disagree, the grid splits down to
  // single cells along the shadow's edge and half the light is seen.
  const L2Primitive wall = CreateBox(scene, -10, -10, -3.01, -0.01, 10, -2.99);
  expectColor(centre(), 0.3, 0.3, 0.3);
  ASSERT_EQ(SetLightShadowing(scene, area, 0), L2_OK);
  expectColor(centre(), 0.6, 0.6, 0.6);
  ASSERT_EQ(SetLightShadowing(scene, area, 1), L2_OK);
  ASSERT_EQ(TranslatePrim(scene, wall, 0, 100, 0), L2_OK);

  // A speck hiding one inner cell: at depth 0 the corners agree and the speck is missed; a
  // depth that reaches every cell sees it.
  CreateBox(scene, -0.175, -0.175, -3.01, -0.075, -0.075, -2.99);
  expectColor(centre(), 0.6, 0.6, 0.6);
  ASSERT_EQ(SetAreaLight(scene, area, 4, 4, 2, 0), L2_OK);
  expectColor(centre(), 0.6 * 15 / 16, 0.6 * 15 / 16, 0.6 * 15 / 16);
}

// User textures: a finish written into the sample.
struct Finish {
  SurfaceSample sample;
  L2ShadingRecord last_record;
  bool relight = false;      // paint with ShadePoint and hand back a pre-lit colour
  bool light_aside = false;  // light itself with shadows as a layered texture would, then paint as usual
  L2Scene scene = 0;
  L2View view = 0;
  int32_t shade_result = 99;
  std::atomic<int> calls{0};
};

void LUMETRA2_CALL paintFinish(L2ShadingRecord* record, SurfaceSample* sample, void* object) {
  auto* finish = static_cast<Finish*>(object);
  ++finish->calls;
  finish->last_record = *record;
  if (finish->light_aside) {
    float lit[4] = {0, 0, 0, 1};
    finish->shade_result = ShadePoint(finish->scene, finish->view, L2_SHADE_SHADOWS | L2_SHADE_BACKSIDES,
                                      record, &finish->sample, lit);
  }
  if (!finish->relight) {
    *sample = finish->sample;
    return;
  }
  float lit[4] = {0, 0, 0, 1};
  finish->shade_result = ShadePoint(finish->scene, finish->view, 0, record, &finish->sample, lit);
  *sample = finish->sample;
  for (int c = 0; c < 4; ++c) sample->color[c] = lit[c];
  sample->emission = 1;
  sample->ambient = 0;
  sample->diffuse = 0;
}

SurfaceSample plainSample() {
  SurfaceSample s{};
  s.color[0] = s.color[1] = s.color[2] = s.color[3] = 1;
  s.highlight_color[0] = s.highlight_color[1] = s.highlight_color[2] = 1;
  s.brilliance = s.phong_size = s.specular_exponent = s.ior = 1;
  return s;
}

TEST_F(ShadingScene, ShadowRaysStopAtAnOpaqueTextureWithoutAskingIt) {
  ASSERT_EQ(SetAmbientLight(scene, 0, 0, 0), L2_OK);
  ASSERT_EQ(SetLightLocation(scene, light, -1e6, 0, -1e6), L2_OK);
  const L2Primitive blocker = CreateBox(scene, -2.5, -0.5, -3.5, -1.5, 0.5, -2.5);
  Finish paint;
  paint.sample = plainSample();
  const L2Texture painted = CreateUserTexture(scene, paintFinish, nullptr, &paint);
  ASSERT_EQ(SetPrimTexture(scene, blocker, painted), L2_OK);
  expectColor(centre(), 0, 0, 0);
  EXPECT_GT(paint.calls, 0);  // the shadow ray asked the blocker

  ASSERT_EQ(SetTextureOpaque(scene, painted, 1), L2_OK);
  paint.calls = 0;
  expectColor(centre(), 0, 0, 0);
  EXPECT_EQ(paint.calls, 0);

  // Withdrawn, the promise no longer hides a blocker that lets half the light through each of
  // its two faces.
  paint.sample.color[3] = 0.5f;
  ASSERT_EQ(SetTextureOpaque(scene, painted, 0), L2_OK);
  const double lit = 0.6 / std::sqrt(2.0) / 4;
  expectColor(centre(), lit, lit, lit);
  EXPECT_GT(paint.calls, 0);

  EXPECT_EQ(SetTextureOpaque(scene, CreateTextureReference(scene, painted), 1), L2_ERROR_HANDLE);
  EXPECT_EQ(SetTextureOpaque(scene, 987654321, 1), L2_ERROR_HANDLE);
  EXPECT_EQ(SetTextureOpaque(987654321, painted, 1), L2_ERROR_HANDLE);
}

TEST_F(ShadingScene, AnAreaLightSeesThroughATexturedCasterOneCellAtATime) {
  ASSERT_EQ(SetAmbientLight(scene, 0, 0, 0), L2_OK);
  ASSERT_EQ(SetLightColor(scene, light, 0, 0, 0), L2_OK);
  facingAreaLight(scene, 0);
  // The wall of the test above, of a texture that may let light through: shadow rays then
  // go one by one through the shading of what they cross; half the light passes all the same.
  const L2Primitive wall = CreateBox(scene, -10, -10, -3.01, -0.01, 10, -2.99);
  Finish finish;
  finish.sample = plainSample();
  ASSERT_EQ(SetPrimTexture(scene, wall, CreateUserTexture(scene, paintFinish, nullptr, &finish)), L2_OK);
  expectColor(centre(), 0.3, 0.3, 0.3);
  EXPECT_GT(finish.calls.load(), 0);
  finish.sample.color[3] = 0.5f;  // half clear: each of the wall's two faces passes half
  const double passed = 0.6 * (0.5 + 0.5 * 0.25);
  expectColor(centre(), passed, passed, passed);
}

TEST_F(ShadingScene, AnAreaLightSampledInsideAnotherLeavesTheOuterAsItWas) {
  ASSERT_EQ(SetAmbientLight(scene, 0, 0, 0), L2_OK);
  ASSERT_EQ(SetLightColor(scene, light, 0, 0, 0), L2_OK);
  facingAreaLight(scene, 0);
  // The point lit is on a polygon facing the eye. A half-clear sheet of two triangles hides
  // the left half of the light, its front towards the light: a shadow ray meets its back,
  // which with L2_SHADE_BACKSIDES is lit from either side, so a texture that lights itself
  // there samples the area light inside the sampling the shadow ray belongs to.
  ASSERT_EQ(TranslatePrim(scene, sphere, 100, 0, 0), L2_OK);
  const int32_t faces[] = {0, 2, 1, 0, 3, 2};
  const double target[] = {-1, -1, -1, 1, -1, -1, 1, 1, -1, -1, 1, -1};
  ASSERT_NE(CreateTriBag(scene, 4, target, nullptr, 2, faces, L2_MESH_COUNTER_CLOCKWISE), 0u);
  const double vertices[] = {-10, -10, -3, -0.01, -10, -3, -0.01, 10, -3, -10, 10, -3};
  const L2Primitive sheet = CreateTriBag(scene, 4, vertices, nullptr, 2, faces, L2_MESH_COUNTER_CLOCKWISE);
  ASSERT_NE(sheet, 0u);
  Finish finish;
  finish.sample = plainSample();
  finish.sample.color[3] = 0.5f;
  ASSERT_EQ(SetPrimTexture(scene, sheet, CreateUserTexture(scene, paintFinish, nullptr, &finish)), L2_OK);
  const uint32_t flags = kTraceFlags | L2_SHADE_BACKSIDES;
  const double passed = 0.6 * (0.5 + 0.5 * 0.5);
  expectColor(centre(flags), passed, passed, passed);
  finish.light_aside = true;
  finish.scene = scene;
  finish.view = view;
  expectColor(centre(flags), passed, passed, passed);
  EXPECT_EQ(finish.shade_result, L2_OK);
}

TEST_F(ShadingScene, MeshesThatCastNoShadowAndSeeThroughCsgPartsLetTheLightPass) {
  ASSERT_EQ(SetAmbientLight(scene, 0, 0, 0), L2_OK);
  ASSERT_EQ(SetLightLocation(scene, light, -1e6, 0, -1e6), L2_OK);
  const double lit = 0.6 / std::sqrt(2.0);
  // A square across the way to the light, at z = -3.
  const double corners[] = {-3, -1, -3, -1, -1, -3, -1, 1, -3, -3, 1, -3};
  const int32_t faces[] = {0, 1, 2, 0, 2, 3};
  const L2Primitive square = CreateTriBag(scene, 4, corners, nullptr, 2, faces, 0);
  for (const uint32_t flags : {kTraceFlags, kTraceFlags & ~L2_SHADE_TRANSMISSION}) {
    ASSERT_EQ(PrimCastsShadows(scene, square, 1), L2_OK);
    expectColor(centre(flags), 0, 0, 0);
    ASSERT_EQ(PrimCastsShadows(scene, square, 0), L2_OK);
    expectColor(centre(flags), lit, lit, lit);
  }

  // A CSG node of plain white whose box part wears a clear texture.
  Finish clear;
  clear.sample = plainSample();
  clear.sample.color[3] = 0;
  const L2Primitive box = CreateBox(scene, -2.5, -0.5, -3.5, -1.5, 0.5, -2.5);
  ASSERT_EQ(SetPrimTexture(scene, box, CreateUserTexture(scene, paintFinish, nullptr, &clear)), L2_OK);
  const L2Primitive far_ball = CreateSphere(scene, 50, 50, 50, 1);
  ASSERT_NE(CreateCSG(scene, L2_CSG_UNION, CreateCSGPrim(scene, box), CreateCSGPrim(scene, far_ball)), 0u);
  expectColor(centre(), lit, lit, lit);
  expectColor(centre(kTraceFlags & ~L2_SHADE_TRANSMISSION), 0, 0, 0);
}

TEST_F(ShadingScene, HighlightsEmissionAndAmbientColour) {
  Finish finish;
  finish.sample = plainSample();
  finish.sample.color[0] = 0.5f;
  finish.sample.diffuse = 0.2f;
  finish.sample.phong = 0.25f;
  finish.sample.phong_size = 40;
  finish.sample.specular = 0.125f;
  finish.sample.specular_exponent = 60;
  finish.sample.highlight_color[2] = 0.5f;
  finish.sample.ambient_color[1] = 0.3f;
  finish.sample.flags = L2_SAMPLE_AMBIENT_COLOR;
  ASSERT_EQ(SetPrimTexture(scene, sphere, CreateUserTexture(scene, paintFinish, nullptr, &finish)), L2_OK);
  // Straight on, both highlights are at their peak: diffuse 0.2 c + (0.25 + 0.125) h + ambient colour.
  expectColor(centre(), 0.1 + 0.375, 0.2 + 0.375 + 0.3, 0.2 + 0.1875);
  finish.sample.metallic = 1;  // highlights take the surface colour
  expectColor(centre(), 0.1 + 0.1875, 0.2 + 0.375 + 0.3, 0.2 + 0.1875);
  finish.sample = plainSample();
  finish.sample.diffuse = 0;
  finish.sample.ambient = 0;
  finish.sample.emission = 0.5f;
  expectColor(centre(), 0.5, 0.5, 0.5);
}

TEST_F(ShadingScene, RecordDescribesThePointInTextureSpace) {
  Finish finish;
  finish.sample = plainSample();
  const L2Texture user = CreateUserTexture(scene, paintFinish, nullptr, &finish);
  const L2Texture reference = CreateTextureReference(scene, user);
  ASSERT_EQ(TranslateTexture(scene, reference, 0, 0, 3), L2_OK);
  ASSERT_EQ(ScalePrim(scene, sphere, 2, 2, 2), L2_OK);
  ASSERT_EQ(TranslatePrim(scene, sphere, 0, 1, 0), L2_OK);
  ASSERT_EQ(SetPrimTexture(scene, sphere, reference), L2_OK);
  centre(0);
  const L2ShadingRecord& r = finish.last_record;
  // World hit (0, 0, -sqrt(3)) on the sphere of radius 2 about (0, 1, 0).
  const double z = -std::sqrt(3.0);
  EXPECT_NEAR(r.world_point[2], z, 1e-9);
  EXPECT_NEAR(r.ray_distance, 5 + z, 1e-9);
  // Back through the primitive (0, -1, z) / 2, then through the reference: z - 3.
  EXPECT_NEAR(r.point[0], 0, 1e-9);
  EXPECT_NEAR(r.point[1], -0.5, 1e-9);
  EXPECT_NEAR(r.point[2], z / 2 - 3, 1e-9);
  EXPECT_NEAR(r.normal[1], -0.5, 1e-9);
  EXPECT_NEAR(r.normal[2], z / 2, 1e-9);
  EXPECT_NEAR(r.ray_direction[2], 1, 1e-12);
  EXPECT_EQ(r.depth, 0);
  EXPECT_EQ(r.weight, 1);
  EXPECT_NEAR(r.v, 0.5 - 1.0 / 6, 1e-9);  // latitude -30 degrees on the unit sphere

  // A texture vouched for as never reading u and v is spared them; references share the promise.
  ASSERT_EQ(SetTextureReadsUV(scene, user, 0), L2_OK);
  centre(0);
  EXPECT_EQ(finish.last_record.u, 0);
  EXPECT_EQ(finish.last_record.v, 0);
  EXPECT_NEAR(finish.last_record.point[1], -0.5, 1e-9);
  ASSERT_EQ(SetTextureReadsUV(scene, user, 1), L2_OK);
  centre(0);
  EXPECT_NEAR(finish.last_record.v, 0.5 - 1.0 / 6, 1e-9);
  EXPECT_EQ(SetTextureReadsUV(scene, reference, 0), L2_ERROR_HANDLE);
  EXPECT_EQ(SetTextureReadsUV(scene, 987654321, 0), L2_ERROR_HANDLE);
}

TEST_F(ShadingScene, ShadePointLightsPreLitLayers) {
  Finish finish;
  finish.sample = plainSample();
  finish.sample.color[1] = 0.5f;
  finish.sample.ambient = 0.1f;
  finish.sample.diffuse = 0.6f;
  finish.relight = true;
  finish.scene = scene;
  finish.view = view;
  ASSERT_EQ(SetPrimTexture(scene, sphere, CreateUserTexture(scene, paintFinish, nullptr, &finish)), L2_OK);
  expectColor(centre(), 0.7, 0.35, 0.7);
  EXPECT_EQ(finish.shade_result, L2_OK);
  // Another scene's handle and calls outside an evaluation are refused.
  const L2Scene other = NewScene();
  finish.scene = other;
  centre();
  EXPECT_EQ(finish.shade_result, L2_ERROR_STATE);
  float color[4] = {9, 9, 9, 9};
  EXPECT_EQ(ShadePoint(scene, view, 0, &finish.last_record, &finish.sample, color), L2_ERROR_STATE);
  EXPECT_EQ(color[0], 9);
  EXPECT_EQ(FreeScene(other), L2_OK);
}

TEST_F(ShadingScene, ClearSurfaceWithUnitIndexShowsWhatIsBehind) {
  ASSERT_EQ(SetBackgroundColor(scene, 0.25, 0.5, 1), L2_OK);
  Finish finish;
  finish.sample = plainSample();
  finish.sample.color[3] = 0;  // all filtered, by white
  finish.sample.ambient = 0.1f;
  finish.sample.diffuse = 0.6f;
  ASSERT_EQ(SetPrimTexture(scene, sphere, CreateUserTexture(scene, paintFinish, nullptr, &finish)), L2_OK);
  // In at the front, out at the back, on to the background; the surface's alpha stays.
  expectColor(centre(), 0.25, 0.5, 1);
  // Without the transmission flag the surface is opaque.
  expectColor(centre(L2_SHADE_SHADOWS), 0.7, 0.7, 0.7);
  // Transmitted light through a red filter, no filter share.
  finish.sample.color[3] = 1;
  finish.sample.flags = L2_SAMPLE_TRANSMISSION;
  finish.sample.transmission = 1;
  finish.sample.transmitted_color[0] = 1;
  expectColor(centre(), 0.25, 0, 0);
}

TEST_F(ShadingScene, ScannerSeesThroughAsManyLayersAsItsDepth) {
  ASSERT_EQ(SetBackgroundColor(scene, 0.25, 0.5, 1), L2_OK);
  Finish finish;
  finish.sample = plainSample();
  finish.sample.color[3] = 0;
  finish.sample.ior = 1.5f;
  ASSERT_EQ(SetPrimTexture(scene, sphere, CreateUserTexture(scene, paintFinish, nullptr, &finish)), L2_OK);
  const L2Primitive wall = CreateDisc(scene, 0, 0, 3, 0, 0, -1, 0, 0.2);
  ASSERT_EQ(SetPrimTexture(scene, wall, CreateMatteTexture(scene, 1, 0, 0)), L2_OK);
  ASSERT_EQ(SetViewScanlineDepth(scene, view, 1), L2_OK);
  expectColor(centre(0, Scanner), 0, 0, 0);  // the back of the sphere stops the ray
  ASSERT_EQ(SetViewScanlineDepth(scene, view, 2), L2_OK);
  expectColor(centre(0, Scanner), 0.7, 0, 0);  // the wall behind, lit without shadows
}

TEST_F(ShadingScene, MirrorSeesTheLitWallBehindTheEye) {
  ASSERT_EQ(SetAmbientLight(scene, 0, 0, 0), L2_OK);
  ASSERT_EQ(SetLightLocation(scene, light, 0, 0, -10), L2_OK);  // between the eye and the wall
  const L2Primitive wall = CreateDisc(scene, 0, 0, -20, 0, 0, 1, 0, 100);
  ASSERT_EQ(SetPrimTexture(scene, wall, CreateMatteTexture(scene, 1, 0.5, 0)), L2_OK);
  Finish finish;
  finish.sample = plainSample();
  finish.sample.diffuse = 0;
  finish.sample.flags = L2_SAMPLE_REFLECTION;
  finish.sample.reflection_color[0] = finish.sample.reflection_color[1] = finish.sample.reflection_color[2] =
      0.5f;
  ASSERT_EQ(SetPrimTexture(scene, sphere, CreateUserTexture(scene, paintFinish, nullptr, &finish)), L2_OK);
  // The wall is lit straight on (0.6 of its colour) and seen at half strength.
  expectColor(centre(), 0.3, 0.15, 0);
  expectColor(centre(L2_SHADE_SHADOWS), 0, 0, 0);
  expectColor(centre(kTraceFlags, Render), 0, 0, 0);
  expectColor(centre(kTraceFlags, Scanner), 0, 0, 0);
  ASSERT_EQ(SetMaxTracingDepth(scene, 0), L2_OK);
  expectColor(centre(), 0, 0, 0);
}

TEST_F(ShadingScene, PolygonBacksFollowTheShadingFlags) {
  ASSERT_EQ(TranslatePrim(scene, sphere, 100, 0, 0), L2_OK);
  // A triangle whose front faces +z, away from the eye.
  const double vertices[] = {-1, -1, 0, 1, -1, 0, 0, 1, 0};
  const int32_t face[] = {0, 1, 2};
  ASSERT_NE(CreateTriBag(scene, 3, vertices, nullptr, 1, face, L2_MESH_COUNTER_CLOCKWISE), 0u);
  expectColor(centre(L2_SHADE_FLIP_NORMALS, Render), 0.7, 0.7, 0.7);
  expectColor(centre(L2_SHADE_BACKSIDES, Render), 0.7, 0.7, 0.7);
  expectColor(centre(0, Render), 0.1, 0.1, 0.1);  // an unlit back: ambient only
  expectColor(centre(L2_SHADE_CULL_BACKFACES | L2_SHADE_FLIP_NORMALS, Render), 0, 0, 0);
  // Seen from its front it is lit whatever the flags.
  ASSERT_EQ(SetViewLocation(scene, view, 0, 0, 5), L2_OK);
  ASSERT_EQ(SetLightLocation(scene, light, 0, 0, 1e6), L2_OK);
  expectColor(centre(L2_SHADE_CULL_BACKFACES, Render), 0.7, 0.7, 0.7);
}

// A uniform medium.
struct Medium {
  float emission = 0, scattering = 0, absorption = 0;
  std::atomic<int> samples{0};
};

void LUMETRA2_CALL uniformMedium(const L2ShadingRecord*, float density[3], float emission[4],
                                 float scattering[4], float absorption[4], void* object) {
  auto* medium = static_cast<Medium*>(object);
  ++medium->samples;
  for (int c = 0; c < 3; ++c) {
    density[c] = 1;
    emission[c] = medium->emission;
    scattering[c] = medium->scattering;
    absorption[c] = medium->absorption;
  }
}

constexpr uint32_t kWithVolumes = kTraceFlags | L2_SHADE_VOLUMES;

TEST_F(ShadingScene, GlobalMediaDimAndGlow) {
  Medium medium;
  const L2Volume fog = CreateVolume(scene, uniformMedium, nullptr, &medium);
  ASSERT_NE(fog, 0u);
  ASSERT_EQ(AddGlobalVolume(scene, fog), L2_OK);
  ASSERT_EQ(SetVolumeAmbientFlag(scene, fog, 0), L2_OK);
  medium.absorption = 0.25f;  // over the 4 units to the sphere: e^-1
  expectColor(centre(kWithVolumes), 0.7 / std::exp(1.0), 0.7 / std::exp(1.0), 0.7 / std::exp(1.0));
  expectColor(centre(kTraceFlags), 0.7, 0.7, 0.7);  // volumes only with their flag
  // An attenuated light 2 units from the surface loses e^-0.5 of its light on the way.
  ASSERT_EQ(SetLightLocation(scene, light, 0, 0, -3), L2_OK);
  ASSERT_EQ(SetLightAttenuated(scene, light, 1), L2_OK);
  const double dimmed = (0.1 + 0.6 * std::exp(-0.5)) / std::exp(1.0);
  expectColor(centre(kWithVolumes), dimmed, dimmed, dimmed);
  ASSERT_EQ(SetLightAttenuated(scene, light, 0), L2_OK);
  medium.absorption = 0;
  medium.emission = 0.05f;
  ASSERT_EQ(SetVolumeAmbientFlag(scene, fog, 1), L2_OK);
  ASSERT_EQ(SetVolumeStepResolution(scene, fog, 0.5), L2_OK);
  medium.samples = 0;
  expectColor(centre(kWithVolumes), 0.9, 0.9, 0.9);  // 0.7 + 4 x 0.05
  EXPECT_EQ(medium.samples.load(), 8);
}

TEST_F(ShadingScene, VolumetricLightsScatterInMedia) {
  ASSERT_EQ(TranslatePrim(scene, sphere, 100, 0, 0), L2_OK);  // the ray runs on unhindered
  Medium medium;
  medium.scattering = 0.02f;
  const L2Volume haze = CreateVolume(scene, uniformMedium, nullptr, &medium);
  ASSERT_EQ(AddGlobalVolume(scene, haze), L2_OK);
  ASSERT_EQ(SetVolumeAmbientFlag(scene, haze, 0), L2_OK);
  ASSERT_EQ(SetVolumeOpacityFlag(scene, haze, 0), L2_OK);
  ASSERT_EQ(SetVolumeDiffuseFlag(scene, haze, 1), L2_OK);
  ASSERT_EQ(SetViewVolumeResolution(scene, view, 0.5), L2_OK);
  ASSERT_EQ(SetViewVolumeSteps(scene, view, 1, 10), L2_OK);  // 5 units of haze
  expectColor(centre(kWithVolumes), 0, 0, 0);                // the light does not scatter yet
  ASSERT_EQ(SetLightVolumetric(scene, light, 1), L2_OK);
  expectColor(centre(kWithVolumes), 0.1, 0.1, 0.1);
}

TEST_F(ShadingScene, TextureVolumesFillTheirPrimitives) {
  ASSERT_EQ(SetBackgroundColor(scene, 0.25, 0.5, 0.5), L2_OK);
  Finish finish;
  finish.sample = plainSample();
  finish.sample.color[3] = 0;  // clear, so the ray passes through the inside
  const L2Texture clear = CreateUserTexture(scene, paintFinish, nullptr, &finish);
  ASSERT_EQ(SetPrimTexture(scene, sphere, clear), L2_OK);
  Medium medium;
  medium.emission = 0.1f;
  const L2Volume glow = CreateVolume(scene, uniformMedium, nullptr, &medium);
  ASSERT_EQ(AddTextureVolume(scene, clear, glow), L2_OK);
  ASSERT_EQ(SetVolumeOpacityFlag(scene, glow, 0), L2_OK);
  EXPECT_EQ(AddTextureVolume(scene, 987654321, glow), L2_ERROR_HANDLE);
  EXPECT_EQ(AddGlobalVolume(scene, clear), L2_ERROR_HANDLE);
  // Two units inside the unit sphere glow 0.2 over the background.
  expectColor(centre(kWithVolumes), 0.45, 0.7, 0.7);

  // Objects wear references to a material's texture; its volumes fill them too.
  const L2Texture worn = CreateTextureReference(scene, clear);
  ASSERT_EQ(SetPrimTexture(scene, sphere, worn), L2_OK);
  expectColor(centre(kWithVolumes), 0.45, 0.7, 0.7);
}

}  // namespace
}  // namespace lumetra::renderlib::testing
