#include <gtest/gtest.h>

#include <string>

#include "platform/registry.h"
#include "platform/testing/child_process.h"
#include "platform/testing/scratch_directory.h"

namespace lumetra::platform {
namespace {

// Each value is a whole-file save; enough of them that the two writers overlap.
constexpr int kValuesPerWriter = 64;
constexpr const char* kKey = "Software\\Lumetra\\Concurrency";

// Each value set opens its own key, as separate settings saves would.
int WriteValues(const std::filesystem::path& directory, const std::string& prefix) {
  const Registry registry(directory, directory);
  for (int i = 0; i < kValuesPerWriter; ++i) {
    RegistryKey key;
    if (registry.CreateKey(RegistryRoot::CurrentUser, kKey, RegistryAccess::Write, key) != ERROR_SUCCESS ||
        key.SetDword(prefix + std::to_string(i), static_cast<std::uint32_t>(i)) != ERROR_SUCCESS) {
      return 1;
    }
  }
  return 0;
}

TEST(RegistryTwoProcesses, ConcurrentWritersKeepEachOthersValues) {
  const ScratchDirectory directory;
  const pid_t first = StartChild([&] { return WriteValues(directory.Path(), "first"); });
  const pid_t second = StartChild([&] { return WriteValues(directory.Path(), "second"); });
  ASSERT_EQ(WaitForChild(first), 0);
  ASSERT_EQ(WaitForChild(second), 0);

  const Registry registry(directory.Path(), directory.Path());
  RegistryKey key;
  ASSERT_EQ(registry.OpenKey(RegistryRoot::CurrentUser, kKey, RegistryAccess::Read, key), ERROR_SUCCESS);
  int found = 0;
  for (const char* prefix : {"first", "second"}) {
    for (int i = 0; i < kValuesPerWriter; ++i) {
      std::uint32_t value = 0;
      if (key.QueryDword(prefix + std::to_string(i), value) == ERROR_SUCCESS && value == std::uint32_t(i))
        ++found;
    }
  }
  EXPECT_EQ(found, 2 * kValuesPerWriter);
}

}  // namespace
}  // namespace lumetra::platform
