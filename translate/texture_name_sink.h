#pragma once

#include "render/render_job.h"
#include "translate/translation_sink.h"

namespace lumetra::translate {

// Hands the texture translation the job's lighting (scene, view, shading flags and the
// library's ShadePoint) and files every finish, noise setting and media it is told of
// under its node's name, so that animation frames find them again. A node without a
// name, or whose name the scene already holds, is not filed.
class TextureNameSink : public TranslationSink {
 public:
  explicit TextureNameSink(render::RenderJob& job);
  void Track(Target target, const NodeRecord& node) override;

 private:
  render::RenderJob& job_;
};

}  // namespace lumetra::translate
