// Height field and spline mesh entries.
#include "api_support.h"
#include "extrusion.h"
#include "height_field.h"
#include "lathe.h"
#include "spline_mesh.h"

using namespace lumetra::renderlib;

namespace {

constexpr int64_t kMaxSamples = int64_t(1) << 26;

uint32_t addTessellated(Scene& scene, std::shared_ptr<TessellatedSource> source) {
  auto primitive = std::make_unique<Primitive>();
  primitive->source = std::move(source);
  if (!tessellate(*primitive)) return 0;
  return scene.add(std::move(primitive));
}

template <class Sample>
uint32_t createHeightField(L2Scene scene, int32_t width, int32_t height, const Sample* samples,
                           bool spherical) {
  return createIn(scene, [&](Scene& s) -> uint32_t {
    if (!samples || width < 2 || height < 2 || int64_t(width) * height > kMaxSamples) return 0;
    constexpr bool kWide = sizeof(Sample) == 2;
    const double scale = kWide ? 1.0 / 256 : 1.0 / 255;
    std::vector<double> heights(size_t(width) * height);
    for (size_t i = 0; i < heights.size(); ++i) heights[i] = samples[i] * scale;
    return addTessellated(
        s, std::make_shared<HeightField>(width, height, std::move(heights), kWide ? 16 : 8, spherical));
  });
}

// Runs body(primitive, source) on a primitive made from a source of that kind.
template <class Kind, class Body>
int32_t withSource(L2Scene scene, L2Primitive prim, Body&& body) {
  return withItem<&Scene::primitive>(scene, prim, [&](Scene&, Primitive& p) -> int32_t {
    Kind* source = p.sourceAs<Kind>();
    return source ? body(p, *source) : L2_ERROR_HANDLE;
  });
}

template <class Read>
int32_t queryHeightField(L2Scene scene, L2Primitive prim, int32_t* out, Read read) {
  return withSource<HeightField>(scene, prim, [&](Primitive&, HeightField& field) -> int32_t {
    if (!out) return L2_ERROR_ARGUMENT;
    *out = read(field);
    return L2_OK;
  });
}

}  // namespace

extern "C" {

L2Primitive CreateHeight8(L2Scene scene, int32_t width, int32_t height, const uint8_t* samples) {
  return createHeightField(scene, width, height, samples, false);
}
L2Primitive CreateHeight16(L2Scene scene, int32_t width, int32_t height, const uint16_t* samples) {
  return createHeightField(scene, width, height, samples, false);
}
L2Primitive CreateSphericalHeight8(L2Scene scene, int32_t width, int32_t height, const uint8_t* samples) {
  return createHeightField(scene, width, height, samples, true);
}
L2Primitive CreateSphericalHeight16(L2Scene scene, int32_t width, int32_t height, const uint16_t* samples) {
  return createHeightField(scene, width, height, samples, true);
}

int32_t SmoothHeightField(L2Scene scene, L2Primitive prim) {
  return withSource<HeightField>(scene, prim, [](Primitive& p, HeightField& field) -> int32_t {
    field.setSmooth();
    return tessellate(p) ? L2_OK : L2_ERROR_MEMORY;
  });
}

int32_t SetSphericalHeightBounds(L2Scene scene, L2Primitive prim, double latitude_min, double latitude_max,
                                 double longitude_min, double longitude_max) {
  return withSource<HeightField>(scene, prim, [&](Primitive& p, HeightField& field) -> int32_t {
    if (!field.spherical()) return L2_ERROR_HANDLE;
    if (!field.setSphericalBounds(latitude_min, latitude_max, longitude_min, longitude_max))
      return L2_ERROR_ARGUMENT;
    return tessellate(p) ? L2_OK : L2_ERROR_MEMORY;
  });
}

int32_t GetHeightFieldBitDepth(L2Scene scene, L2Primitive prim, int32_t* bits) {
  return queryHeightField(scene, prim, bits, [](const HeightField& f) { return f.bits(); });
}
int32_t GetHeightFieldLength(L2Scene scene, L2Primitive prim, int32_t* length) {
  return queryHeightField(scene, prim, length, [](const HeightField& f) { return f.rows(); });
}
int32_t GetHeightFieldWidth(L2Scene scene, L2Primitive prim, int32_t* width) {
  return queryHeightField(scene, prim, width, [](const HeightField& f) { return f.columns(); });
}

L2Primitive CreateSplineMesh(L2Scene scene, int32_t patch_kind, int32_t point_count, const double* points_in,
                             int32_t patch_count, const int32_t* patches) {
  return createIn(scene, [&](Scene& s) -> uint32_t {
    if (patch_kind != L2_PATCH_BEZIER || !points_in || !patches || point_count < 1 || patch_count < 1 ||
        int64_t(patch_count) * 16 > kMaxSamples) {
      return 0;
    }
    std::vector<std::array<int, 16>> grid(static_cast<size_t>(patch_count));
    for (int32_t p = 0; p < patch_count; ++p) {
      for (int k = 0; k < 16; ++k) {
        const int32_t index = patches[16 * p + k];
        if (index < 0 || index >= point_count) return 0;
        grid[p][k] = index;
      }
    }
    return addTessellated(s,
                          std::make_shared<SplineMesh>(readPoints(points_in, point_count), std::move(grid)));
  });
}

int32_t ModifySplineMeshVertices(L2Scene scene, L2Primitive prim, int32_t point_count,
                                 const double* points_in) {
  return withSource<SplineMesh>(scene, prim, [&](Primitive& p, SplineMesh& mesh) -> int32_t {
    if (!points_in || point_count < 0 || size_t(point_count) != mesh.pointCount()) return L2_ERROR_ARGUMENT;
    mesh.setPoints(readPoints(points_in, point_count));
    return tessellate(p) ? L2_OK : L2_ERROR_MEMORY;
  });
}

// Lathes and sweeps are traced exactly, so their steps have nothing to change.
int32_t SetPrimUV(L2Scene scene, L2Primitive prim, int32_t u_steps, int32_t v_steps) {
  return withItem<&Scene::primitive>(scene, prim, [&](Scene&, Primitive& p) -> int32_t {
    SplineMesh* mesh = p.sourceAs<SplineMesh>();
    if (!mesh && !p.shapeAs<Lathe>() && !p.shapeAs<Extrusion>()) return L2_ERROR_HANDLE;
    if (u_steps < 2 || v_steps < 2 || int64_t(u_steps) * v_steps > 1 << 20) return L2_ERROR_ARGUMENT;
    if (!mesh) return L2_OK;
    mesh->setSteps(u_steps, v_steps);
    return tessellate(p) ? L2_OK : L2_ERROR_MEMORY;
  });
}

}  // extern "C"
