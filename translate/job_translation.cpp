#include "translate/job_translation.h"

#include "font/font_cache.h"
#include "translate/camera_view.h"
#include "translate/host_preview.h"
#include "translate/library_result.h"
#include "translate/object_translator.h"
#include "translate/render_parameters.h"
#include "translate/user_textures.h"

namespace lumetra::translate {
namespace {

void TakeOutputBaseName(render::RenderJob& job) {
  const render::AnimationSettings& output = job.animationSettings;
  if (output.fileOutput == static_cast<int32_t>(render::FileOutput::Avi) || output.outputBaseName.empty())
    return;
  job.outputPath = output.outputBaseName.substr(0, render::RenderJob::kMaxOutputPath);
}

void SetDefaultMatte(L2Scene scene) {
  const L2Texture matte = CreateMatteTexture(scene, 1, 1, 1);
  if (matte != 0) LogRefusal(SetDefaultTexture(scene, matte), "SetDefaultTexture");
}

void TranslateLibraryScene(render::RenderJob& job, const abi::SceneRecord& host) {
  ReadEnvironment(job, host);
  ClaimHostPreview(job, host);
  TranslateView(job, host);
  TranslateTextures(job, host);
  ObjectTranslator(job, host).TranslateScene();
  font::ReleaseFonts();
  SetDefaultMatte(job.scene);
}

}  // namespace

void TranslateJob(render::RenderJob& job, const abi::SceneRecord& host) {
  job.SetState(render::JobState::Processing);
  TakeOutputBaseName(job);
  ReadRenderSettings(job, host);
  if (job.kind == render::RendererKind::Library && job.scene != 0) TranslateLibraryScene(job, host);
}

}  // namespace lumetra::translate
