#include "translate/host_arrays.h"
#include "translate/library_result.h"
#include "translate/primitive_makers.h"
#include "translate/profile_outline.h"

namespace lumetra::translate {
namespace {

void SetExtrusion(L2Scene scene, L2Primitive prim, const abi::ProfileParams& profile) {
  LogRefusal(SetGlyphExtrusion(scene, prim, 0, profile.extrusion[0], profile.extrusion[1]),
             "SetGlyphExtrusion");
}

}  // namespace

L2Primitive MakeProfileShape(const ShapeSource& source) {
  const abi::ProfileParams& profile = source.object.Shape().profile;
  const auto points = ReadHostArray<abi::ProfilePoint>(source.host.readProfilePoints, source.object.id,
                                                       profile.pointCount, 1);
  if (!points || points->size() < 2) return 0;
  const std::uint32_t type = source.object.Type();
  const bool lathe = type == abi::kTypeLathe;
  const int32_t kind = LibrarySplineKind(profile.splineKind);
  const std::vector<double> outline = ProfileOutline(*points, profile.splineKind, !lathe);
  const auto count = static_cast<int32_t>(outline.size() / 3);
  const L2Primitive prim = lathe ? CreateLathe(source.scene, kind, count, outline.data())
                                 : CreateSweep(source.scene, kind, count, outline.data());
  if (prim == 0) return 0;
  constexpr int32_t kCurvedLatheVSteps = 8;
  const int32_t vSteps = lathe && kind != L2_SPLINE_LINEAR ? kCurvedLatheVSteps : 1;
  LogRefusal(SetPrimUV(source.scene, prim, static_cast<int32_t>(profile.steps), vSteps), "SetPrimUV");
  if (type == abi::kTypeExtrusion) {
    LogRefusal(SetGlyphConeFlag(source.scene, prim, 1), "SetGlyphConeFlag");
    SetExtrusion(source.scene, prim, profile);
  } else if (type == abi::kTypeSweep) {
    SetExtrusion(source.scene, prim, profile);
  }
  return prim;
}

}  // namespace lumetra::translate
