#include "platform/shared_memory.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstring>

#include "platform/testing/child_process.h"

namespace lumetra::platform {
namespace {

// Unique per test process, so runs of the suite in parallel do not meet.
std::string UniqueName(const std::string& base) { return base + "." + std::to_string(::getpid()); }

bool NameExists(const std::string& name) {
  const int fd = ::shm_open(SharedMemory::SystemName(name).c_str(), O_RDONLY, 0);
  if (fd >= 0) ::close(fd);
  return fd >= 0;
}

TEST(SharedMemory, NewBlockIsZeroedAndASecondOpenerSeesItsData) {
  const std::string name = UniqueName("LumetraPOVGUIExt");
  std::error_code error;
  SharedMemory first = SharedMemory::Create(name, 36, error);
  ASSERT_FALSE(error) << error.message();
  EXPECT_FALSE(first.Existed());
  ASSERT_EQ(first.Size(), 36u);
  for (std::byte b : first.View()) EXPECT_EQ(b, std::byte{0});
  std::memcpy(first.Data(), "hello", 5);

  SharedMemory second = SharedMemory::Create(name, 36, error);
  ASSERT_FALSE(error) << error.message();
  EXPECT_TRUE(second.Existed());
  EXPECT_EQ(std::memcmp(second.Data(), "hello", 5), 0);
  static_cast<char*>(second.Data())[35] = 'z';
  EXPECT_EQ(static_cast<char*>(first.Data())[35], 'z');
}

TEST(SharedMemory, TheNameLivesUntilTheLastUserClosesIt) {
  const std::string name = UniqueName("Lifetime");
  std::error_code error;
  SharedMemory first = SharedMemory::Create(name, 64, error);
  SharedMemory second = SharedMemory::Create(name, 64, error);
  ASSERT_TRUE(first.IsOpen() && second.IsOpen());
  first.Close();
  EXPECT_FALSE(first.IsOpen());
  EXPECT_TRUE(NameExists(name));
  SharedMemory moved = std::move(second);
  EXPECT_TRUE(NameExists(name));
  moved.Close();
  EXPECT_FALSE(NameExists(name));
  SharedMemory fresh = SharedMemory::Create(name, 64, error);
  EXPECT_FALSE(fresh.Existed());
}

TEST(SharedMemory, RefusesAnExistingBlockSmallerThanAskedAndBadNames) {
  const std::string name = UniqueName("Small");
  std::error_code error;
  SharedMemory small = SharedMemory::Create(name, 16, error);
  ASSERT_FALSE(error);
  SharedMemory larger = SharedMemory::Create(name, 4096, error);
  EXPECT_EQ(error, std::errc::invalid_argument);
  EXPECT_FALSE(larger.IsOpen());
  SharedMemory smaller = SharedMemory::Create(name, 8, error);  // a prefix of the block is fine
  EXPECT_FALSE(error);
  EXPECT_EQ(smaller.Size(), 8u);

  for (const std::string& bad : {std::string(), std::string("a/b"), std::string(300, 'n')}) {
    SharedMemory block = SharedMemory::Create(bad, 8, error);
    EXPECT_EQ(error, std::errc::invalid_argument) << bad;
  }
  SharedMemory empty = SharedMemory::Create(name, 0, error);
  EXPECT_EQ(error, std::errc::invalid_argument);
}

TEST(SharedMemory, TwoProcessesShareOneBlock) {
  const std::string name = UniqueName("LumetraPOVGUIExtDisplay");
  std::error_code error;
  SharedMemory parent = SharedMemory::Create(name, 4096, error);
  ASSERT_FALSE(error);
  std::memcpy(parent.Data(), "from parent", 12);
  int toChild[2];
  int toParent[2];
  ASSERT_EQ(::pipe(toChild), 0);
  ASSERT_EQ(::pipe(toParent), 0);

  const pid_t child = StartChild([&] {
    std::error_code childError;
    SharedMemory block = SharedMemory::Create(name, 4096, childError);
    if (childError || !block.Existed()) return 1;
    if (std::memcmp(block.Data(), "from parent", 12) != 0) return 2;
    std::memcpy(static_cast<char*>(block.Data()) + 100, "from child", 11);
    char signal = 'w';
    if (::write(toParent[1], &signal, 1) != 1) return 3;
    return ::read(toChild[0], &signal, 1) == 1 ? 0 : 4;  // stay open until the parent looked
  });
  char signal = 0;
  ASSERT_EQ(::read(toParent[0], &signal, 1), 1);
  EXPECT_EQ(std::memcmp(static_cast<char*>(parent.Data()) + 100, "from child", 11), 0);
  ASSERT_EQ(::write(toChild[1], &signal, 1), 1);
  EXPECT_EQ(WaitForChild(child), 0);
  for (int fd : {toChild[0], toChild[1], toParent[0], toParent[1]}) ::close(fd);

  EXPECT_TRUE(NameExists(name));  // the child's close left the parent's block alone
  parent.Close();
  EXPECT_FALSE(NameExists(name));
}

}  // namespace
}  // namespace lumetra::platform
