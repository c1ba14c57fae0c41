#include "translate/job_translation.h"

#include <gmock/gmock.h>

#include <algorithm>

#include "abi/result_codes.h"
#include "host/testing/scene_test_support.h"
#include "texture/image_list.h"
#include "texture/media.h"
#include "translate/host_preview.h"
#include "translate/render_parameters.h"
#include "translate/testing/translation_fixture.h"

namespace lumetra::translate {
namespace {

using testing::After;
using testing::Arguments;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

class JobTranslation : public testing::TranslationTest {
 protected:
  ~JobTranslation() override { ReleaseHostPreview(job_); }

  void Translate(const std::string& sceneJson) {
    Load(sceneJson);
    TranslateJob(job_, record_);
  }

  // Index of the first call of entry, the number of calls when there is none.
  size_t FirstCall(const std::string& entry) const {
    const auto names = recorder_.Names();
    return static_cast<size_t>(std::find(names.begin(), names.end(), entry) - names.begin());
  }
};

TEST_F(JobTranslation, TheHostsRenderSettingsSizeTheJobAndChooseItsAntiAliasing) {
  const auto settingsOf = [&](const std::string& render) {
    Load(SceneWith("", R"("render": )" + render));
    job_.antiAliasDepth = -1;
    TranslateJob(job_, record_);
  };
  settingsOf(
      R"({"width": 640, "height": 480, "show_window": false, "host_display": true, "antialias": false})");
  EXPECT_EQ(job_.width, 640);
  EXPECT_EQ(job_.height, 480);
  EXPECT_FALSE(job_.showWindow);
  EXPECT_EQ(job_.hostDisplay, 1);
  EXPECT_FALSE(job_.antiAlias);
  EXPECT_EQ(job_.antiAliasDepth, 0);

  settingsOf(R"({"antialias": true, "antialias_mode": 1, "antialias_depth": 4, "antialias_threshold": 0.2})");
  EXPECT_TRUE(job_.antiAlias);
  EXPECT_EQ(job_.antiAliasDepth, 1);
  EXPECT_EQ(job_.antiAliasThreshold, 0.2);
  EXPECT_EQ(job_.hostDisplay, 0);

  settingsOf(R"({"antialias": true, "antialias_mode": 2, "antialias_depth": 4})");
  EXPECT_EQ(job_.antiAliasDepth, 4);
}

TEST_F(JobTranslation, AHostRefusingItsRenderSettingsGivesAShown320By240Image) {
  Load(SceneWith("", R"("render": {"width": 640, "height": 480, "show_window": false})"));
  record_.getRenderSettings = [](int32_t, abi::RenderSettingsRecord*) -> int32_t { return abi::kNotFound; };
  job_.hostDisplay = 0;
  TranslateJob(job_, record_);
  EXPECT_EQ(job_.width, 320);
  EXPECT_EQ(job_.height, 240);
  EXPECT_TRUE(job_.showWindow);
  EXPECT_EQ(job_.hostDisplay, 1);
  EXPECT_EQ(job_.animationSettings.fileOutput, static_cast<int32_t>(render::FileOutput::TgaRle));
}

TEST(OutputOfFormatLetter, EachLetterHasItsFileTypeAndTheRestRunLengthTga) {
  using render::FileOutput;
  EXPECT_EQ(OutputOfFormatLetter('S'), FileOutput::Bmp);
  EXPECT_EQ(OutputOfFormatLetter('T'), FileOutput::Tga);
  EXPECT_EQ(OutputOfFormatLetter('C'), FileOutput::TgaRle);
  EXPECT_EQ(OutputOfFormatLetter('N'), FileOutput::Png);
  EXPECT_EQ(OutputOfFormatLetter('P'), FileOutput::Ppm);
  EXPECT_EQ(OutputOfFormatLetter('X'), FileOutput::TgaRle);
  EXPECT_EQ(OutputOfFormatLetter(0), FileOutput::TgaRle);
}

TEST_F(JobTranslation, AStillJobTakesTheHostsOutputTypeAnAnimationKeepsItsOwn) {
  Translate(SceneWith("", R"("render": {"output_format": "P"})"));
  EXPECT_EQ(job_.animationSettings.fileOutput, static_cast<int32_t>(render::FileOutput::Ppm));
  job_.animation = true;
  job_.animationSettings.fileOutput = static_cast<int32_t>(render::FileOutput::Avi);
  TranslateJob(job_, record_);
  EXPECT_EQ(job_.animationSettings.fileOutput, static_cast<int32_t>(render::FileOutput::Avi));
}

TEST_F(JobTranslation, TheOutputBaseNameBecomesThePathUnlessTheOutputIsAvi) {
  job_.animationSettings.outputBaseName = "C:\\renders\\frame";
  job_.animationSettings.fileOutput = static_cast<int32_t>(render::FileOutput::Avi);
  job_.animation = true;
  Translate(SceneWith(""));
  EXPECT_EQ(job_.outputPath, "");
  job_.animationSettings.fileOutput = static_cast<int32_t>(render::FileOutput::Png);
  TranslateJob(job_, record_);
  EXPECT_EQ(job_.outputPath, "C:\\renders\\frame");
  EXPECT_EQ(job_.DisplayName(), "frame");
  EXPECT_EQ(job_.State(), render::JobState::Processing);
}

TEST_F(JobTranslation, TheEnvironmentSetsTheSceneAndTheJobsDepthAndMediaName) {
  Translate(SceneWith("", R"("environment": {"background": [0.1, 0.2, 0.3], "ambient": [0.4, 0.5, 0.6],
                                             "max_depth": 7, "min_weight": 0.02, "media": "Fog"})"));
  EXPECT_THAT(recorder_.Names(), ::testing::IsSupersetOf({"SetRayEpsilon", "SetBackgroundColor"}));
  EXPECT_EQ(After(Only("SetRayEpsilon")), Arguments{0.0001});
  EXPECT_EQ(After(Only("SetBackgroundColor")), (Arguments{0.1, 0.2, 0.3}));
  EXPECT_EQ(After(Only("SetAmbientLight")), (Arguments{0.4, 0.5, 0.6}));
  EXPECT_EQ(After(Only("SetMaxTracingDepth")), Arguments{7});
  EXPECT_EQ(After(Only("SetMinTracingWeight")), Arguments{0.02});
  EXPECT_EQ(job_.maxTracingDepth, 7);
  EXPECT_EQ(job_.sceneSettingsName, "Fog");

  renderlib::testing::RenderCallRecorder fresh;
  record_.getEnvironment = [](abi::EnvironmentRecord*) -> int32_t { return abi::kNotFound; };
  TranslateJob(job_, record_);
  EXPECT_EQ(Calls("SetRayEpsilon").size(), 1u);
  EXPECT_THAT(Calls("SetBackgroundColor"), IsEmpty());
}

TEST_F(JobTranslation, OnlyRenderLibraryJobsBuildAScene) {
  job_.kind = render::RendererKind::PovRay;
  job_.scene = 0;
  Translate(SceneWith(R"({"type": "sphere"})", R"("render": {"width": 100, "height": 50})"));
  EXPECT_EQ(job_.width, 100);
  EXPECT_THAT(recorder_.Calls(), IsEmpty());
}

TEST_F(JobTranslation, TheSceneIsBuiltInOrderAndEndsWithAWhiteMatteDefaultTexture) {
  Translate(SceneWith(R"({"type": "sphere", "name": "Ball"})", R"("cameras": [{"type": "camera"}],
    "materials": [{"kind": "material", "name": "Plain", "children": [{"kind": "texture"}]}])"));
  const size_t environment = FirstCall("SetRayEpsilon"), view = FirstCall("CreateView"),
               texture = FirstCall("CreateUserTexture"), object = FirstCall("CreateSphere"),
               matte = FirstCall("CreateMatteTexture"), calls = recorder_.Calls().size();
  EXPECT_LT(environment, view);
  EXPECT_LT(view, texture);
  EXPECT_LT(texture, object);
  EXPECT_LT(object, matte);
  ASSERT_EQ(matte, calls - 2);
  EXPECT_EQ(After(Only("CreateMatteTexture")), (Arguments{1, 1, 1}));
  EXPECT_EQ(After(Only("SetDefaultTexture")), Arguments{double(Made("CreateMatteTexture"))});
  EXPECT_THAT(job_.keptNames, ElementsAre("Plain", "Ball"));
}

TEST_F(JobTranslation, WithoutACameraTheViewTexturesLightTheirLayersWithIsMadeBeforeThem) {
  Translate(SceneWith(R"({"type": "sphere", "texture": "Layers"})", R"("materials": [
    {"kind": "material", "name": "Layers", "children": [{"kind": "layered_texture", "children": [
      {"kind": "texture"}, {"kind": "texture"}]}]}])"));
  ASSERT_NE(job_.view, 0u);
  EXPECT_EQ(job_.view, Made("CreateView"));
  EXPECT_LT(FirstCall("CreateView"), FirstCall("CreateUserTexture"));
}

// A host whose view 2 can show a render while it runs.
void LUMETRA_STDCALL PutPreviewPixel(int32_t, int32_t, int32_t, uint8_t, uint8_t, uint8_t, uint8_t) {}
void LUMETRA_STDCALL PreviewChanged(int32_t, int32_t, int32_t, int32_t, int32_t) {}
int32_t LUMETRA_STDCALL PreviewInView2(int32_t view, abi::PreviewRecord* preview) {
  if (view != 2) return abi::kOk;  // answers, but cannot show a render
  preview->capable = 1;
  preview->aspect = 1.5f;
  preview->putPixel = PutPreviewPixel;
  preview->changed = PreviewChanged;
  return abi::kOk;
}

TEST_F(JobTranslation, AStillJobTakesTheFirstPreviewCapableViewWhileNoOtherJobHoldsIt) {
  Load(SceneWith(""));
  record_.getPreviewInfo = PreviewInView2;
  TranslateJob(job_, record_);
  EXPECT_TRUE(job_.preview.on);
  EXPECT_EQ(job_.preview.view, 2);
  EXPECT_EQ(job_.preview.aspect, 1.5f);
  EXPECT_EQ(job_.preview.pixel, &PutPreviewPixel);
  EXPECT_EQ(HostPreviewHolder(), &job_);

  render::RenderJob second;
  second.scene = kScene;
  TranslateJob(second, record_);
  EXPECT_FALSE(second.preview.on);
  render::RenderJob animation;
  animation.scene = kScene;
  animation.animation = true;
  ReleaseHostPreview(job_);
  EXPECT_FALSE(job_.preview.on);
  TranslateJob(animation, record_);
  EXPECT_FALSE(animation.preview.on);
  EXPECT_EQ(HostPreviewHolder(), nullptr);
  TranslateJob(second, record_);
  EXPECT_TRUE(second.preview.on);
  ReleaseHostPreview(second);
}

TEST_F(JobTranslation, AViewWithoutBothCallbacksIsNoPreview) {
  Load(SceneWith(""));
  record_.getPreviewInfo = [](int32_t, abi::PreviewRecord* preview) -> int32_t {
    preview->capable = 1;
    preview->putPixel = PutPreviewPixel;
    return abi::kOk;
  };
  TranslateJob(job_, record_);
  EXPECT_FALSE(job_.preview.on);
  EXPECT_EQ(HostPreviewHolder(), nullptr);
}

TEST_F(JobTranslation, MaterialsThatLetNoLightThroughAreVouchedForAsOpaque) {
  const auto material = [](const char* name, const char* color) {
    return std::string(R"({"kind": "material", "name": ")") + name +
           R"(", "children": [{"kind": "texture", "children": [{"kind": "pigment", "children": [
             {"kind": "solid_color", "color": )" +
           color + "}]}]}]}";
  };
  Translate(SceneWith("", R"("materials": [)" + material("Paint", "[1, 0, 0, 0, 0]") + ", " +
                              material("Glass", "[1, 1, 1, 0.9, 0]") + ", " +
                              material("Veil", "[1, 1, 1, 0, 0.5]") + "]"));
  const auto opaque = Calls("SetTextureOpaque");
  ASSERT_EQ(opaque.size(), 1u);
  EXPECT_EQ(opaque[0].arguments[1], recorder_.FiledValue("Paint"));
  EXPECT_EQ(opaque[0].arguments[2], 1);
  // Solid colours read no surface coordinates: each material says so.
  const auto coordinates = Calls("SetTextureReadsUV");
  ASSERT_EQ(coordinates.size(), 3u);
  for (const auto& call : coordinates) EXPECT_EQ(call.arguments[2], 0);
}

TEST_F(JobTranslation, MaterialsBecomeNamedUserTexturesWithVolumesByTheirMedia) {
  Translate(SceneWith("", R"("environment": {"media": "Fog"}, "materials": [
    {"kind": "material", "name": "Smoke", "children": [{"kind": "texture"}, {"kind": "interior", "children": [
      {"kind": "media", "name": "Fog", "children": [{"kind": "emission", "color": [0.1, 0, 0]}]},
      {"kind": "media", "children": [{"kind": "scattering", "color": [0.5, 0.5, 0.5]}]},
      {"kind": "media", "extinction_on": true, "extinction": 0.5,
       "children": [{"kind": "scattering", "color": [0.5, 0.5, 0.5]}, {"kind": "absorption", "color": [0.2, 0, 0]}]},
      {"kind": "media", "extinction_on": true, "extinction": 0.5, "children": [
       {"kind": "scattering", "color": [0.5, 0.5, 0.5]}]}]}]},
    {"kind": "material", "children": [{"kind": "texture"}]}])"));
  const auto textures = Calls("CreateUserTexture");
  ASSERT_EQ(textures.size(), 1u);  // the unnamed material is dropped
  const uint32_t smoke = textures[0].result;
  EXPECT_EQ(recorder_.FiledValue("Smoke"), smoke);
  const auto volumes = Calls("CreateVolume");
  ASSERT_EQ(volumes.size(), 4u);
  const auto flags = [&](size_t i) { return CallsOn(volumes[i].result); };
  EXPECT_THAT(flags(0), ElementsAre("SetVolumeStepResolution", "SetVolumeAmbientFlag", "SetVolumeOpacityFlag",
                                    "SetVolumeDiffuseFlag", "AddGlobalVolume"));
  const auto settings = [&](size_t i, const std::string& entry) {
    Arguments values;
    for (const auto& call : Calls(entry)) {
      if (call.arguments[1] == volumes[i].result) values.push_back(call.arguments[2]);
    }
    return values;
  };
  EXPECT_EQ(settings(0, "SetVolumeAmbientFlag"), Arguments{1});
  EXPECT_EQ(settings(0, "SetVolumeOpacityFlag"), Arguments{0});
  // Scattering makes a volume diffuse and opaque unless its extinction is set non-zero;
  // absorption always makes it opaque.
  EXPECT_EQ(settings(1, "SetVolumeDiffuseFlag"), Arguments{1});
  EXPECT_EQ(settings(1, "SetVolumeOpacityFlag"), (Arguments{0, 1}));
  EXPECT_EQ(settings(2, "SetVolumeOpacityFlag"), (Arguments{0, 1}));
  EXPECT_EQ(settings(3, "SetVolumeOpacityFlag"), Arguments{0});
  EXPECT_EQ(settings(3, "SetVolumeAmbientFlag"), Arguments{0});
  const auto attached = Calls("AddTextureVolume");
  ASSERT_EQ(attached.size(), 3u);
  for (const auto& call : attached) EXPECT_EQ(call.arguments[1], smoke);
  EXPECT_EQ(After(Calls("SetVolumeStepResolution")[0], 2), Arguments{1.0});
}

TEST_F(JobTranslation, ARefusedVolumeEndsTheVolumesOfItsTexture) {
  recorder_.FailNext("CreateVolume");
  Translate(SceneWith("", R"("materials": [{"kind": "material", "name": "Smoke", "children": [
    {"kind": "interior", "children": [{"kind": "media"}, {"kind": "media"}]}]}])"));
  EXPECT_EQ(Calls("CreateVolume").size(), 1u);
  EXPECT_THAT(Calls("AddTextureVolume"), IsEmpty());
}

TEST_F(JobTranslation, NamedTextureNodesAreFiledOnceForAnimationFrames) {
  Translate(SceneWith("", R"("materials": [{"kind": "material", "name": "Shiny", "children": [
    {"kind": "texture", "children": [{"kind": "finish", "name": "Gloss", "phong": 0.5}]}]},
    {"kind": "material", "name": "Dull", "children": [
    {"kind": "texture", "children": [{"kind": "finish", "name": "Gloss"}, {"kind": "finish"}]}]}])"));
  const auto filed = Calls("SetNameValue");
  std::vector<std::string> names;
  for (const auto& call : filed) names.push_back(call.text);
  EXPECT_THAT(names, ElementsAre("Gloss", "Shiny", "Dull"));
  EXPECT_NE(recorder_.FiledValue("Gloss"), 0u);
  EXPECT_THAT(job_.keptNames, ElementsAre("Gloss", "Shiny", "Dull"));
}

TEST_F(JobTranslation, EveryObjectOfTheEveryKindSceneTranslates) {
  LoadFile(host::testing::EveryKindScenePath());
  TranslateJob(job_, record_);
  EXPECT_THAT(messages_.Calls(), IsEmpty());
  for (const char* entry :
       {"CreateBox",    "CreateSphere",    "CreateCylinder",  "CreateCone",       "CreateTorus",
        "CreateDisc",   "CreateSuperQ",    "CreateBlob",      "CreateLathe",      "CreateSweep",
        "CreateTriBag", "CreateTriBag3",   "CreateHeight8",   "CreateSplineMesh", "CreateClone",
        "CreateLight",  "CreateSpotLight", "CreateAreaLight", "CreateView",       "CreateUserTexture",
        "CreateVolume"}) {
    EXPECT_FALSE(Calls(entry).empty()) << entry;
  }
  for (const std::uint32_t id : scene_->List(abi::kObjectList)) {
    const host::SceneObject& object = *scene_->Find(id);
    if (object.type == abi::kTypeGroup) continue;  // a group of lights joins no solid
    EXPECT_NE(recorder_.FiledValue(object.name), 0u) << object.name;
  }
  for (const char* light : {"Key Light", "Spot", "Fill"}) EXPECT_NE(recorder_.FiledValue(light), 0u) << light;
  for (const char* material : {"Marble", "Bricks", "Layers", "Tiles", "Checks", "Haze"}) {
    EXPECT_NE(recorder_.FiledValue(material), 0u) << material;
  }
  EXPECT_EQ(recorder_.FiledValue("Camera"), job_.view);
  // The floor's tile image is read for this job and goes with it, so an edited file is
  // seen by the next render.
  ASSERT_NE(job_.imageMaps, nullptr);
  EXPECT_EQ(job_.imageMaps->Size(), 1u);
  EXPECT_EQ(job_.width, 320);
  EXPECT_EQ(job_.animationSettings.fileOutput, static_cast<int32_t>(render::FileOutput::Png));
}

}  // namespace
}  // namespace lumetra::translate
