#include "ui/anim_control_bar.h"

#include <iterator>

#include "platform/messages.h"

namespace lumetra::ui {
namespace {

constexpr int kOptionsKeyPage = 2;

constexpr const char* kDeleteFrameQuestion =
    "All keys at this frame are about to be removed.\nThis operation cannot be reversed.  Proceed?";
// The command deletes every key of the scene, at every time, and the question says so.
constexpr const char* kDeleteSceneQuestion =
    "All keys of the scene, at every frame, are about to be removed.\nObjects will remain in their current "
    "state.\nThis "
    "operation cannot be reversed.  Proceed?";

bool Confirmed(const char* question) {
  return platform::Messages::Show("Warning", question, platform::MessageButtons::OkCancel,
                                  platform::MessageIcon::Exclamation) == platform::MessageAnswer::Ok;
}

}  // namespace

AnimControlBar::AnimControlBar(keyframe::SceneAnimation& animation, const keyframe::TimeFormat& timeFormat)
    : animation_(animation), timeFormat_(timeFormat) {
  animation_.SetView(this);
}

AnimControlBar::~AnimControlBar() { animation_.SetView(nullptr); }

void AnimControlBar::Initialise() {
  slider_.SetRange(animation_.StartTime(), animation_.EndTime());
  slider_.SetPos(animation_.CurrentTime());
  slider_.SetTimeFormat(&timeFormat_);
  animationMode_ = animation_.CurrentTime() != 0;
  animation_.SetCurrentTime(animation_.CurrentTime());
  initialised_ = true;
  Publish();
}

void AnimControlBar::SetSelectedObject(uint32_t id, const std::string& name) {
  selectedId_ = id;
  selectedName_ = name;
  UpdatePicture();
  Publish();
}

bool AnimControlBar::Enabled(BarControl control) const {
  switch (control) {
    case kKeyButton:
      return true;
    case kPlay:
      return false;
    default:
      return animationMode_;
  }
}

void AnimControlBar::SetAnimationMode(bool on) {
  animationMode_ = on;
  if (on) interpolationIndex_ = static_cast<int32_t>(keyframe::Interpolation::Linear);
  slider_.SetPos(0);
  animation_.SetCurrentTime(0);
  Publish();
}

void AnimControlBar::OnInterpolationSelected(int32_t index) {
  interpolationIndex_ = index;
  animation_.SetTrackInterpolation(selectedId_, InterpolationChoice());
}

int32_t AnimControlBar::InterpolationChoice() const {
  return interpolationIndex_ >= 0 && interpolationIndex_ <= 3
             ? interpolationIndex_
             : static_cast<int32_t>(keyframe::Interpolation::Linear);
}

void AnimControlBar::MoveTo(int32_t time) {
  slider_.SetPos(time);
  animation_.SetCurrentTime(time);
  Publish();
}

void AnimControlBar::Transport(BarControl button) {
  if (!Enabled(button)) return;
  const std::set<int32_t>& times = animation_.KeyTimes();
  const int32_t now = animation_.CurrentTime();
  switch (button) {
    case kGoToStart:
      return MoveTo(animation_.StartTime());
    case kGoToEnd:
      return MoveTo(animation_.EndTime());
    case kStepBack: {
      const auto before = times.lower_bound(now);
      if (before != times.begin()) MoveTo(std::max(*std::prev(before), animation_.StartTime()));
      return;
    }
    case kStepForward: {
      const auto after = times.upper_bound(now);
      if (after != times.end()) MoveTo(std::min(*after, animation_.EndTime()));
      return;
    }
    case kPlay:
      return Play();
    default:
      return;
  }
}

int32_t AnimControlBar::PlayStep() const {
  if (timeFormat_.numerator <= 0) return 0;
  return static_cast<int32_t>(int64_t{timeFormat_.denominator} * 3 * 1600 / timeFormat_.numerator);
}

void AnimControlBar::Play() {
  const int32_t step = PlayStep();
  if (step <= 0) return;
  for (int64_t time = animation_.StartTime(); time <= animation_.EndTime(); time += step) {
    MoveTo(static_cast<int32_t>(time));
  }
}

void AnimControlBar::OnSliderNotify(uint32_t word) {
  const int32_t value = static_cast<int32_t>(word & kSliderValueMask);
  if (word & kSliderKeyDragBegins) {
    dragStartTime_ = slider_.KeyTime(value);
  } else if (word & kSliderKeyDragMoved) {
    // the mark follows the pointer; keys move when the drag ends
  } else if (word & kSliderKeyDragEnds) {
    if (animation_.ShiftHeld()) return;
    animation_.MoveKeys(dragStartTime_, slider_.KeyTime(value));
    animation_.RebuildKeyTimes();
    Refresh();
  } else {
    // The slider has moved itself; the bar's copy follows, so a later refresh keeps it.
    slider_.SetPos(value);
    animation_.SetCurrentTime(value);
  }
}

void AnimControlBar::RunKeyCommand(uint32_t command) {
  const int32_t time = animation_.CurrentTime();
  const uint32_t selected = animation_.SelectedObject();
  const bool timeIsKeyed = animation_.KeyTimes().contains(time);
  const keyframe::KeySteps mode = animation_.KeyStepsMode();
  switch (command) {
    case kSetSelected:
    case kSetObject:
      animation_.SetKeys(selected, time, InterpolationChoice(), command == kSetObject);
      animation_.AddKeyTimes(selected);
      animation_.SetCurrentTime(time);
      return Refresh();
    case kSetScene:
      platform::Messages::Show("Notice", "Keying the entire scene isn't implemented",
                               platform::MessageButtons::Ok, platform::MessageIcon::Information);
      return;
    case kDeleteSelected:
      animation_.DeleteKeys(selected, time, false);
      animation_.Pose(time);
      animation_.SetCurrentTime(time);
      if (timeIsKeyed && mode == keyframe::KeySteps::Selected) animation_.RemoveKeyTime(time);
      if (timeIsKeyed && mode != keyframe::KeySteps::Selected) animation_.RebuildKeyTimes();
      return Refresh();
    case kDeleteObject:
      animation_.DeleteKeys(selected, time, true);
      animation_.SetCurrentTime(time);
      if (timeIsKeyed && mode != keyframe::KeySteps::Scene) animation_.RemoveKeyTime(time);
      if (timeIsKeyed && mode == keyframe::KeySteps::Scene) animation_.RebuildKeyTimes();
      return;
    case kDeleteFrame:
      if (!Confirmed(kDeleteFrameQuestion)) return;
      animation_.DeleteFrame(time);
      animation_.SetCurrentTime(time);
      animation_.RemoveKeyTime(time);
      return Refresh();
    case kDeleteScene:
      if (!Confirmed(kDeleteSceneQuestion)) return;
      animation_.DeleteAll();
      slider_.SetPos(0);
      animation_.SetCurrentTime(0);
      return;
    case kKeyOptions:
      if (openOptions_) openOptions_(kOptionsKeyPage);
      return;
    default:
      return;
  }
}

void AnimControlBar::UpdatePicture() {
  picture_ = KeyPicture::NoKey;
  if (!animationMode_ || selectedId_ == 0) return;
  switch (animation_.KeyStateAt(selectedId_, animation_.CurrentTime())) {
    case keyframe::KeyState::AtKey:
      picture_ = KeyPicture::AtKey;
      break;
    case keyframe::KeyState::BetweenKeys:
      picture_ = KeyPicture::BetweenKeys;
      break;
    default:
      break;
  }
}

void AnimControlBar::ShowTime() {
  interpolationIndex_ = animation_.TrackInterpolation(selectedId_);
  UpdatePicture();
  Publish();
}

void AnimControlBar::Refresh() {
  if (!initialised_) return;
  interpolationIndex_ = animation_.TrackInterpolation(selectedId_);
  animation_.SetCurrentTime(animation_.CurrentTime());
  slider_.SetRange(animation_.StartTime(), animation_.EndTime());
  slider_.SetPos(animation_.CurrentTime());
  const std::set<int32_t>& times = animation_.KeyTimes();
  slider_.SetKeyTimes({times.begin(), times.end()});
  Publish();
}

int32_t AnimControlBar::Send(uint32_t message, uint32_t wparam, int32_t lparam) {
  const int32_t answer = HandleMessage(message, wparam, lparam);
  Publish();
  return answer;
}

void AnimControlBar::SetWindow(std::unique_ptr<BarWindow> window) {
  window_ = std::move(window);
  Publish();
}

BarViewState AnimControlBar::ViewState() const {
  BarViewState state;
  state.animationMode = animationMode_;
  state.controlsEnabled = Enabled(kTimeSlider);
  state.interpolationIndex = interpolationIndex_;
  state.picture = picture_;
  state.selectedName = selectedName_;
  state.minimum = slider_.Minimum();
  state.maximum = slider_.Maximum();
  state.position = slider_.Pos();
  state.keyTimes = slider_.KeyTimes();
  return state;
}

void AnimControlBar::Publish() const {
  if (window_) window_->Show(ViewState());
}

}  // namespace lumetra::ui
