// Whole renders: golden images per method and feature, thread-count independence, regions,
// and stopping through the callbacks.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdlib>
#include <mutex>
#include <numbers>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "renderlib/testing/render_support.h"
#include "tile_threads.h"

namespace lumetra::renderlib::testing {
namespace {

constexpr uint32_t kTraceFlags =
    L2_SHADE_SMOOTH | L2_SHADE_FLIP_NORMALS | L2_SHADE_SHADOWS | L2_SHADE_REFLECTION | L2_SHADE_TRANSMISSION;

struct Finish {
  float color[3];
  float reflection;
  float filter;
  float ior;
};

// A two-colour checker on the texture-space x-z plane, with an optional finish.
void LUMETRA2_CALL checker(L2ShadingRecord* record, SurfaceSample* sample, void*) {
  const bool odd = (int(std::floor(record->point[0])) + int(std::floor(record->point[2]))) & 1;
  sample->color[0] = odd ? 0.9f : 0.1f;
  sample->color[1] = odd ? 0.9f : 0.2f;
  sample->color[2] = odd ? 0.8f : 0.5f;
}

void LUMETRA2_CALL shiny(L2ShadingRecord*, SurfaceSample* sample, void* object) {
  const auto* finish = static_cast<const Finish*>(object);
  for (int c = 0; c < 3; ++c) {
    sample->color[c] = finish->color[c];
    sample->reflection_color[c] = finish->reflection;
  }
  sample->color[3] = 1 - finish->filter;
  sample->ior = finish->ior;
  sample->phong = 0.6f;
  sample->phong_size = 60;
  sample->flags = L2_SAMPLE_REFLECTION;
}

const Finish kMirror{{0.2f, 0.2f, 0.25f}, 0.6f, 0, 1};
const Finish kRed{{0.9f, 0.15f, 0.1f}, 0.1f, 0, 1};
const Finish kGlass{{0.95f, 1, 0.95f}, 0.1f, 0.9f, 1.5f};

class Scenes : public ::testing::Test {
 protected:
  void SetUp() override {
    scene = NewScene();
    view = CreateView(scene);
    ASSERT_EQ(SetViewLocation(scene, view, 0, 3, -8), L2_OK);
    ASSERT_EQ(SetViewInterest(scene, view, 0, 0.5, 0), L2_OK);
    ASSERT_EQ(SetViewAngle(scene, view, 40), L2_OK);
    ASSERT_EQ(SetBackgroundColor(scene, 0.3, 0.4, 0.6), L2_OK);
    floor_texture = CreateUserTexture(scene, checker, nullptr, nullptr);
    const L2Primitive floor = CreateDisc(scene, 0, 0, 0, 0, 1, 0, 0, 1000);
    ASSERT_EQ(SetPrimTexture(scene, floor, floor_texture), L2_OK);
  }
  void TearDown() override { EXPECT_EQ(FreeScene(scene), L2_OK); }

  L2Primitive textured(L2Primitive prim, const Finish& finish) {
    EXPECT_NE(prim, 0u);
    EXPECT_EQ(
        SetPrimTexture(scene, prim, CreateUserTexture(scene, shiny, nullptr, const_cast<Finish*>(&finish))),
        L2_OK);
    return prim;
  }

  void addSpheres() {
    textured(CreateSphere(scene, -1.6, 1, 0, 1), kMirror);
    textured(CreateSphere(scene, 0.9, 0.7, -0.6, 0.7), kRed);
    textured(CreateSphere(scene, 0.4, 0.6, -2.4, 0.6), kGlass);
    const L2Light light = CreateLight(scene);
    ASSERT_EQ(SetLightLocation(scene, light, -5, 8, -6), L2_OK);
  }

