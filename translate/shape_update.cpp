#include "translate/shape_update.h"

#include "translate/library_result.h"
#include "translate/primitive_makers.h"
#include "translate/profile_outline.h"

namespace lumetra::translate {
namespace {

void UpdateOutline(L2Scene scene, L2Primitive prim, const HostObject& object, const PosedPoints& points) {
  if (points.outline.size() < 2) return;
  const std::uint32_t hostKind = object.Shape().profile.splineKind;
  const bool lathe = object.Type() == abi::kTypeLathe;
  const std::vector<double> outline = ProfileOutline(points.outline, hostKind, !lathe);
  const auto count = static_cast<int32_t>(outline.size() / 3);
  const int32_t kind = LibrarySplineKind(hostKind);
  if (lathe) {
    LogRefusal(ModifyLatheVertices(scene, prim, kind, count, outline.data()), "ModifyLatheVertices");
  } else {
    LogRefusal(ModifySweepVertices(scene, prim, kind, count, outline.data()), "ModifySweepVertices");
  }
}

void UpdateLight(L2Scene scene, L2Light light, const HostObject& object) {
  const abi::LightParams& params = object.Shape().light;
  if (object.Type() == abi::kTypeSpotLight) {
    LogRefusal(SetSpotLightCoeffs(scene, light, 0, 0, -2, params.tightness, params.radius, params.falloff),
               "SetSpotLightCoeffs");
  }
  LogRefusal(SetLightColor(scene, light, params.color[0], params.color[1], params.color[2]), "SetLightColor");
}

}  // namespace

void ResetPlacement(L2Scene scene, L2Primitive prim, std::uint32_t type) {
  LogRefusal(RemovePrimTransform(scene, prim), "RemovePrimTransform");
  if (type == abi::kTypeAreaLight) PlaceAreaSquare(scene, prim);
  if (type == abi::kTypeHeightField) RefitHeightField(scene, prim);
}

void UpdateShape(L2Scene scene, L2Primitive prim, const HostObject& object, const PosedPoints& points) {
  const auto& shape = object.Shape();
  switch (object.Type()) {
    case abi::kTypeSweep:
    case abi::kTypeLathe:
    case abi::kTypeExtrusion:
      UpdateOutline(scene, prim, object, points);
      break;
    case abi::kTypeSplineMesh:
      if (!points.controlPoints.empty()) {
        LogRefusal(
            ModifySplineMeshVertices(scene, prim, static_cast<int32_t>(points.controlPoints.size() / 3),
                                     points.controlPoints.data()),
            "ModifySplineMeshVertices");
      }
      break;
    case abi::kTypePointLight:
    case abi::kTypeAreaLight:
    case abi::kTypeSpotLight:
      UpdateLight(scene, prim, object);
      break;
    case abi::kTypeCone:
      LogRefusal(SetConeRadii(scene, prim, shape.cone.lowerRadius, shape.cone.upperRadius), "SetConeRadii");
      break;
    case abi::kTypeTorus:
      LogRefusal(SetTorusRadii(scene, prim, shape.torus.majorRadius, shape.torus.minorRadius),
                 "SetTorusRadii");
      break;
    case abi::kTypeDisc:
      LogRefusal(SetDiscRadii(scene, prim, shape.disc.innerRadius, 1), "SetDiscRadii");
      break;
    case abi::kTypeBlob:
      LogRefusal(SetBlobThreshold(scene, prim, shape.blob.threshold), "SetBlobThreshold");
      break;
    case abi::kTypeSuperquadric:
      LogRefusal(SetSuperQPowers(scene, prim, shape.superquadric.r, shape.superquadric.e), "SetSuperQPowers");
      break;
    default:
      break;
  }
}

}  // namespace lumetra::translate
