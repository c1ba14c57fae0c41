#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "abi/scene_record.h"
#include "host/host_context.h"
#include "host/host_functions.h"
#include "host/scene_file.h"
#include "platform/testing/recording_messages.h"
#include "render/render_job.h"
#include "renderlib/testing/render_call_recorder.h"
#include "translate/object_translator.h"

namespace lumetra::translate::testing {

using renderlib::testing::RecordedCall;

// A scene of the substitute host behind a filled scene record, a render-library job
// with a scene of its own, the recorder of every library call and the message boxes.
class TranslationTest : public ::testing::Test {
 protected:
  static constexpr uint32_t kScene = 7;

  // Loads scene-file text (saved into a fresh folder, so that files beside it are found).
  void Load(const std::string& sceneJson) {
    const std::filesystem::path file = Folder() / "scene.json";
    std::ofstream(file) << sceneJson;
    LoadFile(file.string());
  }

  void LoadFile(const std::string& path) {
    context_.reset();
    scene_ = std::make_unique<host::Scene>(host::LoadScene(path));
    context_ = std::make_unique<host::HostContext>(*scene_);
    host::FillSceneRecord(record_);
  }

  // A folder of the test's own, emptied when first asked for.
  std::filesystem::path Folder() {
    if (folder_.empty()) {
      const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
      folder_ = std::filesystem::temp_directory_path() /
                ("lumetra-translate-" + std::string(test->test_suite_name()) + "-" + test->name());
      std::filesystem::remove_all(folder_);
      std::filesystem::create_directories(folder_);
    }
    return folder_;
  }

  // The objects of a scene with the default render settings, environment and camera.
  static std::string SceneWith(const std::string& objects, const std::string& extra = "") {
    return R"({"format": "lumetra-scene", "version": 1, "objects": [)" + objects + "]" +
           (extra.empty() ? "" : ", " + extra) + "}";
  }

  // Loads a scene of these objects and translates its object tree.
  void TranslateObjects(const std::string& objects, const std::string& extra = "") {
    Load(SceneWith(objects, extra));
    ObjectTranslator(job_, record_).TranslateScene();
  }

  std::vector<RecordedCall> Calls(const std::string& entry) const { return recorder_.CallsOf(entry); }

  // The one call of entry; fails the test when there is not exactly one.
  RecordedCall Only(const std::string& entry) const {
    const auto calls = Calls(entry);
    EXPECT_EQ(calls.size(), 1u) << entry;
    return calls.empty() ? RecordedCall{} : calls.front();
  }

  // The calls made with handle as their second argument (the scene being the first), by name.
  std::vector<std::string> CallsOn(uint32_t handle) const {
    std::vector<std::string> names;
    for (const RecordedCall& call : recorder_.Calls()) {
      if (call.arguments.size() > 1 && call.arguments[1] == handle) names.push_back(call.name);
    }
    return names;
  }

  // The handle the first call of entry made.
  uint32_t Made(const std::string& entry) const { return Only(entry).result; }

  renderlib::testing::RenderCallRecorder recorder_;
  platform::RecordingMessages messages_;
  std::unique_ptr<host::Scene> scene_;
  std::unique_ptr<host::HostContext> context_;
  abi::SceneRecord record_{};
  render::RenderJob job_;
  std::filesystem::path folder_;

  TranslationTest() { job_.scene = kScene; }
};

using Arguments = std::vector<double>;

// The arguments of a call after the scene.
inline Arguments After(const RecordedCall& call, size_t skip = 1) {
  return call.arguments.size() < skip
             ? Arguments{}
             : Arguments(call.arguments.begin() + static_cast<long>(skip), call.arguments.end());
}

}  // namespace lumetra::translate::testing
