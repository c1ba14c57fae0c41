#pragma once

#include <cstdint>
#include <memory>

#include "abi/bar_site_record.h"
#include "abi/scene_events.h"
#include "abi/view_record.h"
#include "keyframe/scene_animation.h"
#include "keyframe/time_format.h"
#include "plugin/scene_interface_base.h"
#include "render/animation_settings.h"
#include "ui/anim_control_bar.h"

namespace lumetra::plugin {

class KinetraApp;

// Where the control bar sits in the host's window, and whether it is shown.
struct BarPlacement {
  uint32_t parentWindow = 0;
  uint32_t window = 0;  // the bar's own window at the host's bar site, 0 without one
  int32_t left = 0;
  int32_t top = 0;
  int32_t width = 0;
  int32_t height = 0;
  bool shown = false;
};

// The plug-in's scene interface: owns the scene's animation and keeps its
// tracks in step with the host's objects as the host reports selection,
// changes, renames, removals, merges and new scenes; creates the control bar and
// lays the host's views out around it.
class AnimationSceneInterface : public SceneInterfaceBase {
 public:
  // Event states; only a merge changes how events are handled.
  static constexpr int32_t kEventStateNormal = 0;
  static constexpr int32_t kEventStateMerging = 2;
  static constexpr int32_t kEventStateAfterNotice = 3;

  explicit AnimationSceneInterface(KinetraApp* app);
  ~AnimationSceneInterface() override;

  int32_t Connect(abi::InterfaceRecord* record) override;
  void Reset() override;
  int32_t OnSceneEvent(uint32_t objectId, int32_t event) override;
  int32_t OnSceneNotify(uint32_t objectId, int32_t event, void* data, void* result) override;
  // The keyframe chunk of the host's scene file.
  int32_t GetSceneDataSize(uint32_t) override;
  int32_t SaveSceneData(abi::StreamWrite write, uint32_t stream, uint32_t) override;
  int32_t LoadSceneData(abi::StreamRead read, uint32_t stream, uint32_t) override;

  // True when at least one object of the scene carries keys.
  bool HasTracks() const { return animation_.TrackCount() > 0; }

  keyframe::SceneAnimation& Animation() { return animation_; }
  const keyframe::SceneAnimation& Animation() const { return animation_; }
  // The control bar, once the host has a window for it.
  ui::AnimControlBar* Bar() const { return bar_.get(); }
  const BarPlacement& Placement() const { return placement_; }
  int32_t EventState() const { return eventState_; }
  // How the bar shows and steps times.
  keyframe::TimeFormat& TimeFormat() { return timeFormat_; }
  KinetraApp* App() const { return app_; }

 private:
  int32_t SelectObject(uint32_t objectId);
  void UpdateObject(uint32_t objectId);
  void SceneInPlace();
  void AttachAndRebuild();
  int32_t FindMergedObject(uint32_t argument);
  void RefreshBar();
  void LayOutViews(bool createAndShow);
  void CreateBar(uint32_t parentWindow);
  // Tells the host's bar site where the bar is; nothing without a site.
  void ReportPlacement() const;
  const abi::BarSiteRecord* BarSite() const;
  void ArrangeViews(abi::ViewRecord (&views)[abi::kViewCount], int32_t width, int32_t height);

  KinetraApp* app_;
  keyframe::SceneAnimation animation_;
  keyframe::TimeFormat timeFormat_ = render::AnimationSettings().TimeFormat();
  std::unique_ptr<ui::AnimControlBar> bar_;
  BarPlacement placement_;
  int32_t eventState_ = kEventStateNormal;
};

}  // namespace lumetra::plugin
