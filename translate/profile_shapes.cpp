#include "translate/host_arrays.h"
#include "translate/library_result.h"
#include "translate/primitive_makers.h"

namespace translate {
namespace {

constexpr std::uint32_t kCornerFlagSpline = 3;
constexpr int32_t kCurvedLatheVSteps = 8;

int32_t LibrarySplineKind(std::uint32_t hostKind) {
  switch (hostKind) {
    case 2:
    case 3: return L2_SPLINE_QUADRATIC;
    case 4: return L2_SPLINE_CUBIC;
    default: return L2_SPLINE_LINEAR;
  }
}

// (x, y, w) of each point; w is 0 for a corner of an outline whose points carry corners.
void AppendPoint(std::vector<double>& points, const iface::ProfilePoint& point, std::uint32_t hostKind) {
  const bool corner = hostKind == kCornerFlagSpline && (point.flags & iface::kProfilePointCorner) != 0;
  points.insert(points.end(), {point.x, point.y, corner ? 0.0 : 1.0});
}

// A sweep's outline is closed: the last point the host gives is dropped and the first
// repeats in its place. A lathe's outline is open and drops the last point as well.
std::vector<double> Outline(const std::vector<iface::ProfilePoint>& points, std::uint32_t hostKind, bool closed) {
  std::vector<double> outline;
  for (std::size_t i = 0; i + 1 < points.size(); ++i) AppendPoint(outline, points[i], hostKind);
  if (closed) AppendPoint(outline, points.front(), hostKind);
  return outline;
}

void SetExtrusion(L2Scene scene, L2Primitive prim, const iface::ProfileParams& profile) {
  LogRefusal(SetGlyphExtrusion(scene, prim, 0, profile.extrusion[0], profile.extrusion[1]), "SetGlyphExtrusion");
}

}  // namespace

L2Primitive MakeProfileShape(const ShapeSource& source) {
  const iface::ProfileParams& profile = source.object.Shape().profile;
  const auto points = ReadHostArray<iface::ProfilePoint>(source.host.readProfilePoints, source.object.id,
                                                         profile.pointCount, 1);
  if (!points || points->size() < 2) return 0;
  const std::uint32_t type = source.object.Type();
  const bool lathe = type == iface::kTypeLathe;
  const int32_t kind = LibrarySplineKind(profile.splineKind);
  const std::vector<double> outline = Outline(*points, profile.splineKind, !lathe);
  const auto count = static_cast<int32_t>(outline.size() / 3);
  const L2Primitive prim = lathe ? CreateLathe(source.scene, kind, count, outline.data())
                                 : CreateSweep(source.scene, kind, count, outline.data());
  if (prim == 0) return 0;
  const int32_t vSteps = lathe && kind != L2_SPLINE_LINEAR ? kCurvedLatheVSteps : 1;
  LogRefusal(SetPrimUV(source.scene, prim, static_cast<int32_t>(profile.steps), vSteps), "SetPrimUV");
  if (type == iface::kTypeExtrusion) {
    LogRefusal(SetGlyphConeFlag(source.scene, prim, 1), "SetGlyphConeFlag");
    SetExtrusion(source.scene, prim, profile);
  } else if (type == iface::kTypeSweep) {
    SetExtrusion(source.scene, prim, profile);
  }
  return prim;
}

}  // namespace translate
