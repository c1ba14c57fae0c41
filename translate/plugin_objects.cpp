#include <cstring>

#include "translate/height_samples.h"
#include "translate/host_mesh.h"
#include "translate/library_result.h"
#include "translate/primitive_makers.h"

namespace lumetra::translate {
namespace {

bool IsKind(const abi::PluginObjectParams& params, const std::uint8_t (&kind)[8]) {
  return std::memcmp(params.kindId, kind, sizeof kind) == 0;
}

L2Primitive MakeMesh(const ShapeSource& source) {
  const auto record = MeshInterfaceOf(source.host, source.object.id);
  const auto mesh = record ? ReadMesh(*record) : std::nullopt;
  if (!mesh) return 0;
  const std::vector<float> vertices(mesh->vertices.begin(), mesh->vertices.end());
  const bool hasNormals = record->normalCount == mesh->vertexCount && !mesh->normals.empty();
  const std::vector<float> normals(mesh->normals.begin(), mesh->normals.end());
  const L2Primitive prim =
      CreateTriBag2F(source.scene, static_cast<int32_t>(mesh->vertexCount), vertices.data(),
                     hasNormals ? normals.data() : nullptr, static_cast<int32_t>(mesh->faceCount),
                     mesh->faces.data(), L2_MESH_COUNTER_CLOCKWISE);
  const double angle = source.object.Shape().pluginObject.smoothingAngle;
  if (prim != 0 && angle > 0) LogRefusal(SmoothTriBag(source.scene, prim, angle), "SmoothTriBag");
  return prim;
}

bool CoversWholeSphere(const abi::PluginObjectParams& params) {
  return params.latitude[0] == -90 && params.latitude[1] == 90 && params.longitude[0] == 0 &&
         params.longitude[1] == 360;
}

L2Primitive MakeSphericalHeight(const ShapeSource& source) {
  const abi::PluginObjectParams& params = source.object.Shape().pluginObject;
  const auto samples = LoadHeightSamples(source.host, FieldText(params.image));
  if (!samples) return 0;
  const L2Scene scene = source.scene;
  const L2Primitive prim =
      samples->wide ? CreateSphericalHeight16(scene, samples->width, samples->height, samples->words.data())
                    : CreateSphericalHeight8(scene, samples->width, samples->height, samples->narrow.data());
  if (prim == 0) return 0;
  if (params.smooth) LogRefusal(SmoothHeightField(scene, prim), "SmoothHeightField");
  if (!CoversWholeSphere(params)) {
    LogRefusal(SetSphericalHeightBounds(scene, prim, params.latitude[0], params.latitude[1],
                                        params.longitude[0], params.longitude[1]),
               "SetSphericalHeightBounds");
  }
  return prim;
}

}  // namespace

L2Primitive MakePluginObject(const ShapeSource& source) {
  const abi::PluginObjectParams& params = source.object.Shape().pluginObject;
  if (IsKind(params, abi::kPluginKindTriangleMesh)) return MakeMesh(source);
  if (IsKind(params, abi::kPluginKindSphericalHeight)) return MakeSphericalHeight(source);
  return 0;
}

}  // namespace lumetra::translate