  void addQuadrics() {
    textured(CreateBox(scene, -3.2, 0, -0.5, -2.2, 1, 0.5), kRed);
    const L2Primitive cylinder = textured(CreateCylinder(scene, -1.3, 0, 0, -1.3, 1.4, 0, 0.45), kRed);
    ASSERT_EQ(RotatePrim(scene, cylinder, 0, 0, -15), L2_OK);
    textured(CreateCone(scene, 0, 0, 0, 0.6, 0, 1.5, 0, 0.1), kMirror);
    const L2Primitive torus = textured(CreateTorus(scene, 1.5, 0.5, 0, 0, 0, 1, 0.6, 0.2), kRed);
    ASSERT_EQ(SetTorusSolver(scene, torus, L2_SOLVER_STURM), L2_OK);
    const L2Primitive ring = textured(CreateDisc(scene, 3, 0.8, 0, -1, 0, -1, 0.2, 0.7), kMirror);
    ASSERT_EQ(ScalePrim(scene, ring, 1, 1.2, 1), L2_OK);
    const L2Light spot = CreateSpotLight(scene);
    ASSERT_EQ(SetLightLocation(scene, spot, 0, 8, -4), L2_OK);
    ASSERT_EQ(SetSpotLightCoeffs(scene, spot, 0, -8, 4, 1, 20, 30), L2_OK);
    const L2Light area = CreateAreaLight(scene);
    ASSERT_EQ(ScalePrim(scene, area, 2, 1, 2), L2_OK);
    ASSERT_EQ(TranslatePrim(scene, area, 4, 6, -4), L2_OK);
    ASSERT_EQ(SetAreaLight(scene, area, 4, 4, 0, 1), L2_OK);
    ASSERT_EQ(SetLightColor(scene, area, 0.5, 0.5, 0.5), L2_OK);
  }

  // An octahedron, smoothed, and a flat-shaded copy beside it.
  void addMesh() {
    const double vertices[] = {1, 0, 0, -1, 0, 0, 0, 1, 0, 0, -1, 0, 0, 0, 1, 0, 0, -1};
    const int32_t faces[] = {0, 2, 4, 2, 1, 4, 1, 3, 4, 3, 0, 4, 2, 0, 5, 1, 2, 5, 3, 1, 5, 0, 3, 5};
    const L2Primitive smooth =
        textured(CreateTriBag(scene, 6, vertices, nullptr, 8, faces, L2_MESH_COUNTER_CLOCKWISE), kRed);
    ASSERT_EQ(SmoothTriBag(scene, smooth, 120), L2_OK);
    ASSERT_EQ(TranslatePrim(scene, smooth, -1.2, 1, 0), L2_OK);
    const L2Primitive flat = CreateClone(scene, smooth);
    ASSERT_EQ(SetPrimTexture(scene, flat, 0), L2_OK);
    ASSERT_EQ(RemovePrimTransform(scene, flat), L2_OK);
    const float fvertices[] = {1, 0, 0, -1, 0, 0, 0, 1, 0, 0, -1, 0, 0, 0, 1, 0, 0, -1};
    const L2Primitive single = textured(CreateTriBag2F(scene, 6, fvertices, nullptr, 8, faces, 0), kMirror);
    ASSERT_EQ(ScalePrim(scene, single, 0.8, 0.8, 0.8), L2_OK);
    ASSERT_EQ(RotatePrim(scene, single, 0, 30, 0), L2_OK);
    ASSERT_EQ(TranslatePrim(scene, single, 1.4, 0.8, 0), L2_OK);
    const L2Light light = CreateLight(scene);
    ASSERT_EQ(SetLightLocation(scene, light, -5, 8, -6), L2_OK);
  }

  // Box minus sphere with each part in its own texture, a lens, a merge, and a triangle mesh
  // cut by a box.
  void addCsg() {
    const L2Primitive box = textured(CreateBox(scene, -1, 0, -1, 1, 2, 1), kRed);
    const L2Primitive ball = textured(CreateSphere(scene, 0, 0, 0, 1.3), kMirror);
    ASSERT_EQ(TranslatePrim(scene, ball, 0, 2, -1), L2_OK);
    const L2Primitive dice =
        CreateCSG(scene, L2_CSG_DIFFERENCE, CreateCSGPrim(scene, box), CreateCSGPrim(scene, ball));
    ASSERT_NE(dice, 0u);
    ASSERT_EQ(RotatePrim(scene, dice, 0, 30, 0), L2_OK);
    ASSERT_EQ(TranslatePrim(scene, dice, -2, 0, 1), L2_OK);

    const L2Primitive lens =
        CreateCSG(scene, L2_CSG_INTERSECTION, CreateCSGPrim(scene, CreateSphere(scene, -0.5, 0, 0, 1)),
                  CreateCSGPrim(scene, CreateSphere(scene, 0.5, 0, 0, 1)));
    textured(lens, kGlass);
    ASSERT_EQ(TranslatePrim(scene, lens, 0, 0.9, -1.5), L2_OK);

    const double vertices[] = {1.2, 0, 0, -1.2, 0, 0, 0, 1.2, 0, 0, -1.2, 0, 0, 0, 1.2, 0, 0, -1.2};
    const int32_t faces[] = {0, 2, 4, 2, 1, 4, 1, 3, 4, 3, 0, 4, 2, 0, 5, 1, 2, 5, 3, 1, 5, 0, 3, 5};
    const L2Primitive gem = CreateTriBag(scene, 6, vertices, nullptr, 8, faces, L2_MESH_COUNTER_CLOCKWISE);
    const L2Primitive cut = CreateCSG(scene, L2_CSG_INTERSECTION, CreateCSGPrim(scene, gem),
                                      CreateCSGPrim(scene, CreateBox(scene, -2, -0.7, -2, 2, 0.7, 2)));
    textured(cut, kRed);
    ASSERT_EQ(TranslatePrim(scene, cut, 2, 0.7, 0), L2_OK);
    const L2Light light = CreateLight(scene);
    ASSERT_EQ(SetLightLocation(scene, light, -5, 8, -6), L2_OK);
  }

