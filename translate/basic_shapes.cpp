#include "translate/library_result.h"
#include "translate/primitive_makers.h"

namespace lumetra::translate {
namespace {

constexpr double kPlaneRadius = 10000;

void CapEnds(L2Scene scene, L2Primitive prim, std::uint32_t open) {
  LogRefusal(SetConeEndcaps(scene, prim, open ? 0 : 1), "SetConeEndcaps");
}

L2Primitive MakeCylinder(L2Scene scene, const abi::CylinderParams& cylinder) {
  const L2Primitive prim = CreateCylinder(scene, 0, 0, 0, 0, 0, 1, 1);
  if (prim != 0) CapEnds(scene, prim, cylinder.open);
  return prim;
}

L2Primitive MakeCone(L2Scene scene, const abi::ConeParams& cone) {
  const L2Primitive prim = CreateCone(scene, 0, 0, 0, cone.lowerRadius, 0, 0, 1, cone.upperRadius);
  if (prim != 0) CapEnds(scene, prim, cone.open);
  return prim;
}

L2Primitive MakeTorus(L2Scene scene, const abi::TorusParams& torus) {
  const L2Primitive prim = CreateTorus(scene, 0, 0, 0, 0, 0, 1, torus.majorRadius, torus.minorRadius);
  if (prim != 0) {
    LogRefusal(SetTorusSolver(scene, prim, torus.solver ? L2_SOLVER_STURM : L2_SOLVER_FAST),
               "SetTorusSolver");
  }
  return prim;
}

}  // namespace

L2Primitive MakeBasicShape(const ShapeSource& source) {
  const L2Scene scene = source.scene;
  const auto& shape = source.object.Shape();
  switch (source.object.Type()) {
    case abi::kTypeBox:
      return CreateBox(scene, -1, -1, -1, 1, 1, 1);
    case abi::kTypeSphere:
      return CreateSphere(scene, 0, 0, 0, 1);
    case abi::kTypeCylinder:
      return MakeCylinder(scene, shape.cylinder);
    case abi::kTypeCone:
      return MakeCone(scene, shape.cone);
    case abi::kTypeTorus:
      return MakeTorus(scene, shape.torus);
    case abi::kTypePlane:
      return CreateDisc(scene, 0, 0, 0, 0, 0, 1, 0, kPlaneRadius);
    case abi::kTypeDisc:
      return CreateDisc(scene, 0, 0, 0, 0, 0, 1, shape.disc.innerRadius, 1);
    case abi::kTypeSuperquadric:
      return CreateSuperQ(scene, shape.superquadric.r, shape.superquadric.e);
    default:
      return 0;
  }
}

}  // namespace lumetra::translate
