#include "rib/interpreter.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "platform/file_io.h"
#include "rib/placement.h"
#include "rib/rib_error.h"
#include "rib/shapes.h"
#include "rib/triangulation.h"

namespace lumetra::rib {
namespace {

using Member = void (Interpreter::*)(const Request&, Arguments&);

constexpr int kMaxNesting = 16;           // archives in archives, instances in objects
constexpr int kMaxPictureSide = 16384;    // pixels
constexpr double kDistantLightFar = 1e6;  // where a distant light's point stands in

const char* BlockName(int kind) {
  static const char* const names[] = {"FrameBegin",     "WorldBegin", "AttributeBegin",
                                      "TransformBegin", "SolidBegin", "ObjectBegin"};
  return names[kind];
}

math::Matrix4 MatrixOf(const std::vector<double>& m) {
  std::array<double, 16> elements;
  std::copy_n(m.begin(), 16, elements.begin());
  return math::Matrix4(elements);
}

math::Matrix4 Translation(double x, double y, double z) {
  math::Matrix4 m;
  m(3, 0) = x;
  m(3, 1) = y;
  m(3, 2) = z;
  return m;
}

// A light's strength is divided by quadratic d^2 + linear d + constant at distance d.
struct Fading {
  bool known;
  double quadratic, linear, constant;
};

// RenderMan's lights fade with the square of the distance (power 2, unit distance); power 1
// fades linearly and 0 not at all. Given a distance D the light keeps its full strength
// there and fades half as fast: 1 / (0.5 + 0.5 (d / D)^power).
Fading FadingOf(double power, double distance) {
  if (!(distance >= 0) || (power != 0 && power != 1 && power != 2)) return {false, 0, 0, 0};
  if (power == 0) return {true, 0, 0, 1};
  if (distance == 0) return power == 1 ? Fading{true, 0, 1, 0} : Fading{true, 1, 0, 0};
  return power == 1 ? Fading{true, 0, 0.5 / distance, 0.5}
                    : Fading{true, 0.5 / (distance * distance), 0, 0.5};
}

struct PixelTarget {
  Picture* picture;
};

int32_t StorePixel(int32_t x, int32_t y, const float color[4], void* user) {
  Picture& picture = *static_cast<PixelTarget*>(user)->picture;
  if (x < 0 || y < 0 || x >= picture.width || y >= picture.height) return 0;
  std::copy_n(color, 4, &picture.rgba[(static_cast<std::size_t>(y) * picture.width + x) * 4]);
  return 0;
}

}  // namespace

Interpreter::Interpreter(Diagnostics& diagnostics, InterpreterOptions options)
    : diagnostics_(diagnostics), options_(std::move(options)) {
  attributes_.uBasis = attributes_.vBasis = *NamedBasis("bezier");
}

Interpreter::~Interpreter() {
  if (scene_ != 0) FreeScene(scene_);
}

std::vector<std::string> Interpreter::KnownRequests() {
  return {"AttributeBegin",
          "AttributeEnd",
          "Basis",
          "Clipping",
          "Color",
          "ConcatTransform",
          "Cone",
          "Cylinder",
          "Declare",
          "Disk",
          "Display",
          "Format",
          "FrameAspectRatio",
          "FrameBegin",
          "FrameEnd",
          "GeneralPolygon",
          "Hyperboloid",
          "Identity",
          "Imager",
          "LightSource",
          "ObjectBegin",
          "ObjectEnd",
          "ObjectInstance",
          "Opacity",
          "Paraboloid",
          "Patch",
          "PatchMesh",
          "PixelSamples",
          "PointsGeneralPolygons",
          "PointsPolygons",
          "Polygon",
          "Projection",
          "ReadArchive",
          "Rotate",
          "Scale",
          "ScreenWindow",
          "SolidBegin",
          "SolidEnd",
          "Sphere",
          "Surface",
          "Torus",
          "Transform",
          "TransformBegin",
          "TransformEnd",
          "Translate",
          "WorldBegin",
          "WorldEnd",
          "version"};
}

void Interpreter::ReadFile(const std::filesystem::path& path) {
  std::string text;
  if (const std::error_code error = platform::ReadFileBounded(path, std::size_t{1} << 30, text))
    throw std::system_error(error, path.string());
  archiveFolders_.push_back(path.parent_path());
  ReadText(text, path.string());
  archiveFolders_.pop_back();
}

void Interpreter::ReadText(std::string_view text, const std::string& fileName) {
  ReadRequests(text, fileName, [this](const Request& request) { Dispatch(request); });
}

void Interpreter::Dispatch(const Request& request) {
  if (recording_ != nullptr && request.name != "ObjectEnd" && request.name != "ObjectBegin") {
    recording_->push_back(request);
    return;
  }
  Carry(request);
}

void Interpreter::Carry(const Request& request) {
  Arguments arguments(request, declarations_, diagnostics_);
  const std::string& name = request.name;
  static const std::map<std::string, Member> members = {
      {"Format", &Interpreter::CameraRequest},
      {"FrameAspectRatio", &Interpreter::CameraRequest},
      {"ScreenWindow", &Interpreter::CameraRequest},
      {"Projection", &Interpreter::CameraRequest},
      {"Clipping", &Interpreter::CameraRequest},
      {"PixelSamples", &Interpreter::CameraRequest},
      {"Display", &Interpreter::CameraRequest},
      {"Imager", &Interpreter::CameraRequest},
      {"Identity", &Interpreter::TransformRequest},
      {"Transform", &Interpreter::TransformRequest},
      {"ConcatTransform", &Interpreter::TransformRequest},
      {"Translate", &Interpreter::TransformRequest},
      {"Rotate", &Interpreter::TransformRequest},
      {"Scale", &Interpreter::TransformRequest},
      {"Color", &Interpreter::AttributeRequest},
      {"Opacity", &Interpreter::AttributeRequest},
      {"Surface", &Interpreter::AttributeRequest},
      {"Basis", &Interpreter::AttributeRequest},
      {"Declare", &Interpreter::AttributeRequest},
      {"version", &Interpreter::AttributeRequest},
      {"LightSource", &Interpreter::LightRequest},
      {"Sphere", &Interpreter::QuadricRequest},
      {"Cylinder", &Interpreter::QuadricRequest},
      {"Cone", &Interpreter::QuadricRequest},
      {"Disk", &Interpreter::QuadricRequest},
      {"Torus", &Interpreter::QuadricRequest},
      {"Paraboloid", &Interpreter::QuadricRequest},
      {"Hyperboloid", &Interpreter::QuadricRequest},
      {"Polygon", &Interpreter::PolygonRequest},
      {"GeneralPolygon", &Interpreter::PolygonRequest},
      {"PointsPolygons", &Interpreter::PolygonRequest},
      {"PointsGeneralPolygons", &Interpreter::PolygonRequest},
      {"Patch", &Interpreter::PatchRequest},
      {"PatchMesh", &Interpreter::PatchRequest},
      {"SolidBegin", &Interpreter::SolidRequest},
      {"SolidEnd", &Interpreter::SolidRequest},
      {"ObjectBegin", &Interpreter::ObjectRequest},
      {"ObjectEnd", &Interpreter::ObjectRequest},
      {"ObjectInstance", &Interpreter::ObjectRequest},
      {"ReadArchive", &Interpreter::ArchiveRequest}};
  static const std::map<std::string, BlockKind> begins = {{"FrameBegin", BlockKind::kFrame},
                                                          {"WorldBegin", BlockKind::kWorld},
                                                          {"AttributeBegin", BlockKind::kAttribute},
                                                          {"TransformBegin", BlockKind::kTransform}};
  static const std::map<std::string, BlockKind> ends = {{"FrameEnd", BlockKind::kFrame},
                                                        {"WorldEnd", BlockKind::kWorld},
                                                        {"AttributeEnd", BlockKind::kAttribute},
                                                        {"TransformEnd", BlockKind::kTransform}};
  if (const auto member = members.find(name); member != members.end()) {
    (this->*member->second)(request, arguments);
  } else if (const auto begin = begins.find(name); begin != begins.end()) {
    if (begin->second == BlockKind::kFrame && !arguments.AtEnd()) (void)arguments.TakeInteger();
    arguments.ExpectEnd();
    Begin(begin->second, request);
  } else if (const auto end = ends.find(name); end != ends.end()) {
    arguments.ExpectEnd();
    End(end->second, request);
  } else {
    std::string lower = name;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return std::tolower(c); });
    if (lower == "nan" || lower == "inf" || lower == "infinity")
      throw RibError(request.fileName, request.line, name + " is not a number RIB reads");
    diagnostics_.SkipRequest(name);
  }
}