  // A smoothed 8-bit hill, a bumpy spherical field and a bulging Bezier patch.
  void addTessellated() {
    std::vector<uint8_t> hill(32 * 32);
    for (int j = 0; j < 32; ++j) {
      for (int i = 0; i < 32; ++i)
        hill[j * 32 + i] = uint8_t(127.5 + 127.5 * std::sin(i * 0.4) * std::cos(j * 0.3));
    }
    const L2Primitive field = textured(CreateHeight8(scene, 32, 32, hill.data()), kRed);
    ASSERT_EQ(SmoothHeightField(scene, field), L2_OK);
    ASSERT_EQ(ScalePrim(scene, field, 2.0 / 31, 0.8, 2.0 / 31), L2_OK);
    ASSERT_EQ(TranslatePrim(scene, field, -3.2, 0, -1), L2_OK);
    const L2Primitive ball = textured(CreateSphericalHeight8(scene, 32, 16, hill.data()), kMirror);
    ASSERT_EQ(ScalePrim(scene, ball, 0.6, 0.6, 0.6), L2_OK);
    ASSERT_EQ(TranslatePrim(scene, ball, 0, 1.2, 0), L2_OK);
    double points[16 * 3];
    int32_t patch[16];
    for (int i = 0; i < 16; ++i) {
      const bool inner = (i / 4 == 1 || i / 4 == 2) && (i % 4 == 1 || i % 4 == 2);
      points[3 * i] = (i % 4) * 0.6;
      points[3 * i + 1] = inner ? 1.5 : 0.2;
      points[3 * i + 2] = (i / 4) * 0.6;
      patch[i] = i;
    }
    const L2Primitive spline = textured(CreateSplineMesh(scene, L2_PATCH_BEZIER, 16, points, 1, patch), kRed);
    ASSERT_EQ(SetPrimUV(scene, spline, 12, 12), L2_OK);
    ASSERT_EQ(TranslatePrim(scene, spline, 1.2, 0, -1), L2_OK);
    const L2Light light = CreateLight(scene);
    ASSERT_EQ(SetLightLocation(scene, light, -5, 8, -6), L2_OK);
  }

  // A blob of spheres and a cylinder, and two superquadrics.
  void addImplicit() {
    const L2Primitive blob = textured(CreateBlob(scene), kRed);
    ASSERT_EQ(AddBlobSphereComponent(scene, blob, -0.6, 0.8, 0, 0.9, 1), L2_OK);
    ASSERT_EQ(AddBlobSphereComponent(scene, blob, 0.3, 1.0, 0, 0.8, 1), L2_OK);
    ASSERT_EQ(AddBlobCylinderComponent(scene, blob, -1, 0.4, -0.5, 1, 0.4, 0.5, 0.5, 1), L2_OK);
    ASSERT_EQ(SetBlobThreshold(scene, blob, 0.3), L2_OK);
    ASSERT_EQ(SetBlobSolver(scene, blob, L2_SOLVER_STURM), L2_OK);
    const L2Primitive rounded = textured(CreateSuperQ(scene, 0.3, 0.3), kMirror);
    ASSERT_EQ(ScalePrim(scene, rounded, 0.7, 0.7, 0.7), L2_OK);
    ASSERT_EQ(TranslatePrim(scene, rounded, -2.4, 0.7, 0), L2_OK);
    const L2Primitive star = textured(CreateSuperQ(scene, 2.5, 0.8), kRed);
    ASSERT_EQ(RotatePrim(scene, star, 90, 0, 0), L2_OK);
    ASSERT_EQ(TranslatePrim(scene, star, 2.3, 1, 0), L2_OK);
    const L2Light light = CreateLight(scene);
    ASSERT_EQ(SetLightLocation(scene, light, -5, 8, -6), L2_OK);
  }

