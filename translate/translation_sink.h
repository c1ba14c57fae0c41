#pragma once

#include <variant>

#include "texture/lighting.h"
#include "texture/noise_params.h"

namespace lumetra::texture {
struct Finish;
class Media;
}  // namespace lumetra::texture

namespace lumetra::translate {

struct NodeRecord;

// What the scene translation supplies to the texture translation: it is told of every
// finish, noise setting and media colour filled from a node (to animate them later), and
// it gives the lighting that texture maps and layered textures light their layers with.
class TranslationSink {
 public:
  using Target = std::variant<texture::Finish*, texture::NoiseParams*, texture::Media*>;

  virtual ~TranslationSink() = default;
  virtual void Track(Target target, const NodeRecord& node) = 0;

  texture::Lighting lighting;
};

}  // namespace lumetra::translate
