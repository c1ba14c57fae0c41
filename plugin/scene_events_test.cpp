// Scene events and notifications, sent by the substitute host through the plug-in's entry points.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "abi/bar_site_record.h"
#include "abi/menu_record.h"
#include "abi/result_codes.h"
#include "host/host_context.h"
#include "host/host_functions.h"
#include "host/scene.h"
#include "platform/debug_log.h"
#include "platform/save_file_dialog.h"
#include "plugin/animation_scene_interface.h"
#include "plugin/kinetra_app.h"

namespace lumetra {
namespace {

using plugin::AnimationSceneInterface;

class SceneEventsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    setenv("LUMETRA_SHM_NAMESPACE", (std::string("events_") + info->name()).c_str(), 1);
    app_ = std::make_unique<plugin::KinetraApp>();
    ASSERT_TRUE(app_->InitInstance());
    record_->header = {sizeof(abi::SceneRecord), abi::kSceneInterfaceVersion, 0, 0};
    host::FillSceneRecord(*record_);
    ASSERT_EQ(app_->GetInterfaceFunctions(0, &record_->header), abi::kOk);
    menu_->header = {sizeof(abi::MenuRecord), 101, 0, 0};
    ASSERT_EQ(app_->GetInterfaceFunctions(1, &menu_->header), abi::kOk);
    context_.mainWindow = 7;
    platform::DebugLog::Clear();
  }
  void TearDown() override { app_->ExitInstance(); }

  int32_t Event(int32_t event, uint32_t id = 0) { return record_->onSceneEvent(id, event); }
  int32_t Notify(int32_t event, uint32_t id = 0, const char* oldName = nullptr,
                 const char* newName = nullptr) {
    return record_->onSceneNotify(id, event, const_cast<char*>(oldName), const_cast<char*>(newName));
  }
  host::SceneObject& Add(uint32_t type, const std::string& name, uint32_t parent = 0) {
    host::SceneObject& object = scene_.Add(type, 0, parent);
    object.name = name;
    return object;
  }
  AnimationSceneInterface& Scene() { return *app_->Scene(); }
  bool Logged(const std::string& line) {
    const auto lines = platform::DebugLog::Lines();
    return std::find(lines.begin(), lines.end(), line) != lines.end();
  }
  uint32_t AnimationEnabled() {
    uint32_t enabled = 99;
    menu_->queryCommandState(abi::kCommandAnimation, &enabled);
    return enabled;
  }

  host::Scene scene_;
  host::HostContext context_{scene_};
  std::unique_ptr<abi::SceneRecord> record_ = std::make_unique<abi::SceneRecord>();
  std::unique_ptr<abi::MenuRecord> menu_ = std::make_unique<abi::MenuRecord>();
  std::unique_ptr<plugin::KinetraApp> app_;
};

TEST_F(SceneEventsTest, ASceneInPlaceCreatesTheBarAndLaysTheViewsOutAroundIt) {
  EXPECT_EQ(Scene().Bar(), nullptr);
  const uint32_t width = scene_.views[0].areaWidth, height = scene_.views[0].areaHeight;
  EXPECT_EQ(Event(abi::kEventSceneInPlace), 0);
  ASSERT_NE(Scene().Bar(), nullptr);
  EXPECT_TRUE(Scene().Bar()->Initialised());
  const int32_t reduced = static_cast<int32_t>(height) - ui::AnimControlBar::kHeight;
  const plugin::BarPlacement& bar = Scene().Placement();
  EXPECT_EQ(bar.parentWindow, 7u);
  EXPECT_EQ(bar.top, reduced);
  EXPECT_EQ(bar.width, static_cast<int32_t>(width));
  EXPECT_TRUE(bar.shown);
  EXPECT_EQ(scene_.views[3].left, static_cast<int32_t>(width) / 2);
  EXPECT_EQ(scene_.views[3].bottom, reduced);
  EXPECT_EQ(scene_.views[1].top, reduced / 2);
  for (const auto& view : scene_.views) EXPECT_EQ(view.areaHeight, static_cast<uint32_t>(reduced));

  scene_.views[2].flags |= abi::kViewMaximised;
  scene_.views[0].areaHeight = height;
  Event(abi::kEventBarShown);
  EXPECT_EQ(scene_.views[2].left, 0);
  EXPECT_EQ(scene_.views[2].right, static_cast<int32_t>(width));
  EXPECT_EQ(scene_.views[2].bottom, reduced);
}