  // A cubic vase, a star swept as a cone and a ring-shaped glyph.
  void addOutlines() {
    const double vase[] = {0.01, 0, 0, 0.8, 0, 0, 1.2, 0.6, 1, 0.2, 1.2, 1, 0.5, 1.8, 0};
    const L2Primitive lathe = textured(CreateLathe(scene, L2_SPLINE_CUBIC, 5, vase), kRed);
    ASSERT_EQ(TranslatePrim(scene, lathe, -2.2, 0, 0), L2_OK);
    double star[10 * 3];
    for (int i = 0; i < 10; ++i) {
      const double r = i % 2 ? 0.4 : 1, a = i * std::numbers::pi / 5;
      star[3 * i] = r * std::cos(a);
      star[3 * i + 1] = r * std::sin(a);
      star[3 * i + 2] = 0;
    }
    const L2Primitive sweep = textured(CreateSweep(scene, L2_SPLINE_LINEAR, 10, star), kMirror);
    ASSERT_EQ(SetGlyphConeFlag(scene, sweep, 1), L2_OK);
    ASSERT_EQ(SetGlyphExtrusion(scene, sweep, 0, 0, 1.5), L2_OK);
    ASSERT_EQ(RotatePrim(scene, sweep, 90, 0, 0), L2_OK);
    ASSERT_EQ(TranslatePrim(scene, sweep, 0, 1.5, 0), L2_OK);
    const L2Primitive glyph = textured(CreateGlyph(scene), kRed);
    const double outer[] = {1, 1, 1, -1, 1, 1, -1, -1, 1, 1, -1, 1};
    const double inner[] = {0.5,  0, 0, 0.5,  -0.5, 1, 0, -0.5, 0, -0.5, -0.5, 1,
                            -0.5, 0, 0, -0.5, 0.5,  1, 0, 0.5,  0, 0.5,  0.5,  1};
    ASSERT_EQ(AddContour(scene, glyph, 3, 4, outer), L2_OK);
    ASSERT_EQ(AddContour(scene, glyph, 3, 8, inner), L2_OK);
    ASSERT_EQ(SetGlyphExtrusion(scene, glyph, 0, 0, 0.4), L2_OK);
    ASSERT_EQ(TranslatePrim(scene, glyph, 2.2, 1, 0), L2_OK);
    const L2Light light = CreateLight(scene);
    ASSERT_EQ(SetLightLocation(scene, light, -5, 8, -6), L2_OK);
  }

  L2Scene scene = 0;
  L2View view = 0;
  L2Texture floor_texture = 0;
};

TEST_F(Scenes, SpheresTracedMatchTheGolden) {
  addSpheres();
  expectMatchesGolden("spheres_tracer", renderImage(Tracer, scene, view, 64, 48, kTraceFlags));
}

TEST_F(Scenes, SpheresAntiAliasedMatchTheGolden) {
  addSpheres();
  ASSERT_EQ(SetAliasDepth(scene, 2), L2_OK);
  ASSERT_EQ(SetAliasThreshold(scene, 0.1), L2_OK);
  expectMatchesGolden("spheres_aatracer", renderImage(AATracer, scene, view, 64, 48, kTraceFlags));
}

TEST_F(Scenes, SpheresByDepthBufferAndScanLinesMatchTheGoldens) {
  addSpheres();
  expectMatchesGolden("spheres_render", renderImage(Render, scene, view, 64, 48, kTraceFlags));
  ASSERT_EQ(SetViewScanlineDepth(scene, view, 2), L2_OK);
  expectMatchesGolden("spheres_scanner", renderImage(Scanner, scene, view, 64, 48, kTraceFlags));
}

TEST_F(Scenes, QuadricsWithSpotAndAreaLightsMatchTheGolden) {
  addQuadrics();
  expectMatchesGolden("quadrics_tracer", renderImage(Tracer, scene, view, 64, 48, kTraceFlags));
}

TEST_F(Scenes, MeshesMatchTheGolden) {
  addMesh();
  expectMatchesGolden("meshes_tracer", renderImage(Tracer, scene, view, 64, 48, kTraceFlags));
}

TEST_F(Scenes, CsgMatchesTheGolden) {
  addCsg();
  expectMatchesGolden("csg_tracer", renderImage(Tracer, scene, view, 64, 48, kTraceFlags));
}

TEST_F(Scenes, HeightFieldsAndSplineMeshesMatchTheGolden) {
  addTessellated();
  expectMatchesGolden("tessellated_tracer", renderImage(Tracer, scene, view, 64, 48, kTraceFlags));
}

TEST_F(Scenes, BlobsAndSuperquadricsMatchTheGolden) {
  addImplicit();
  expectMatchesGolden("implicit_tracer", renderImage(Tracer, scene, view, 64, 48, kTraceFlags));
}

TEST_F(Scenes, LathesSweepsAndGlyphsMatchTheGolden) {
  addOutlines();
  expectMatchesGolden("outlines_tracer", renderImage(Tracer, scene, view, 64, 48, kTraceFlags));
}

// Sets $LUMETRA_THREADS for one test and puts the caller's value back.
class ThreadsVariable {
 public:
  ThreadsVariable() {
    if (const char* value = std::getenv(kName)) saved_ = value;
  }
  ~ThreadsVariable() {
    if (saved_) {
      setenv(kName, saved_->c_str(), 1);
    } else {
      unsetenv(kName);
    }
  }
  ThreadsVariable(const ThreadsVariable&) = delete;
  ThreadsVariable& operator=(const ThreadsVariable&) = delete;
  void set(const char* value) { setenv(kName, value, 1); }
  void clear() { unsetenv(kName); }

