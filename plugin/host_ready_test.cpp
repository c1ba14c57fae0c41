// The host's ready event: settings from below the host's registry base path.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "abi/result_codes.h"
#include "abi/scene_record.h"
#include "platform/debug_log.h"
#include "platform/registry.h"
#include "platform/testing/scratch_directory.h"
#include "plugin/kinetra_app.h"

namespace lumetra {
namespace {

// What the fake host answers to GetHostValue.
struct HostValues {
  const char* registryBase = "Software\\Ostrana\\Zarvel For Windows\\Plugins\\";
  int32_t baseResult = 0;
  uint32_t application = 0xC0FFEE;
};
HostValues g_host;

int32_t LUMETRA_STDCALL GetHostValue(int32_t selector, void* value) {
  switch (selector) {
    case abi::kHostValueRegistryBase:
      if (g_host.baseResult == 0) *static_cast<const char**>(value) = g_host.registryBase;
      return g_host.baseResult;
    case abi::kHostValueApplication:
      *static_cast<uint32_t*>(value) = g_host.application;
      return 0;
    default:
      return 1;
  }
}

class HostReadyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("LUMETRA_SHM_NAMESPACE",
           (std::string("ready_") + ::testing::UnitTest::GetInstance()->current_test_info()->name()).c_str(),
           1);
    g_host = HostValues{};
    app_ = std::make_unique<plugin::KinetraApp>(registry_);
    ASSERT_TRUE(app_->InitInstance());
    record_->header = {sizeof(abi::SceneRecord), abi::kSceneInterfaceVersion, 0, 0};
    record_->getHostValue = GetHostValue;
    platform::DebugLog::Clear();
  }
  void TearDown() override { app_->ExitInstance(); }

  void Connect() { ASSERT_EQ(app_->GetInterfaceFunctions(0, &record_->header), abi::kOk); }
  bool KeyExists(const char* path) {
    platform::RegistryKey key;
    return registry_.OpenKey(platform::RegistryRoot::CurrentUser, path, platform::RegistryAccess::Read,
                             key) == platform::ERROR_SUCCESS;
  }
  bool Logged(const std::string& line) {
    for (const auto& l : platform::DebugLog::Lines()) {
      if (l == line) return true;
    }
    return false;
  }

  platform::ScratchDirectory dir_;
  platform::Registry registry_{dir_ / "user", dir_ / "machine"};
  std::unique_ptr<abi::SceneRecord> record_ = std::make_unique<abi::SceneRecord>();
  std::unique_ptr<plugin::KinetraApp> app_;
};

TEST_F(HostReadyTest, LoadsSettingsBelowTheHostsBaseAndKeepsItsValue) {
  g_host.registryBase = "Software\\Test Host\\";
  Connect();
  EXPECT_EQ(record_->onSceneEvent(0, abi::kEventHostReady), 0);
  EXPECT_TRUE(KeyExists("Software\\Test Host\\Lumetra"));
  EXPECT_EQ(app_->HostValue(), 0xC0FFEEu);
  EXPECT_EQ(app_->RenderSettings().method, 4);
}

TEST_F(HostReadyTest, StoredSettingsAreTakenOver) {
  platform::RegistryKey key;
  ASSERT_EQ(registry_.CreateKey(platform::RegistryRoot::CurrentUser,
                                "Software\\Ostrana\\Zarvel For Windows\\Plugins\\Lumetra",
                                platform::RegistryAccess::All, key),
            platform::ERROR_SUCCESS);
  key.SetDword("RenderMethod", 2);
  Connect();
  record_->onSceneEvent(0, abi::kEventHostReady);
  EXPECT_EQ(app_->RenderSettings().method, 2);
}

TEST_F(HostReadyTest, WithoutABasePathTheBuiltInOneServes) {
  g_host.baseResult = 5;
  Connect();
  record_->onSceneEvent(0, abi::kEventHostReady);
  EXPECT_TRUE(Logged("Failed to read Zarvel registry base\n"));
  EXPECT_TRUE(KeyExists("Software\\Ostrana\\Zarvel For Windows\\Plugins\\Lumetra"));
}

TEST_F(HostReadyTest, WithoutAConnectedRecordTheHostIsNotAsked) {
  app_->OnHostReady();
  EXPECT_TRUE(Logged("Scene Functions not yet available\n"));
  EXPECT_FALSE(Logged("Failed to read Zarvel registry base\n"));
  EXPECT_EQ(app_->HostValue(), 0u);
  EXPECT_TRUE(KeyExists("Software\\Ostrana\\Zarvel For Windows\\Plugins\\Lumetra"));
}

}  // namespace
}  // namespace lumetra
