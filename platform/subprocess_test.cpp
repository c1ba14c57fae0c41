#include "platform/subprocess.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "platform/testing/scratch_directory.h"

namespace lumetra::platform {
namespace {

std::string ReadAll(int fd) {
  std::string text;
  char buffer[256];
  ssize_t got = 0;
  while ((got = ::read(fd, buffer, sizeof buffer)) > 0) text.append(buffer, static_cast<size_t>(got));
  ::close(fd);
  return text;
}

bool Alive(int pid) { return ::kill(pid, 0) == 0; }

// A process that is gone, or a zombie nobody reaped yet, within a second.
bool GoneSoon(int pid) {
  for (int i = 0; i < 100; ++i) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string field;
    stat >> field >> field >> field;  // pid, name, state
    if (!stat || field == "Z") return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return false;
}

TEST(SubprocessTest, RunsAProgramFromPathAndHandsBackItsOutputAndStatus) {
  EXPECT_FALSE(FindProgram("sh").empty());
  std::string error;
  const auto child = Spawn({"sh", "-c", "echo out; echo err >&2; exit 3"}, {.pipeOutput = true}, &error);
  ASSERT_TRUE(child) << error;
  EXPECT_EQ(ReadAll(child->output), "out\nerr\n");
  EXPECT_EQ(WaitForExit(child->pid), 3);
}

TEST(SubprocessTest, StartsWhereItIsTold) {
  ScratchDirectory dir;
  std::string error;
  const auto child =
      Spawn({"sh", "-c", "pwd"}, {.pipeOutput = true, .workingDirectory = dir.Path().string()}, &error);
  ASSERT_TRUE(child) << error;
  EXPECT_EQ(ReadAll(child->output), std::filesystem::canonical(dir.Path()).string() + "\n");
  EXPECT_EQ(WaitForExit(child->pid), 0);
  EXPECT_FALSE(Spawn({"sh", "-c", "true"}, {.workingDirectory = (dir / "missing").string()}, &error));
  EXPECT_NE(error.find("No such file"), std::string::npos) << error;
}

TEST(SubprocessTest, AProgramThatCannotBeFoundOrRunSaysWhy) {
  std::string error;
  EXPECT_FALSE(Spawn({"lumetra-no-such-program"}, {}, &error));
  EXPECT_NE(error.find("cannot find the program 'lumetra-no-such-program'"), std::string::npos) << error;
  EXPECT_TRUE(FindProgram("/etc/passwd").empty());  // a file that is not executable

  ScratchDirectory dir;
  const std::string script = (dir / "broken").string();
  std::ofstream(script) << "#!/no/such/interpreter\n";
  ASSERT_EQ(::chmod(script.c_str(), 0755), 0);
  error.clear();
  EXPECT_FALSE(Spawn({script}, {}, &error));
  EXPECT_NE(error.find("cannot start"), std::string::npos) << error;
  EXPECT_FALSE(Spawn({}, {}, &error));
}

TEST(SubprocessTest, EndingTheGroupEndsWhatTheProgramStartedToo) {
  ScratchDirectory dir;
  const std::string pidFile = (dir / "grandchild").string();
  std::string error;
  const auto child =
      Spawn({"sh", "-c", "sleep 30 & echo $! > '" + pidFile + "'; wait"}, {.ownProcessGroup = true}, &error);
  ASSERT_TRUE(child) << error;
  int grandchild = 0;
  for (int i = 0; i < 200 && grandchild == 0; ++i) {
    std::ifstream(pidFile) >> grandchild;
    if (grandchild == 0) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  ASSERT_GT(grandchild, 0);
  EXPECT_EQ(::getpgid(child->pid), child->pid);
  EndProcessGroup(child->pid, 200);
  EXPECT_FALSE(Alive(child->pid));  // reaped
  EXPECT_TRUE(GoneSoon(grandchild));
}

TEST(SubprocessTest, AProgramStartedToEndWithItsParentEndsWithTheStartingThread) {
  int pid = -1;
  std::thread([&] {
    const auto child = Spawn({"sleep", "30"}, {.endWithParent = true}, nullptr);
    if (child) pid = child->pid;
  }).join();
  ASSERT_GT(pid, 0);
  EXPECT_EQ(WaitForExit(pid), -1);  // killed
}

}  // namespace
}  // namespace lumetra::platform
