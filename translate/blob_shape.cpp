#include "translate/host_arrays.h"
#include "translate/library_result.h"
#include "translate/primitive_makers.h"

namespace lumetra::translate {
namespace {

constexpr std::uint32_t kSphereComponent = 1;
constexpr std::uint32_t kCylinderComponent = 2;

void AddComponent(L2Scene scene, L2Primitive blob, const abi::BlobComponent& c) {
  if (c.kind == kSphereComponent) {
    LogRefusal(AddBlobSphereComponent(scene, blob, c.a[0], c.a[1], c.a[2], c.radius, c.strength),
               "AddBlobSphereComponent");
  } else if (c.kind == kCylinderComponent) {
    LogRefusal(AddBlobCylinderComponent(scene, blob, c.a[0], c.a[1], c.a[2], c.b[0], c.b[1], c.b[2], c.radius,
                                        c.strength),
               "AddBlobCylinderComponent");
  }
}

}  // namespace

L2Primitive MakeBlob(const ShapeSource& source) {
  const abi::BlobParams& params = source.object.Shape().blob;
  const auto components = ReadHostArray<abi::BlobComponent>(source.host.readBlobComponents, source.object.id,
                                                            params.componentCount, 1);
  if (!components) return 0;
  const L2Primitive blob = CreateBlob(source.scene);
  if (blob == 0) return 0;
  LogRefusal(SetBlobThreshold(source.scene, blob, params.threshold), "SetBlobThreshold");
  for (const abi::BlobComponent& component : *components) AddComponent(source.scene, blob, component);
  LogRefusal(SetBlobSolver(source.scene, blob, static_cast<int32_t>(params.solver)), "SetBlobSolver");
  LogRefusal(UpdatePrim(source.scene, blob), "UpdatePrim");
  return blob;
}

}  // namespace lumetra::translate
