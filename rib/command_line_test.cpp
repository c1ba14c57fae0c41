// lumetra-rib as a shell runs it: pictures written whole or not at all, exit codes.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>

#include "image/image.h"
#include "image/image_loader.h"
#include "platform/testing/child_process.h"
#include "platform/testing/scratch_directory.h"

namespace lumetra::rib {
namespace {

using ::testing::HasSubstr;

struct Outcome {
  int code;
  std::string err;
};

Outcome RibRun(const std::string& arguments) {
  const platform::ShellRun run =
      platform::RunShell(std::string("'") + LUMETRA_RIB_EXECUTABLE + "' " + arguments + " 2>&1 >/dev/null");
  return {run.exitCode, run.output};
}

void Write(const std::filesystem::path& path, const std::string& text) { std::ofstream(path) << text; }

// The size of the picture in `path`, or 0 x 0 when it cannot be read.
std::pair<int, int> PictureSize(const std::filesystem::path& path) {
  image::Image picture;
  if (image::LoadImage(picture, path.string()) != 1) return {0, 0};
  return {picture.Width(), picture.Height()};
}

const char* kScene =
    "Format 64 48 1\nDisplay \"out.png\" \"file\" \"rgb\"\nProjection \"perspective\" \"fov\" 45\n"
    "Translate 0 0 5\nWorldBegin\nSurface \"constant\"\nColor 1 0 0\nSphere 1 -1 1 360\nWorldEnd\n";

TEST(RibCommand, WritesTheDisplayedPictureOrTheOneNamedByO) {
  platform::ScratchDirectory folder;
  Write(folder / "a.rib", kScene);
  const platform::ShellRun displayed = platform::RunShell("cd '" + folder.Path().string() + "' && '" +
                                                          LUMETRA_RIB_EXECUTABLE + "' a.rib 2>&1");
  EXPECT_EQ(displayed.exitCode, 0) << displayed.output;
  EXPECT_EQ(PictureSize(folder / "out.png"), std::make_pair(64, 48));

  const Outcome overridden =
      RibRun("--threads 1 -o '" + (folder / "b.tif").string() + "' '" + (folder / "a.rib").string() + "'");
  EXPECT_EQ(overridden.code, 0) << overridden.err;
  EXPECT_EQ(PictureSize(folder / "b.tif"), std::make_pair(64, 48));
}

TEST(RibCommand, AMalformedFileWritesNothingAndSaysWhere) {
  platform::ScratchDirectory folder;
  Write(folder / "bad.rib", std::string(kScene) + "WorldBegin\nSphere 1 -1\n");
  const Outcome outcome =
      RibRun("-o '" + (folder / "bad.png").string() + "' '" + (folder / "bad.rib").string() + "'");
  EXPECT_EQ(outcome.code, 1);
  EXPECT_THAT(outcome.err, HasSubstr("bad.rib:11: Sphere: missing a number"));
  EXPECT_FALSE(std::filesystem::exists(folder / "bad.png"));
}

TEST(RibCommand, BadArgumentsAndMissingFilesExitWithTwo) {
  EXPECT_EQ(RibRun("").code, 2);
  EXPECT_EQ(RibRun("--frobnicate x.rib").code, 2);
  EXPECT_EQ(RibRun("--threads zero x.rib").code, 2);
  EXPECT_EQ(RibRun("a.rib b.rib").code, 2);
  const Outcome missing = RibRun("/nonexistent/scene.rib");
  EXPECT_EQ(missing.code, 2);
  EXPECT_THAT(missing.err, HasSubstr("/nonexistent/scene.rib"));
}

TEST(RibCommand, HelpListsTheRequests) {
  const platform::ShellRun run = platform::RunShell(std::string("'") + LUMETRA_RIB_EXECUTABLE + "' --help");
  EXPECT_EQ(run.exitCode, 0);
  for (const char* request : {"WorldBegin", "PointsGeneralPolygons", "SolidBegin", "ObjectInstance", "Basis"})
    EXPECT_THAT(run.output, HasSubstr(request));
}

}  // namespace
}  // namespace lumetra::rib