void Interpreter::Begin(BlockKind kind, const Request& request) {
  const bool inWorld =
      std::any_of(blocks_.begin(), blocks_.end(), [](const Block& b) { return b.kind == BlockKind::kWorld; });
  if (kind == BlockKind::kWorld && inWorld)
    throw RibError(request.fileName, request.line, "WorldBegin inside a world");
  if (kind == BlockKind::kFrame && std::any_of(blocks_.begin(), blocks_.end(), [](const Block& b) {
        return b.kind != BlockKind::kAttribute && b.kind != BlockKind::kTransform;
      }))
    throw RibError(request.fileName, request.line, "FrameBegin inside a frame or world");
  blocks_.push_back(Block{kind, request.fileName, request.line, attributes_, camera_});
  if (kind == BlockKind::kWorld) {
    worldToCamera_ = attributes_.transform;
    attributes_.transform.SetIdentity();
    ambient_ = {};
    scene_ = NewScene();
    if (scene_ == 0)
      throw RibError(request.fileName, request.line, std::string("no scene: ") + GetLastErrorMessage());
  }
}

void Interpreter::End(BlockKind kind, const Request& request) {
  if (blocks_.empty())
    throw RibError(request.fileName, request.line,
                   request.name + " without " + BlockName(static_cast<int>(kind)));
  const Block& open = blocks_.back();
  if (open.kind != kind)
    throw RibError(request.fileName, request.line,
                   request.name + " closes " + BlockName(static_cast<int>(open.kind)) + " of " +
                       open.fileName + ":" + std::to_string(open.line));
  if (kind == BlockKind::kWorld) RenderWorld();
  if (kind == BlockKind::kTransform) {
    attributes_.transform = open.attributes.transform;
  } else {
    attributes_ = open.attributes;
  }
  if (kind == BlockKind::kFrame) camera_ = open.camera;
  blocks_.pop_back();
}

