#include "ui/timeline_tree.h"

#include <array>
#include <cstdio>
#include <memory>

#include "abi/object_params.h"
#include "abi/result_codes.h"
#include "abi/scene_record.h"
#include "abi/texture_params.h"

namespace lumetra::ui {
namespace {

constexpr std::array<const char*, 26> kPatterns{
    "agate",  "bozo",        "crackle", "gradient",  "granite",     "leopard", "mandel",
    "marble", "onion",       "radial",  "spiral1",   "spiral2",     "spotted", "wood",
    "bumps",  "ripples",     "dents",   "waves",     "wrinkles",    "quilted", "average",
    "boxed",  "cylindrical", "planar",  "spherical", "density file"};

// Kinds labelled by a fixed word.
struct KindWord {
  uint32_t kind;
  const char* label;
};
constexpr std::array<KindWord, 25> kKindWords{{
    {abi::kNodeStandardTexture, "[standard texture]"},
    {abi::kNodeMaterialMap, "[material map]"},
    {abi::kNodeLayeredTexture, "[layered texture]"},
    {abi::kNodePigment, "[pigment]"},
    {abi::kNodeSolidColor, "[solid color]"},
    {abi::kNodeImageMap, "[image map]"},
    {abi::kNodeBumpMap, "[bump map]"},
    {abi::kNodeBumpSize, "[bump size]"},
    {abi::kNodeNormal, "[normal]"},
    {abi::kNodeFinish, "[finish]"},
    {abi::kNodeAmbientColor, "[ambient color]"},
    {abi::kNodeReflectionColor, "[reflection color]"},
    {abi::kNodeWarp, "[warp]"},
    {abi::kNodeTransform, "[transform]"},
    {abi::kNodeNoiseModifiers, "[noise modifiers]"},
    {abi::kNodeBitmapModifiers, "[bitmap modifiers]"},
    {abi::kNodeComment, "[comment]"},
    {abi::kNodeMaterial, "[material]"},
    {abi::kNodeInterior, "[interior]"},
    {abi::kNodeMedia, "[media]"},
    {abi::kNodeDensity, "[density]"},
    {abi::kNodeAbsorption, "[absorption]"},
    {abi::kNodeEmission, "[emission]"},
    {abi::kNodeScattering, "[scattering]"},
    {abi::kNodeBlockTexture, nullptr},  // by its block, below
}};

constexpr uint32_t kLastKind = abi::kNodeScattering;

std::string PatternWord(uint32_t pattern) { return pattern < kPatterns.size() ? kPatterns[pattern] : ""; }

std::string Bracketed(const std::string& words) { return "[" + words + "]"; }

}  // namespace

std::optional<std::string> TextureNodeLabel(const keyframe::ObjectRecord& node) {
  const uint32_t kind = node.texture.kind;
  if (kind < 1 || kind > kLastKind) return std::nullopt;
  const auto& params = node.texture.params;
  switch (kind) {
    case abi::kNodeTextureMap: {
      const std::string pattern = PatternWord(params.pattern.pattern);
      return pattern.empty() ? "[texture map]" : Bracketed("texture map " + pattern);
    }
    case abi::kNodePatternPigment: {
      const std::string pattern = PatternWord(params.pattern.pattern);
      return pattern.empty() ? "" : Bracketed(pattern);
    }
    case abi::kNodeBlockTexture:
    case abi::kNodeBlockPigment: {
      constexpr std::array<const char*, 3> kBlocks{"[checker]", "[hexagon]", "[brick]"};
      return params.block.block < kBlocks.size() ? kBlocks[params.block.block] : "";
    }
    case abi::kNodeMapEntry: {
      char text[32];
      std::snprintf(text, sizeof text, "%g", params.mapEntry.value);
      return text;
    }
    default:
      for (const KindWord& word : kKindWords) {
        if (word.kind == kind && word.label) return word.label;
      }
      return "";
  }
}

TreePicture ObjectPicture(const keyframe::ObjectRecord& object) {
  switch (object.info.type) {
    case abi::kTypeCsg: {
      constexpr std::array<TreePicture, 4> kOperations{TreePicture::CsgUnion, TreePicture::CsgIntersection,
                                                       TreePicture::CsgDifference, TreePicture::CsgMerge};
      const uint32_t operation = object.data.shape.csg.operation;
      return operation < kOperations.size() ? kOperations[operation] : TreePicture::CsgUnion;
    }
    case abi::kTypeTextureNode: {
      const std::optional<std::string> label = TextureNodeLabel(object);
      return label && !label->empty() ? TreePicture::TextureNode : TreePicture::TextureLeaf;
    }
    case abi::kTypeGroup:
      return TreePicture::Group;
    case abi::kTypeCamera:
      return TreePicture::Camera;
    case abi::kTypePointLight:
    case abi::kTypeSpotLight:
    case abi::kTypeAreaLight:
      return TreePicture::Light;
    default:
      return TreePicture::Object;
  }
}

std::optional<TreePicture> ParamPicture(keyframe::ValueType type) {
  using keyframe::ValueType;
  switch (type) {
    case ValueType::Scalar:
      return TreePicture::Scalar;
    case ValueType::Vector:
    case ValueType::Translation:
      return TreePicture::Vector;
    case ValueType::Color:
      return TreePicture::Color;
    case ValueType::EulerRotation:
    case ValueType::EulerRotationAlt:
      return TreePicture::Rotation;
    case ValueType::Scale:
      return TreePicture::Scale;
    default:
      return std::nullopt;
  }
}

namespace {

class TreeBuilder {
 public:
  TreeBuilder(const keyframe::SceneAnimation& animation, bool onlyKeyed)
      : animation_(animation), host_(animation.Host()), onlyKeyed_(onlyKeyed) {}

