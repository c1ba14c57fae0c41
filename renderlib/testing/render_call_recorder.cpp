#include "renderlib/testing/render_call_recorder.h"

#include <lumetra2.h>

#include <algorithm>
#include <map>
#include <mutex>
#include <utility>

namespace lumetra::renderlib::testing {
namespace {

// A name as the library holds it: the caller's pointer, and the text it had.
struct FiledName {
  const char* pointer = nullptr;
  std::uintptr_t value = 0;
};

struct Owned {
  L2ReleaseCallback release;
  void* object;
};

struct Record {
  std::mutex mutex;
  std::vector<RecordedCall> calls;
  std::vector<std::string> failures;
  std::uint32_t lastHandle = 0;
  std::map<std::string, FiledName> names;
  std::map<std::uint32_t, std::uint32_t> primTextures;
  std::vector<Owned> owned;
};

Record& TheRecord() {
  static Record record;
  return record;
}

// Starts a fresh record; what the library would own is released as FreeScene does.
void Clear(Record& record) {
  std::vector<Owned> owned;
  {
    std::lock_guard lock(record.mutex);
    record.calls.clear();
    record.failures.clear();
    record.lastHandle = 0;
    record.names.clear();
    record.primTextures.clear();
    owned.swap(record.owned);
  }
  for (const Owned& item : owned) item.release(item.object);
}

// Appends the call; false when the test scripted this call to fail.
bool Append(const char* entry, std::initializer_list<double> arguments, std::vector<double> values,
            std::uint32_t& result, bool creates, std::string text = {}) {
  Record& record = TheRecord();
  std::lock_guard lock(record.mutex);
  const auto failure = std::find(record.failures.begin(), record.failures.end(), entry);
  const bool fails = failure != record.failures.end();
  if (fails) {
    record.failures.erase(failure);
    result = creates ? 0 : static_cast<std::uint32_t>(L2_ERROR_ARGUMENT);
  } else {
    result = creates ? ++record.lastHandle : static_cast<std::uint32_t>(L2_OK);
  }
  record.calls.push_back({entry, arguments, std::move(values), result, std::move(text)});
  return !fails;
}

template <typename T>
std::vector<double> Values(const T* items, std::int64_t count) {
  if (!items || count <= 0) return {};
  return std::vector<double>(items, items + count);
}

std::vector<double> Joined(std::initializer_list<std::vector<double>> parts) {
  std::vector<double> joined;
  for (const std::vector<double>& part : parts) joined.insert(joined.end(), part.begin(), part.end());
  return joined;
}

}  // namespace

RenderCallRecorder::RenderCallRecorder() { Clear(TheRecord()); }

RenderCallRecorder::~RenderCallRecorder() { Clear(TheRecord()); }

void RenderCallRecorder::FailNext(const std::string& entry) {
  Record& record = TheRecord();
  std::lock_guard lock(record.mutex);
  record.failures.push_back(entry);
}

std::vector<RecordedCall> RenderCallRecorder::Calls() const {
  Record& record = TheRecord();
  std::lock_guard lock(record.mutex);
  return record.calls;
}

std::vector<RecordedCall> RenderCallRecorder::CallsOf(const std::string& entry) const {
  std::vector<RecordedCall> calls = Calls();
  std::erase_if(calls, [&](const RecordedCall& call) { return call.name != entry; });
  return calls;
}

std::vector<std::string> RenderCallRecorder::Names() const {
  std::vector<std::string> names;
  for (const RecordedCall& call : Calls()) names.push_back(call.name);
  return names;
}

std::string RenderCallRecorder::CsgTree(std::uint32_t handle) const {
  for (const RecordedCall& call : Calls()) {
    if (call.result != handle) continue;
    const auto argument = [&](std::size_t i) { return static_cast<std::uint32_t>(call.arguments.at(i)); };
    if (call.name == "CreateCSG") {
      return "(" + std::to_string(argument(1)) + " " + CsgTree(argument(2)) + " " + CsgTree(argument(3)) +
             ")";
    }
    if (call.name == "CreateCSGPrim") return "leaf(" + std::to_string(argument(1)) + ")";
  }
  return std::to_string(handle);
}

void RenderCallRecorder::FileName(const std::string& name, std::uintptr_t value) {
  Record& record = TheRecord();
  std::lock_guard lock(record.mutex);
  record.names[name] = {nullptr, value};
}

std::uintptr_t RenderCallRecorder::FiledValue(const std::string& name) const {
  Record& record = TheRecord();
  std::lock_guard lock(record.mutex);
  const auto found = record.names.find(name);
  if (found == record.names.end()) return 0;
  const FiledName& filed = found->second;
  if (filed.pointer && name != filed.pointer) return 0;
  return filed.value;
}

std::vector<std::string> RenderCallRecorder::FiledNames() const {
  Record& record = TheRecord();
  std::lock_guard lock(record.mutex);
  std::vector<std::string> names;
  for (const auto& [name, filed] : record.names) names.push_back(filed.pointer ? filed.pointer : name);
  return names;
}

std::uint32_t RenderCallRecorder::Create(const char* entry, std::initializer_list<double> arguments,
                                         std::vector<double> values) {
  std::uint32_t result = 0;
  Append(entry, arguments, std::move(values), result, true);
  return result;
}

std::int32_t RenderCallRecorder::Act(const char* entry, std::initializer_list<double> arguments,
                                     std::vector<double> values) {
  std::uint32_t result = 0;
  Append(entry, arguments, std::move(values), result, false);
  return static_cast<std::int32_t>(result);
}

namespace {

int32_t FileNameCall(L2Scene scene, const char* name, L2NameValue value) {
  std::uint32_t result = 0;
  const bool filed =
      Append("SetNameValue", {double(scene), double(value)}, {}, result, false, name ? name : "");
  if (filed && name) {
    Record& record = TheRecord();
    std::lock_guard lock(record.mutex);
    record.names[name] = {name, value};
  }
  return static_cast<int32_t>(result);
}

L2NameValue LookUpNameCall(L2Scene scene, const char* name) {
  std::uint32_t result = 0;
  Append("GetNameValue", {double(scene)}, {}, result, false, name ? name : "");
  Record& record = TheRecord();
  std::lock_guard lock(record.mutex);
  const auto found = name ? record.names.find(name) : record.names.end();
  const L2NameValue value = found == record.names.end() ? 0 : found->second.value;
  record.calls.back().result = static_cast<std::uint32_t>(value);
  return value;
}

// The triangle mesh entries: vertex count, whether normals were given, face count, flags;
// the vertices and then the faces as values.
template <typename T>
std::uint32_t RecordTriBag(const char* entry, L2Scene scene, int32_t vertexCount, const T* vertices,
                           bool normals, int32_t faceCount, const int32_t* faces, int32_t flags) {
  return RenderCallRecorder::Create(
      entry, {double(scene), double(vertexCount), normals ? 1.0 : 0.0, double(faceCount), double(flags)},
      Joined({Values(vertices, int64_t{vertexCount} * 3), Values(faces, int64_t{faceCount} * 3)}));
}

// A creating entry that hands ownership of object to the library when it succeeds.
std::uint32_t CreateOwning(const char* entry, L2Scene scene, L2ReleaseCallback release, void* object) {
  const std::uint32_t handle =
      RenderCallRecorder::Create(entry, {double(scene), double(reinterpret_cast<std::uintptr_t>(object))});
  if (handle != 0 && release) {
    Record& record = TheRecord();
    std::lock_guard lock(record.mutex);
    record.owned.push_back({release, object});
  }
  return handle;
}

void AttachTexture(L2Primitive prim, L2Texture texture) {
  Record& record = TheRecord();
  std::lock_guard lock(record.mutex);
  record.primTextures[prim] = texture;
}

L2Texture AttachedTexture(L2Primitive prim) {
  Record& record = TheRecord();
  std::lock_guard lock(record.mutex);
  const auto found = record.primTextures.find(prim);
  const L2Texture texture = found == record.primTextures.end() ? 0 : found->second;
  record.calls.back().result = texture;
  return texture;
}

}  // namespace

}  // namespace lumetra::renderlib::testing

