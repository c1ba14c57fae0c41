// liblumetra.so loaded as the host loads it: through dlopen and its two exports.
#include <dlfcn.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <system_error>

#include "abi/plugin_info_record.h"
#include "abi/result_codes.h"
#include "abi/scene_record.h"
#include "platform/shared_memory.h"
#include "plugin/pov_shared_blocks.h"

extern char** environ;

namespace lumetra {
namespace {

using GetDLLInfoFn = int (*)(abi::PluginInfoRecord**);
using GetInterfaceFunctionsFn = int (*)(int, abi::InterfaceRecord*);
using plugin::PovSharedBlocks;

class LoadedPlugin {
 public:
  LoadedPlugin() : handle_(dlopen(LUMETRA_PLUGIN_PATH, RTLD_NOW | RTLD_LOCAL)) {}
  ~LoadedPlugin() {
    if (handle_) dlclose(handle_);
  }
  bool Loaded() const { return handle_ != nullptr; }
  GetDLLInfoFn GetDLLInfo() const { return reinterpret_cast<GetDLLInfoFn>(dlsym(handle_, "GetDLLInfo")); }
  GetInterfaceFunctionsFn GetInterfaceFunctions() const {
    return reinterpret_cast<GetInterfaceFunctionsFn>(dlsym(handle_, "GetInterfaceFunctions"));
  }

 private:
  void* handle_;
};

void UseNamespace(const std::string& name) { setenv("LUMETRA_SHM_NAMESPACE", name.c_str(), 1); }

uint32_t Field(const platform::SharedMemory& block, size_t offset) {
  uint32_t value;
  std::memcpy(&value, static_cast<const unsigned char*>(block.Data()) + offset, 4);
  return value;
}

// Opens one of the plug-in's named blocks as another user of it would.
platform::SharedMemory OpenBlock(const char* name, size_t size) {
  std::error_code error;
  platform::SharedMemory block = platform::SharedMemory::Create(name, size, error);
  EXPECT_FALSE(error) << name << ": " << error.message();
  return block;
}

void SetField(platform::SharedMemory& block, size_t offset, uint32_t value) {
  std::memcpy(static_cast<unsigned char*>(block.Data()) + offset, &value, 4);
}

TEST(Exports, OnlyTheTwoEntriesAreVisible) {
  UseNamespace("exports_visible");
  LoadedPlugin plugin;
  ASSERT_TRUE(plugin.Loaded()) << dlerror();
  ASSERT_NE(plugin.GetDLLInfo(), nullptr);
  ASSERT_NE(plugin.GetInterfaceFunctions(), nullptr);
}

TEST(Exports, ResultCodes) {
  UseNamespace("exports_codes");
  LoadedPlugin plugin;
  ASSERT_TRUE(plugin.Loaded()) << dlerror();
  auto getInterfaceFunctions = plugin.GetInterfaceFunctions();
  abi::SceneRecord record{};
  record.header = {sizeof record, abi::kSceneInterfaceVersion, 0, 0};
  EXPECT_EQ(getInterfaceFunctions(0, nullptr), abi::kNullRecord);
  EXPECT_EQ(getInterfaceFunctions(2, nullptr), abi::kNullRecord);
  EXPECT_EQ(getInterfaceFunctions(2, &record.header), abi::kIndexOutOfRange);
  EXPECT_EQ(getInterfaceFunctions(-1, &record.header), abi::kIndexOutOfRange);
  EXPECT_EQ(getInterfaceFunctions(0, &record.header), abi::kOk);

  abi::PluginInfoRecord* info = nullptr;
  EXPECT_EQ(plugin.GetDLLInfo()(nullptr), 0);
  ASSERT_EQ(plugin.GetDLLInfo()(&info), 1);
  EXPECT_EQ(info->recordVersion, 1103u);
  EXPECT_EQ(info->interfaceCount, 2u);
}

TEST(Exports, NewControlBlockStartsCleared) {
  UseNamespace("exports_new_block");
  LoadedPlugin plugin;
  ASSERT_TRUE(plugin.Loaded()) << dlerror();
  auto control = OpenBlock(abi::pov::kControlName, abi::pov::kControlSize);
  ASSERT_TRUE(control.IsOpen());
  EXPECT_TRUE(control.Existed());
  for (size_t offset = 0; offset < 36; offset += 4) EXPECT_EQ(Field(control, offset), 0u);
  auto display = OpenBlock(abi::pov::kDisplayName, abi::pov::kDisplaySize);
  ASSERT_TRUE(display.IsOpen());
  EXPECT_TRUE(display.Existed());
}

// Runs in a second process started by SecondInstanceKeepsTheControlBlock.
TEST(Exports, DISABLED_SecondInstance) {
  LoadedPlugin plugin;
  ASSERT_TRUE(plugin.Loaded()) << dlerror();
  auto control = OpenBlock(abi::pov::kControlName, abi::pov::kControlSize);
  ASSERT_TRUE(control.IsOpen());
  EXPECT_EQ(Field(control, 0), 0xAAu);
  EXPECT_EQ(Field(control, 20), 77u);
  EXPECT_EQ(Field(control, 24), 640u);
  EXPECT_EQ(Field(control, 32), 5u);
}

TEST(Exports, SecondInstanceKeepsTheControlBlock) {
  UseNamespace("exports_second_instance");
  LoadedPlugin plugin;
  ASSERT_TRUE(plugin.Loaded()) << dlerror();
  auto control = OpenBlock(abi::pov::kControlName, abi::pov::kControlSize);
  ASSERT_TRUE(control.IsOpen());
  SetField(control, 0, 0xAA);
  SetField(control, 20, 77);
  SetField(control, 24, 640);
  SetField(control, 32, 5);

  char self[4096];
  const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
  ASSERT_GT(length, 0);
  self[length] = '\0';
  std::string filter = "--gtest_filter=Exports.DISABLED_SecondInstance";
  std::string disabled = "--gtest_also_run_disabled_tests";
  char* argv[] = {self, filter.data(), disabled.data(), nullptr};
  pid_t child = 0;
  ASSERT_EQ(posix_spawn(&child, self, nullptr, nullptr, argv, environ), 0);
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "the second instance saw a changed control block";
  // The second instance has unloaded; the block and its contents are still there.
  EXPECT_EQ(Field(control, 20), 77u);
  EXPECT_EQ(Field(control, 24), 640u);
}

}  // namespace
}  // namespace lumetra
