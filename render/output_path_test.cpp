#include "render/output_path.h"

#include <gtest/gtest.h>

#include <cstring>

namespace lumetra {
namespace {

using render::RenderJob;
using render::StillOutputPath;

abi::RenderSettingsRecord Settings(const char* directory, const char* scene) {
  abi::RenderSettingsRecord record{};
  std::strcpy(record.outputDirectory, directory);
  std::strcpy(record.sceneFile, scene);
  return record;
}

TEST(StillOutputPath, SceneNameInTheHostsOutputDirectory) {
  RenderJob job;
  const auto saved = Settings("/tmp/renders/", "/home/me/scenes/garden.v2.json");
  EXPECT_EQ(StillOutputPath(job, &saved), "/tmp/renders/garden.v2");
  const auto windows = Settings("C:\\out\\", "D:\\scenes\\shop.zvl");
  EXPECT_EQ(StillOutputPath(job, &windows), "C:\\out\\shop");
}

TEST(StillOutputPath, UnsavedSceneWritesOut) {
  RenderJob job;
  const auto unsaved = Settings("/tmp/renders/", "");
  EXPECT_EQ(StillOutputPath(job, &unsaved), "/tmp/renders/out");
  EXPECT_EQ(StillOutputPath(job, nullptr), "out");
}

TEST(StillOutputPath, AGivenNameGetsTheDirectoryInFront) {
  RenderJob job;
  job.outputPath = "frames\\take";
  const auto saved = Settings("/tmp/r/", "/s/garden.json");
  EXPECT_EQ(StillOutputPath(job, &saved), "/tmp/r/frames\\take");
  EXPECT_EQ(render::BaseNameWithoutExtension("a\\b/c.d.e"), "c.d");
  EXPECT_EQ(render::BaseNameWithoutExtension(".hidden"), ".hidden");
}

TEST(StillOutputPath, StaysWithinTheJobsPathField) {
  RenderJob job;
  job.outputPath = std::string(600, 'x');
  const auto saved = Settings("/tmp/", "");
  EXPECT_EQ(StillOutputPath(job, &saved).size(), RenderJob::kMaxOutputPath);
}

}  // namespace
}  // namespace lumetra