void Interpreter::Finish() {
  if (recording_ != nullptr || !blocks_.empty()) {
    const Block& open = blocks_.back();
    throw RibError(open.fileName, open.line,
                   std::string(BlockName(static_cast<int>(open.kind))) + " is never closed");
  }
}

void Interpreter::RequireWorld(const Arguments& arguments, const Request&) const {
  if (scene_ == 0) arguments.Fail("only inside WorldBegin and WorldEnd");
}

void Interpreter::CameraRequest(const Request& request, Arguments& arguments) {
  const std::string& name = request.name;
  if (scene_ != 0) arguments.Fail("only before WorldBegin");
  if (name == "Format") {
    const int width = arguments.TakeInteger(), height = arguments.TakeInteger();
    const double aspect = arguments.TakeNumber();
    arguments.ExpectEnd();
    if (width < 1 || height < 1 || width > kMaxPictureSide || height > kMaxPictureSide)
      arguments.Fail("picture size must be 1 to " + std::to_string(kMaxPictureSide) + " pixels a side");
    camera_.width = width;
    camera_.height = height;
    camera_.pixelAspect = aspect > 0 ? aspect : 1;
  } else if (name == "FrameAspectRatio") {
    const double aspect = arguments.TakeNumber();
    arguments.ExpectEnd();
    if (!(aspect > 0)) arguments.Fail("the aspect ratio must be above 0");
    camera_.frameAspect = aspect;
  } else if (name == "ScreenWindow") {
    std::array<double, 4> window;
    for (double& side : window) side = arguments.TakeNumber();
    arguments.ExpectEnd();
    if (!(window[1] > window[0]) || !(window[3] > window[2])) arguments.Fail("an empty screen window");
    camera_.screenWindow = window;
  } else if (name == "Projection") {
    const std::string kind = arguments.TakeString();
    const ParameterList parameters = arguments.TakeParameters();
    if (kind == "perspective") {
      camera_.perspective = true;
      camera_.fov = parameters.Number("fov", 90);
      if (!(camera_.fov > 0 && camera_.fov < 180)) arguments.Fail("fov must lie between 0 and 180 degrees");
    } else if (kind == "orthographic") {
      camera_.perspective = false;
    } else {
      diagnostics_.Once("projection \"" + kind + "\" is not known: using orthographic");
      camera_.perspective = false;
    }
    // The camera transform starts afresh with the projection.
    attributes_.transform.SetIdentity();
  } else if (name == "Clipping") {
    const double near = arguments.TakeNumber(), far = arguments.TakeNumber();
    arguments.ExpectEnd();
    if (!(near > 0) || !(far > near)) arguments.Fail("needs 0 < near < far");
  } else if (name == "PixelSamples") {
    const double x = arguments.TakeNumber(), y = arguments.TakeNumber();
    arguments.ExpectEnd();
    if (!(x >= 1) || !(y >= 1) || x > 64 || y > 64) arguments.Fail("samples must be 1 to 64 a side");
    camera_.samplesX = static_cast<int>(x);
    camera_.samplesY = static_cast<int>(y);
  } else if (name == "Imager") {
    const std::string shader = arguments.TakeString();
    const ParameterList parameters = arguments.TakeParameters();
    if (shader == "background") {
      camera_.background = parameters.Triple("bgcolor", {0, 0, 0});
    } else {
      diagnostics_.Once("imager \"" + shader + "\" is not known: left out");
    }
  } else if (name == "Display") {
    std::string displayName = arguments.TakeString();
    const std::string type = arguments.TakeString(), mode = arguments.TakeString();
    (void)arguments.TakeParameters();
    if (!displayName.empty() && displayName[0] == '+') {
      diagnostics_.Once("only the first Display is written; skipping " + displayName);
      return;
    }
    if (type != "file" && type != "tiff" && type != "png")
      diagnostics_.Once("Display type \"" + type + "\" is written as a file");
    if (mode != "rgb" && mode != "rgba")
      diagnostics_.Once("Display mode \"" + mode + "\" is written as rgb(a)");
    camera_.displayName = displayName;
    camera_.displayType = type;
    camera_.displayMode = mode;
  }
}

