#include "translate/render_parameters.h"

#include <lumetra2.h>

#include "abi/result_codes.h"
#include "translate/host_object.h"
#include "translate/library_result.h"

namespace lumetra::translate {
namespace {

constexpr int32_t kDefaultWidth = 320;
constexpr int32_t kDefaultHeight = 240;
constexpr double kRayEpsilon = 0.0001;
constexpr uint32_t kSingleAntiAliasMode = 1;

void TakeSettings(render::RenderJob& job, const abi::RenderSettingsRecord& settings) {
  job.hostDisplay = static_cast<int32_t>(settings.hostDisplay);
  job.width = static_cast<int32_t>(settings.width);
  job.height = static_cast<int32_t>(settings.height);
  job.showWindow = settings.showWindow != 0;
  job.antiAlias = settings.antialias != 0;
  if (!job.antiAlias) {
    job.antiAliasDepth = 0;
  } else {
    job.antiAliasDepth =
        settings.antialiasMode == kSingleAntiAliasMode ? 1 : static_cast<int32_t>(settings.antialiasDepth);
  }
  job.antiAliasThreshold = settings.antialiasThreshold;
}

}  // namespace

render::FileOutput OutputOfFormatLetter(uint32_t letter) {
  switch (letter) {
    case abi::kLetterBmp:
      return render::FileOutput::Bmp;
    case abi::kLetterTga:
      return render::FileOutput::Tga;
    case abi::kLetterPng:
      return render::FileOutput::Png;
    case abi::kLetterPpm:
      return render::FileOutput::Ppm;
    default:
      return render::FileOutput::TgaRle;  // kLetterTgaRle and anything unknown
  }
}

void ReadRenderSettings(render::RenderJob& job, const abi::SceneRecord& host) {
  abi::RenderSettingsRecord settings{};
  settings.version = abi::kRenderSettingsVersion;
  const bool answered = host.getRenderSettings(abi::kRenderSettingsSelector, &settings) == abi::kOk;
  if (answered) {
    TakeSettings(job, settings);
  } else {
    job.width = kDefaultWidth;
    job.height = kDefaultHeight;
    job.hostDisplay = 1;
    job.showWindow = true;
  }
  if (!job.animation) {
    const uint32_t letter = answered ? settings.outputFormat : 0;
    job.animationSettings.fileOutput = static_cast<int32_t>(OutputOfFormatLetter(letter));
  }
}

void ReadEnvironment(render::RenderJob& job, const abi::SceneRecord& host) {
  LogRefusal(SetRayEpsilon(job.scene, kRayEpsilon), "SetRayEpsilon");
  abi::EnvironmentRecord environment{};
  environment.version = abi::kEnvironmentVersion;
  if (host.getEnvironment(&environment) != abi::kOk) return;
  const double* background = environment.background;
  const double* ambient = environment.ambient;
  const auto depth = static_cast<int32_t>(environment.maxDepth);
  LogRefusal(SetBackgroundColor(job.scene, background[0], background[1], background[2]),
             "SetBackgroundColor");
  LogRefusal(SetAmbientLight(job.scene, ambient[0], ambient[1], ambient[2]), "SetAmbientLight");
  LogRefusal(SetMaxTracingDepth(job.scene, depth), "SetMaxTracingDepth");
  LogRefusal(SetMinTracingWeight(job.scene, environment.minWeight), "SetMinTracingWeight");
  job.sceneSettingsName = FieldText(environment.mediaName).substr(0, sizeof environment.mediaName - 1);
  job.maxTracingDepth = depth;
}

}  // namespace lumetra::translate
