// The every-kind test scene translated into a scene of the real render library, and rendered.
#include <gmock/gmock.h>
#include <lumetra2.h>

#include <array>
#include <cmath>
#include <mutex>
#include <string>
#include <vector>

#include "host/host_context.h"
#include "host/host_functions.h"
#include "host/scene_file.h"
#include "host/testing/scene_test_support.h"
#include "platform/testing/recording_messages.h"
#include "translate/job_translation.h"

namespace lumetra::translate {
namespace {

constexpr int32_t kWidth = 40;
constexpr int32_t kHeight = 30;

struct Picture {
  std::mutex mutex;
  std::vector<std::array<float, 4>> pixels = std::vector<std::array<float, 4>>(kWidth * kHeight);
};

int32_t LUMETRA2_CALL NeverAbort(void*) { return 0; }

int32_t LUMETRA2_CALL KeepPixel(int32_t x, int32_t y, const float color[4], void* data) {
  auto& picture = *static_cast<Picture*>(data);
  std::lock_guard lock(picture.mutex);
  picture.pixels[static_cast<size_t>(y * kWidth + x)] = {color[0], color[1], color[2], color[3]};
  return 0;
}

// A scene file's text translated into the library and traced; its middle pixel's colour.
std::array<float, 4> MiddleOf(const std::string& sceneJson) {
  const auto folder = host::testing::FreshFolder("library-scene");
  host::testing::WriteText(folder / "scene.json", sceneJson);
  host::Scene scene = host::LoadScene((folder / "scene.json").string());
  host::HostContext context(scene);
  abi::SceneRecord record{};
  host::FillSceneRecord(record);
  render::RenderJob job;
  job.scene = NewScene();
  TranslateJob(job, record);
  EXPECT_EQ(SetViewResolution(job.scene, job.view, kWidth, kHeight), L2_OK);
  Picture picture;
  EXPECT_EQ(Tracer(job.scene, job.view, nullptr, 0, NeverAbort, KeepPixel, &picture), L2_OK);
  EXPECT_EQ(FreeScene(job.scene), L2_OK);
  return picture.pixels[(kHeight / 2) * kWidth + kWidth / 2];
}

TEST(LibraryScene, AZeroScaleFlattensTheObject) {
  // A ball seen from -z: flattened along x it stands edge-on and the sky shows through.
  const auto sceneWith = [](const std::string& scale) {
    return R"({"format": "lumetra-scene", "version": 1, "environment": {"background": [0, 0, 1]},
      "cameras": [{"type": "camera", "location": [0, 0, -5], "look_at": [0, 0, 0]}],
      "objects": [{"type": "sphere", "transform": {"scale": )" +
           scale + "}}]}";
  };
  EXPECT_EQ(MiddleOf(sceneWith("[0, 1, 1]"))[2], 1.0f);
  EXPECT_NE(MiddleOf(sceneWith("[1, 1, 0]"))[2], 1.0f);  // flat towards the eye: a disc
  EXPECT_NE(MiddleOf(sceneWith("[1, 1, 1]"))[2], 1.0f);
}

TEST(LibraryScene, TheEveryKindSceneTranslatesIntoTheLibraryAndItsBallIsSeenInTheMiddle) {
  host::Scene scene = host::LoadScene(host::testing::EveryKindScenePath());
  host::HostContext context(scene);
  abi::SceneRecord record{};
  host::FillSceneRecord(record);
  platform::RecordingMessages messages;
  render::RenderJob job;
  job.scene = NewScene();
  ASSERT_NE(job.scene, 0u);

  TranslateJob(job, record);
  EXPECT_EQ(messages.Count(), 0u);
  ASSERT_NE(job.view, 0u);
  for (const char* name :
       {"Floor", "Marble Ball", "Ball Copy", "Crate", "Carved", "Key Light", "Marble", "Camera"}) {
    EXPECT_NE(GetNameValue(job.scene, name), 0u) << name;
  }

  ASSERT_EQ(SetViewResolution(job.scene, job.view, kWidth, kHeight), L2_OK);
  Picture picture;
  const uint32_t flags = L2_SHADE_SHADOWS | L2_SHADE_REFLECTION | L2_SHADE_TRANSMISSION;
  ASSERT_EQ(Tracer(job.scene, job.view, nullptr, flags, NeverAbort, KeepPixel, &picture), L2_OK);
  double background[3] = {};
  ASSERT_EQ(GetBackgroundColor(job.scene, background), L2_OK);
  EXPECT_NEAR(background[2], 0.9, 1e-9);
  // The camera looks at the ball: the middle pixel shows a surface, the top corner the sky.
  const auto isSky = [&](const auto& pixel) {
    return std::abs(pixel[0] - background[0]) < 1e-6 && std::abs(pixel[2] - background[2]) < 1e-6;
  };
  EXPECT_FALSE(isSky(picture.pixels[(kHeight / 2) * kWidth + kWidth / 2]));
  EXPECT_TRUE(isSky(picture.pixels[0]));
  EXPECT_EQ(FreeScene(job.scene), L2_OK);
}

}  // namespace
}  // namespace lumetra::translate