void Interpreter::TransformRequest(const Request& request, Arguments& arguments) {
  const std::string& name = request.name;
  math::Matrix4& ctm = attributes_.transform;
  if (name == "Identity") {
    arguments.ExpectEnd();
    ctm.SetIdentity();
    return;
  }
  math::Matrix4 step;
  if (name == "Transform" || name == "ConcatTransform") {
    std::vector<double> elements;
    for (int i = 0; i < 16; ++i) elements.push_back(arguments.TakeNumber());
    step = MatrixOf(elements);
    if (name == "Transform") ctm.SetIdentity();
  } else if (name == "Translate") {
    const double x = arguments.TakeNumber(), y = arguments.TakeNumber(), z = arguments.TakeNumber();
    step = Translation(x, y, z);
  } else if (name == "Rotate") {
    const double angle = arguments.TakeNumber();
    const double x = arguments.TakeNumber(), y = arguments.TakeNumber(), z = arguments.TakeNumber();
    if (x == 0 && y == 0 && z == 0) arguments.Fail("the axis is zero");
    step = math::Matrix4::AxisAngle({x, y, z}, angle * std::numbers::pi / 180);
  } else if (name == "Scale") {
    step(0, 0) = arguments.TakeNumber();
    step(1, 1) = arguments.TakeNumber();
    step(2, 2) = arguments.TakeNumber();
  }
  arguments.ExpectEnd();
  // RIB's transforms apply to the points first: the new step goes in front.
  ctm.PreMultiply(step);
}

void Interpreter::AttributeRequest(const Request& request, Arguments& arguments) {
  const std::string& name = request.name;
  Surface& surface = attributes_.surface;
  auto takeColor = [&] {
    const double r = arguments.TakeNumber(), g = arguments.TakeNumber(), b = arguments.TakeNumber();
    arguments.ExpectEnd();
    return math::Vector3{r, g, b};
  };
  if (name == "Color") {
    surface.color = takeColor();
  } else if (name == "Opacity") {
    surface.opacity = takeColor();
  } else if (name == "Surface") {
    const std::string shader = arguments.TakeString();
    const ParameterList parameters = arguments.TakeParameters();
    if (!SurfaceForName(shader, surface)) {
      diagnostics_.Once("surface \"" + shader + "\" is not known: using defaultsurface");
      SurfaceForName("defaultsurface", surface);
    }
    surface.ka = parameters.Number("Ka", surface.ka);
    surface.kd = parameters.Number("Kd", surface.kd);
    surface.ks = parameters.Number("Ks", surface.ks);
    surface.roughness = parameters.Number("roughness", surface.roughness);
    surface.specularColor = parameters.Triple("specularcolor", surface.specularColor);
  } else if (name == "Basis") {
    Basis* bases[] = {&attributes_.uBasis, &attributes_.vBasis};
    Basis taken[2];
    for (int i = 0; i < 2; ++i) {
      if (arguments.NextIsText()) {
        const std::string basisName = arguments.TakeString();
        const auto basis = NamedBasis(basisName);
        if (!basis) arguments.Fail("unknown basis \"" + basisName + "\"");
        taken[i] = *basis;
      } else {
        const std::vector<double> matrix = arguments.TakeNumbers();
        if (matrix.size() != 16) arguments.Fail("a basis matrix needs 16 numbers");
        std::copy(matrix.begin(), matrix.end(), taken[i].matrix.begin());
      }
      taken[i].step = arguments.TakeInteger();
      if (taken[i].step < 1) arguments.Fail("the step must be at least 1");
    }
    arguments.ExpectEnd();
    *bases[0] = taken[0];
    *bases[1] = taken[1];
  } else if (name == "Declare") {
    const std::string parameter = arguments.TakeString(), declaration = arguments.TakeString();
    arguments.ExpectEnd();
    if (!declarations_.Declare(parameter, declaration))
      arguments.Fail("malformed declaration \"" + declaration + "\" of \"" + parameter + "\"");
  } else if (name == "version") {
    (void)arguments.TakeNumber();
    arguments.ExpectEnd();
  }
}

math::Matrix4 Interpreter::ObjectToCamera(const Arguments& arguments) const {
  const math::Matrix4 m = attributes_.transform * worldToCamera_;
  if (!IsUsableTransform(m)) arguments.Fail("the transform is out of range");
  return m;
}