// A window toolkit of the host: the bar window the plug-in made, and the questions it asked.
struct FakeToolkit : ui::WindowToolkit {
  struct Bar : ui::BarWindow {
    explicit Bar(FakeToolkit& toolkit) : toolkit(toolkit) {}
    void Show(const ui::BarViewState& state) override { toolkit.shown = state; }
    void Place(int32_t left, int32_t top, int32_t width, int32_t height, bool visible) override {
      toolkit.placed = {left, top, width, height};
      toolkit.visible = visible;
    }
    int32_t Height() const override { return 30; }
    FakeToolkit& toolkit;
  };
  std::unique_ptr<ui::BarWindow> MakeBar(uint32_t parent, ui::BarController& made) override {
    barParent = parent;
    controller = &made;
    return std::make_unique<Bar>(*this);
  }
  std::unique_ptr<render::RenderWindowView> MakeRenderWindow(uint32_t, const std::string&, int32_t, int32_t,
                                                             std::function<void()>) override {
    return nullptr;
  }
  platform::MessageAnswer ShowMessage(const platform::MessageRequest& request) override {
    asked.push_back(request.text);
    return platform::MessageAnswer::Cancel;
  }
  std::optional<std::filesystem::path> ShowSaveFile(const platform::SaveFileRequest&) override {
    return "/chosen.avi";
  }
  // The editor shows the scene's rows; the user drags the current time and closes it.
  void RunTimeline(ui::TimelineController& editor) override {
    timelineRows = editor.Rows().size();
    editor.Picture(400, 200);
    editor.Press(4, 100, {});
    editor.Release(200, 100, {});
  }
  bool RunOptionsSheet(uint32_t, int32_t, ui::OptionsController&) override { return false; }
  uint32_t barParent = 0;
  size_t timelineRows = 0;
  ui::BarController* controller = nullptr;
  ui::BarViewState shown;
  std::array<int32_t, 4> placed{};
  bool visible = false;
  std::vector<std::string> asked;
};

TEST_F(SceneEventsTest, InAHostWithAToolkitTheBarAndTheDialogsAreRealWindows) {
  FakeToolkit toolkit;
  app_->SetToolkitLoader([&toolkit] { return &toolkit; });
  Event(abi::kEventHostReady);
  const uint32_t width = scene_.views[0].areaWidth, height = scene_.views[0].areaHeight;
  Event(abi::kEventSceneInPlace);
  ASSERT_NE(toolkit.controller, nullptr);
  EXPECT_EQ(toolkit.barParent, 7u);
  // The views make room for the window's own height.
  const int32_t reduced = static_cast<int32_t>(height) - 30;
  EXPECT_EQ(toolkit.placed, (std::array<int32_t, 4>{0, reduced, static_cast<int32_t>(width), 30}));
  EXPECT_TRUE(toolkit.visible);
  EXPECT_EQ(scene_.views[1].bottom, reduced);
  EXPECT_EQ(toolkit.shown.selectedName, ui::AnimControlBar::kNoObject);

  host::SceneObject& ball = Add(abi::kTypeSphere, "Ball");
  Event(abi::kEventSelectionChanged, ball.id);
  EXPECT_EQ(toolkit.shown.selectedName, "Ball");
  // The key popup's questions are the toolkit's message boxes; Cancel keeps the keys.
  toolkit.controller->Send(abi::kBarCommand, ui::kDeleteFrame, 0);
  ASSERT_EQ(toolkit.asked.size(), 1u);
  // The timeline editor is the toolkit's window, over the scene's animation.
  app_->RunCommand(abi::kCommandTimeline);
  EXPECT_EQ(toolkit.timelineRows, 1u) << "the unkeyed ball";
  EXPECT_GT(app_->Scene()->Animation().CurrentTime(), 0) << "the editor's time line was dragged";
  EXPECT_EQ(platform::SaveFileDialog::Show({}), std::filesystem::path("/chosen.avi"));
  app_->ExitInstance();
  EXPECT_NE(platform::SaveFileDialog::Show({}), std::filesystem::path("/chosen.avi"))
      << "headless again once the plug-in is gone";
  app_ = std::make_unique<plugin::KinetraApp>();
  ASSERT_TRUE(app_->InitInstance());
}

