// Lathe, sweep and glyph entries.
#include "api_support.h"
#include "extrusion.h"
#include "lathe.h"

using namespace lumetra::renderlib;

namespace {

constexpr int32_t kMaxOutlinePoints = 1 << 20;

// point_count points of values_per_point doubles: (x, y, w) with w 1 for a control point, or
// (x, y) on the outline.
std::optional<std::vector<OutlinePiece>> readOutline(int32_t kind, int32_t values_per_point,
                                                     int32_t point_count, const double* values, bool closed) {
  if (!values || point_count < 2 || point_count > kMaxOutlinePoints ||
      (values_per_point != 2 && values_per_point != 3)) {
    return std::nullopt;
  }
  std::vector<OutlinePoint> points;
  points.reserve(point_count);
  for (int32_t i = 0; i < point_count; ++i) {
    const double* v = values + size_t(i) * values_per_point;
    if (!allFinite(v[0], v[1])) return std::nullopt;
    points.push_back({v[0], v[1], values_per_point == 3 && v[2] == 1});
  }
  return makeOutline(kind, points, closed);
}

template <class Kind, class Body>
int32_t withShape(L2Scene scene, L2Primitive prim, Body&& body) {
  return withItem<&Scene::primitive>(scene, prim, [&](Scene&, Primitive& p) -> int32_t {
    Kind* shape = p.shapeAs<Kind>();
    return shape ? body(*shape) : L2_ERROR_HANDLE;
  });
}

}  // namespace

extern "C" {

L2Primitive CreateLathe(L2Scene scene, int32_t spline_kind, int32_t point_count, const double* points) {
  return createIn(scene, [&](Scene& s) -> uint32_t {
    auto outline = readOutline(spline_kind, 3, point_count, points, false);
    return outline ? addShape(s, std::make_shared<Lathe>(std::move(*outline))) : 0;
  });
}

int32_t ModifyLatheVertices(L2Scene scene, L2Primitive prim, int32_t spline_kind, int32_t point_count,
                            const double* points) {
  return withShape<Lathe>(scene, prim, [&](Lathe& lathe) -> int32_t {
    auto outline = readOutline(spline_kind, 3, point_count, points, false);
    if (!outline) return L2_ERROR_ARGUMENT;
    lathe.setPieces(std::move(*outline));
    return L2_OK;
  });
}

L2Primitive CreateSweep(L2Scene scene, int32_t spline_kind, int32_t point_count, const double* points) {
  return createIn(scene, [&](Scene& s) -> uint32_t {
    auto outline = readOutline(spline_kind, 3, point_count, points, true);
    if (!outline) return 0;
    auto sweep = std::make_shared<Extrusion>();
    sweep->addOutline(std::move(*outline));
    return addShape(s, sweep);
  });
}

int32_t ModifySweepVertices(L2Scene scene, L2Primitive prim, int32_t spline_kind, int32_t point_count,
                            const double* points) {
  return withShape<Extrusion>(scene, prim, [&](Extrusion& sweep) -> int32_t {
    auto outline = readOutline(spline_kind, 3, point_count, points, true);
    if (!outline) return L2_ERROR_ARGUMENT;
    sweep.setOutlines({std::move(*outline)});
    return L2_OK;
  });
}

L2Primitive CreateGlyph(L2Scene scene) {
  return createIn(scene, [](Scene& s) -> uint32_t { return addShape(s, std::make_shared<Extrusion>()); });
}

int32_t AddContour(L2Scene scene, L2Primitive glyph, int32_t values_per_point, int32_t point_count,
                   const double* points) {
  return withShape<Extrusion>(scene, glyph, [&](Extrusion& extrusion) -> int32_t {
    auto outline = readOutline(L2_SPLINE_QUADRATIC, values_per_point, point_count, points, true);
    if (!outline) return L2_ERROR_ARGUMENT;
    extrusion.addOutline(std::move(*outline));
    return L2_OK;
  });
}

int32_t SetGlyphConeFlag(L2Scene scene, L2Primitive prim, int32_t cone) {
  return withShape<Extrusion>(scene, prim, [&](Extrusion& extrusion) -> int32_t {
    if (cone != 0 && cone != 1) return L2_ERROR_ARGUMENT;
    return extrusion.setCone(cone == 1) ? L2_OK : L2_ERROR_ARGUMENT;
  });
}

// Chamfered edges are not built yet: a bevel other than 0 is refused as unsupported.
int32_t SetGlyphExtrusion(L2Scene scene, L2Primitive prim, double bevel, double start, double end) {
  return withShape<Extrusion>(scene, prim, [&](Extrusion& extrusion) -> int32_t {
    if (!allFinite(bevel) || bevel < 0) return L2_ERROR_ARGUMENT;
    if (bevel > 0) return L2_ERROR_UNSUPPORTED;
    return extrusion.setExtent(start, end) ? L2_OK : L2_ERROR_ARGUMENT;
  });
}

}  // extern "C"