void Interpreter::LightRequest(const Request& request, Arguments& arguments) {
  RequireWorld(arguments, request);
  const std::string shader = arguments.TakeString();
  if (!arguments.AtEnd() && !arguments.NextIsText())
    (void)arguments.TakeNumber();  // the light's number
  else if (arguments.NextIsText() && request.values.size() % 2 == 0)
    (void)arguments.TakeString();  // its name
  const ParameterList parameters = arguments.TakeParameters();
  const math::Matrix4 m = ObjectToCamera(arguments);
  const double intensity = parameters.Number("intensity", 1);
  const math::Vector3 color = parameters.Triple("lightcolor", {1, 1, 1}) * intensity;
  if (shader == "ambientlight") {
    ambient_ = ambient_ + color;
    return;
  }
  if (shader != "distantlight" && shader != "pointlight" && shader != "spotlight") {
    diagnostics_.Once("light \"" + shader + "\" is not known: left out");
    return;
  }
  const math::Vector3 from = TransformPoint(m, parameters.Triple("from", {0, 0, 0}));
  const math::Vector3 to = TransformPoint(m, parameters.Triple("to", {0, 0, 1}));
  const L2Light light = shader == "spotlight" ? CreateSpotLight(scene_) : CreateLight(scene_);
  if (light == 0)
    arguments.Fail(std::string("the render library refused the light: ") + GetLastErrorMessage());
  SetLightColor(scene_, light, color.x, color.y, color.z);
  const std::string shadows = parameters.Text("shadows", "off");
  if (shadows != "on" && shadows != "off") arguments.Fail("\"shadows\" is \"on\" or \"off\"");
  SetLightShadowing(scene_, light, shadows == "on" ? 1 : 0);
  if (shader == "distantlight") {
    const math::Vector3 direction = to - from;
    const double length = math::Length(direction);
    if (!(length > 0)) arguments.Fail("\"from\" and \"to\" are the same point");
    const math::Vector3 at = direction * (-kDistantLightFar / length);
    SetLightLocation(scene_, light, at.x, at.y, at.z);
    return;
  }
  SetLightLocation(scene_, light, from.x, from.y, from.z);
  const Fading fading = FadingOf(parameters.Number("falloff", 2), parameters.Number("falloffdistance", 0));
  if (!fading.known) arguments.Fail("\"falloff\" is 0, 1 or 2 and \"falloffdistance\" not below 0");
  SetLightCoeffs(scene_, light, fading.quadratic, fading.linear, fading.constant);
  if (shader == "spotlight") {
    const double toDegrees = 180 / std::numbers::pi;
    const double cone = parameters.Number("coneangle", std::numbers::pi / 6) * toDegrees;
    const double delta = parameters.Number("conedeltaangle", 5 / toDegrees) * toDegrees;
    const double beam = parameters.Number("beamdistribution", 2);
    const double falloff = std::clamp(cone, 0.0, 180.0);
    // The light's own space is the scene's: it aims at the target as given.
    if (SetSpotLightCoeffs(scene_, light, to.x, to.y, to.z, std::max(beam, 0.0),
                           std::clamp(cone - delta, 0.0, falloff), falloff) != L2_OK)
      arguments.Fail("the render library refused the spot light's cone");
  }
}

void Interpreter::AddShape(const Request& request, const Arguments& arguments, L2Primitive prim) {
  if (prim == 0) {
    diagnostics_.Once(request.name + " left out: " + GetLastErrorMessage());
    return;
  }
  if (PlacePrimitive(scene_, prim, ObjectToCamera(arguments)) != L2_OK)
    diagnostics_.Once(request.name + " with a transform the render library refused is drawn unplaced");
  const L2Texture texture = CreateSurfaceTexture(scene_, attributes_.surface);
  if (texture != 0) SetPrimTexture(scene_, prim, texture);
  if (!solids_.empty()) solids_.back().operands.push_back(prim);
}

void Interpreter::QuadricRequest(const Request& request, Arguments& arguments) {
  RequireWorld(arguments, request);
  const std::string& name = request.name;
  const std::size_t counts[] = {4, 4, 3, 3, 5, 4, 7};
  const char* names[] = {"Sphere", "Cylinder", "Cone", "Disk", "Torus", "Paraboloid", "Hyperboloid"};
  const std::size_t kind =
      static_cast<std::size_t>(std::find(std::begin(names), std::end(names), name) - names);
  std::vector<double> a;
  for (std::size_t i = 0; i < counts[kind]; ++i) a.push_back(arguments.TakeNumber());
  (void)arguments.TakeParameters();
  // A solid's pieces close it; the library's cylinders and cones close themselves, so a
  // disk there is taken for their cap.
  if (kind == 3 && !solids_.empty()) {
    diagnostics_.Once("a Disk in a solid is taken for the cap of a closed cylinder or cone and left out");
    return;
  }
  L2Primitive prim = 0;
  switch (kind) {
    case 0:
      prim = MakeSphere(scene_, a[0], a[1], a[2], a[3]);
      break;
    case 1:
      prim = MakeCylinder(scene_, a[0], a[1], a[2], a[3]);
      break;
    case 2:
      prim = MakeCone(scene_, a[0], a[1], a[2]);
      break;
    case 3:
      prim = MakeDisk(scene_, a[0], a[1], a[2]);
      break;
    case 4:
      prim = MakeTorus(scene_, a[0], a[1], a[2], a[3], a[4]);
      break;
    case 5:
      prim = MakeParaboloid(scene_, a[0], a[1], a[2], a[3]);
      break;
    default:
      prim = MakeHyperboloid(scene_, {a[0], a[1], a[2]}, {a[3], a[4], a[5]}, a[6]);
      break;
  }
  if ((kind == 1 || kind == 2) && prim != 0 && !solids_.empty()) SetConeEndcaps(scene_, prim, 1);
  AddShape(request, arguments, prim);
}