TEST_F(SceneEventsTest, WithoutAHostWindowThereIsNoBarAndSelectionDoesNothing) {
  context_.mainWindow = 0;
  Event(abi::kEventSceneInPlace);
  EXPECT_EQ(Scene().Bar(), nullptr);
  host::SceneObject& ball = Add(abi::kTypeSphere, "Ball");
  EXPECT_EQ(Event(abi::kEventSelectionChanged, ball.id), 0);
  EXPECT_EQ(Event(abi::kEventObjectChanged, ball.id), 0);
  EXPECT_EQ(Scene().Animation().TrackCount(), 0);
}

TEST_F(SceneEventsTest, ChangesAreKeyedAtZeroOutsideAnimationModeAndEnableTheAnimationCommand) {
  Event(abi::kEventSceneInPlace);
  host::SceneObject& group = Add(abi::kTypeGroup, "Group");
  host::SceneObject& ball = Add(abi::kTypeSphere, "Ball", group.id);
  EXPECT_EQ(AnimationEnabled(), 0u);
  Scene().Animation().SetCurrentTime(4800);
  ASSERT_FALSE(Scene().Bar()->AnimationMode());
  group.params.translate[1] = 2.0;
  EXPECT_EQ(Event(abi::kEventObjectChanged, group.id), 0);
  ASSERT_NE(Scene().Animation().FindTrack(ball.id), nullptr) << "the whole tree is keyed";
  EXPECT_NE(Scene().Animation().FindTrack(group.id)->FindKey(0), nullptr);
  EXPECT_EQ(AnimationEnabled(), 1u);
  EXPECT_EQ(Scene().Bar()->SelectedObject(), group.id);

  Scene().Bar()->SetAnimationMode(true);
  Scene().Bar()->OnSliderNotify(9600);
  Event(abi::kEventObjectEdited, ball.id);
  EXPECT_NE(Scene().Animation().FindTrack(ball.id)->FindKey(9600), nullptr);
  EXPECT_EQ(Scene().Animation().KeyTimes(), (std::set<int32_t>{0, 9600}));
}

TEST_F(SceneEventsTest, UnreadableObjectsAnswerTheHostsErrorExceptDuringAMerge) {
  Event(abi::kEventSceneInPlace);
  EXPECT_EQ(Event(abi::kEventObjectChanged, 999), abi::kUnknownObject);
  EXPECT_EQ(Event(abi::kEventMergeBegins), 0);
  EXPECT_EQ(Scene().EventState(), AnimationSceneInterface::kEventStateMerging);
  EXPECT_EQ(Event(abi::kEventObjectChanged, 999), 0);
  EXPECT_EQ(Event(abi::kEventMergeEnds), 0);
  EXPECT_EQ(Scene().EventState(), 0);
  EXPECT_EQ(Scene().Animation().TrackCount(), 0);
}

TEST_F(SceneEventsTest, QuietEventsChangeNothingAndUnknownOnesAreLogged) {
  Event(abi::kEventSceneInPlace);
  host::SceneObject& ball = Add(abi::kTypeSphere, "Ball");
  for (int32_t event :
       {abi::kEventObjectAdded, abi::kEventObjectDrawn, abi::kEventImportBegins, abi::kEventImportEnds})
    EXPECT_EQ(Event(event, ball.id), 0);
  EXPECT_EQ(Scene().Animation().TrackCount(), 0);
  EXPECT_EQ(Scene().Bar()->SelectedObject(), 0u);
  EXPECT_EQ(Event(42), 0);
  EXPECT_TRUE(Logged("Unknown scene event: 42\n"));
  host::SceneObject& odd = Add(9, "Odd");
  EXPECT_EQ(Event(abi::kEventSelectionChanged, odd.id), 0);
  EXPECT_TRUE(Logged("Selected unknown object type\n"));
}

