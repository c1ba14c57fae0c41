// The lumetra executable as a shell runs it: exit codes of its own command-line parsing.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/global_options.h"
#include "host/testing/scene_test_support.h"
#include "platform/testing/child_process.h"

namespace lumetra {
namespace {

struct Outcome {
  int code;
  std::string err;
};

// Runs `executable` with `arguments` (shell words), keeping its standard error.
Outcome Run(const char* executable, const std::string& arguments) {
  const platform::ShellRun run =
      platform::RunShell(std::string("'") + executable + "' " + arguments + " 2>&1 >/dev/null");
  return {run.exitCode, run.output};
}

Outcome Lumetra(const std::string& arguments) { return Run(LUMETRA_EXECUTABLE, arguments); }
Outcome LumetraTool(const std::string& arguments) { return Run(LUMETRA_TOOL_EXECUTABLE, arguments); }

void ExpectUsageError(const Outcome& run, const std::string& arguments) {
  EXPECT_EQ(run.code, app::kUsageError) << arguments;
  EXPECT_FALSE(run.err.empty()) << arguments;
}

TEST(CommandLine, AnUnusableCommandLineExitsWithTheUsageCode) {
  const std::string scene = std::string("'") + host::testing::EveryKindScenePath() + "'";
  for (const std::string& arguments :
       {"render " + scene + " --antialias 9", "render " + scene + " --antialias many", std::string("render"),
        std::string("render /nonexistent/scene.json"), std::string("--no-such-option info"),
        std::string("teapot"), std::string("time 1 --display frames --rate 7 --custom 24/25")}) {
    ExpectUsageError(Lumetra(arguments), arguments);
  }
  for (const std::string& arguments :
       {std::string("time 1 --display frames --rate 7 --custom 24"),
        std::string("time 1 --display frames --rate 7 --custom 24/x"),
        "texture-swatch " + scene + " Marble -o swatch.png --size 0",
        "texture-swatch " + scene + " Marble -o swatch.png --size 9000",
        "texture-swatch " + scene + " Marble -o swatch.png --scale -1",
        "texture-swatch " + scene + " Marble -o swatch.png --plane xw", std::string("render")}) {
    ExpectUsageError(LumetraTool(arguments), arguments);
  }
  EXPECT_NE(LumetraTool("time 1 --display frames --rate 7 --custom 24").err.find("--custom: wants N/D"),
            std::string::npos);
  EXPECT_EQ(Lumetra("render --help").code, 0);
  EXPECT_EQ(Lumetra("--version").code, 0);
  EXPECT_EQ(LumetraTool("time --help").code, 0);
}

}  // namespace
}  // namespace lumetra
