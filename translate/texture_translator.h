#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "abi/scene_record.h"
#include "texture/finish.h"
#include "texture/media.h"
#include "texture/pattern_choice.h"
#include "texture/texture.h"
#include "translate/node_record.h"
#include "translate/translation_sink.h"

namespace lumetra::image {
class Image;
}
namespace lumetra::texture {
class ImageList;
}

namespace lumetra::translate {

// Builds the plug-in's texture tree from the host's tree of texture nodes. Unknown node
// kinds are skipped with a line in the debug log; a node whose children cannot be had
// ends with what was built so far. An image that cannot be found or read is reported in
// a message box and its node yields nothing.
class TextureTranslator {
 public:
  // `images` receives the images that image-bearing nodes load and must outlive the
  // textures: a render job keeps it until the job ends, so that a changed file is read
  // again by the next render.
  TextureTranslator(const abi::SceneRecord& host, TranslationSink& sink, texture::ImageList& images);

  // The texture of a [material] (its already-read record); its media go to `mediaList`.
  std::unique_ptr<texture::Texture> TranslateMaterial(
      const NodeRecord& material, std::vector<std::unique_ptr<texture::Media>>& mediaList);
  // Node kinds 1 to 5; any other kind gives null.
  std::unique_ptr<texture::Texture> TranslateTexture(std::uint32_t node);
  std::unique_ptr<texture::Pigment> TranslatePigment(std::uint32_t node);
  std::unique_ptr<texture::Normal> TranslateNormal(std::uint32_t node);
  texture::Finish TranslateFinish(const NodeRecord& node);
  std::unique_ptr<texture::Media> TranslateMedia(std::uint32_t node);

 private:
  std::unique_ptr<texture::Texture> TranslateStandardTexture(const NodeRecord& node);
  std::unique_ptr<texture::Texture> TranslateTextureMap(const NodeRecord& node);
  std::unique_ptr<texture::Texture> TranslateLayeredTexture(const NodeRecord& node);
  std::unique_ptr<texture::Texture> TranslateBlockTexture(const NodeRecord& node);
  std::unique_ptr<texture::Texture> TranslateMaterialMap(const NodeRecord& node);

  std::unique_ptr<texture::Pigment> TranslatePigmentNode(const NodeRecord& node);
  std::unique_ptr<texture::Pigment> TranslatePigmentWrapper(const NodeRecord& node);
  std::unique_ptr<texture::Pigment> TranslateBlockPigment(const NodeRecord& node);
  std::unique_ptr<texture::Pigment> TranslatePatternPigment(const NodeRecord& node);
  std::unique_ptr<texture::Pigment> TranslatePigmentMap(const NodeRecord& node);
  std::unique_ptr<texture::Pigment> TranslateImageMap(const NodeRecord& node);

  std::unique_ptr<texture::Normal> TranslateNormalNode(const NodeRecord& node);
  std::unique_ptr<texture::Normal> TranslateNormalWrapper(const NodeRecord& node);
  std::unique_ptr<texture::Normal> TranslateBlockNormal(const NodeRecord& node);
  std::unique_ptr<texture::Normal> TranslateNormalMap(const NodeRecord& node);
  std::unique_ptr<texture::Normal> TranslatePatternNormal(const NodeRecord& node);
  std::unique_ptr<texture::Normal> TranslateBumpMap(const NodeRecord& node);

  // The image an [image map], [bump map] or [material map] names, found with `FindFile`
  // of `findKind` and loaded into the image list; null (after telling the user, with
  // `missingFormat` when the host cannot find the file) when it cannot be had.
  const image::Image* LoadNodeImage(const NodeRecord& node, abi::FindFileKind findKind,
                                    const char* missingFormat);

  // [transform], [warp] and [noise modifiers] change `owner` (whose pattern, if any, is
  // `pattern`); a [comment] changes nothing. False for any other kind.
  bool ApplyModifier(texture::TextureNode& owner, std::optional<texture::PatternId> pattern,
                     const NodeRecord& node);
  // The same for the children of an image-bearing node, which may also hold its
  // [bitmap modifiers] (read from the node's own record instead).
  bool ApplyImageModifier(texture::TextureNode& owner, const NodeRecord& node);
  void ApplyNoiseModifiers(texture::TextureNode& owner, std::optional<texture::PatternId> pattern,
                           const NodeRecord& node);
  // The value of a map entry node and its child translated by `translate`; nothing when
  // the entry has no child or the child translates to nothing.
  template <typename Translate>
  auto MapEntry(const NodeRecord& entry, Translate translate)
      -> std::optional<std::pair<float, decltype(translate(0u))>>;
  // A map of whole textures, pigments or normals over a pattern, with its modifiers.
  template <typename Map, typename Translate>
  std::unique_ptr<Map> TranslateMapNode(const NodeRecord& node, Translate translate,
                                        const char* unknownMessage);

  const abi::SceneRecord& host_;
  HostNodes nodes_;
  TranslationSink& sink_;
  texture::ImageList& images_;
};

// Appends a [transform] node's scale, rotation (by minus its angles) and translation to the
// node's last transform warp, starting one when the last warp is of another kind.
void AppendTransformNode(texture::TextureNode& node, const abi::TransformNodeParams& params);

// The pattern of a [texture map], pattern pigment, normal map or pattern normal node.
texture::PatternChoice PatternChoiceOf(const abi::PatternParams& params);

}  // namespace lumetra::translate