void Interpreter::PolygonRequest(const Request& request, Arguments& arguments) {
  RequireWorld(arguments, request);
  const std::string& name = request.name;
  // Every form comes down to polygons of loops of point indices.
  std::vector<int> loopsPerPolygon, verticesPerLoop, indices;
  if (name == "GeneralPolygon") {
    verticesPerLoop = arguments.TakeIntegers();
    loopsPerPolygon = {static_cast<int>(verticesPerLoop.size())};
  } else if (name == "PointsPolygons") {
    verticesPerLoop = arguments.TakeIntegers();
    loopsPerPolygon.assign(verticesPerLoop.size(), 1);
    indices = arguments.TakeIntegers();
  } else if (name == "PointsGeneralPolygons") {
    loopsPerPolygon = arguments.TakeIntegers();
    verticesPerLoop = arguments.TakeIntegers();
    indices = arguments.TakeIntegers();
  }
  const ParameterList parameters = arguments.TakeParameters();
  const Parameter* p = parameters.Find("P");
  if (p == nullptr || p->declaration.ValuesPerItem() != 3) arguments.Fail("needs \"P\" points");
  const std::vector<double>& coordinates = p->value.numbers;
  const int pointCount = static_cast<int>(coordinates.size() / 3);
  if (name == "Polygon") {
    verticesPerLoop = {pointCount};
    loopsPerPolygon = {1};
  }
  if (name == "Polygon" || name == "GeneralPolygon")
    for (int i = 0; i < pointCount; ++i) indices.push_back(i);
  long loopTotal = 0, vertexTotal = 0;
  for (const int loops : loopsPerPolygon) {
    if (loops < 1) arguments.Fail("a polygon needs at least one loop");
    loopTotal += loops;
  }
  if (loopTotal != static_cast<long>(verticesPerLoop.size()))
    arguments.Fail("the loop counts add up to " + std::to_string(loopTotal) + ", not the " +
                   std::to_string(verticesPerLoop.size()) + " vertex counts given");
  for (const int vertices : verticesPerLoop) {
    if (vertices < 3) arguments.Fail("a loop needs at least 3 vertices");
    vertexTotal += vertices;
  }
  if (vertexTotal != static_cast<long>(indices.size()))
    arguments.Fail(
        "the vertex counts add up to " + std::to_string(vertexTotal) + ", but " +
        std::to_string(indices.size()) +
        (name == "Polygon" || name == "GeneralPolygon" ? " points are given" : " vertex indices are given"));
  for (const int index : indices)
    if (index < 0 || index >= pointCount)
      arguments.Fail("vertex index " + std::to_string(index) + " is not one of the " +
                     std::to_string(pointCount) + " points");
  std::vector<math::Vector3> points;
  for (int i = 0; i < pointCount; ++i)
    points.push_back({coordinates[3 * i], coordinates[3 * i + 1], coordinates[3 * i + 2]});
  std::vector<std::array<int, 3>> triangles;
  std::size_t loop = 0, next = 0;
  for (const int loops : loopsPerPolygon) {
    std::vector<std::vector<math::Vector3>> shape;
    std::vector<int> order;  // point index of each vertex in the order Triangulate counts them
    for (int l = 0; l < loops; ++l, ++loop) {
      std::vector<math::Vector3> ring;
      for (int v = 0; v < verticesPerLoop[loop]; ++v, ++next) {
        ring.push_back(points[indices[next]]);
        order.push_back(indices[next]);
      }
      shape.push_back(std::move(ring));
    }
    for (const auto& t : Triangulate(shape)) triangles.push_back({order[t[0]], order[t[1]], order[t[2]]});
  }
  if (triangles.empty()) {
    diagnostics_.Once(name + " without area left out");
    return;
  }
  AddShape(request, arguments, MakeTriangleMesh(scene_, points, triangles));
}

