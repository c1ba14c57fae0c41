#include "translate/texture_translator.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "abi/result_codes.h"
#include "abi/texture_params.h"
#include "image/image_loader.h"
#include "math/angles.h"
#include "platform/debug_log.h"
#include "platform/messages.h"
#include "texture/block_normal.h"
#include "texture/block_pigment.h"
#include "texture/block_texture.h"
#include "texture/image_bump_normal.h"
#include "texture/image_list.h"
#include "texture/image_map_settings.h"
#include "texture/image_material_map.h"
#include "texture/image_pigment.h"
#include "texture/layered_texture.h"
#include "texture/normal_map.h"
#include "texture/pattern_normal.h"
#include "texture/pattern_pigment.h"
#include "texture/pigment_map_pigment.h"
#include "texture/solid_pigment.h"
#include "texture/standard_texture.h"
#include "texture/texture_map.h"
#include "texture/transform_warp.h"
#include "texture/turbulence_warp.h"
#include "translate/node_posing.h"
#include "translate/warp_from_node.h"

namespace lumetra::translate {

using namespace lumetra::texture;
namespace {

// The pattern that shapes a pigment or normal of this kind, so that noise modifiers beside
// it in its wrapper act as they would inside it (marble and wood take the turbulence into
// their own formula).
template <typename Shaped, typename Node>
std::optional<PatternId> ShapingPattern(const Node& node) {
  const auto* shaped = dynamic_cast<const Shaped*>(&node);
  return shaped ? std::optional<PatternId>(shaped->pattern.id) : std::nullopt;
}

using abi::NodeKind;

constexpr auto IsTextureKind = abi::IsTextureNodeKind;
constexpr auto IsPigmentKind = abi::IsPigmentNodeKind;
constexpr auto IsNormalKind = abi::IsNormalNodeKind;

Colour ColourOf(const abi::ColorParams& c) {
  return {static_cast<float>(c.red), static_cast<float>(c.green), static_cast<float>(c.blue),
          static_cast<float>(c.filter), static_cast<float>(c.transmit)};
}

Colour ColourOf(const double (&c)[5]) {
  return {static_cast<float>(c[0]), static_cast<float>(c[1]), static_cast<float>(c[2]),
          static_cast<float>(c[3]), static_cast<float>(c[4])};
}

std::optional<BlockKind> BlockKindOf(std::uint32_t subKind) {
  if (subKind > 2) return std::nullopt;
  return static_cast<BlockKind>(subKind);
}

// The block's settings from its node; a brick size the host left at 0 keeps the default,
// so that the brick index never divides by 0. Mortar 0 asks for none; only a negative
// (or unreadable) one keeps the default.
BlockPattern BlockPatternOf(BlockKind kind, const abi::BlockParams& params) {
  BlockPattern block;
  block.kind = kind;
  if (params.brickSize[0] > 0.0 && params.brickSize[1] > 0.0 && params.brickSize[2] > 0.0) {
    block.brickSize = {params.brickSize[0], params.brickSize[1], params.brickSize[2]};
  }
  if (params.mortar >= 0.0) block.mortar = params.mortar;
  return block;
}

template <typename Base, template <BlockKind> class Of>
std::unique_ptr<Base> MakeBlock(BlockKind kind) {
  switch (kind) {
    case BlockKind::kHexagon:
      return std::make_unique<Of<BlockKind::kHexagon>>();
    case BlockKind::kBrick:
      return std::make_unique<Of<BlockKind::kBrick>>();
    case BlockKind::kChecker:
      break;
  }
  return std::make_unique<Of<BlockKind::kChecker>>();
}

void WriteUnknown(const char* message) { platform::DebugLog::Write(message); }

// `format` holds at most one "%s", which receives `name`.
void ShowImageProblem(const char* format, const std::string& name = {}) {
  char text[abi::kMaxPath + 64];
  std::snprintf(text, sizeof text, format, name.c_str());
  platform::Messages::Show("Error", text, platform::MessageButtons::Ok, platform::MessageIcon::Error);
}

std::string FieldText(const char* field, std::size_t size) { return {field, strnlen(field, size)}; }

BitmapModifiers BitmapModifiersOf(const NodeRecord& node) {
  return ReadBitmapModifiers(reinterpret_cast<const std::uint8_t*>(&node.Params()), sizeof(node.Params()));
}

// The image in `path`, or null (logging why) when no reader takes it.
std::unique_ptr<image::Image> ReadImageFile(const std::string& path) {
  auto image = std::make_unique<image::Image>();
  image::LoadReport report;
  if (image::LoadImage(*image, path, &report) != 0) return image;
  platform::DebugLog::Write(report.error + "\n");
  return nullptr;
}

}  // namespace

PatternChoice PatternChoiceOf(const abi::PatternParams& params) {
  PatternChoice choice;
  choice.id = PatternIdFromSubKind(static_cast<std::int32_t>(params.pattern));
  choice.params.agateTurbulence = static_cast<float>(params.agateTurbulence);
  choice.params.gradientX = params.gradient[0];
  choice.params.gradientY = params.gradient[1];
  choice.params.gradientZ = params.gradient[2];
  choice.params.mandelIterations = static_cast<std::int32_t>(params.mandelIterations);
  choice.params.quiltControl0 = static_cast<float>(params.quilt[0]);
  choice.params.quiltControl1 = static_cast<float>(params.quilt[1]);
  choice.params.spiralArms = static_cast<std::int32_t>(params.spiralArms);
  choice.params.extra = static_cast<std::int32_t>(params.extra);
  return choice;
}

void AppendTransformNode(TextureNode& node, const abi::TransformNodeParams& params) {
  math::Transform& transform = node.LastTransformWarp().GetTransform();
  math::Transform scale;
  scale.Scale({params.scale[0], params.scale[1], params.scale[2]});
  math::Transform rotation;
  rotation.RotateEuler(-params.rotate[0] * math::kDegreesToRadians,
                       -params.rotate[1] * math::kDegreesToRadians,
                       -params.rotate[2] * math::kDegreesToRadians);
  math::Transform translation;
  translation.Translate({params.translate[0], params.translate[1], params.translate[2]});
  transform.Compose(scale);
  transform.Compose(rotation);
  transform.Compose(translation);
}

TextureTranslator::TextureTranslator(const abi::SceneRecord& host, TranslationSink& sink, ImageList& images)
    : host_(host), nodes_(host), sink_(sink), images_(images) {}

// ---- textures ------------------------------------------------------------------------------

std::unique_ptr<Texture> TextureTranslator::TranslateMaterial(
    const NodeRecord& material, std::vector<std::unique_ptr<Media>>& mediaList) {
  if (material.Kind() != abi::kNodeMaterial) return nullptr;
  std::unique_ptr<Texture> texture;
  nodes_.ForEachChild(material.id, [&](const NodeRecord& child) {
    if (IsTextureKind(child.Kind())) {
      texture = TranslateTexture(child.id);
    } else if (child.Kind() == abi::kNodeInterior) {
      if (!texture) texture = std::make_unique<StandardTexture>();
      texture->indexOfRefraction = static_cast<float>(child.Params().interior.ior);
      if (!child.HasChildren()) return;
      nodes_.ForEachChild(child.id, [&](const NodeRecord& inner) {
        if (inner.Kind() != abi::kNodeMedia) return;
        if (std::unique_ptr<Media> media = TranslateMedia(inner.id)) mediaList.push_back(std::move(media));
      });
    }
  });
  return texture;
}

std::unique_ptr<Texture> TextureTranslator::TranslateTexture(std::uint32_t id) {
  const std::unique_ptr<NodeRecord> node = nodes_.Read(id);
  if (!node) return nullptr;
  switch (node->Kind()) {
    case abi::kNodeStandardTexture:
      return TranslateStandardTexture(*node);
    case abi::kNodeTextureMap:
      return TranslateTextureMap(*node);
    case abi::kNodeLayeredTexture:
      return TranslateLayeredTexture(*node);
    case abi::kNodeBlockTexture:
      return TranslateBlockTexture(*node);
    case abi::kNodeMaterialMap:
      return TranslateMaterialMap(*node);
    default:
      return nullptr;
  }
}

std::unique_ptr<Texture> TextureTranslator::TranslateStandardTexture(const NodeRecord& node) {
  auto texture = std::make_unique<StandardTexture>();
  const bool listed = nodes_.ForEachChild(node.id, [&](const NodeRecord& child) {
    switch (child.Kind()) {
      case abi::kNodePigment:
        if (child.HasChildren()) texture->pigment = TranslatePigment(child.id);
        break;
      case abi::kNodeNormal:
        if (child.HasChildren()) texture->normal = TranslateNormal(child.id);
        break;
      case abi::kNodeFinish:
        texture->finish = TranslateFinish(child);
        sink_.Track(&*texture->finish, child);
        break;
      case abi::kNodeTransform:
        AppendTransformNode(*texture, child.Params().transform);
        break;
      case abi::kNodeComment:
        break;
      default:
        WriteUnknown("Unknown texture component\n");
    }
  });
  if (!listed) return nullptr;
  return texture;
}

std::unique_ptr<Texture> TextureTranslator::TranslateTextureMap(const NodeRecord& node) {
  auto map = TranslateMapNode<TextureMap>(
      node, [this](std::uint32_t id) { return TranslateTexture(id); }, "Unknown texture component\n");
  map->lighting = sink_.lighting;
  return map;
}

std::unique_ptr<Texture> TextureTranslator::TranslateLayeredTexture(const NodeRecord& node) {
  auto layered = std::make_unique<LayeredTexture>();
  layered->lighting = sink_.lighting;
  nodes_.ForEachChild(node.id, [&](const NodeRecord& child) {
    if (IsTextureKind(child.Kind())) {
      if (std::unique_ptr<Texture> layer = TranslateTexture(child.id))
        layered->layers.emplace_back(std::move(layer));
    } else if (!ApplyModifier(*layered, std::nullopt, child)) {
      WriteUnknown("Unknown texture component\n");
    }
  });
  return layered;
}

std::unique_ptr<Texture> TextureTranslator::TranslateBlockTexture(const NodeRecord& node) {
  const std::optional<BlockKind> kind = BlockKindOf(node.Params().block.block);
  if (!kind) {
    WriteUnknown("Unknown texture component\n");
    return nullptr;
  }
  std::unique_ptr<BlockTexture> block = MakeBlock<BlockTexture, BlockTextureOf>(*kind);
  block->block = BlockPatternOf(*kind, node.Params().block);
  nodes_.ForEachChild(node.id, [&](const NodeRecord& child) {
    if (IsTextureKind(child.Kind())) {
      block->entries.emplace_back(TranslateTexture(child.id));
    } else if (child.Kind() == abi::kNodeMapEntry) {
      auto entry = MapEntry(child, [this](std::uint32_t id) { return TranslateTexture(id); });
      block->entries.emplace_back(entry ? std::move(entry->second) : nullptr);
    } else if (!ApplyModifier(*block, std::nullopt, child)) {
      WriteUnknown("Unknown texture component\n");
    }
  });
  return block;
}

std::unique_ptr<Texture> TextureTranslator::TranslateMaterialMap(const NodeRecord& node) {
  const image::Image* image = LoadNodeImage(node, abi::kFindImageMap, "Can't find image: '%s'");
  if (!image) return nullptr;
  auto map = std::make_unique<MaterialMap>(image, BitmapModifiersOf(node));
  nodes_.ForEachChild(node.id, [&](const NodeRecord& child) {
    if (IsTextureKind(child.Kind())) {
      if (std::unique_ptr<Texture> texture = TranslateTexture(child.id)) map->AddTexture(std::move(texture));
    } else if (!ApplyImageModifier(*map, child)) {
      WriteUnknown("Unknown texture component\n");
    }
  });
  if (map->TextureCount() == 0) {
    ShowImageProblem("No textures in material map");
    return nullptr;
  }
  return map;
}

// ---- pigments ------------------------------------------------------------------------------

std::unique_ptr<Pigment> TextureTranslator::TranslatePigment(std::uint32_t id) {
  const std::unique_ptr<NodeRecord> node = nodes_.Read(id);
  return node ? TranslatePigmentNode(*node) : nullptr;
}

std::unique_ptr<Pigment> TextureTranslator::TranslatePigmentNode(const NodeRecord& node) {
  switch (node.Kind()) {
    case abi::kNodePigment:
    case abi::kNodeDensity:
      return TranslatePigmentWrapper(node);
    case abi::kNodeSolidColor:
      return std::make_unique<SolidPigment>(ColourOf(node.Params().color));
    case abi::kNodeBlockPigment:
    case abi::kNodeBlockPigmentOfPigments:
    case abi::kNodeBlockPigmentOfPigmentsAlt:
      return TranslateBlockPigment(node);
    case abi::kNodePatternPigment:
    case abi::kNodePatternPigmentAlt:
      return TranslatePatternPigment(node);
    case abi::kNodePigmentMap:
    case abi::kNodePigmentMapAlt:
      return TranslatePigmentMap(node);
    case abi::kNodeImageMap:
      return TranslateImageMap(node);
    default:
      WriteUnknown("Unknown pigment component\n");
      return nullptr;
  }
}

std::unique_ptr<Pigment> TextureTranslator::TranslatePigmentWrapper(const NodeRecord& node) {
  std::unique_ptr<Pigment> pigment;
  std::vector<std::uint32_t> modifiers;
  nodes_.ForEachChild(node.id, [&](const NodeRecord& child) {
    if (IsPigmentKind(child.Kind())) {
      pigment = TranslatePigmentNode(child);
    } else if (child.Kind() == abi::kNodeTransform || child.Kind() == abi::kNodeWarp ||
               child.Kind() == abi::kNodeNoiseModifiers) {
      modifiers.push_back(child.id);
    } else if (child.Kind() != abi::kNodeComment) {
      WriteUnknown("Unknown pigment component\n");
    }
  });
  // Modifiers beside the pigment act on it, wherever they stand among the children, as
  // they would inside it.
  if (!pigment) return nullptr;
  const std::optional<PatternId> pattern = ShapingPattern<PatternPigment>(*pigment);
  for (std::uint32_t id : modifiers) {
    if (const std::unique_ptr<NodeRecord> modifier = nodes_.Read(id))
      ApplyModifier(*pigment, pattern, *modifier);
  }
  return pigment;
}

std::unique_ptr<Pigment> TextureTranslator::TranslateBlockPigment(const NodeRecord& node) {
  const abi::BlockParams& params = node.Params().block;
  const std::optional<BlockKind> kind = BlockKindOf(params.block);
  if (!kind) {
    WriteUnknown("Didn't handle block pattern pigment\n");
    return nullptr;
  }
  std::unique_ptr<BlockPigment> block = MakeBlock<BlockPigment, BlockPigmentOf>(*kind);
  block->block = BlockPatternOf(*kind, params);
  const bool ofPigments = node.Kind() != abi::kNodeBlockPigment;
  if (!ofPigments) {
    for (int i = 0; i < block->block.EntryCount(); ++i) block->colours.push_back(ColourOf(params.colors[i]));
  }
  nodes_.ForEachChild(node.id, [&](const NodeRecord& child) {
    if (ofPigments && IsPigmentKind(child.Kind())) {
      block->pigments.emplace_back(TranslatePigmentNode(child));
    } else if (ofPigments && child.Kind() == abi::kNodeMapEntry) {
      auto entry = MapEntry(child, [this](std::uint32_t id) { return TranslatePigment(id); });
      block->pigments.emplace_back(entry ? std::move(entry->second) : nullptr);
    } else if (!ApplyModifier(*block, std::nullopt, child)) {
      WriteUnknown("Unknown pigment component\n");
    }
  });
  return block;
}

std::unique_ptr<Pigment> TextureTranslator::TranslatePatternPigment(const NodeRecord& node) {
  const abi::PatternParams& params = node.Params().pattern;
  const PatternChoice pattern = PatternChoiceOf(params);
  auto pigment = std::make_unique<PatternPigment>(pattern.id);
  pigment->pattern = pattern;
  const std::uint32_t count = std::min(params.colorMapCount, abi::kMaxColorMapEntries);
  for (std::uint32_t i = 0; i < count; ++i) {
    const abi::ColorMapEntry& e = params.colorMap[i];
    pigment->colourMap.push_back(
        {static_cast<float>(e.value), ColourOf({e.red, e.green, e.blue, e.filter, e.transmit})});
  }
  nodes_.ForEachChild(node.id, [&](const NodeRecord& child) {
    if (!ApplyModifier(*pigment, pattern.id, child)) WriteUnknown("Unknown pigment component\n");
  });
  return pigment;
}

std::unique_ptr<Pigment> TextureTranslator::TranslatePigmentMap(const NodeRecord& node) {
  return TranslateMapNode<PigmentMapPigment>(
      node, [this](std::uint32_t id) { return TranslatePigment(id); }, "Unknown pigment component\n");
}

std::unique_ptr<Pigment> TextureTranslator::TranslateImageMap(const NodeRecord& node) {
  const image::Image* image = LoadNodeImage(node, abi::kFindImageMap, "Can't find image: '%s'");
  if (!image) return nullptr;
  auto pigment = std::make_unique<ImagePigment>(image, BitmapModifiersOf(node));
  nodes_.ForEachChild(node.id, [&](const NodeRecord& child) {
    if (!ApplyImageModifier(*pigment, child)) WriteUnknown("Unknown pigment component\n");
  });
  return pigment;
}

// ---- normals -------------------------------------------------------------------------------

std::unique_ptr<Normal> TextureTranslator::TranslateNormal(std::uint32_t id) {
  const std::unique_ptr<NodeRecord> node = nodes_.Read(id);
  return node ? TranslateNormalNode(*node) : nullptr;
}

std::unique_ptr<Normal> TextureTranslator::TranslateNormalNode(const NodeRecord& node) {
  switch (node.Kind()) {
    case abi::kNodeNormal:
      return TranslateNormalWrapper(node);
    case abi::kNodeBlockNormal:
      return TranslateBlockNormal(node);
    case abi::kNodeNormalMap:
      return TranslateNormalMap(node);
    case abi::kNodePatternNormal:
      return TranslatePatternNormal(node);
    case abi::kNodeBumpMap:
      return TranslateBumpMap(node);
    default:
      WriteUnknown("Unhandled normal type\n");
      return nullptr;
  }
}

namespace {

// Where a [bump size] lands: the normals that sample carry a bump amount.
void SetBumpAmount(Normal& normal, float amount) {
  if (auto* pattern = dynamic_cast<PatternNormal*>(&normal)) pattern->bump.amount = amount;
  if (auto* block = dynamic_cast<BlockNormal*>(&normal)) block->bump.amount = amount;
  if (auto* bumpMap = dynamic_cast<BumpMapNormal*>(&normal)) bumpMap->bumpAmount = amount;
}

float BumpAmountOf(const NodeRecord& node) { return static_cast<float>(node.Params().bumpSize.amount); }

}  // namespace

std::unique_ptr<Normal> TextureTranslator::TranslateNormalWrapper(const NodeRecord& node) {
  std::unique_ptr<Normal> normal;
  std::optional<float> bumpAmount;
  std::vector<std::uint32_t> modifiers;
  nodes_.ForEachChild(node.id, [&](const NodeRecord& child) {
    if (IsNormalKind(child.Kind())) {
      normal = TranslateNormalNode(child);
    } else if (child.Kind() == abi::kNodeBumpSize) {
      bumpAmount = BumpAmountOf(child);
    } else if (child.Kind() == abi::kNodeTransform || child.Kind() == abi::kNodeWarp ||
               child.Kind() == abi::kNodeNoiseModifiers) {
      modifiers.push_back(child.id);
    } else if (child.Kind() != abi::kNodeComment) {
      WriteUnknown("Unhandled normal type\n");
    }
  });
  if (!normal) return nullptr;
  if (bumpAmount) SetBumpAmount(*normal, *bumpAmount);
  const std::optional<PatternId> pattern = ShapingPattern<PatternNormal>(*normal);
  for (std::uint32_t id : modifiers) {
    if (const std::unique_ptr<NodeRecord> modifier = nodes_.Read(id))
      ApplyModifier(*normal, pattern, *modifier);
  }
  return normal;
}

std::unique_ptr<Normal> TextureTranslator::TranslateBlockNormal(const NodeRecord& node) {
  const std::optional<BlockKind> kind = BlockKindOf(node.Params().block.block);
  if (!kind) {
    WriteUnknown("Didn't handle block pattern normal\n");
    return nullptr;
  }
  std::unique_ptr<BlockNormal> block = MakeBlock<BlockNormal, BlockNormalOf>(*kind);
  block->block = BlockPatternOf(*kind, node.Params().block);
  nodes_.ForEachChild(node.id, [&](const NodeRecord& child) {
    if (IsNormalKind(child.Kind()) || child.Kind() == abi::kNodeNormal) {
      if (std::unique_ptr<Normal> sub = TranslateNormalNode(child))
        block->subNormals.emplace_back(std::move(sub));
    } else if (child.Kind() == abi::kNodeBumpSize) {
      block->bump.amount = BumpAmountOf(child);
    } else if (!ApplyModifier(*block, std::nullopt, child)) {
      WriteUnknown("Unhandled normal type\n");
    }
  });
  return block;
}

std::unique_ptr<Normal> TextureTranslator::TranslateNormalMap(const NodeRecord& node) {
  return TranslateMapNode<NormalMap>(
      node, [this](std::uint32_t id) { return TranslateNormal(id); }, "Unhandled normal type\n");
}

std::unique_ptr<Normal> TextureTranslator::TranslatePatternNormal(const NodeRecord& node) {
  const PatternChoice pattern = PatternChoiceOf(node.Params().pattern);
  auto normal = std::make_unique<PatternNormal>(pattern.id);
  normal->pattern = pattern;
  nodes_.ForEachChild(node.id, [&](const NodeRecord& child) {
    if (child.Kind() == abi::kNodeBumpSize) {
      normal->bump.amount = BumpAmountOf(child);
    } else if (!ApplyModifier(*normal, pattern.id, child)) {
      WriteUnknown("Unhandled normal type\n");
    }
  });
  return normal;
}

std::unique_ptr<Normal> TextureTranslator::TranslateBumpMap(const NodeRecord& node) {
  const image::Image* image = LoadNodeImage(node, abi::kFindBumpMap, "Can't find bump map: '%s'");
  if (!image) return nullptr;
  auto normal = std::make_unique<BumpMapNormal>(image, BitmapModifiersOf(node));
  nodes_.ForEachChild(node.id, [&](const NodeRecord& child) {
    if (child.Kind() == abi::kNodeBumpSize) {
      normal->bumpAmount = BumpAmountOf(child);
    } else if (!ApplyImageModifier(*normal, child)) {
      WriteUnknown("Unhandled normal type\n");
    }
  });
  return normal;
}

// ---- images --------------------------------------------------------------------------------

const image::Image* TextureTranslator::LoadNodeImage(const NodeRecord& node, abi::FindFileKind findKind,
                                                     const char* missingFormat) {
  const std::string file = FieldText(node.Params().image.file, sizeof(node.Params().image.file));
  char path[abi::kMaxPath] = {};
  std::memcpy(path, file.data(), file.size());
  if (!host_.findFile || host_.findFile(findKind, path) != abi::kOk) {
    ShowImageProblem(missingFormat, file);
    return nullptr;
  }
  const std::string found = FieldText(path, sizeof path);
  std::unique_ptr<image::Image> loaded = ReadImageFile(found);
  const image::Image* image = loaded ? images_.Add(std::move(loaded)) : nullptr;
  if (!image) ShowImageProblem("Unsupported image format in [%s]", found);
  return image;
}

// ---- finish and media ----------------------------------------------------------------------

Finish TextureTranslator::TranslateFinish(const NodeRecord& node) {
  Finish finish;
  TakeFinishParams(node.Params().finish, finish);
  nodes_.ForEachChild(node.id, [&](const NodeRecord& child) {
    if (child.Kind() == abi::kNodeAmbientColor) {
      finish.ambientColour = ColourOf(child.Params().color);
      finish.hasAmbientColour = true;
    } else if (child.Kind() == abi::kNodeReflectionColor) {
      finish.reflectionColour = ColourOf(child.Params().color);
      finish.hasReflectionColour = true;
    }
  });
  return finish;
}

std::unique_ptr<Media> TextureTranslator::TranslateMedia(std::uint32_t id) {
  const std::unique_ptr<NodeRecord> node = nodes_.Read(id);
  if (!node) return nullptr;
  const abi::MediaParams& params = node->Params().media;
  auto media = std::make_unique<Media>();
  media->intervals = static_cast<std::int32_t>(params.intervals);
  media->samplesMin = static_cast<std::int32_t>(params.samplesMin);
  media->samplesMax = static_cast<std::int32_t>(params.samplesMax);
  media->confidence = static_cast<float>(params.confidence);
  media->variance = static_cast<float>(params.variance);
  media->ratio = static_cast<float>(params.ratio);
  media->method = params.methodSet != 0 && params.method >= 1 && params.method <= 5
                      ? static_cast<std::int32_t>(params.method)
                      : 0;
  media->eccentricity = static_cast<float>(params.eccentricity);
  media->extinctionSet = params.extinctionSet != 0;
  media->extinction = static_cast<float>(params.extinction);
  const std::size_t nameLength = strnlen(node->info.name, sizeof(node->info.name));
  if (nameLength > 0) media->name.assign(node->info.name, nameLength);
  nodes_.ForEachChild(node->id, [&](const NodeRecord& child) {
    switch (child.Kind()) {
      case abi::kNodeDensity:
        platform::DebugLog::Write("Density\n");
        if (std::unique_ptr<Pigment> density = TranslatePigmentNode(child))
          media->densities.emplace_back(std::move(density));
        return;
      default:
        if (!TakeMediaColour(child.block, *media)) {
          WriteUnknown("Unknown Media Component\n");
          return;
        }
    }
    sink_.Track(media.get(), child);
  });
  return media;
}

// ---- modifiers and entries -----------------------------------------------------------------

bool TextureTranslator::ApplyModifier(TextureNode& owner, std::optional<PatternId> pattern,
                                      const NodeRecord& node) {
  switch (node.Kind()) {
    case abi::kNodeTransform:
      AppendTransformNode(owner, node.Params().transform);
      return true;
    case abi::kNodeWarp:
      if (std::unique_ptr<Warp> warp = WarpFromNode(node.Params().warp)) owner.AppendWarp(std::move(warp));
      return true;
    case abi::kNodeNoiseModifiers:
      ApplyNoiseModifiers(owner, pattern, node);
      return true;
    case abi::kNodeComment:
      return true;
    default:
      return false;
  }
}

bool TextureTranslator::ApplyImageModifier(TextureNode& owner, const NodeRecord& node) {
  return node.Kind() == abi::kNodeBitmapModifiers || ApplyModifier(owner, std::nullopt, node);
}

void TextureTranslator::ApplyNoiseModifiers(TextureNode& owner, std::optional<PatternId> pattern,
                                            const NodeRecord& node) {
  const abi::NoiseModifierParams& params = node.Params().noise;
  const math::Vector3 turbulence =
      params.perAxis != 0
          ? math::Vector3{params.turbulenceXyz[0], params.turbulenceXyz[1], params.turbulenceXyz[2]}
          : math::Vector3{params.turbulence, params.turbulence, params.turbulence};
  NoiseParams& noise = owner.Noise();
  // Marble and wood use the turbulence in their own formula; every other owner warps.
  if (pattern == PatternId::kMarble || pattern == PatternId::kWood) {
    noise.turbulenceX = turbulence.x;
    noise.turbulenceY = turbulence.y;
    noise.turbulenceZ = turbulence.z;
    noise.turbulenceOn = true;
  } else {
    auto warp = std::make_unique<TurbulenceWarp>();
    warp->turbulence = turbulence;
    warp->octaves = static_cast<std::int32_t>(params.octaves);
    warp->omega = params.omega;
    warp->lambda = params.lambda;
    owner.AppendWarp(std::move(warp));
  }
  TakeNoiseParams(params, noise);
  sink_.Track(&noise, node);
}

template <typename Translate>
auto TextureTranslator::MapEntry(const NodeRecord& entry, Translate translate)
    -> std::optional<std::pair<float, decltype(translate(0u))>> {
  const std::optional<std::uint32_t> child = nodes_.FirstChild(entry.id);
  if (!child) return std::nullopt;
  auto object = translate(*child);
  if (!object) return std::nullopt;
  return std::make_pair(static_cast<float>(entry.Params().mapEntry.value), std::move(object));
}

template <typename Map, typename Translate>
std::unique_ptr<Map> TextureTranslator::TranslateMapNode(const NodeRecord& node, Translate translate,
                                                         const char* unknownMessage) {
  const PatternChoice pattern = PatternChoiceOf(node.Params().pattern);
  auto map = std::make_unique<Map>(pattern.id);
  map->pattern = pattern;
  nodes_.ForEachChild(node.id, [&](const NodeRecord& child) {
    if (child.Kind() == abi::kNodeMapEntry) {
      if (auto entry = MapEntry(child, translate))
        map->entries.push_back({entry->first, std::move(entry->second)});
    } else if (!ApplyModifier(*map, pattern.id, child)) {
      WriteUnknown(unknownMessage);
    }
  });
  return map;
}

}  // namespace lumetra::translate
