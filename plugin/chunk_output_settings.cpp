#include "plugin/chunk_output_settings.h"

#include "plugin/kinetra_app.h"

namespace lumetra::plugin {

keyframe::StoredOutputSettings ToStored(const render::AnimationSettings& settings) {
  return {settings.fileOutput,
          settings.timeDisplay,
          settings.frameRateChoice,
          settings.compressor,
          settings.quality,
          settings.keyFrameEvery,
          settings.dataRate,
          settings.frameRateNumerator,
          settings.frameRateDenominator,
          settings.outputBaseName,
          settings.renderFields,
          settings.upperFieldFirst};
}

void TakeStored(const keyframe::StoredOutputSettings& stored, render::AnimationSettings& settings) {
  settings.fileOutput = stored.fileOutput;
  settings.timeDisplay = stored.timeDisplay;
  settings.frameRateChoice = stored.frameRateChoice;
  settings.compressor = stored.compressor;
  settings.quality = stored.quality;
  settings.keyFrameEvery = stored.keyFrameEvery;
  settings.dataRate = stored.dataRate;
  settings.frameRateNumerator = stored.frameRateNumerator;
  settings.frameRateDenominator = stored.frameRateDenominator;
  // f32 division as the file's readers always did: 0 / 0 gives NaN, n / 0 infinity.
  settings.customFrameRate =
      static_cast<float>(stored.frameRateNumerator) / static_cast<float>(stored.frameRateDenominator);
  settings.outputBaseName = stored.outputBaseName;
  settings.renderFields = stored.renderFields;
  settings.upperFieldFirst = stored.upperFieldFirst;
}

keyframe::StoredOutputSettings AppOutputSettings::Stored() const {
  return ToStored(app_.AnimationSettings());
}

void AppOutputSettings::TakeStored(const keyframe::StoredOutputSettings& settings) {
  plugin::TakeStored(settings, app_.AnimationSettings());
}

float AppOutputSettings::LoadFromRegistry() {
  app_.LoadAnimationSettings();
  return app_.AnimationSettings().customFrameRate;
}

}  // namespace lumetra::plugin