  // The scene's three lists are handles the host keeps open.
  void AddList(uint32_t list) {
    uint32_t child = 0;
    for (int32_t index = 0; host_.GetChild(list, index, child) == abi::kOk; ++index) AddObject(child, 0);
  }

  std::vector<TimelineRow> Take() { return std::move(rows_); }

 private:
  void AddChildren(uint32_t object, int32_t depth) {
    uint32_t list = 0;
    if (host_.OpenChildList(object, list) != abi::kOk) return;
    std::vector<uint32_t> children;
    uint32_t child = 0;
    for (int32_t index = 0; host_.GetChild(list, index, child) == abi::kOk; ++index)
      children.push_back(child);
    host_.CloseChildList(list);
    for (const uint32_t id : children) AddObject(id, depth);
  }

  void AddObject(uint32_t id, int32_t depth) {
    auto record = std::make_unique<keyframe::ObjectRecord>();
    if (host_.ReadObject(id, *record, true) != abi::kOk) return;
    const uint32_t type = record->info.type;
    std::string label = record->info.name;
    if (type == abi::kTypeTextureNode && label.empty()) {
      const std::optional<std::string> nodeLabel = TextureNodeLabel(*record);
      if (!nodeLabel) return;
      label = *nodeLabel;
    } else if (type == abi::kTypeTextureNode && !TextureNodeLabel(*record)) {
      return;
    }
    const keyframe::ObjectTrack* track = animation_.FindTrack(id);
    int32_t childDepth = depth;
    if (track || !onlyKeyed_) {
      rows_.push_back({label, ObjectPicture(*record), depth, id, -1});
      if (track) AddParams(*track, id, depth + 1);
      childDepth = depth + 1;
    }
    if (type == abi::kTypeGroup || type == abi::kTypeTextureNode || type == abi::kTypeCsg) {
      AddChildren(id, childDepth);
    }
  }

  void AddParams(const keyframe::ObjectTrack& track, uint32_t id, int32_t depth) {
    if (track.Keys().empty()) return;
    const keyframe::KeySnapshot& first = track.Keys().front().snapshot;
    for (int param = 0; param < track.ParamCount(); ++param) {
      const std::optional<TreePicture> picture = ParamPicture(track.ParamType(param));
      if (!picture || !track.Curves().Find(param)) continue;
      rows_.push_back({first.ParamName(param), *picture, depth, id, param});
    }
  }

  const keyframe::SceneAnimation& animation_;
  const keyframe::HostScene& host_;
  bool onlyKeyed_;
  std::vector<TimelineRow> rows_;
};

}  // namespace

std::vector<TimelineRow> BuildTimelineRows(const keyframe::SceneAnimation& animation, bool onlyKeyed) {
  TreeBuilder builder(animation, onlyKeyed);
  for (const uint32_t list : {abi::kCameraList, abi::kObjectList, abi::kMaterialList}) builder.AddList(list);
  return builder.Take();
}

}  // namespace lumetra::ui
