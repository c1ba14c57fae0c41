// Pigments, normals, patterns, images and warps of the texture node trees.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "abi/scene_record.h"
#include "host/pov_text.h"
#include "host/pov_texture_writer.h"

namespace lumetra::host::pov {
namespace {

constexpr const char* kPatterns[] = {
    "agate",  "bozo",        "crackle", "gradient",  "granite",     "leopard", "mandel",
    "marble", "onion",       "radial",  "spiral1",   "spiral2",     "spotted", "wood",
    "bumps",  "ripples",     "dents",   "waves",     "wrinkles",    "quilted", "average",
    "boxed",  "cylindrical", "planar",  "spherical", "density_file"};
constexpr uint32_t kAgate = 0, kGradient = 3, kMandel = 6, kMarble = 7, kSpiral1 = 10, kSpiral2 = 11,
                   kWood = 13, kQuilted = 19, kAverage = 20, kDensityFile = 25;
constexpr const char* kWaves[] = {"ramp_wave",    "triangle_wave", "sine_wave",
                                  "scallop_wave", "cubic_wave",    "poly_wave"};
constexpr const char* kBlocks[] = {"checker", "hexagon", "brick"};
constexpr uint32_t kHexagon = 1, kBrick = 2;

// The ray tracer's default bump amounts: pattern and block normals, and bump maps.
constexpr double kDefaultBump = 0.5;
constexpr double kDefaultImageBump = 1.0;

// The ray tracer's map types: 0 planar, 1 spherical, 2 cylindrical, 5 torus; 3, 4 and 6
// take the surface's own (u, v); anything else is read as spherical.
constexpr uint32_t kPlanar = 0, kSpherical = 1, kCylindrical = 2, kTorus = 5;
bool IsSurfaceMap(uint32_t mapType) { return mapType == 3 || mapType == 4 || mapType == 6; }
uint32_t SoundMapType(uint32_t mapType) {
  return mapType == kPlanar || mapType == kCylindrical || mapType == kTorus || IsSurfaceMap(mapType)
             ? mapType
             : kSpherical;
}
constexpr uint32_t kBilinear = 2;

constexpr auto IsPigmentKind = abi::IsPigmentNodeKind;
constexpr auto IsNormalKind = abi::IsNormalNodeKind;

bool IsSubNormal(uint32_t kind) { return IsNormalKind(kind) || kind == abi::kNodeNormal; }

// The pattern whose own formula may take the noise modifiers of the wrapper around `node`:
// a pattern pigment's or normal's, as the ray tracer reads it (a map's modifiers act on
// its own pattern, inside it).
std::optional<uint32_t> ShapedPattern(const SceneObject* node) {
  const uint32_t kind = node ? node->node.kind : 0;
  if (kind != abi::kNodePatternPigment && kind != abi::kNodePatternPigmentAlt &&
      kind != abi::kNodePatternNormal)
    return std::nullopt;
  return node->node.params.pattern.pattern;
}

std::optional<double> BumpSizeOf(const SceneObject* node) {
  if (!node) return std::nullopt;
  const double amount = node->node.params.bumpSize.amount;  // packed: read by value
  return amount;
}

}  // namespace

void TextureWriter::Unwritten(const SceneObject& node, const char* why) {
  *out_ << "\n  // texture node kind " << node.node.kind;
  if (!node.name.empty()) *out_ << " \"" << CommentText(node.name) << "\"";
  *out_ << " " << why << "\n ";
}

// Noise modifiers act where they stand among the other modifiers, as the ray tracer's
// turbulence warp does; only marble and wood take the turbulence into their own formula.
bool TextureWriter::Modifier(const SceneObject& node, std::optional<uint32_t> pattern) {
  const auto& params = node.node.params;
  switch (node.node.kind) {
    case abi::kNodeTransform: {
      // Node parameters are packed to 4 bytes: their doubles are copied, never bound by reference.
      const auto& t = params.transform;
      const double scale[3] = {t.scale[0], t.scale[1], t.scale[2]};
      const double rotate[3] = {t.rotate[0], t.rotate[1], t.rotate[2]};
      const double translate[3] = {t.translate[0], t.translate[1], t.translate[2]};
      WriteTransform(*out_, scale, rotate, translate);
      return true;
    }
    case abi::kNodeWarp:
      Warp(params.warp);
      return true;
    case abi::kNodeNoiseModifiers: {
      const abi::NoiseModifierParams& noise = params.noise;
      const Vec turbulence = noise.perAxis
                                 ? Vec{noise.turbulenceXyz[0], noise.turbulenceXyz[1], noise.turbulenceXyz[2]}
                                 : Vec{noise.turbulence, noise.turbulence, noise.turbulence};
      const bool formula = pattern == kMarble || pattern == kWood;
      if (turbulence.x != 0 || turbulence.y != 0 || turbulence.z != 0) {
        *out_ << (formula ? " turbulence " : " warp { turbulence ") << turbulence << " octaves "
              << std::clamp<uint32_t>(noise.octaves, 1, 10) << " omega " << noise.omega << " lambda "
              << noise.lambda << (formula ? "" : " }");
      }
      if (noise.frequency != 1) *out_ << " frequency " << noise.frequency;
      if (noise.phase != 0) *out_ << " phase " << noise.phase;
      if (noise.waveShape < std::size(kWaves)) *out_ << " " << kWaves[noise.waveShape];
      return true;
    }
    case abi::kNodeComment:
      return true;
    default:
      return false;
  }
}

// The ray tracer repeats along the first axis with a width (x with width 1 without one),
// and its black hole's jitter is POV-Ray's turbulence of the hole's centre.
void TextureWriter::Warp(const abi::WarpParams& warp) {
  switch (warp.warp) {
    case 0:
      *out_ << " warp { black_hole " << Vec{warp.centre[0], warp.centre[1], warp.centre[2]} << ", "
            << warp.radius << " falloff " << warp.falloff << " strength " << warp.strength;
      if (warp.repeat[0] != 0 || warp.repeat[1] != 0 || warp.repeat[2] != 0)
        *out_ << " repeat " << Vec{warp.repeat[0], warp.repeat[1], warp.repeat[2]};
      if (warp.jitter[0] != 0 || warp.jitter[1] != 0 || warp.jitter[2] != 0)
        *out_ << " turbulence " << Vec{warp.jitter[0], warp.jitter[1], warp.jitter[2]};
      *out_ << (warp.inverse ? " inverse }" : " }");
      return;
    case 1: {
      size_t axis = 0;
      while (axis < 3 && warp.width[axis] == 0) ++axis;
      double width[3] = {0, 0, 0};
      width[axis < 3 ? axis : 0] = axis < 3 ? warp.width[axis] : 1.0;
      *out_ << " warp { repeat " << VecOf(width) << " offset "
            << Vec{warp.offset[0], warp.offset[1], warp.offset[2]} << " flip "
            << Vec{warp.flip[0] != 0 ? 1.0 : 0.0, warp.flip[1] != 0 ? 1.0 : 0.0,
                   warp.flip[2] != 0 ? 1.0 : 0.0}
            << " }";
      return;
    }
    case 2:
      *out_ << " warp { turbulence " << Vec{warp.turbulence[0], warp.turbulence[1], warp.turbulence[2]}
            << " octaves " << warp.octaves << " omega " << warp.omega << " lambda " << warp.lambda << " }";
      return;
    default:
      *out_ << "\n  // warp kind " << warp.warp << " is not written\n ";
  }
}

// Map entries, bump sizes and bitmap modifiers belong to their owner, which writes them.
void TextureWriter::Modifiers(const SceneObject& node, std::optional<uint32_t> pattern,
                              bool (*owned)(uint32_t)) {
  Children(node, [&](const SceneObject& child) {
    const uint32_t kind = child.node.kind;
    if (kind == abi::kNodeMapEntry || kind == abi::kNodeBumpSize || kind == abi::kNodeBitmapModifiers ||
        (owned && owned(kind)))
      return;
    if (!Modifier(child, pattern)) Unwritten(child);
  });
}

// The ray tracer reads average and density_file as 0 everywhere; so does a constant function.
void TextureWriter::Pattern(const abi::PatternParams& pattern) {
  const uint32_t kind = pattern.pattern < std::size(kPatterns) ? pattern.pattern : 1;
  if (kind == kAverage || kind == kDensityFile) {
    *out_ << " function { 0 }";
    return;
  }
  if (kind == kGradient) {
    Gradient(pattern.gradient);
    return;
  }
  *out_ << " " << kPatterns[kind];
  switch (kind) {
    case kAgate:
      *out_ << " agate_turb " << pattern.agateTurbulence;
      break;
    case kMandel:
      *out_ << " " << std::max<uint32_t>(1, pattern.mandelIterations);
      break;
    case kSpiral1:
    case kSpiral2:
      *out_ << " " << pattern.spiralArms;
      break;
    case kQuilted:
      *out_ << " control0 " << pattern.quilt[0] << " control1 " << pattern.quilt[1];
      break;
    default:
      break;
  }
}

// The ray tracer's gradient mirrors at each axis' zero: a function of the distances from
// the planes, where POV-Ray's gradient would run on through them.
void TextureWriter::Gradient(const double (&gradient)[3]) {
  *out_ << " function {";
  bool any = false;
  for (int axis = 0; axis < 3; ++axis) {
    if (gradient[axis] == 0) continue;
    *out_ << (any ? " + " : " ") << "abs("
          << "xyz"[axis] << " * " << gradient[axis] << ")";
    any = true;
  }
  *out_ << (any ? " }" : " 0 }");
}

void TextureWriter::BlockKind(const abi::BlockParams& block) {
  *out_ << " " << kBlocks[block.block < std::size(kBlocks) ? block.block : 0];
}

void TextureWriter::BlockEnd(const abi::BlockParams& block) {
  if (block.block == kBrick) {
    // The ray tracer keeps its default brick for a size it cannot divide by, and its
    // default mortar for a negative one.
    const bool sized = block.brickSize[0] > 0 && block.brickSize[1] > 0 && block.brickSize[2] > 0;
    if (sized) *out_ << " brick_size " << Vec{block.brickSize[0], block.brickSize[1], block.brickSize[2]};
    if (block.mortar >= 0) *out_ << " mortar " << block.mortar;
  }
}

void TextureWriter::Pigment(const SceneObject& node) {
  *out_ << " pigment {";
  PigmentBody(node);
  *out_ << " }";
}

void TextureWriter::PigmentBody(const SceneObject& node) {
  const abi::TextureBlock& block = node.node;
  switch (block.kind) {
    case abi::kNodePigment:
    case abi::kNodeDensity: {
      // The last pigment counts; the modifiers beside it act on it wherever they stand.
      const SceneObject* pigment = LastChild(node, IsPigmentKind);
      if (!pigment) {
        // White rather than leaving POV-Ray guessing.
        *out_ << " rgb 1";
        return;
      }
      PigmentBody(*pigment);
      Modifiers(node, ShapedPattern(pigment), IsPigmentKind);
      return;
    }
    case abi::kNodeSolidColor:
      *out_ << " ";
      Colour(block.params.color);
      return;
    case abi::kNodeBlockPigment: {
      const abi::BlockParams& params = block.params.block;
      BlockKind(params);
      const int colours = params.block == kHexagon ? 3 : 2;
      for (int i = 0; i < colours; ++i) {
        const double(&c)[5] = params.colors[i];
        *out_ << (i ? ", " : " ");
        WriteColour(*out_, c[0], c[1], c[2], c[3], c[4]);
      }
      BlockEnd(params);
      Modifiers(node, std::nullopt);
      return;
    }
    case abi::kNodeBlockPigmentOfPigments:
    case abi::kNodeBlockPigmentOfPigmentsAlt:
      BlockEntries(node, IsPigmentKind, "pigment", ", ", " rgb 1",
                   [this](const SceneObject& entry) { PigmentBody(entry); });
      BlockEnd(block.params.block);
      Modifiers(node, std::nullopt, IsPigmentKind);
      return;
    case abi::kNodePatternPigment:
    case abi::kNodePatternPigmentAlt: {
      const abi::PatternParams& pattern = block.params.pattern;
      Pattern(pattern);
      *out_ << " color_map {";
      const uint32_t count = std::min(pattern.colorMapCount, abi::kMaxColorMapEntries);
      for (uint32_t i = 0; i < count; ++i) {
        const abi::ColorMapEntry& entry = pattern.colorMap[i];
        *out_ << " [" << entry.value << " ";
        WriteColour(*out_, entry.red, entry.green, entry.blue, entry.filter, entry.transmit);
        *out_ << "]";
      }
      *out_ << " }";
      Modifiers(node, pattern.pattern);
      return;
    }
    case abi::kNodePigmentMap:
    case abi::kNodePigmentMapAlt:
      PatternMap(node, "pigment_map", [this](const SceneObject& entry) { PigmentBody(entry); });
      return;
    case abi::kNodeImageMap:
      if (!ImageBlock(node, abi::kFindImageMap, "image_map", true)) {
        *out_ << " rgb 1";
        return;
      }
      Modifiers(node, std::nullopt);
      return;
    default:
      Unwritten(node);
      *out_ << " rgb 1";
  }
}

// A normal wrapper without a normal perturbs nothing in the ray tracer, so it is left out.
void TextureWriter::Normal(const SceneObject& node) {
  if (node.node.kind == abi::kNodeNormal && !LastChild(node, IsNormalKind)) return;
  *out_ << " normal {";
  NormalBody(node);
  *out_ << " }";
}

void TextureWriter::NormalBody(const SceneObject& node, std::optional<double> bump) {
  const abi::TextureBlock& block = node.node;
  const auto isBumpSize = [](uint32_t kind) { return kind == abi::kNodeBumpSize; };
  const std::optional<double> own = BumpSizeOf(LastChild(node, isBumpSize));
  switch (block.kind) {
    case abi::kNodeNormal: {
      const SceneObject* normal = LastChild(node, IsNormalKind);
      if (!normal) return;
      NormalBody(*normal, own);
      Modifiers(node, ShapedPattern(normal), IsNormalKind);
      return;
    }
    case abi::kNodeBlockNormal:
      BlockEntries(node, IsSubNormal, "normal", ", ", "",
                   [this](const SceneObject& entry) { NormalBody(entry); });
      *out_ << " bump_size " << bump.value_or(own.value_or(kDefaultBump));
      BlockEnd(block.params.block);
      Modifiers(node, std::nullopt, IsSubNormal);
      return;
    case abi::kNodeNormalMap:
      PatternMap(node, "normal_map", [this](const SceneObject& entry) { NormalBody(entry); });
      return;
    case abi::kNodePatternNormal:
      Pattern(block.params.pattern);
      *out_ << " bump_size " << bump.value_or(own.value_or(kDefaultBump));
      Modifiers(node, block.params.pattern.pattern);
      return;
    case abi::kNodeBumpMap:
      if (!ImageBlock(node, abi::kFindBumpMap, "bump_map", false)) return;
      *out_ << " bump_size " << bump.value_or(own.value_or(kDefaultImageBump));
      Modifiers(node, std::nullopt);
      return;
    default:
      Unwritten(node);
  }
}

bool TextureWriter::ImageBlock(const SceneObject& node, int32_t findKind, const char* keyword,
                               bool interpolates, const std::function<void()>& inside) {
  const abi::ImageParams& image = node.node.params.image;
  const std::string name(image.file, strnlen(image.file, sizeof image.file));
  const std::optional<std::string> found = files_.Found(findKind, name);
  const std::optional<std::string> format = found ? ImageKeyword(*found) : std::nullopt;
  if (!format) {
    *out_ << "\n  // image " << StringLiteral(name) << (found ? " cannot be read" : " is not found") << "\n ";
    return false;
  }
  const uint32_t mapType = SoundMapType(image.mapType);
  // Gamma 1: the ray tracer takes the file's values as they are, as it does the scene's colours.
  *out_ << (IsSurfaceMap(mapType) ? " uv_mapping " : " ") << keyword << " { " << *format << " "
        << files_.Literal(*found) << " gamma 1.0";
  if (!IsSurfaceMap(mapType)) *out_ << " map_type " << mapType;
  if (image.once) *out_ << " once";
  // The ray tracer filters only bilinearly, and only when both settings ask for it.
  if (interpolates && image.interpolate && image.interpolation == kBilinear) *out_ << " interpolate 2";
  if (image.useIndex) *out_ << " use_index";
  if (inside) inside();
  *out_ << " }";
  ImagePlacement(mapType);
  return true;
}

// The ray tracer's v runs from the image's top row, POV-Ray's from its bottom row; its
// spheres and cylinders stand along z where POV-Ray's stand along y, their longitude
// counted from -x towards -y, and its torus rings x where POV-Ray's rings y. Each matrix
// takes the ray tracer's pattern space to POV-Ray's.
void TextureWriter::ImagePlacement(uint32_t mapType) {
  switch (mapType) {
    case kSpherical:
      *out_ << " matrix <-1, 0, 0, 0, 0, -1, 0, -1, 0, 0, 0, 0>";
      return;
    case kCylindrical:
      *out_ << " matrix <-1, 0, 0, 0, 0, -1, 0, -1, 0, 0, 0, 1>";
      return;
    case kTorus:
      *out_ << " matrix <0, -1, 0, -1, 0, 0, 0, 0, 1, 0, 0, 0>";
      return;
    default:
      *out_ << " scale <1, -1, 1> translate <0, 1, 0>";
  }
}

}  // namespace lumetra::host::pov
