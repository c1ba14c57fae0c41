#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "keyframe/animation_view.h"
#include "keyframe/scene_animation.h"
#include "keyframe/time_format.h"
#include "ui/bar_window.h"
#include "ui/time_slider.h"

namespace lumetra::ui {

// The animation control bar: the selected object, animation mode, the interpolation
// box, the key button's picture, the transport buttons, the key popup commands and the
// time slider, driving the scene's animation. It works without a window (the host then
// sends it the user's input as messages); given one, it shows itself there after every
// change and takes the window's input the same way.
class AnimControlBar final : public keyframe::AnimationView, public BarController {
 public:
  static constexpr int32_t kHeight = 40;  // pixels
  static constexpr const char* kNoObject = "<no object>";

  AnimControlBar(keyframe::SceneAnimation& animation, const keyframe::TimeFormat& timeFormat);
  ~AnimControlBar() override;
  AnimControlBar(const AnimControlBar&) = delete;
  AnimControlBar& operator=(const AnimControlBar&) = delete;

  // Dialog initialisation: slider range and position, animation mode on when the
  // current time is not 0, then the time is shown.
  void Initialise();
  bool Initialised() const { return initialised_; }

  void SetSelectedObject(uint32_t id, const std::string& name);
  uint32_t SelectedObject() const { return selectedId_; }
  const std::string& SelectedName() const { return selectedName_; }

  void SetAnimationMode(bool on);
  void ToggleAnimationMode() { SetAnimationMode(!animationMode_); }
  bool AnimationMode() const { return animationMode_; }
  bool Enabled(BarControl control) const;

  // The user chose an entry of the interpolation box: the selected object's
  // track (and those below it) take that kind.
  void OnInterpolationSelected(int32_t index);
  int32_t InterpolationIndex() const { return interpolationIndex_; }
  // The kind the box stands for: its index in 0..3, else Linear.
  int32_t InterpolationChoice() const;
  KeyPicture Picture() const { return picture_; }

  // A transport button was pressed; disabled buttons do nothing.
  void Transport(BarControl button);
  // Steps the time from the start to the end of the animation, one play step at a time.
  void Play();
  // Ticks of one play step: denominator * 3 * 1600 / numerator of the frame rate.
  int32_t PlayStep() const;
  void OnSliderNotify(uint32_t word);
  void RunKeyCommand(uint32_t command);

  // Opens the "Rendering Options" sheet on a page; set by the application.
  void SetOptionsOpener(std::function<void(int page)> opener) { openOptions_ = std::move(opener); }

  TimeSlider& Slider() { return slider_; }
  const TimeSlider& Slider() const { return slider_; }

  // The bar's window procedure: the user's clicks, choices and slider moves as
  // the host delivers them (abi/bar_site_record.h), and the questions it may ask.
  int32_t HandleMessage(uint32_t message, uint32_t wparam, int32_t lparam);

  // The bar's window in a toolkit; null keeps the bar without one.
  void SetWindow(std::unique_ptr<BarWindow> window);
  BarWindow* Window() const { return window_.get(); }
  // What the window shows.
  BarViewState ViewState() const;

  // keyframe::AnimationView
  void ShowTime() override;
  void Refresh() override;

  // BarController: the window's input.
  int32_t Send(uint32_t message, uint32_t wparam, int32_t lparam) override;
  void MoveKeyMark(int index, int32_t time) override { slider_.SetKeyTime(index, time); }
  std::string ThumbText(int32_t position) const override { return slider_.ThumbText(position); }
  int32_t Snap(int32_t value) const override { return slider_.Snap(value); }
  int32_t Step() const override { return slider_.Step(); }

 private:
  void MoveTo(int32_t time);
  void UpdatePicture();
  // Hands the window what it shows now.
  void Publish() const;

  keyframe::SceneAnimation& animation_;
  const keyframe::TimeFormat& timeFormat_;
  TimeSlider slider_;
  uint32_t selectedId_ = 0;
  std::string selectedName_ = kNoObject;
  bool animationMode_ = false;
  bool initialised_ = false;
  int32_t interpolationIndex_ = 1;
  KeyPicture picture_ = KeyPicture::NoKey;
  int32_t dragStartTime_ = 0;
  std::function<void(int page)> openOptions_;
  std::unique_ptr<BarWindow> window_;
};

}  // namespace lumetra::ui
