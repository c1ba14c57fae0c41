// The plug-in's renders as its menu and the host's scene events reach them.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "abi/menu_record.h"
#include "abi/result_codes.h"
#include "abi/scene_record.h"
#include "platform/debug_log.h"
#include "platform/registry.h"
#include "platform/testing/scratch_directory.h"
#include "plugin/kinetra_app.h"
#include "plugin/render_service.h"

namespace lumetra {
namespace {

struct Calls {
  int started = 0;
  int animated = 0;
  int aborted = 0;
};

class CountingService : public plugin::RenderService {
 public:
  explicit CountingService(Calls& calls) : calls_(calls) {}
  void StartRender() override { ++calls_.started; }
  void StartAnimation() override { ++calls_.animated; }
  void AbortAll() override { ++calls_.aborted; }
  render::JobList& Jobs() override { return jobs_; }
  std::vector<ui::CompressorEntry> Compressors() const override { return {}; }

 private:
  Calls& calls_;
  render::JobList jobs_;
};

class RenderServiceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv(
        "LUMETRA_SHM_NAMESPACE",
        (std::string("service_") + ::testing::UnitTest::GetInstance()->current_test_info()->name()).c_str(),
        1);
    app_ = std::make_unique<plugin::KinetraApp>(registry_);
    ASSERT_TRUE(app_->InitInstance());
    record_->header = {sizeof(abi::SceneRecord), abi::kSceneInterfaceVersion, 0, 0};
    ASSERT_EQ(app_->GetInterfaceFunctions(0, &record_->header), abi::kOk);
    menu_->header = {sizeof(abi::MenuRecord), abi::kMenuInterfaceVersion, 0, 0};
    ASSERT_EQ(app_->GetInterfaceFunctions(1, &menu_->header), abi::kOk);
  }
  void TearDown() override { app_->ExitInstance(); }

  platform::ScratchDirectory dir_;
  platform::Registry registry_{dir_ / "user", dir_ / "machine"};
  std::unique_ptr<abi::SceneRecord> record_ = std::make_unique<abi::SceneRecord>();
  std::unique_ptr<abi::MenuRecord> menu_ = std::make_unique<abi::MenuRecord>();
  // The service counts into this until the application is gone, after the test's body.
  Calls calls_;
  std::unique_ptr<plugin::KinetraApp> app_;
};

TEST_F(RenderServiceTest, RenderCommandStartsARenderThroughTheService) {
  Calls& calls = calls_;
  app_->SetRenderService(std::make_unique<CountingService>(calls));
  EXPECT_EQ(menu_->executeCommand(abi::kCommandRender), 0);
  EXPECT_EQ(calls.started, 1);
  EXPECT_EQ(menu_->executeCommand(abi::kCommandAnimation), 0);
  EXPECT_EQ(calls.animated, 1);
  EXPECT_EQ(calls.started, 1) << "each command starts its own kind of job";
}

TEST_F(RenderServiceTest, WithoutAServiceTheCommandSaysSo) {
  platform::DebugLog::Clear();
  EXPECT_EQ(menu_->executeCommand(abi::kCommandRender), 0);
  ASSERT_FALSE(platform::DebugLog::Lines().empty());
  EXPECT_EQ(platform::DebugLog::Lines().back(), "Command not available in this build: &Render\n");
}

TEST_F(RenderServiceTest, ClosingTheSceneAndUnloadingAbortEveryJob) {
  Calls& calls = calls_;
  app_->SetRenderService(std::make_unique<CountingService>(calls));
  record_->onSceneEvent(0, abi::kEventSceneClosing);
  EXPECT_EQ(calls.aborted, 1);
  app_->ExitInstance();
  EXPECT_EQ(calls.aborted, 2);
}

}  // namespace
}  // namespace lumetra