// The recorded entries, with the header's exact signatures.
using lumetra::renderlib::testing::Joined;
using lumetra::renderlib::testing::RenderCallRecorder;
using lumetra::renderlib::testing::Values;

extern "C" {

// ---- Scene

int32_t LUMETRA2_CALL SetNameValue(L2Scene scene, const char* name, L2NameValue value) {
  return lumetra::renderlib::testing::FileNameCall(scene, name, value);
}
L2NameValue LUMETRA2_CALL GetNameValue(L2Scene scene, const char* name) {
  return lumetra::renderlib::testing::LookUpNameCall(scene, name);
}
L2Texture LUMETRA2_CALL CreateMatteTexture(L2Scene scene, double r, double g, double b) {
  return RenderCallRecorder::Create("CreateMatteTexture", {double(scene), r, g, b});
}
int32_t LUMETRA2_CALL SetDefaultTexture(L2Scene scene, L2Texture texture) {
  return RenderCallRecorder::Act("SetDefaultTexture", {double(scene), double(texture)});
}
int32_t LUMETRA2_CALL SetBackgroundColor(L2Scene scene, double r, double g, double b) {
  return RenderCallRecorder::Act("SetBackgroundColor", {double(scene), r, g, b});
}
int32_t LUMETRA2_CALL SetAmbientLight(L2Scene scene, double r, double g, double b) {
  return RenderCallRecorder::Act("SetAmbientLight", {double(scene), r, g, b});
}
int32_t LUMETRA2_CALL SetRayEpsilon(L2Scene scene, double epsilon) {
  return RenderCallRecorder::Act("SetRayEpsilon", {double(scene), epsilon});
}
int32_t LUMETRA2_CALL SetMaxTracingDepth(L2Scene scene, int32_t depth) {
  return RenderCallRecorder::Act("SetMaxTracingDepth", {double(scene), double(depth)});
}
int32_t LUMETRA2_CALL SetMinTracingWeight(L2Scene scene, double weight) {
  return RenderCallRecorder::Act("SetMinTracingWeight", {double(scene), weight});
}

// ---- Primitives

L2Primitive LUMETRA2_CALL CreateBox(L2Scene scene, double x0, double y0, double z0, double x1, double y1,
                                    double z1) {
  return RenderCallRecorder::Create("CreateBox", {double(scene), x0, y0, z0, x1, y1, z1});
}
L2Primitive LUMETRA2_CALL CreateSphere(L2Scene scene, double cx, double cy, double cz, double radius) {
  return RenderCallRecorder::Create("CreateSphere", {double(scene), cx, cy, cz, radius});
}
L2Primitive LUMETRA2_CALL CreateCylinder(L2Scene scene, double bx, double by, double bz, double ax, double ay,
                                         double az, double radius) {
  return RenderCallRecorder::Create("CreateCylinder", {double(scene), bx, by, bz, ax, ay, az, radius});
}
L2Primitive LUMETRA2_CALL CreateCone(L2Scene scene, double bx, double by, double bz, double base_radius,
                                     double ax, double ay, double az, double apex_radius) {
  return RenderCallRecorder::Create("CreateCone",
                                    {double(scene), bx, by, bz, base_radius, ax, ay, az, apex_radius});
}
int32_t LUMETRA2_CALL SetConeEndcaps(L2Scene scene, L2Primitive prim, int32_t closed) {
  return RenderCallRecorder::Act("SetConeEndcaps", {double(scene), double(prim), double(closed)});
}
L2Primitive LUMETRA2_CALL CreateTorus(L2Scene scene, double cx, double cy, double cz, double nx, double ny,
                                      double nz, double major_radius, double minor_radius) {
  return RenderCallRecorder::Create("CreateTorus",
                                    {double(scene), cx, cy, cz, nx, ny, nz, major_radius, minor_radius});
}
int32_t LUMETRA2_CALL SetTorusSolver(L2Scene scene, L2Primitive prim, int32_t solver) {
  return RenderCallRecorder::Act("SetTorusSolver", {double(scene), double(prim), double(solver)});
}
L2Primitive LUMETRA2_CALL CreateDisc(L2Scene scene, double cx, double cy, double cz, double nx, double ny,
                                     double nz, double inner_radius, double outer_radius) {
  return RenderCallRecorder::Create("CreateDisc",
                                    {double(scene), cx, cy, cz, nx, ny, nz, inner_radius, outer_radius});
}
L2Primitive LUMETRA2_CALL CreateSuperQ(L2Scene scene, double east_west, double north_south) {
  return RenderCallRecorder::Create("CreateSuperQ", {double(scene), east_west, north_south});
}
L2Primitive LUMETRA2_CALL CreateSweep(L2Scene scene, int32_t spline_kind, int32_t point_count,
                                      const double* points) {
  return RenderCallRecorder::Create("CreateSweep", {double(scene), double(spline_kind), double(point_count)},
                                    Values(points, int64_t{point_count} * 3));
}
L2Primitive LUMETRA2_CALL CreateLathe(L2Scene scene, int32_t spline_kind, int32_t point_count,
                                      const double* points) {
  return RenderCallRecorder::Create("CreateLathe", {double(scene), double(spline_kind), double(point_count)},
                                    Values(points, int64_t{point_count} * 3));
}
int32_t LUMETRA2_CALL SetPrimUV(L2Scene scene, L2Primitive prim, int32_t u_steps, int32_t v_steps) {
  return RenderCallRecorder::Act("SetPrimUV",
                                 {double(scene), double(prim), double(u_steps), double(v_steps)});
}
L2Primitive LUMETRA2_CALL CreateGlyph(L2Scene scene) {
  return RenderCallRecorder::Create("CreateGlyph", {double(scene)});
}
int32_t LUMETRA2_CALL AddContour(L2Scene scene, L2Primitive glyph, int32_t values_per_point,
                                 int32_t point_count, const double* points) {
  return RenderCallRecorder::Act(
      "AddContour", {double(scene), double(glyph), double(values_per_point), double(point_count)},
      Values(points, int64_t{values_per_point} * point_count));
}
int32_t LUMETRA2_CALL SetGlyphConeFlag(L2Scene scene, L2Primitive prim, int32_t cone) {
  return RenderCallRecorder::Act("SetGlyphConeFlag", {double(scene), double(prim), double(cone)});
}
int32_t LUMETRA2_CALL SetGlyphExtrusion(L2Scene scene, L2Primitive prim, double bevel, double start,
                                        double end) {
  return RenderCallRecorder::Act("SetGlyphExtrusion", {double(scene), double(prim), bevel, start, end});
}
L2Primitive LUMETRA2_CALL CreateSplineMesh(L2Scene scene, int32_t patch_kind, int32_t point_count,
                                           const double* points, int32_t patch_count,
                                           const int32_t* patches) {
  return RenderCallRecorder::Create(
      "CreateSplineMesh", {double(scene), double(patch_kind), double(point_count), double(patch_count)},
      Joined({Values(points, int64_t{point_count} * 3), Values(patches, int64_t{patch_count} * 16)}));
}
L2Primitive LUMETRA2_CALL CreateHeight8(L2Scene scene, int32_t width, int32_t height,
                                        const uint8_t* samples) {
  return RenderCallRecorder::Create("CreateHeight8", {double(scene), double(width), double(height)},
                                    Values(samples, int64_t{width} * height));
}
L2Primitive LUMETRA2_CALL CreateHeight16(L2Scene scene, int32_t width, int32_t height,
                                         const uint16_t* samples) {
  return RenderCallRecorder::Create("CreateHeight16", {double(scene), double(width), double(height)},
                                    Values(samples, int64_t{width} * height));
}
int32_t LUMETRA2_CALL SmoothHeightField(L2Scene scene, L2Primitive prim) {
  return RenderCallRecorder::Act("SmoothHeightField", {double(scene), double(prim)});
}
L2Primitive LUMETRA2_CALL CreateSphericalHeight8(L2Scene scene, int32_t width, int32_t height,
                                                 const uint8_t* samples) {
  return RenderCallRecorder::Create("CreateSphericalHeight8", {double(scene), double(width), double(height)},
                                    Values(samples, int64_t{width} * height));
}
L2Primitive LUMETRA2_CALL CreateSphericalHeight16(L2Scene scene, int32_t width, int32_t height,
                                                  const uint16_t* samples) {
  return RenderCallRecorder::Create("CreateSphericalHeight16", {double(scene), double(width), double(height)},
                                    Values(samples, int64_t{width} * height));
}
int32_t LUMETRA2_CALL SetSphericalHeightBounds(L2Scene scene, L2Primitive prim, double latitude_min,
                                               double latitude_max, double longitude_min,
                                               double longitude_max) {
  return RenderCallRecorder::Act("SetSphericalHeightBounds", {double(scene), double(prim), latitude_min,
                                                              latitude_max, longitude_min, longitude_max});
}
L2Primitive LUMETRA2_CALL CreateTriBag(L2Scene scene, int32_t vertex_count, const double* vertices,
                                       const double* normals, int32_t face_count, const int32_t* faces,
                                       int32_t flags) {
  return lumetra::renderlib::testing::RecordTriBag("CreateTriBag", scene, vertex_count, vertices,
                                                   normals != nullptr, face_count, faces, flags);
}
L2Primitive LUMETRA2_CALL CreateTriBag2F(L2Scene scene, int32_t vertex_count, const float* vertices,
                                         const float* normals, int32_t face_count, const int32_t* faces,
                                         int32_t flags) {
  return lumetra::renderlib::testing::RecordTriBag("CreateTriBag2F", scene, vertex_count, vertices,
                                                   normals != nullptr, face_count, faces, flags);
}
// Arguments: scene, the three counts, the face count, flags, and whether each of the five
// optional arrays was given (normals, coordinates, faces, normal faces, coordinate faces).
L2Primitive LUMETRA2_CALL CreateTriBag3(L2Scene scene, int32_t vertex_count, const double* vertices,
                                        int32_t normal_count, const double* normals, int32_t uv_count,
                                        const double* uvs, int32_t face_count, const int32_t* faces,
                                        const int32_t* normal_faces, const int32_t* uv_faces, int32_t flags) {
  std::vector<double> values =
      Joined({Values(vertices, int64_t{vertex_count} * 3), Values(normals, int64_t{normal_count} * 3),
              Values(uvs, int64_t{uv_count} * 3), Values(faces, int64_t{face_count} * 3)});
  return RenderCallRecorder::Create(
      "CreateTriBag3",
      {double(scene), double(vertex_count), double(normal_count), double(uv_count), double(face_count),
       double(flags), normals ? 1.0 : 0.0, uvs ? 1.0 : 0.0, faces ? 1.0 : 0.0,
       normal_faces == faces ? 1.0 : 0.0, uv_faces == faces ? 1.0 : 0.0},
      std::move(values));
}
int32_t LUMETRA2_CALL SmoothTriBag(L2Scene scene, L2Primitive prim, double angle) {
  return RenderCallRecorder::Act("SmoothTriBag", {double(scene), double(prim), angle});
}
L2Primitive LUMETRA2_CALL CreateClone(L2Scene scene, L2Primitive source) {
  return RenderCallRecorder::Create("CreateClone", {double(scene), double(source)});
}
L2Primitive LUMETRA2_CALL CreateBlob(L2Scene scene) {
  return RenderCallRecorder::Create("CreateBlob", {double(scene)});
}
int32_t LUMETRA2_CALL SetBlobThreshold(L2Scene scene, L2Primitive blob, double threshold) {
  return RenderCallRecorder::Act("SetBlobThreshold", {double(scene), double(blob), threshold});
}
int32_t LUMETRA2_CALL AddBlobSphereComponent(L2Scene scene, L2Primitive blob, double cx, double cy, double cz,
                                             double radius, double strength) {
  return RenderCallRecorder::Act("AddBlobSphereComponent",
                                 {double(scene), double(blob), cx, cy, cz, radius, strength});
}
int32_t LUMETRA2_CALL AddBlobCylinderComponent(L2Scene scene, L2Primitive blob, double x0, double y0,
                                               double z0, double x1, double y1, double z1, double radius,
                                               double strength) {
  return RenderCallRecorder::Act("AddBlobCylinderComponent",
                                 {double(scene), double(blob), x0, y0, z0, x1, y1, z1, radius, strength});
}
int32_t LUMETRA2_CALL SetBlobSolver(L2Scene scene, L2Primitive blob, int32_t solver) {
  return RenderCallRecorder::Act("SetBlobSolver", {double(scene), double(blob), double(solver)});
}
L2Primitive LUMETRA2_CALL CreateCSGPrim(L2Scene scene, L2Primitive prim) {
  return RenderCallRecorder::Create("CreateCSGPrim", {double(scene), double(prim)});
}
L2Primitive LUMETRA2_CALL CreateCSG(L2Scene scene, int32_t operation, L2Primitive left, L2Primitive right) {
  return RenderCallRecorder::Create("CreateCSG",
                                    {double(scene), double(operation), double(left), double(right)});
}
int32_t LUMETRA2_CALL PrimCastsShadows(L2Scene scene, L2Primitive prim, int32_t casts) {
  return RenderCallRecorder::Act("PrimCastsShadows", {double(scene), double(prim), double(casts)});
}
int32_t LUMETRA2_CALL UpdatePrim(L2Scene scene, L2Primitive prim) {
  return RenderCallRecorder::Act("UpdatePrim", {double(scene), double(prim)});
}

// ---- Changes in place between animation frames

int32_t LUMETRA2_CALL RemovePrimTransform(L2Scene scene, L2Primitive prim) {
  return RenderCallRecorder::Act("RemovePrimTransform", {double(scene), double(prim)});
}
int32_t LUMETRA2_CALL RemoveTextureTransform(L2Scene scene, L2Texture texture) {
  return RenderCallRecorder::Act("RemoveTextureTransform", {double(scene), double(texture)});
}
int32_t LUMETRA2_CALL AlignTransforms(L2Scene scene, L2Primitive source, L2Primitive clone) {
  return RenderCallRecorder::Act("AlignTransforms", {double(scene), double(source), double(clone)});
}
int32_t LUMETRA2_CALL GetPrimLocation(L2Scene scene, L2Primitive prim, double location[3]) {
  location[0] = location[1] = location[2] = 0.0;
  return RenderCallRecorder::Act("GetPrimLocation", {double(scene), double(prim)});
}
int32_t LUMETRA2_CALL SetConeRadii(L2Scene scene, L2Primitive prim, double base_radius, double apex_radius) {
  return RenderCallRecorder::Act("SetConeRadii", {double(scene), double(prim), base_radius, apex_radius});
}
int32_t LUMETRA2_CALL SetTorusRadii(L2Scene scene, L2Primitive prim, double major_radius,
                                    double minor_radius) {
  return RenderCallRecorder::Act("SetTorusRadii", {double(scene), double(prim), major_radius, minor_radius});
}
int32_t LUMETRA2_CALL SetDiscRadii(L2Scene scene, L2Primitive prim, double inner_radius,
                                   double outer_radius) {
  return RenderCallRecorder::Act("SetDiscRadii", {double(scene), double(prim), inner_radius, outer_radius});
}
int32_t LUMETRA2_CALL SetSuperQPowers(L2Scene scene, L2Primitive prim, double east_west, double north_south) {
  return RenderCallRecorder::Act("SetSuperQPowers", {double(scene), double(prim), east_west, north_south});
}
int32_t LUMETRA2_CALL ModifySweepVertices(L2Scene scene, L2Primitive prim, int32_t spline_kind,
                                          int32_t point_count, const double* points) {
  return RenderCallRecorder::Act("ModifySweepVertices",
                                 {double(scene), double(prim), double(spline_kind), double(point_count)},
                                 Values(points, int64_t{point_count} * 3));
}
int32_t LUMETRA2_CALL ModifyLatheVertices(L2Scene scene, L2Primitive prim, int32_t spline_kind,
                                          int32_t point_count, const double* points) {
  return RenderCallRecorder::Act("ModifyLatheVertices",
                                 {double(scene), double(prim), double(spline_kind), double(point_count)},
                                 Values(points, int64_t{point_count} * 3));
}
int32_t LUMETRA2_CALL ModifySplineMeshVertices(L2Scene scene, L2Primitive prim, int32_t point_count,
                                               const double* points) {
  return RenderCallRecorder::Act("ModifySplineMeshVertices",
                                 {double(scene), double(prim), double(point_count)},
                                 Values(points, int64_t{point_count} * 3));
}
int32_t LUMETRA2_CALL GetHeightFieldBitDepth(L2Scene scene, L2Primitive prim, int32_t* bits) {
  *bits = 8;
  return RenderCallRecorder::Act("GetHeightFieldBitDepth", {double(scene), double(prim)});
}
int32_t LUMETRA2_CALL GetHeightFieldLength(L2Scene scene, L2Primitive prim, int32_t* rows) {
  *rows = 2;
  return RenderCallRecorder::Act("GetHeightFieldLength", {double(scene), double(prim)});
}
int32_t LUMETRA2_CALL GetHeightFieldWidth(L2Scene scene, L2Primitive prim, int32_t* columns) {
  *columns = 2;
  return RenderCallRecorder::Act("GetHeightFieldWidth", {double(scene), double(prim)});
}

// ---- Transforms

int32_t LUMETRA2_CALL ScalePrim(L2Scene scene, uint32_t prim, double x, double y, double z) {
  return RenderCallRecorder::Act("ScalePrim", {double(scene), double(prim), x, y, z});
}
int32_t LUMETRA2_CALL RotatePrim(L2Scene scene, uint32_t prim, double x, double y, double z) {
  return RenderCallRecorder::Act("RotatePrim", {double(scene), double(prim), x, y, z});
}
int32_t LUMETRA2_CALL TranslatePrim(L2Scene scene, uint32_t prim, double x, double y, double z) {
  return RenderCallRecorder::Act("TranslatePrim", {double(scene), double(prim), x, y, z});
}
int32_t LUMETRA2_CALL ScaleTexture(L2Scene scene, uint32_t texture, double x, double y, double z) {
  return RenderCallRecorder::Act("ScaleTexture", {double(scene), double(texture), x, y, z});
}
int32_t LUMETRA2_CALL RotateTexture(L2Scene scene, uint32_t texture, double x, double y, double z) {
  return RenderCallRecorder::Act("RotateTexture", {double(scene), double(texture), x, y, z});
}
int32_t LUMETRA2_CALL TranslateTexture(L2Scene scene, uint32_t texture, double x, double y, double z) {
  return RenderCallRecorder::Act("TranslateTexture", {double(scene), double(texture), x, y, z});
}

// ---- Textures and volumes

L2Texture LUMETRA2_CALL CreateUserTexture(L2Scene scene, L2TextureEvaluate, L2ReleaseCallback release,
                                          void* object) {
  return lumetra::renderlib::testing::CreateOwning("CreateUserTexture", scene, release, object);
}
L2Texture LUMETRA2_CALL CreateTextureReference(L2Scene scene, L2Texture texture) {
  return RenderCallRecorder::Create("CreateTextureReference", {double(scene), double(texture)});
}
int32_t LUMETRA2_CALL SetPrimTexture(L2Scene scene, L2Primitive prim, L2Texture texture) {
  const int32_t result =
      RenderCallRecorder::Act("SetPrimTexture", {double(scene), double(prim), double(texture)});
  if (result == L2_OK) lumetra::renderlib::testing::AttachTexture(prim, texture);
  return result;
}
int32_t LUMETRA2_CALL SetTextureOpaque(L2Scene scene, L2Texture texture, int32_t opaque) {
  return RenderCallRecorder::Act("SetTextureOpaque", {double(scene), double(texture), double(opaque)});
}
int32_t LUMETRA2_CALL SetTextureReadsUV(L2Scene scene, L2Texture texture, int32_t reads) {
  return RenderCallRecorder::Act("SetTextureReadsUV", {double(scene), double(texture), double(reads)});
}
L2Texture LUMETRA2_CALL GetPrimTexture(L2Scene scene, L2Primitive prim) {
  RenderCallRecorder::Act("GetPrimTexture", {double(scene), double(prim)});
  return lumetra::renderlib::testing::AttachedTexture(prim);
}
int32_t LUMETRA2_CALL ShadePoint(L2Scene scene, L2View view, uint32_t shading_flags, const L2ShadingRecord*,
                                 const SurfaceSample*, float*) {
  RenderCallRecorder::Act("ShadePoint", {double(scene), double(view), double(shading_flags)});
  return L2_ERROR_STATE;  // never inside an evaluation here
}
L2Volume LUMETRA2_CALL CreateVolume(L2Scene scene, L2VolumeEvaluate, L2ReleaseCallback release,
                                    void* object) {
  return lumetra::renderlib::testing::CreateOwning("CreateVolume", scene, release, object);
}
int32_t LUMETRA2_CALL SetVolumeStepResolution(L2Scene scene, L2Volume volume, double step) {
  return RenderCallRecorder::Act("SetVolumeStepResolution", {double(scene), double(volume), step});
}
int32_t LUMETRA2_CALL SetVolumeAmbientFlag(L2Scene scene, L2Volume volume, int32_t on) {
  return RenderCallRecorder::Act("SetVolumeAmbientFlag", {double(scene), double(volume), double(on)});
}
int32_t LUMETRA2_CALL SetVolumeDiffuseFlag(L2Scene scene, L2Volume volume, int32_t on) {
  return RenderCallRecorder::Act("SetVolumeDiffuseFlag", {double(scene), double(volume), double(on)});
}
int32_t LUMETRA2_CALL SetVolumeOpacityFlag(L2Scene scene, L2Volume volume, int32_t on) {
  return RenderCallRecorder::Act("SetVolumeOpacityFlag", {double(scene), double(volume), double(on)});
}
int32_t LUMETRA2_CALL AddGlobalVolume(L2Scene scene, L2Volume volume) {
  return RenderCallRecorder::Act("AddGlobalVolume", {double(scene), double(volume)});
}
int32_t LUMETRA2_CALL AddTextureVolume(L2Scene scene, L2Texture texture, L2Volume volume) {
  return RenderCallRecorder::Act("AddTextureVolume", {double(scene), double(texture), double(volume)});
}

// ---- Lights

L2Light LUMETRA2_CALL CreateLight(L2Scene scene) {
  return RenderCallRecorder::Create("CreateLight", {double(scene)});
}
L2Light LUMETRA2_CALL CreateSpotLight(L2Scene scene) {
  return RenderCallRecorder::Create("CreateSpotLight", {double(scene)});
}
L2Light LUMETRA2_CALL CreateAreaLight(L2Scene scene) {
  return RenderCallRecorder::Create("CreateAreaLight", {double(scene)});
}
int32_t LUMETRA2_CALL SetLightLocation(L2Scene scene, L2Light light, double x, double y, double z) {
  return RenderCallRecorder::Act("SetLightLocation", {double(scene), double(light), x, y, z});
}
int32_t LUMETRA2_CALL SetSpotLightCoeffs(L2Scene scene, L2Light light, double x, double y, double z,
                                         double tightness, double radius, double falloff) {
  return RenderCallRecorder::Act("SetSpotLightCoeffs",
                                 {double(scene), double(light), x, y, z, tightness, radius, falloff});
}
int32_t LUMETRA2_CALL SetAreaLight(L2Scene scene, L2Light light, int32_t columns, int32_t rows,
                                   int32_t adaptive, double jitter) {
  return RenderCallRecorder::Act("SetAreaLight", {double(scene), double(light), double(columns), double(rows),
                                                  double(adaptive), jitter});
}
int32_t LUMETRA2_CALL SetLightColor(L2Scene scene, L2Light light, double r, double g, double b) {
  return RenderCallRecorder::Act("SetLightColor", {double(scene), double(light), r, g, b});
}
int32_t LUMETRA2_CALL SetLightShadowing(L2Scene scene, L2Light light, int32_t on) {
  return RenderCallRecorder::Act("SetLightShadowing", {double(scene), double(light), double(on)});
}
int32_t LUMETRA2_CALL SetLightCoeffs(L2Scene scene, L2Light light, double quadratic, double linear,
                                     double constant) {
  return RenderCallRecorder::Act("SetLightCoeffs",
                                 {double(scene), double(light), quadratic, linear, constant});
}
int32_t LUMETRA2_CALL SetLightVolumetric(L2Scene scene, L2Light light, int32_t on) {
  return RenderCallRecorder::Act("SetLightVolumetric", {double(scene), double(light), double(on)});
}
int32_t LUMETRA2_CALL SetLightAttenuated(L2Scene scene, L2Light light, int32_t on) {
  return RenderCallRecorder::Act("SetLightAttenuated", {double(scene), double(light), double(on)});
}

// ---- View

L2View LUMETRA2_CALL CreateView(L2Scene scene) {
  return RenderCallRecorder::Create("CreateView", {double(scene)});
}
int32_t LUMETRA2_CALL SetViewAngle(L2Scene scene, L2View view, double angle) {
  return RenderCallRecorder::Act("SetViewAngle", {double(scene), double(view), angle});
}
int32_t LUMETRA2_CALL SetViewAspect(L2Scene scene, L2View view, double aspect) {
  return RenderCallRecorder::Act("SetViewAspect", {double(scene), double(view), aspect});
}
int32_t LUMETRA2_CALL SetViewLocation(L2Scene scene, L2View view, double x, double y, double z) {
  return RenderCallRecorder::Act("SetViewLocation", {double(scene), double(view), x, y, z});
}
int32_t LUMETRA2_CALL SetViewInterest(L2Scene scene, L2View view, double x, double y, double z) {
  return RenderCallRecorder::Act("SetViewInterest", {double(scene), double(view), x, y, z});
}
int32_t LUMETRA2_CALL SetViewUp(L2Scene scene, L2View view, double x, double y, double z) {
  return RenderCallRecorder::Act("SetViewUp", {double(scene), double(view), x, y, z});
}
int32_t LUMETRA2_CALL SetViewVolumeResolution(L2Scene scene, L2View view, double step) {
  return RenderCallRecorder::Act("SetViewVolumeResolution", {double(scene), double(view), step});
}
int32_t LUMETRA2_CALL SetViewVolumeSteps(L2Scene scene, L2View view, int32_t min_steps, int32_t max_steps) {
  return RenderCallRecorder::Act("SetViewVolumeSteps",
                                 {double(scene), double(view), double(min_steps), double(max_steps)});
}

}  // extern "C"
