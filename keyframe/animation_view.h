#pragma once

namespace lumetra::keyframe {

// What shows the animation to the user (the control bar): told when the current
// time moved and when keys changed.
class AnimationView {
 public:
  virtual ~AnimationView() = default;

  // The current time moved: show the selected object's interpolation and key state.
  virtual void ShowTime() = 0;
  // Keys or key times changed: show everything again.
  virtual void Refresh() = 0;

 protected:
  AnimationView() = default;
  AnimationView(const AnimationView&) = default;
  AnimationView& operator=(const AnimationView&) = default;
};

}  // namespace lumetra::keyframe
