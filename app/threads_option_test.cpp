// --threads and $LUMETRA_THREADS of lumetra render, as a shell runs the executable.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "app/global_options.h"
#include "host/testing/scene_test_support.h"
#include "platform/testing/child_process.h"
#include "platform/testing/scratch_directory.h"

namespace lumetra {
namespace {

namespace fs = std::filesystem;

// Renders the every-kind scene anti-aliased into `picture`; `before` goes ahead of the command
// (environment settings), `after` after its arguments. The exit code and standard error.
platform::ShellRun Render(const std::string& before, const fs::path& picture, const std::string& after) {
  return platform::RunShell(before + " '" LUMETRA_EXECUTABLE "' render '" +
                            host::testing::EveryKindScenePath() + "' -o '" + picture.string() +
                            "' --size 96x72 --antialias 3 --progress none " + after + " 2>&1 >/dev/null");
}

std::string Bytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(ThreadsOption, EveryThreadCountWritesTheSamePicture) {
  platform::ScratchDirectory dir;
  const fs::path one = dir / "one.ppm", two = dir / "two.ppm", three = dir / "three.ppm";
  ASSERT_EQ(Render("", one, "--threads 1").exitCode, 0);
  ASSERT_EQ(Render("LUMETRA_THREADS=2", two, "").exitCode, 0);
  // The option wins over the environment.
  const platform::ShellRun run = Render("LUMETRA_THREADS=1", three, "--threads 3");
  ASSERT_EQ(run.exitCode, 0) << run.output;
  const std::string picture = Bytes(one);
  ASSERT_GT(picture.size(), 96u * 72 * 3);
  EXPECT_EQ(Bytes(two), picture);
  EXPECT_EQ(Bytes(three), picture);
}

TEST(ThreadsOption, AnUnusableCountIsAUsageErrorAndWritesNothing) {
  platform::ScratchDirectory dir;
  const fs::path picture = dir / "x.ppm";
  for (const auto& [before, after] : {std::pair<std::string, std::string>{"", "--threads 0"},
                                      {"", "--threads many"},
                                      {"LUMETRA_THREADS=-3", ""},
                                      {"LUMETRA_THREADS=lots", ""}}) {
    const platform::ShellRun run = Render(before, picture, after);
    EXPECT_EQ(run.exitCode, app::kUsageError) << before << after;
    EXPECT_NE(run.output.find("--threads"), std::string::npos) << run.output;
  }
  EXPECT_TRUE(fs::is_empty(dir.Path()));
}

}  // namespace
}  // namespace lumetra
