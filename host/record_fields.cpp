#include "host/record_fields.h"

#include <algorithm>
#include <cstring>

#include "abi/environment_record.h"
#include "abi/object_info.h"
#include "abi/render_settings_record.h"
#include "abi/view_record.h"

namespace lumetra::host {
namespace {

using abi::ObjectDataBlock;
using abi::TextureBlock;

#define SHAPE(member) offsetof(ObjectDataBlock, shape.member)
#define NODE(member) offsetof(TextureBlock, params.member)

constexpr FieldLayout Number(const char* name, size_t offset, double value = 0) {
  return {name, FieldKind::kDoubles, offset, 1, {value}};
}
constexpr FieldLayout Vector(const char* name, size_t offset, double x = 0, double y = 0, double z = 0) {
  return {name, FieldKind::kDoubles, offset, 3, {x, y, z}};
}
constexpr FieldLayout Pair(const char* name, size_t offset, double a, double b) {
  return {name, FieldKind::kDoubles, offset, 2, {a, b}};
}
constexpr FieldLayout Color(const char* name, size_t offset, double grey = 1) {
  return {name, FieldKind::kColor, offset, 5, {grey, grey, grey, 0, 0}};
}
constexpr FieldLayout Integer(const char* name, size_t offset, double value = 0, uint32_t count = 1) {
  return {name, FieldKind::kInteger, offset, count, {value, value, value}};
}
constexpr FieldLayout Flag(const char* name, size_t offset, bool value = false) {
  return {name, FieldKind::kBool, offset, 1, {value ? 1.0 : 0.0}};
}
constexpr FieldLayout Choice(const char* name, size_t offset, NameTable names, double value) {
  return {name, FieldKind::kEnum, offset, 1, {value}, names};
}
constexpr FieldLayout Text(const char* name, size_t offset, uint32_t size) {
  return {name, FieldKind::kText, offset, size};
}

constexpr NamedValue kPatterns[] = {
    {"agate", 0},        {"bozo", 1},     {"crackle", 2},      {"gradient", 3},  {"granite", 4},
    {"leopard", 5},      {"mandel", 6},   {"marble", 7},       {"onion", 8},     {"radial", 9},
    {"spiral1", 10},     {"spiral2", 11}, {"spotted", 12},     {"wood", 13},     {"bumps", 14},
    {"ripples", 15},     {"dents", 16},   {"waves", 17},       {"wrinkles", 18}, {"quilted", 19},
    {"average", 20},     {"boxed", 21},   {"cylindrical", 22}, {"planar", 23},   {"spherical", 24},
    {"density_file", 25}};
constexpr NamedValue kBlocks[] = {{"checker", 0}, {"hexagon", 1}, {"brick", 2}};
constexpr NamedValue kWarps[] = {{"black_hole", 0}, {"repeat", 1}, {"turbulence", 2}};
constexpr NamedValue kWaveShapes[] = {{"ramp", 0},    {"triangle", 1}, {"sine", 2},
                                      {"scallop", 3}, {"cubic", 4},    {"power", 5}};
constexpr NamedValue kMapTypes[] = {{"planar", 0},  {"spherical", 1}, {"cylindrical", 2}, {"uv", 3},
                                    {"uv_flat", 4}, {"torus", 5},     {"uv_angle", 6}};
constexpr NamedValue kCsgOperations[] = {{"union", 0}, {"intersection", 1}, {"difference", 2}, {"merge", 3}};
constexpr NamedValue kSplineKinds[] = {{"linear", 1}, {"quadratic", 2}, {"cubic", 3}, {"bezier", 4}};
constexpr NamedValue kProjections[] = {{"top", 0}, {"front", 1}, {"side", 2}, {"camera", 3}};
constexpr NamedValue kPluginKindNames[] = {{"triangle_mesh", 0}, {"spherical_height", 1}};
constexpr std::array<uint8_t, 8> kPluginKindIds[] = {std::to_array(abi::kPluginKindTriangleMesh),
                                                     std::to_array(abi::kPluginKindSphericalHeight)};

// Object shapes.
constexpr FieldLayout kCsgFields[] = {Choice("operation", SHAPE(csg.operation), kCsgOperations, 0)};
constexpr FieldLayout kCylinderFields[] = {Flag("open", SHAPE(cylinder.open))};
constexpr FieldLayout kConeFields[] = {Number("upper_radius", SHAPE(cone.upperRadius), 0),
                                       Number("lower_radius", SHAPE(cone.lowerRadius), 1),
                                       Flag("open", SHAPE(cone.open))};
constexpr FieldLayout kTorusFields[] = {Number("major_radius", SHAPE(torus.majorRadius), 1),
                                        Number("minor_radius", SHAPE(torus.minorRadius), 0.25),
                                        Flag("sturm", SHAPE(torus.solver))};
constexpr FieldLayout kDiscFields[] = {Number("inner_radius", SHAPE(disc.innerRadius))};
constexpr FieldLayout kSuperquadricFields[] = {Number("e", SHAPE(superquadric.e), 1),
                                               Number("r", SHAPE(superquadric.r), 1)};
constexpr FieldLayout kBlobFields[] = {Number("threshold", SHAPE(blob.threshold), 0.5),
                                       Integer("solver", SHAPE(blob.solver))};
constexpr FieldLayout kProfileFields[] = {Choice("spline", SHAPE(profile.splineKind), kSplineKinds, 1),
                                          Integer("steps", SHAPE(profile.steps), 8),
                                          Pair("extrusion", SHAPE(profile.extrusion), 1, 1)};
constexpr FieldLayout kSplineMeshFields[] = {Integer("subdivision_u", SHAPE(splineMesh.subdivisionU), 3),
                                             Integer("subdivision_v", SHAPE(splineMesh.subdivisionV), 3)};
constexpr FieldLayout kHeightFieldFields[] = {Text("image", SHAPE(heightField.image), 260),
                                              Flag("smooth", SHAPE(heightField.smooth))};
constexpr FieldLayout kMeshFileFields[] = {Text("file", SHAPE(meshFile.file), 260),
                                           Number("smoothing_angle", SHAPE(meshFile.smoothingAngle))};
constexpr FieldLayout kTextFields[] = {
    Text("text", SHAPE(text.text), 256), Text("font", SHAPE(text.font), 128),
    Number("depth", SHAPE(text.depth), 0.2), Number("spacing", SHAPE(text.spacing), 0),
    Number("size", SHAPE(text.size), 1)};
constexpr FieldLayout kPluginObjectFields[] = {
    {"kind", FieldKind::kBytes8, SHAPE(pluginObject.kindId), 1, {0}, kPluginKindNames},
    Number("smoothing_angle", SHAPE(pluginObject.smoothingAngle)),
    Text("image", SHAPE(pluginObject.image), 260),
    Flag("smooth", SHAPE(pluginObject.smooth)),
    Pair("latitude", SHAPE(pluginObject.latitude), -90, 90),
    Pair("longitude", SHAPE(pluginObject.longitude), 0, 360)};
constexpr FieldLayout kLightFields[] = {
    Vector("color", SHAPE(light.color), 1, 1, 1), Number("fade_distance", SHAPE(light.fadeDistance)),
    Number("fade_power", SHAPE(light.fadePower)), Flag("volumetric", SHAPE(light.volumetric)),
    Flag("attenuated", SHAPE(light.attenuated))};
constexpr FieldLayout kSpotFields[] = {Number("falloff", SHAPE(light.falloff), 30),
                                       Number("radius", SHAPE(light.radius), 15),
                                       Number("tightness", SHAPE(light.tightness), 0)};
constexpr FieldLayout kAreaFields[] = {Integer("samples", SHAPE(light.samples), 3, 3),
                                       Flag("jitter", SHAPE(light.jitter))};
constexpr FieldLayout kCameraFields[] = {Vector("up", SHAPE(camera.up), 0, 1, 0),
                                         Number("fov", SHAPE(camera.fieldOfView), 45),
                                         Number("roll", SHAPE(camera.roll)),
                                         Number("focal_distance", SHAPE(camera.focalDistance)),
                                         Number("aperture", SHAPE(camera.aperture)),
                                         Flag("focal_blur", SHAPE(camera.focalBlur)),
                                         Integer("focal_samples", SHAPE(camera.focalSamples)),
                                         Number("aspect", SHAPE(camera.aspect), 4.0 / 3.0),
                                         Flag("active", SHAPE(camera.active), true),
                                         Flag("own_transform_only", SHAPE(camera.ownTransformOnly))};
constexpr FieldLayout kCameraParamFields[] = {
    Vector("location", offsetof(abi::ParamRecord, translate), 0, 2, -8),
    Vector("look_at", offsetof(abi::ParamRecord, rotate))};

using enum ObjectPlace;
using enum ObjectArrays;
constexpr ObjectTypeLayout kObjectTypes[] = {
    {abi::kTypeGroup, "group", kTree, true, kNone, {}, {}, {}},
    {abi::kTypeBox, "box", kTree, false, kNone, {}, {}, {}},
    {abi::kTypeSphere, "sphere", kTree, false, kNone, {}, {}, {}},
    {abi::kTypeCylinder, "cylinder", kTree, false, kNone, kCylinderFields, {}, {}},
    {abi::kTypeCamera, "camera", kCamera, false, kNone, kCameraFields, {}, kCameraParamFields},
    {abi::kTypeSweep, "sweep", kTree, false, kProfile, kProfileFields, {}, {}},
    {abi::kTypeLathe, "lathe", kTree, false, kProfile, kProfileFields, {}, {}},
    {abi::kTypeExtrusion, "extrusion", kTree, false, kProfile, kProfileFields, {}, {}},
    {abi::kTypePointLight, "point_light", kTree, false, kNone, kLightFields, {}, {}},
    {abi::kTypeCsg, "csg", kTree, true, kNone, kCsgFields, {}, {}},
    {abi::kTypeSplineMesh, "spline_mesh", kTree, false, kSplineMesh, kSplineMeshFields, {}, {}},
    {abi::kTypeHeightField, "height_field", kTree, false, kNone, kHeightFieldFields, {}, {}},
    {abi::kTypeCone, "cone", kTree, false, kNone, kConeFields, {}, {}},
    {abi::kTypeTorus, "torus", kTree, false, kNone, kTorusFields, {}, {}},
    {abi::kTypeSpotLight, "spot_light", kTree, false, kNone, kLightFields, kSpotFields, {}},
    {abi::kTypeAreaLight, "area_light", kTree, false, kNone, kLightFields, kAreaFields, {}},
    {abi::kTypePlane, "plane", kTree, false, kNone, {}, {}, {}},
    {abi::kTypeDisc, "disc", kTree, false, kNone, kDiscFields, {}, {}},
    {abi::kTypeMeshFile, "mesh_file", kTree, false, kMesh, kMeshFileFields, {}, {}},
    {abi::kTypeClone, "clone", kTree, false, kNone, {}, {}, {}},
    {abi::kTypeBlob, "blob", kTree, false, kBlob, kBlobFields, {}, {}},
    {abi::kTypeSuperquadric, "superquadric", kTree, false, kNone, kSuperquadricFields, {}, {}},
    {abi::kTypeText, "text", kTree, false, kNone, kTextFields, {}, {}},
    {abi::kTypePluginObject, "plugin_object", kTree, false, kMesh, kPluginObjectFields, {}, {}},
    {abi::kTypePolygonMesh, "polygon_mesh", kTree, false, kMesh, {}, {}, {}},
};

// Texture description nodes.
constexpr FieldLayout kColorFields[] = {Color("color", NODE(color))};
constexpr FieldLayout kTransformFields[] = {Vector("scale", NODE(transform.scale), 1, 1, 1),
                                            Vector("rotate", NODE(transform.rotate)),
                                            Vector("translate", NODE(transform.translate))};
constexpr FieldLayout kFinishFields[] = {
    Number("ambient", NODE(finish.ambient), 0.1),      Number("diffuse", NODE(finish.diffuse), 0.6),
    Number("brilliance", NODE(finish.brilliance), 1),  Number("phong", NODE(finish.phong)),
    Number("phong_size", NODE(finish.phongSize), 40),  Number("specular", NODE(finish.specular)),
    Number("roughness", NODE(finish.roughness), 0.05), Number("crand", NODE(finish.crand)),
    Flag("metallic_on", NODE(finish.metallicSet)),     Number("metallic", NODE(finish.metallic))};
constexpr FieldLayout kInteriorFields[] = {Number("ior", NODE(interior.ior), 1)};
constexpr FieldLayout kMediaFields[] = {Integer("intervals", NODE(media.intervals), 10),
                                        Integer("samples_min", NODE(media.samplesMin), 1),
                                        Integer("samples_max", NODE(media.samplesMax), 1),
                                        Number("confidence", NODE(media.confidence), 0.9),
                                        Number("variance", NODE(media.variance), 1.0 / 128),
                                        Number("ratio", NODE(media.ratio), 0.9),
                                        Flag("method_on", NODE(media.methodSet)),
                                        Integer("method", NODE(media.method), 1),
                                        Number("eccentricity", NODE(media.eccentricity)),
                                        Flag("extinction_on", NODE(media.extinctionSet)),
                                        Number("extinction", NODE(media.extinction), 1)};
constexpr FieldLayout kPatternFields[] = {Choice("pattern", NODE(pattern.pattern), kPatterns, 1),
                                          Number("agate_turbulence", NODE(pattern.agateTurbulence), 1),
                                          Vector("gradient", NODE(pattern.gradient), 1, 0, 0),
                                          Integer("mandel_iterations", NODE(pattern.mandelIterations), 64),
                                          Pair("quilt", NODE(pattern.quilt), 1, 1),
                                          Integer("spiral_arms", NODE(pattern.spiralArms), 1),
                                          Integer("extra", NODE(pattern.extra))};
constexpr FieldLayout kColorMapFields[] = {{"color_map", FieldKind::kColorMap, NODE(pattern.colorMapCount)}};
constexpr FieldLayout kBlockFields[] = {Choice("block", NODE(block.block), kBlocks, 0),
                                        Vector("brick_size", NODE(block.brickSize), 1, 0.5, 0.5),
                                        Number("mortar", NODE(block.mortar), 0.05)};
constexpr FieldLayout kBlockColorFields[] = {Color("color1", NODE(block.colors[0]), 1),
                                             Color("color2", NODE(block.colors[1]), 0),
                                             Color("color3", NODE(block.colors[2]), 0.5)};
constexpr FieldLayout kMapEntryFields[] = {Number("value", NODE(mapEntry.value))};
constexpr FieldLayout kBumpSizeFields[] = {Number("amount", NODE(bumpSize.amount), 0.5)};
constexpr FieldLayout kImageFields[] = {
    Text("file", NODE(image.file), 256),
    Choice("map_type", NODE(image.mapType), kMapTypes, 0),
    Integer("interpolation", NODE(image.interpolation)),
    Flag("once", NODE(image.once)),
    Flag("interpolate", NODE(image.interpolate)),
    Integer("alpha_mode", NODE(image.alphaMode)),
    Flag("use_index", NODE(image.useIndex)),
    {"filter_all", FieldKind::kFloat, NODE(image.filterAll), 1, {0}},
    {"transmit_all", FieldKind::kFloat, NODE(image.transmitAll), 1, {0}},
    Flag("extra_flag_a", NODE(image.extraFlagA)),
    {"extra_values", FieldKind::kFloat, NODE(image.extraValues), 2, {0, 0}},
    Flag("extra_flag_b", NODE(image.extraFlagB))};
constexpr FieldLayout kNoiseFields[] = {Flag("per_axis", NODE(noise.perAxis)),
                                        Number("turbulence", NODE(noise.turbulence)),
                                        Vector("turbulence_xyz", NODE(noise.turbulenceXyz)),
                                        Integer("octaves", NODE(noise.octaves), 6),
                                        Number("omega", NODE(noise.omega), 0.5),
                                        Number("lambda", NODE(noise.lambda), 2),
                                        Number("frequency", NODE(noise.frequency), 1),
                                        Number("phase", NODE(noise.phase)),
                                        Choice("wave", NODE(noise.waveShape), kWaveShapes, 0)};
constexpr FieldLayout kWarpFields[] = {Choice("warp", NODE(warp.warp), kWarps, 0),
                                       Vector("centre", NODE(warp.centre)),
                                       Number("radius", NODE(warp.radius), 1),
                                       Number("falloff", NODE(warp.falloff), 1),
                                       Number("strength", NODE(warp.strength), 1),
                                       Vector("repeat", NODE(warp.repeat)),
                                       Vector("jitter", NODE(warp.jitter)),
                                       Flag("inverse", NODE(warp.inverse)),
                                       Vector("width", NODE(warp.width)),
                                       Vector("offset", NODE(warp.offset)),
                                       Vector("flip", NODE(warp.flip)),
                                       Vector("turbulence", NODE(warp.turbulence), 1, 1, 1),
                                       Integer("octaves", NODE(warp.octaves), 6),
                                       Number("omega", NODE(warp.omega), 0.5),
                                       Number("lambda", NODE(warp.lambda), 2)};
constexpr FieldLayout kCommentFields[] = {Text("text", NODE(comment.text), 256)};

constexpr NodeKindLayout kNodeKinds[] = {
    {abi::kNodeStandardTexture, "texture", {}, {}},
    {abi::kNodeTextureMap, "texture_map", kPatternFields, {}},
    {abi::kNodeMaterialMap, "material_map", kImageFields, {}},
    {abi::kNodeLayeredTexture, "layered_texture", {}, {}},
    {abi::kNodeBlockTexture, "block_texture", kBlockFields, {}},
    {abi::kNodePigment, "pigment", {}, {}},
    {abi::kNodeSolidColor, "solid_color", kColorFields, {}},
    {abi::kNodeBlockPigment, "block_pigment", kBlockFields, kBlockColorFields},
    {abi::kNodeBlockPigmentOfPigments, "block_pigment_map", kBlockFields, {}},
    {abi::kNodeBlockNormal, "block_normal", kBlockFields, {}},
    {abi::kNodePatternPigment, "pattern_pigment", kPatternFields, kColorMapFields},
    {abi::kNodePigmentMap, "pigment_map", kPatternFields, {}},
    {abi::kNodeNormalMap, "normal_map", kPatternFields, {}},
    {abi::kNodePatternNormal, "pattern_normal", kPatternFields, {}},
    {abi::kNodeImageMap, "image_map", kImageFields, {}},
    {abi::kNodeBumpMap, "bump_map", kImageFields, {}},
    {abi::kNodeBumpSize, "bump_size", kBumpSizeFields, {}},
    {abi::kNodeNormal, "normal", {}, {}},
    {abi::kNodeFinish, "finish", kFinishFields, {}},
    {abi::kNodeAmbientColor, "ambient_color", kColorFields, {}},
    {abi::kNodeReflectionColor, "reflection_color", kColorFields, {}},
    {abi::kNodeWarp, "warp", kWarpFields, {}},
    {abi::kNodeTransform, "transform", kTransformFields, {}},
    {abi::kNodeNoiseModifiers, "noise_modifiers", kNoiseFields, {}},
    {abi::kNodeBitmapModifiers, "bitmap_modifiers", {}, {}},
    {abi::kNodeMapEntry, "map_entry", kMapEntryFields, {}},
    {abi::kNodeComment, "comment", kCommentFields, {}},
    {abi::kNodeMaterial, "material", {}, {}},
    {abi::kNodeInterior, "interior", kInteriorFields, {}},
    {abi::kNodeMedia, "media", kMediaFields, {}},
    {abi::kNodeDensity, "density", {}, {}},
    {abi::kNodePatternPigmentAlt, "pattern_pigment_alt", kPatternFields, kColorMapFields},
    {abi::kNodeBlockPigmentOfPigmentsAlt, "block_pigment_map_alt", kBlockFields, {}},
    {abi::kNodePigmentMapAlt, "pigment_map_alt", kPatternFields, {}},
    {abi::kNodeAbsorption, "absorption", kColorFields, {}},
    {abi::kNodeEmission, "emission", kColorFields, {}},
    {abi::kNodeScattering, "scattering", kColorFields, {}},
};

#undef SHAPE
#undef NODE

#define RENDER(member) offsetof(abi::RenderSettingsRecord, member)
constexpr FieldLayout kRenderFields[] = {Integer("width", RENDER(width), 320),
                                         Integer("height", RENDER(height), 240),
                                         Flag("show_window", RENDER(showWindow), true),
                                         Flag("host_display", RENDER(hostDisplay)),
                                         Flag("antialias", RENDER(antialias)),
                                         Integer("antialias_mode", RENDER(antialiasMode), 1),
                                         Integer("antialias_depth", RENDER(antialiasDepth), 3),
                                         Number("antialias_threshold", RENDER(antialiasThreshold), 0.3),
                                         Number("extra_value", RENDER(extraValue)),
                                         Integer("extra_integer", RENDER(extraInteger)),
                                         {"output_format",
                                          FieldKind::kLetter,
                                          RENDER(outputFormat),
                                          1,
                                          {abi::kLetterPng},
                                          {},
                                          abi::kOutputFormatLetters},
                                         Text("output_directory", RENDER(outputDirectory), 260)};
#undef RENDER

#define ENVIRONMENT(member) offsetof(abi::EnvironmentRecord, member)
constexpr FieldLayout kEnvironmentFields[] = {Vector("background", ENVIRONMENT(background)),
                                              Vector("ambient", ENVIRONMENT(ambient), 0.2, 0.2, 0.2),
                                              Integer("max_depth", ENVIRONMENT(maxDepth), 5),
                                              Number("min_weight", ENVIRONMENT(minWeight), 0.01),
                                              Integer("texture_engine", ENVIRONMENT(textureEngine)),
                                              Text("media", ENVIRONMENT(mediaName), 64)};
#undef ENVIRONMENT

#define VIEW(member) offsetof(abi::ViewRecord, member)
constexpr FieldLayout kViewFields[] = {Text("name", VIEW(name), 20),
                                       Choice("projection", VIEW(projection), kProjections, 0),
                                       Integer("left", VIEW(left)),
                                       Integer("top", VIEW(top)),
                                       Integer("right", VIEW(right), 400),
                                       Integer("bottom", VIEW(bottom), 300),
                                       Flag("maximised", VIEW(flags)),
                                       Number("zoom", VIEW(zoom), 1),
                                       Vector("centre", VIEW(centre)),
                                       Integer("area_width", VIEW(areaWidth), 800),
                                       Integer("area_height", VIEW(areaHeight), 600)};
#undef VIEW

template <typename Layout, typename Key, typename Get>
const Layout* FindIn(std::span<const Layout> layouts, const Key& key, Get get) {
  const auto found =
      std::find_if(layouts.begin(), layouts.end(), [&](const Layout& layout) { return get(layout) == key; });
  return found == layouts.end() ? nullptr : &*found;
}

void StoreDefault(const FieldLayout& field, std::byte* at) {
  switch (field.kind) {
    case FieldKind::kDoubles:
    case FieldKind::kColor:
      for (uint32_t i = 0; i < field.count; ++i) {
        std::memcpy(at + i * sizeof(double), &field.defaults[i], sizeof(double));
      }
      break;
    case FieldKind::kFloat:
      for (uint32_t i = 0; i < field.count; ++i) {
        const float value = static_cast<float>(field.defaults[i]);
        std::memcpy(at + i * sizeof(float), &value, sizeof(float));
      }
      break;
    case FieldKind::kInteger:
    case FieldKind::kBool:
    case FieldKind::kEnum:
    case FieldKind::kLetter:
      for (uint32_t i = 0; i < field.count; ++i) {
        const uint32_t value = static_cast<uint32_t>(field.defaults[i]);
        std::memcpy(at + i * sizeof(uint32_t), &value, sizeof(uint32_t));
      }
      break;
    case FieldKind::kText:
      std::memset(at, 0, field.count);
      break;
    case FieldKind::kBytes8:
      std::memcpy(at, kPluginKindIds[static_cast<size_t>(field.defaults[0])].data(), 8);
      break;
    case FieldKind::kColorMap:
      std::memset(at, 0, sizeof(uint32_t) + sizeof(abi::PatternParams::colorMap));
      break;
  }
}

}  // namespace

std::optional<uint32_t> ValueOfName(NameTable table, std::string_view name) {
  for (const NamedValue& entry : table) {
    if (name == entry.name) return entry.value;
  }
  return std::nullopt;
}

const char* NameOfValue(NameTable table, uint32_t value) {
  for (const NamedValue& entry : table) {
    if (entry.value == value) return entry.name;
  }
  return nullptr;
}

std::span<const ObjectTypeLayout> ObjectTypes() { return kObjectTypes; }
std::span<const NodeKindLayout> NodeKinds() { return kNodeKinds; }

const ObjectTypeLayout* FindObjectType(uint32_t type) {
  return FindIn<ObjectTypeLayout>(kObjectTypes, type, [](const auto& s) { return s.type; });
}
const ObjectTypeLayout* FindObjectType(std::string_view name) {
  return FindIn<ObjectTypeLayout>(kObjectTypes, name, [](const auto& s) { return std::string_view(s.name); });
}
const NodeKindLayout* FindNodeKind(uint32_t kind) {
  return FindIn<NodeKindLayout>(kNodeKinds, kind, [](const auto& s) { return s.kind; });
}
const NodeKindLayout* FindNodeKind(std::string_view name) {
  return FindIn<NodeKindLayout>(kNodeKinds, name, [](const auto& s) { return std::string_view(s.name); });
}

FieldList RenderSettingsFields() { return kRenderFields; }
FieldList EnvironmentFields() { return kEnvironmentFields; }
FieldList ViewFields() { return kViewFields; }
NameTable PatternNames() { return kPatterns; }
std::span<const std::array<uint8_t, 8>> PluginKinds() { return kPluginKindIds; }

void ApplyDefaults(FieldList fields, std::byte* base) {
  for (const FieldLayout& field : fields) StoreDefault(field, base + field.offset);
}

}  // namespace lumetra::host