void Interpreter::PatchRequest(const Request& request, Arguments& arguments) {
  RequireWorld(arguments, request);
  const std::string type = arguments.TakeString();
  const bool mesh = request.name == "PatchMesh";
  int nu = 4, nv = 4;
  bool uPeriodic = false, vPeriodic = false;
  if (type != "bicubic" && type != "bilinear") arguments.Fail("unknown patch type \"" + type + "\"");
  const bool bilinear = type == "bilinear";
  if (bilinear) nu = nv = 2;
  if (mesh) {
    nu = arguments.TakeInteger();
    const std::string uWrap = arguments.TakeString();
    nv = arguments.TakeInteger();
    const std::string vWrap = arguments.TakeString();
    for (const std::string* wrap : {&uWrap, &vWrap})
      if (*wrap != "periodic" && *wrap != "nonperiodic") arguments.Fail("unknown wrap \"" + *wrap + "\"");
    uPeriodic = uWrap == "periodic";
    vPeriodic = vWrap == "periodic";
  }
  const ParameterList parameters = arguments.TakeParameters();
  const int order = bilinear ? 2 : 4;
  const int uStep = bilinear ? 1 : attributes_.uBasis.step, vStep = bilinear ? 1 : attributes_.vBasis.step;
  auto patchCount = [&](int n, bool periodic, int step, const char* side) {
    if (n < (periodic ? 1 : order)) arguments.Fail(std::string("too few points in ") + side);
    const int span = periodic ? n : n - order;
    if (span % step != 0) arguments.Fail(std::string("the points in ") + side + " do not fit the basis step");
    return periodic ? n / step : span / step + 1;
  };
  const int uPatches = patchCount(nu, uPeriodic, uStep, "u"),
            vPatches = patchCount(nv, vPeriodic, vStep, "v");
  if (static_cast<long>(nu) * nv > 1'000'000) arguments.Fail("too many points");
  const auto p = parameters.PerVertex("P", static_cast<std::size_t>(nu) * nv);
  if (!p || parameters.Find("P")->declaration.ValuesPerItem() != 3) arguments.Fail("needs \"P\" points");
  auto point = [&](int u, int v) {
    const std::size_t i = 3 * (static_cast<std::size_t>(v % nv) * nu + u % nu);
    return math::Vector3{(*p)[i], (*p)[i + 1], (*p)[i + 2]};
  };
  std::vector<PatchPoints> patches;
  for (int pv = 0; pv < vPatches; ++pv)
    for (int pu = 0; pu < uPatches; ++pu) {
      PatchPoints control;
      if (bilinear) {
        // The bilinear patch's corners spread to the 4 x 4 Bezier points of the same surface.
        const math::Vector3 c00 = point(pu, pv), c10 = point(pu + 1, pv), c01 = point(pu, pv + 1),
                            c11 = point(pu + 1, pv + 1);
        for (int j = 0; j < 4; ++j)
          for (int i = 0; i < 4; ++i) {
            const double s = i / 3.0, t = j / 3.0;
            control[4 * j + i] = (c00 * (1 - s) + c10 * s) * (1 - t) + (c01 * (1 - s) + c11 * s) * t;
          }
      } else {
        for (int j = 0; j < 4; ++j)
          for (int i = 0; i < 4; ++i) control[4 * j + i] = point(pu * uStep + i, pv * vStep + j);
        control = ToBezier(attributes_.uBasis.matrix, attributes_.vBasis.matrix, control);
      }
      patches.push_back(control);
    }
  AddShape(request, arguments, MakeBezierPatches(scene_, patches));
}

void Interpreter::SolidRequest(const Request& request, Arguments& arguments) {
  RequireWorld(arguments, request);
  if (request.name == "SolidBegin") {
    const std::string operation = arguments.TakeString();
    arguments.ExpectEnd();
    if (operation != "primitive" && operation != "union" && operation != "intersection" &&
        operation != "difference")
      arguments.Fail("unknown solid operation \"" + operation + "\"");
    Begin(BlockKind::kSolid, request);
    solids_.push_back(Solid{operation, {}});
    return;
  }
  arguments.ExpectEnd();
  End(BlockKind::kSolid, request);
  Solid solid = std::move(solids_.back());
  solids_.pop_back();
  if (solid.operands.empty()) return;
  const int operation = solid.operation == "intersection" ? L2_CSG_INTERSECTION
                        : solid.operation == "difference" ? L2_CSG_DIFFERENCE
                                                          : L2_CSG_UNION;
  L2Primitive result = solid.operands[0];
  for (std::size_t i = 1; i < solid.operands.size(); ++i) {
    result = CreateCSG(scene_, operation, result, solid.operands[i]);
    if (result == 0)
      arguments.Fail(std::string("the render library refused the solid: ") + GetLastErrorMessage());
  }
  if (!solids_.empty()) solids_.back().operands.push_back(result);
}

void Interpreter::ObjectRequest(const Request& request, Arguments& arguments) {
  auto takeHandle = [&] {
    if (arguments.NextIsText()) return "\"" + arguments.TakeString() + "\"";
    const double number = arguments.TakeNumber();
    return number == std::floor(number) && std::fabs(number) < 1e15
               ? std::to_string(static_cast<long long>(number))
               : std::to_string(number);
  };
  if (request.name == "ObjectBegin") {
    if (recording_ != nullptr) arguments.Fail("object definitions do not nest");
    const std::string handle = takeHandle();
    arguments.ExpectEnd();
    Begin(BlockKind::kObject, request);
    recording_ = &objects_[handle];
    recording_->clear();
  } else if (request.name == "ObjectEnd") {
    arguments.ExpectEnd();
    if (recording_ == nullptr) arguments.Fail("without ObjectBegin");
    recording_ = nullptr;
    End(BlockKind::kObject, request);
  } else {
    const std::string handle = takeHandle();
    arguments.ExpectEnd();
    RequireWorld(arguments, request);
    const auto object = objects_.find(handle);
    if (object == objects_.end()) arguments.Fail("no object " + handle + " was defined");
    if (objectDepth_ >= kMaxNesting) arguments.Fail("objects nest too deep");
    // An instance is its requests again under the current transform and attributes.
    const std::vector<Request> requests = object->second;
    const Attributes saved = attributes_;
    const std::size_t depth = blocks_.size();
    ++objectDepth_;
    try {
      for (const Request& inner : requests) Carry(inner);
    } catch (...) {
      --objectDepth_;
      throw;
    }
    --objectDepth_;
    if (blocks_.size() != depth) arguments.Fail("object " + handle + " leaves a block open");
    attributes_ = saved;
  }
}

