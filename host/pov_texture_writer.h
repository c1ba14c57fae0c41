// The texture node trees of list 2 as POV-Ray texture, pigment, normal and interior
// blocks; shared by the writer's texture and pigment halves.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <ostream>
#include <sstream>
#include <string>

#include "abi/texture_params.h"
#include "host/pov_objects.h"
#include "host/scene.h"

namespace lumetra::host::pov {

class TextureWriter {
 public:
  TextureWriter(const Scene& scene, const SceneFiles& files, std::ostream& out)
      : scene_(scene), files_(files), out_(&out) {}

  // A material's texture: its last texture node (as the ray tracer takes it), white without one.
  void Material(const SceneObject& material);
  // A material's interior with its media, when it has one.
  void Interior(const SceneObject& material);
  // The media of a material's interiors named as the scene's media, at the top level.
  void SceneMedia(const SceneObject& material);

 private:
  template <typename Visit>
  void Children(const SceneObject& node, Visit visit) const {
    for (const uint32_t id : node.children) {
      const SceneObject* child = scene_.Find(id);
      if (child && child->type == abi::kTypeTextureNode) visit(*child);
    }
  }
  // The last child whose kind `wanted` accepts.
  template <typename Wanted>
  const SceneObject* LastChild(const SceneObject& node, Wanted wanted) const {
    const SceneObject* last = nullptr;
    Children(node, [&](const SceneObject& child) {
      if (wanted(child.node.kind)) last = &child;
    });
    return last;
  }
  // What `write` puts out, as text, leaving the output untouched.
  template <typename Write>
  std::string Captured(Write write) {
    std::ostream* kept = out_;
    std::ostringstream text;
    text.imbue(kept->getloc());
    text.precision(kept->precision());
    out_ = &text;
    write();
    out_ = kept;
    return text.str();
  }
  void Unwritten(const SceneObject& node, const char* why = "is not written");
  // Each child of a material's interiors.
  template <typename Visit>
  void InteriorChildren(const SceneObject& material, Visit visit) {
    Children(material, [&](const SceneObject& interior) {
      if (interior.node.kind == abi::kNodeInterior) Children(interior, visit);
    });
  }
  bool IsSceneMedia(const SceneObject& media) const;

  // Transforms, warps, noise modifiers and comments of a node; false for anything else.
  // `pattern` is the pattern the node shapes, whose own formula may take the turbulence.
  bool Modifier(const SceneObject& node, std::optional<uint32_t> pattern);
  void Warp(const abi::WarpParams& warp);
  // Every child a modifier but those of kinds `owned` names (the caller writes them); the
  // rest are named as unwritten.
  void Modifiers(const SceneObject& node, std::optional<uint32_t> pattern, bool (*owned)(uint32_t) = nullptr);

  // One or more `texture { }` blocks (a layered texture is a stack of them), each closed
  // with `outer`, the modifiers of the nodes around it.
  void Texture(const SceneObject& node, const std::string& outer = {});
  void TextureBody(const SceneObject& node);
  void Pigment(const SceneObject& node);
  void PigmentBody(const SceneObject& node);
  void Normal(const SceneObject& node);
  // `bump`: the bump size of the wrapper around the node, which outranks the node's own.
  void NormalBody(const SceneObject& node, std::optional<double> bump = std::nullopt);
  void Finish(const SceneObject& node);
  void Media(const SceneObject& node);

  void Pattern(const abi::PatternParams& pattern);
  void Gradient(const double (&gradient)[3]);
  // The pattern, `keyword { [value body] ... }` for its map entries in order, and its modifiers.
  template <typename Body>
  void PatternMap(const SceneObject& node, const char* keyword, Body body);
  // The block kind and `keyword { body }` for each entry (a child of a kind `isEntry` takes,
  // or a map entry holding one; `empty` for one holding nothing).
  template <typename Body>
  void BlockEntries(const SceneObject& node, bool (*isEntry)(uint32_t), const char* keyword,
                    const char* separator, const char* empty, Body body);
  void BlockKind(const abi::BlockParams& block);
  // The block's brick size and mortar, which POV-Ray wants after its entries.
  void BlockEnd(const abi::BlockParams& block);
  // `[uv_mapping ]keyword { format "file" map_type ... inside }` and the turn that puts the
  // image where the ray tracer puts it; false (and a comment) when the file cannot be used.
  bool ImageBlock(const SceneObject& node, int32_t findKind, const char* keyword, bool interpolates,
                  const std::function<void()>& inside = {});
  void ImagePlacement(uint32_t mapType);
  void Colour(const abi::ColorParams& c) { WriteColour(*out_, c.red, c.green, c.blue, c.filter, c.transmit); }

  const Scene& scene_;
  const SceneFiles& files_;
  std::ostream* out_;
};

// An entry whose node has no child stays out, as it does from the ray tracer's map.
template <typename Body>
void TextureWriter::PatternMap(const SceneObject& node, const char* keyword, Body body) {
  const abi::PatternParams& pattern = node.node.params.pattern;
  Pattern(pattern);
  *out_ << " " << keyword << " {";
  Children(node, [&](const SceneObject& entry) {
    if (entry.node.kind != abi::kNodeMapEntry || entry.children.empty()) return;
    const SceneObject* inner = scene_.Find(entry.children.front());
    if (!inner || inner->type != abi::kTypeTextureNode) return;
    *out_ << " [" << entry.node.params.mapEntry.value << " ";
    body(*inner);
    *out_ << "]";
  });
  *out_ << " }";
  Modifiers(node, pattern.pattern);
}

// A map entry without a child keeps its place in the block, as it does in the ray tracer's.
template <typename Body>
void TextureWriter::BlockEntries(const SceneObject& node, bool (*isEntry)(uint32_t), const char* keyword,
                                 const char* separator, const char* empty, Body body) {
  BlockKind(node.node.params.block);
  const char* before = " ";
  Children(node, [&](const SceneObject& child) {
    const SceneObject* entry = &child;
    if (child.node.kind == abi::kNodeMapEntry)
      entry = child.children.empty() ? nullptr : scene_.Find(child.children.front());
    else if (!isEntry(child.node.kind))
      return;
    *out_ << before << keyword << " {";
    if (entry) {
      body(*entry);
    } else {
      *out_ << empty;
    }
    *out_ << " }";
    before = separator;
  });
}

}  // namespace lumetra::host::pov