TEST_F(SceneEventsTest, RemovalRenameAndSelectionFollowTheObjects) {
  Event(abi::kEventSceneInPlace);
  host::SceneObject& ball = Add(abi::kTypeSphere, "Ball");
  ball.params.translate[0] = 3.0;
  Event(abi::kEventObjectChanged, ball.id);
  ball.name = "Ball 2";
  Event(abi::kEventObjectRenamed, ball.id);
  EXPECT_EQ(Scene().Animation().FindTrack(ball.id)->Name(), "Ball 2");
  EXPECT_EQ(Event(abi::kEventSelectionChanged, ball.id), 0);
  EXPECT_EQ(Scene().Bar()->SelectedName(), "Ball 2");
  EXPECT_EQ(Scene().Animation().KeyTimes(), (std::set<int32_t>{0}));
  ball.params.translate[0] = 8.0;
  Event(abi::kEventObjectRemoved, ball.id);
  EXPECT_EQ(Scene().Animation().TrackCount(), 0);
  EXPECT_TRUE(Scene().Animation().KeyTimes().empty());
  EXPECT_EQ(ball.params.translate[0], 3.0) << "the last key is written before it goes";
}

TEST_F(SceneEventsTest, AMergedObjectRenamedOnArrivalKeepsItsKeys) {
  host::SceneObject& ball = Add(abi::kTypeSphere, "Ball.1");
  auto track = std::make_unique<keyframe::ObjectTrack>("Ball", abi::kTypeSphere, 0);
  keyframe::KeySnapshot key;
  key.CreateChannel(abi::kTypeSphere, 0);
  track->InsertKey(0, key);
  Scene().Animation().AddPendingTrack(std::move(track));
  Scene().Animation().AddPendingTrack(std::make_unique<keyframe::ObjectTrack>("Lost", abi::kTypeSphere, 0));
  EXPECT_EQ(Notify(abi::kEventMergeBegins), 0);
  EXPECT_EQ(Scene().EventState(), AnimationSceneInterface::kEventStateMerging);
  EXPECT_EQ(Event(abi::kEventMergedObject, ball.id), 0);
  EXPECT_EQ(Notify(abi::kEventMergedObject, 0, "Ball", "Ball.1"), 0);
  EXPECT_EQ(Notify(abi::kEventMergeEnds), 0);
  EXPECT_EQ(Scene().EventState(), 0);
  EXPECT_NE(Scene().Animation().FindTrack(ball.id), nullptr);
  EXPECT_EQ(Scene().Animation().TrackCount(), 1) << "a track without its object is dropped";
  EXPECT_TRUE(Scene().Animation().PendingTracks().empty());

  EXPECT_EQ(Notify(abi::kEventImportBegins), 0);
  EXPECT_EQ(Scene().EventState(), AnimationSceneInterface::kEventStateAfterNotice);
  EXPECT_EQ(Notify(abi::kEventImportEnds), 0);
  EXPECT_EQ(Scene().EventState(), 0);
}

TEST_F(SceneEventsTest, AMergedObjectThatCannotBeFoundIsReported) {
  Add(abi::kTypeSphere, "Ball");
  Event(abi::kEventMergeBegins);
  EXPECT_EQ(Event(abi::kEventMergedObject, 999), abi::kNotFound);
  EXPECT_TRUE(Logged("Failed to find ID for merged obj: ''\n"));
}

TEST_F(SceneEventsTest, ClosingTheSceneForgetsTheKeysAndLeavesTheObjects) {
  Event(abi::kEventSceneInPlace);
  host::SceneObject& ball = Add(abi::kTypeSphere, "Ball");
  Event(abi::kEventObjectChanged, ball.id);
  ball.params.translate[0] = 5.0;
  EXPECT_EQ(Event(abi::kEventSceneClosing), 0);
  EXPECT_EQ(Scene().Animation().TrackCount(), 0);
  EXPECT_EQ(ball.params.translate[0], 5.0);
}

}  // namespace
}  // namespace lumetra
