#include "translate/camera_view.h"

#include <gmock/gmock.h>

#include <cmath>
#include <numbers>

#include "translate/testing/translation_fixture.h"

namespace lumetra::translate {
namespace {

using testing::After;
using testing::Arguments;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

TEST(SeparateFromInterest, OnlyCamerasSharingXAndYWithTheirInterestAreLowered) {
  const auto moved = [](Point location, Point interest) {
    SeparateFromInterest(location, interest);
    return location;
  };
  EXPECT_EQ(moved({1, 2, 3}, {1, 2, 3}), (Point{1, 2 - 0.1, 3}));      // on the interest point
  EXPECT_EQ(moved({1, 5, 3}, {1, 2, 3}), (Point{1, 5, 3}));            // straight down
  EXPECT_EQ(moved({1, 2, -8}, {1, 2, 3}), (Point{1, 2 - 0.001, -8}));  // level, along z
  EXPECT_EQ(moved({0, 2, 3}, {1, 2, 3}), (Point{0, 2, 3}));            // x differs
}

TEST(ViewAngle, TheHorizontalFieldOverTheAspectGivesTheVerticalAngle) {
  EXPECT_NEAR(ViewAngle(90, 1), 90, 1e-12);
  EXPECT_NEAR(ViewAngle(90, 2), 2 * std::atan(0.5) * 180 / std::numbers::pi, 1e-12);
  EXPECT_NEAR(ViewAngle(60, 4.0 / 3),
              2 * std::atan(std::tan(std::numbers::pi / 6) * 0.75) * 180 / std::numbers::pi, 1e-12);
}

class CameraView : public testing::TranslationTest {
 protected:
  void TranslateCameras(const std::string& cameras, const std::string& objects = "") {
    Load(SceneWith(objects, R"("cameras": [)" + cameras + "]"));
    TranslateView(job_, record_);
  }
};

TEST_F(CameraView, TheFirstActiveCameraMakesTheViewAndIsFiledUnderItsName) {
  job_.volumeStepSize = 0.5f;
  job_.volumeMinSteps = 4;
  job_.volumeMaxSteps = 40;
  TranslateCameras(R"(
    {"type": "camera", "name": "Idle", "active": false, "location": [9, 9, 9]},
    {"type": "camera", "name": "Main", "location": [0, 3, -8], "look_at": [0, 1, 0], "up": [0, 1, 0.5],
     "fov": 90, "aspect": 2},
    {"type": "camera", "name": "Later", "location": [7, 7, 7]})");
  const uint32_t view = Made("CreateView");
  EXPECT_EQ(job_.view, view);
  EXPECT_EQ(job_.camera, scene_->FindByName("Main")->id);
  EXPECT_THAT(CallsOn(view),
              ElementsAre("SetViewAngle", "SetViewAspect", "SetViewLocation", "SetViewInterest", "SetViewUp",
                          "SetViewVolumeResolution", "SetViewVolumeSteps", "SetNameValue"));
  EXPECT_NEAR(After(Only("SetViewAngle"), 2)[0], 2 * std::atan(0.5) * 180 / std::numbers::pi, 1e-12);
  EXPECT_EQ(After(Only("SetViewAspect"), 2), Arguments{-2});
  EXPECT_EQ(After(Only("SetViewLocation"), 2), (Arguments{0, 3, -8}));
  EXPECT_EQ(After(Only("SetViewInterest"), 2), (Arguments{0, 1, 0}));
  EXPECT_EQ(After(Only("SetViewUp"), 2), (Arguments{0, 1, 0.5}));
  EXPECT_EQ(After(Only("SetViewVolumeResolution"), 2), Arguments{0.5});
  EXPECT_EQ(After(Only("SetViewVolumeSteps"), 2), (Arguments{4, 40}));
  EXPECT_EQ(recorder_.FiledValue("Main"), view);
}

TEST_F(CameraView, ACameraOnItsInterestPointIsLoweredBeforeItsLinkedObjectsMoveIt) {
  TranslateCameras(R"({"type": "camera", "location": [1, 2, 3], "look_at": [1, 2, 3],
                       "location_object": "Mover", "look_at_object": "Target"})",
                   R"({"type": "sphere", "name": "Mover", "transform": {"translate": [10, 0, 0]}},
                      {"type": "sphere", "name": "Target", "transform": {"translate": [0, 0, 5]}})");
  EXPECT_EQ(After(Only("SetViewLocation"), 2), (Arguments{11, 2 - 0.1, 3}));
  EXPECT_EQ(After(Only("SetViewInterest"), 2), (Arguments{1, 2, 8}));
  EXPECT_EQ(job_.locationObject, scene_->FindByName("Mover")->id);
  EXPECT_EQ(job_.lookAtObject, scene_->FindByName("Target")->id);
  EXPECT_THAT(recorder_.FiledNames(), IsEmpty());  // an unnamed camera files nothing
}

TEST_F(CameraView, ACameraOnItsOwnTransformIgnoresItsLinkedObjects) {
  TranslateCameras(
      R"({"type": "camera", "location": [0, 2, -5], "look_at": [0, 0, 0], "own_transform_only": true,
                       "look_at_object": "Target"})",
      R"({"type": "sphere", "name": "Target", "transform": {"translate": [0, 0, 5]}})");
  EXPECT_EQ(After(Only("SetViewInterest"), 2), (Arguments{0, 0, 0}));
}

TEST_F(CameraView, WithoutAnActiveCameraTheDefaultViewIsMade) {
  TranslateCameras(R"({"type": "camera", "active": false, "name": "Idle"})");
  EXPECT_EQ(job_.view, Made("CreateView"));
  EXPECT_THAT(CallsOn(job_.view), IsEmpty());
  EXPECT_EQ(job_.camera, 0u);
  EXPECT_EQ(recorder_.FiledValue("Idle"), 0u);
}

}  // namespace
}  // namespace lumetra::translate