 private:
  static constexpr const char* kName = "LUMETRA_THREADS";
  std::optional<std::string> saved_;
};

TEST_F(Scenes, EveryThreadCountGivesTheSameImage) {
  addQuadrics();  // jittered area light samples
  addSpheres();
  ASSERT_EQ(SetAliasThreshold(scene, 0.05), L2_OK);
  ThreadsVariable variable;
  auto render = [&](const char* threads) {
    variable.set(threads);
    return renderImage(AATracer, scene, view, 64, 48, kTraceFlags);
  };
  const Image one = render("1"), two = render("2"), three = render("3");
  // A count that is no whole number above 0 means every core.
  const Image unreadable = render("two");
  EXPECT_EQ(one.rgba, two.rgba);
  EXPECT_EQ(one.rgba, three.rgba);
  EXPECT_EQ(one.rgba, unreadable.rgba);
  for (int visits : three.visits) ASSERT_EQ(visits, 1);
}

TEST(TileThreads, TheThreadCountComesFromTheEnvironment) {
  ThreadsVariable variable;
  const int cores = std::max(1, int(std::thread::hardware_concurrency()));
  std::vector<std::pair<const char*, int>> cases = {{"3", 3},      {"1", 1},      {"0", cores},
                                                    {"-2", cores}, {"2x", cores}, {"", cores}};
  for (const auto& [text, expected] : cases) {
    variable.set(text);
    EXPECT_EQ(lumetra::renderlib::renderThreadCount(), expected) << '"' << text << '"';
  }
  variable.clear();
  EXPECT_EQ(lumetra::renderlib::renderThreadCount(), cores);
}

TEST(TileThreads, EveryIndexRunsOnceOnAtMostTheGivenThreads) {
  for (const int threads : {1, 2, 5}) {
    std::vector<std::atomic<int>> runs(200);
    std::mutex mutex;
    std::set<std::thread::id> seen;
    lumetra::renderlib::forEachIndex(int(runs.size()), threads, [&](int i) {
      ++runs[i];
      std::lock_guard lock(mutex);
      seen.insert(std::this_thread::get_id());
    });
    for (size_t i = 0; i < runs.size(); ++i) ASSERT_EQ(runs[i], 1) << i << " with " << threads;
    EXPECT_LE(int(seen.size()), threads);
  }
}

TEST(ViewHandedness, TheAspectSignPicksTheSideXLiesOn) {
  // Seen from +z towards -z with y up, +x lies to the right in a right-handed world and to
  // the left in a left-handed one.
  const L2Scene scene = NewScene();
  const L2View view = CreateView(scene);
  ASSERT_EQ(SetViewLocation(scene, view, 0, 0, 10), L2_OK);
  ASSERT_EQ(SetViewInterest(scene, view, 0, 0, 0), L2_OK);
  ASSERT_NE(CreateSphere(scene, 2, 0, 0, 1), 0u);
  for (const double aspect : {-1.0, 1.0}) {
    ASSERT_EQ(SetViewAspect(scene, view, aspect), L2_OK);
    const Image image = renderImage(Tracer, scene, view, 32, 32, 0);
    int right = 0, left = 0;
    for (int y = 0; y < 32; ++y) {
      for (int x = 0; x < 32; ++x) (x < 16 ? left : right) += image.at(x, y)[0] > 0;  // on black
    }
    EXPECT_GT(aspect < 0 ? right : left, 20) << aspect;
    EXPECT_EQ(aspect < 0 ? left : right, 0) << aspect;
  }
  EXPECT_EQ(FreeScene(scene), L2_OK);
}

TEST(ViewUp, AViewAlongItsUpTakesTheWorldsZAxisAsUp) {
  // Looking straight down on a sphere that lies towards +z: +z is the picture's top.
  const L2Scene scene = NewScene();
  const L2View view = CreateView(scene);
  ASSERT_EQ(SetViewLocation(scene, view, 0, 10, 0), L2_OK);
  ASSERT_EQ(SetViewInterest(scene, view, 0, 0, 0), L2_OK);
  ASSERT_EQ(SetViewUp(scene, view, 0, 1, 0), L2_OK);
  ASSERT_NE(CreateSphere(scene, 0, 0, 2, 1), 0u);
  for (L2RenderEntry* entry : {Tracer, Render, HiddenLine}) {
    const Image image = renderImage(entry, scene, view, 32, 32, 0);
    int top = 0, bottom = 0;
    for (int y = 0; y < 32; ++y) {
      for (int x = 0; x < 32; ++x) (y < 16 ? top : bottom) += image.at(x, y)[0] > 0;  // on black
    }
    EXPECT_GT(top, 4);
    EXPECT_EQ(bottom, 0);
  }
  // A null up does the same; a view without direction is still refused.
  ASSERT_EQ(SetViewUp(scene, view, 0, 0, 0), L2_OK);
  Image image(32, 32);
  EXPECT_EQ(Tracer(scene, view, nullptr, 0, nullptr, storePixel, &image), L2_OK);
  ASSERT_EQ(SetViewInterest(scene, view, 0, 10, 0), L2_OK);
  EXPECT_EQ(Tracer(scene, view, nullptr, 0, nullptr, storePixel, &image), L2_ERROR_ARGUMENT);
  EXPECT_EQ(FreeScene(scene), L2_OK);
}

// Anti-aliasing traces a row of pixel corners together; a picture rendered one column at a
// time (two corners a row) must come out as the whole one does, shapes and meshes alike.
TEST_F(Scenes, AntiAliasedColumnsMatchTheWholePicture) {
  addQuadrics();
  addMesh();
  ASSERT_EQ(SetViewResolution(scene, view, 40, 30), L2_OK);
  Image whole(40, 30), columns(40, 30);
  ASSERT_EQ(AATracer(scene, view, nullptr, kTraceFlags, nullptr, storePixel, &whole), L2_OK);
  for (int x = 0; x < 40; ++x) {
    const L2Rect column{x, 0, x + 1, 30};
    ASSERT_EQ(AATracer(scene, view, &column, kTraceFlags, nullptr, storePixel, &columns), L2_OK);
  }
  EXPECT_EQ(whole.rgba, columns.rgba);
}

TEST_F(Scenes, RegionsAreClippedAndVisitedOnce) {
  addSpheres();
  ASSERT_EQ(SetViewResolution(scene, view, 40, 30), L2_OK);
  Image image(40, 30);
  const L2Rect region{30, -5, 60, 7};
  ASSERT_EQ(Tracer(scene, view, &region, kTraceFlags, nullptr, storePixel, &image), L2_OK);
  for (int y = 0; y < 30; ++y) {
    for (int x = 0; x < 40; ++x)
      ASSERT_EQ(image.visits[y * 40 + x], (x >= 30 && y < 7) ? 1 : 0) << x << "," << y;
  }
  const L2Rect inverted{10, 10, 5, 20};
  EXPECT_EQ(Tracer(scene, view, &inverted, kTraceFlags, nullptr, storePixel, &image), L2_ERROR_ARGUMENT);
  EXPECT_EQ(Tracer(scene, view, nullptr, kTraceFlags, nullptr, nullptr, &image), L2_ERROR_ARGUMENT);
}

struct Stopper {
  std::atomic<int> calls{0};
  int stop_after = 0;
  std::atomic<int> pixels{0};
  L2Scene scene = 0;
  std::atomic<int> state_answers{0};
};

int32_t LUMETRA2_CALL stopLater(void* user) {
  auto* s = static_cast<Stopper*>(user);
  return ++s->calls > s->stop_after ? 1 : 0;
}

int32_t LUMETRA2_CALL countPixel(int32_t, int32_t, const float*, void* user) {
  auto* s = static_cast<Stopper*>(user);
  // Entries on a rendering scene are refused.
  if (SetBackgroundColor(s->scene, 0, 0, 0) == L2_ERROR_STATE && FreeScene(s->scene) == L2_ERROR_STATE) {
    ++s->state_answers;
  }
  return ++s->pixels >= s->stop_after ? 1 : 0;
}

TEST_F(Scenes, AbortAndPixelCallbacksStopWithinATile) {
  addSpheres();
  ASSERT_EQ(SetViewResolution(scene, view, 128, 128), L2_OK);
  Stopper by_abort;
  by_abort.stop_after = 3;
  by_abort.stop_after = 3;
  EXPECT_EQ(Tracer(scene, view, nullptr, kTraceFlags, stopLater, countPixel, &by_abort), L2_ABORTED);
  // Polled per tile and per row: a few rows of a few tiles at most.
  EXPECT_LT(by_abort.pixels.load(), 128 * 128 / 8);

  Stopper by_pixel;
  by_pixel.stop_after = 10;
  by_pixel.scene = scene;
  EXPECT_EQ(AATracer(scene, view, nullptr, kTraceFlags, nullptr, countPixel, &by_pixel), L2_ABORTED);
  EXPECT_LE(by_pixel.pixels.load(), 10 + 2 * 16 * 16);
  EXPECT_EQ(by_pixel.state_answers.load(), by_pixel.pixels.load());
  // The scene takes entries again afterwards.
  EXPECT_EQ(SetBackgroundColor(scene, 0, 0, 0), L2_OK);
}

struct Lines {
  std::mutex mutex;
  std::vector<std::array<int, 4>> lines;
  std::vector<std::array<float, 4>> colors;
};

int32_t LUMETRA2_CALL storeLine(int32_t x0, int32_t y0, int32_t x1, int32_t y1, const float color[4],
                                void* user) {
  auto* lines = static_cast<Lines*>(user);
  std::lock_guard lock(lines->mutex);
  lines->lines.push_back({x0, y0, x1, y1});
  lines->colors.push_back({color[0], color[1], color[2], color[3]});
  return 0;
}

// The pixels an Outline render covers with lines, each line's colour checked against the
// hidden-line picture where that picture has an edge too.
std::vector<int> outlineCoverage(L2Scene scene, L2View view, const Image& hidden, uint32_t flags) {
  Lines lines;
  EXPECT_EQ(Outline(scene, view, nullptr, flags, nullptr, storeLine, &lines), L2_OK);
  std::vector<int> covered(size_t(hidden.width) * hidden.height, 0);
  for (size_t i = 0; i < lines.lines.size(); ++i) {
    const auto& l = lines.lines[i];
    EXPECT_EQ(l[1], l[3]);
    EXPECT_LE(l[0], l[2]);
    for (int x = l[0]; x <= l[2]; ++x) {
      ++covered[size_t(l[1]) * hidden.width + x];
      if (hidden.at(x, l[1])[3] > 0) {
        EXPECT_EQ(hidden.at(x, l[1])[0], lines.colors[i][0]) << x << "," << l[1];
      }
    }
  }
  return covered;
}

class EdgeScenes : public Scenes {
 protected:
  // A box turned towards the eye: its silhouette and the crease between its two visible
  // faces; behind it, wholly hidden, a sphere whose outline circles the picture's centre.
  void addBoxHidingSphere() {
    const L2Primitive box = CreateBox(scene, -1, 0, -1, 1, 2, 1);
    ASSERT_EQ(RotatePrim(scene, box, 0, 45, 0), L2_OK);
    ASSERT_NE(CreateSphere(scene, 0, 1, 3, 1), 0u);
    const L2Light light = CreateLight(scene);
    ASSERT_EQ(SetLightLocation(scene, light, -5, 8, -6), L2_OK);
    ASSERT_EQ(SetPrimTexture(scene, CreateDisc(scene, 0, 0, 0, 0, 1, 0, 0, 1000), 0), L2_OK);
    ASSERT_EQ(SetViewLocation(scene, view, 0, 1, -8), L2_OK);
    ASSERT_EQ(SetViewInterest(scene, view, 0, 1, 0), L2_OK);
  }
  // Whether a line covers one of the pixels x0..x1 of row y.
  static bool anyCovered(const std::vector<int>& covered, int x0, int x1, int y) {
    for (int x = x0; x <= x1; ++x) {
      if (covered[size_t(y) * 64 + x] > 0) return true;
    }
    return false;
  }
};

TEST_F(EdgeScenes, HiddenLineDrawsOnlyTheVisibleEdges) {
  addBoxHidingSphere();
  const Image image = renderImage(HiddenLine, scene, view, 64, 48, kTraceFlags);
  // The crease runs down the middle column; left and right of it lie plain faces, where the
  // hidden sphere's outline would be.
  int crease = 0;
  for (int x = 30; x <= 33; ++x) crease += image.at(x, 24)[3] > 0;
  EXPECT_GE(crease, 1);
  for (int x = 24; x <= 28; ++x) EXPECT_EQ(image.at(x, 24)[3], 0) << x;
  for (int x = 36; x <= 40; ++x) EXPECT_EQ(image.at(x, 24)[3], 0) << x;
  EXPECT_FLOAT_EQ(image.at(26, 24)[2], 0.6f);  // background colour where no edge is
  int edges = 0;
  for (size_t i = 3; i < image.rgba.size(); i += 4) edges += image.rgba[i] > 0;
  EXPECT_GT(edges, 40);
  EXPECT_LT(edges, 64 * 48 / 4);
}

TEST_F(EdgeScenes, OutlineDrawsEveryEdgeHiddenOnesIncluded) {
  addBoxHidingSphere();
  const Image hidden = renderImage(HiddenLine, scene, view, 64, 48, kTraceFlags);
  const std::vector<int> covered = outlineCoverage(scene, view, hidden, kTraceFlags);
  // Every visible edge is drawn once, with the colour the hidden-line picture gives it.
  int drawn = 0, visible = 0;
  for (int y = 0; y < 48; ++y) {
    for (int x = 0; x < 64; ++x) {
      ASSERT_LE(covered[y * 64 + x], 1) << x << "," << y;
      if (hidden.at(x, y)[3] > 0) {
        EXPECT_EQ(covered[y * 64 + x], 1) << x << "," << y;
      }
      drawn += covered[y * 64 + x];
      visible += hidden.at(x, y)[3] > 0;
    }
  }
  // The sphere behind the box shows its outline, about six pixels either side of the centre.
  EXPECT_TRUE(anyCovered(covered, 24, 28, 24));
  EXPECT_TRUE(anyCovered(covered, 36, 40, 24));
  EXPECT_TRUE(anyCovered(covered, 30, 34, 17));
  EXPECT_GT(drawn, visible + 20);
  Lines lines;
  EXPECT_EQ(Outline(scene, view, nullptr, kTraceFlags, nullptr, nullptr, &lines), L2_ERROR_ARGUMENT);
}

TEST_F(EdgeScenes, OutlineDrawsTheWiresOfMeshesEvenWhenCulling) {
  // A square of two triangles facing the eye, split along its diagonal through the centre,
  // wound so that the eye sees its back.
  const double vertices[] = {-1, 0, 0, 1, 0, 0, 1, 2, 0, -1, 2, 0};
  const int32_t faces[] = {0, 1, 2, 0, 2, 3};
  ASSERT_NE(CreateTriBag(scene, 4, vertices, nullptr, 2, faces, 0), 0u);
  ASSERT_EQ(SetViewLocation(scene, view, 0, 1, 8), L2_OK);
  ASSERT_EQ(SetViewInterest(scene, view, 0, 1, 0), L2_OK);
  const Image hidden = renderImage(HiddenLine, scene, view, 64, 48, 0);
  const std::vector<int> covered = outlineCoverage(scene, view, hidden, 0);
  for (int x = 28; x <= 36; ++x) EXPECT_EQ(hidden.at(x, 24)[3], 0) << x;
  EXPECT_TRUE(anyCovered(covered, 30, 34, 24));
  Lines culled;
  ASSERT_EQ(Outline(scene, view, nullptr, L2_SHADE_CULL_BACKFACES, nullptr, storeLine, &culled), L2_OK);
  bool diagonal = false;
  for (const auto& l : culled.lines) diagonal |= l[1] == 24 && l[0] <= 34 && l[2] >= 30;
  EXPECT_TRUE(diagonal);
}

TEST_F(Scenes, HiddenLineMatchesTheGolden) {
  addQuadrics();
  expectMatchesGolden("quadrics_hiddenline", renderImage(HiddenLine, scene, view, 64, 48, kTraceFlags));
}

}  // namespace
}  // namespace lumetra::renderlib::testing