void Interpreter::ArchiveRequest(const Request& request, Arguments& arguments) {
  const std::string name = arguments.TakeString();
  (void)arguments.TakeParameters();
  if (!options_.readArchives) arguments.Fail("archives are not read here");
  if (archiveDepth_ >= kMaxNesting) arguments.Fail("archives nest too deep");
  std::filesystem::path path = name;
  if (path.is_relative() && !archiveFolders_.empty()) path = archiveFolders_.back() / path;
  ++archiveDepth_;
  try {
    ReadFile(path);
  } catch (const std::system_error& error) {
    --archiveDepth_;
    throw RibError(request.fileName, request.line,
                   "cannot read archive " + name + ": " + error.code().message());
  } catch (...) {
    --archiveDepth_;
    throw;
  }
  --archiveDepth_;
}

void Interpreter::RenderWorld() {
  const Camera& c = camera_;
  // Screen window: the shorter side spans -1..1 unless given.
  const double frameAspect = c.frameAspect.value_or(c.width * c.pixelAspect / c.height);
  std::array<double, 4> window = frameAspect >= 1
                                     ? std::array<double, 4>{-frameAspect, frameAspect, -1, 1}
                                     : std::array<double, 4>{-1, 1, -1 / frameAspect, 1 / frameAspect};
  if (c.screenWindow) window = *c.screenWindow;
  const double centreX = (window[0] + window[1]) / 2, centreY = (window[2] + window[3]) / 2;
  if (centreX != 0 || centreY != 0) diagnostics_.Once("an off-centre ScreenWindow is drawn centred");
  const double halfWidth = (window[1] - window[0]) / 2, halfHeight = (window[3] - window[2]) / 2;
  const L2View view = CreateView(scene_);
  SetViewResolution(scene_, view, c.width, c.height);
  // Camera space is the scene's space: x right, y up, looking along +z, left-handed.
  SetViewUp(scene_, view, 0, 1, 0);
  SetViewAspect(scene_, view, halfWidth / halfHeight);
  if (c.perspective) {
    const double tangent = std::tan(c.fov * std::numbers::pi / 360) * halfHeight;
    SetViewAngle(scene_, view, 2 * std::atan(tangent) * 180 / std::numbers::pi);
    SetViewLocation(scene_, view, 0, 0, 0);
  } else {
    // Parallel rays from far back: the screen window is the visible part of the xy plane.
    const double distance = 1e4 * std::max({halfWidth, halfHeight, 1.0});
    SetViewAngle(scene_, view, 2 * std::atan(halfHeight / distance) * 180 / std::numbers::pi);
    SetViewLocation(scene_, view, 0, 0, -distance);
  }
  SetViewInterest(scene_, view, 0, 0, 1e9);
  SetAmbientLight(scene_, ambient_.x, ambient_.y, ambient_.z);
  SetBackgroundColor(scene_, c.background.x, c.background.y, c.background.z);
  Picture picture;
  picture.path = options_.output.value_or(c.displayName);
  picture.format = FormatForDisplay(picture.path, options_.output ? "file" : c.displayType);
  picture.keepAlpha = c.displayMode.find('a') != std::string::npos;
  picture.width = c.width;
  picture.height = c.height;
  if (options_.render) {
    picture.rgba.assign(static_cast<std::size_t>(c.width) * c.height * 4, 0.0f);
    const int samples = std::max(c.samplesX, c.samplesY);
    PixelTarget target{&picture};
    // Only lights given "shadows" "on" cast shadows.
    const uint32_t flags = L2_SHADE_SMOOTH | L2_SHADE_FLIP_NORMALS | L2_SHADE_TRANSMISSION | L2_SHADE_SHADOWS;
    int32_t result;
    if (samples <= 1) {
      result = Tracer(scene_, view, nullptr, flags, nullptr, StorePixel, &target);
    } else {
      SetAliasDepth(scene_, std::clamp(static_cast<int>(std::ceil(std::log2(samples))), 1, 6));
      SetAliasThreshold(scene_, 0.1);
      result = AATracer(scene_, view, nullptr, flags, nullptr, StorePixel, &target);
    }
    if (result != L2_OK) {
      const Block& world = blocks_.back();
      throw RibError(world.fileName, world.line, "the render failed with code " + std::to_string(result));
    }
    pictures_.push_back(std::move(picture));
  }
  FreeScene(scene_);
  scene_ = 0;
}

}  // namespace lumetra::rib
