#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "keyframe/object_track.h"
#include "keyframe/scene_animation.h"
#include "keyframe/time_format.h"
#include "ui/timeline_axes.h"
#include "ui/timeline_window.h"

namespace lumetra::ui {

// The timeline editor without a toolkit: the tree of animated objects, the key view and
// the curve view as pictures in pixels, hit testing and the edits of keys and tangents,
// with undo for as long as the editor lives. Every edit rebuilds the track's curves and,
// with host updating on, poses the scene at the current time and refreshes the host.
class TimelineEditor final : public TimelineController {
 public:
  static constexpr int32_t kRowHeight = 20;
  static constexpr int32_t kHandleReach = 15;  // pixels from a key to its tangent handles
  static constexpr int32_t kKeyRadius = 3;
  static constexpr int32_t kGrabDistance = 4;  // a key or handle grabs within this many pixels
  static constexpr int32_t kTimeLineReach = 2;

  // A key of an object's track, by its time in ticks.
  using KeyRef = std::pair<uint32_t, int32_t>;

  TimelineEditor(keyframe::SceneAnimation& animation, const keyframe::TimeFormat& format);

  const std::vector<TimelineRow>& Rows() const override { return rows_; }
  void SetOnlyKeyed(bool on) override;
  bool OnlyKeyed() const override { return onlyKeyed_; }
  void SetCurveMode(bool curves) override { curveMode_ = curves; }
  bool CurveMode() const override { return curveMode_; }
  void SetUpdateHost(bool on) override { updateHost_ = on; }
  bool UpdateHost() const override { return updateHost_; }
  void SetSelectedRows(const std::vector<int32_t>& rows) override { selectedRows_ = rows; }
  void SetVisibleRows(const std::vector<int32_t>& rows) override { visibleRows_ = rows; }

  PlotPicture Picture(int32_t width, int32_t height) override;
  bool OverTimeLine(int32_t x, int32_t y) const override;
  void Press(int32_t x, int32_t y, PointerKeys keys) override;
  void Drag(int32_t x, int32_t y, PointerKeys keys) override;
  void Release(int32_t x, int32_t y, PointerKeys keys) override;
  void Cancel() override;
  bool Undo() override;
  bool Redo() override;
  std::vector<std::string> StatusParts() const override;
  // The host's selected object's first parameter whose keys differ, so the curve view opens
  // on something that moves; else the first such of any object; else the first parameter.
  int32_t OpeningRow() const override;

  const std::set<KeyRef>& SelectedKeys() const { return selectedKeys_; }
  // The shown time range in view units (frames or ticks).
  double TimeOrigin() const { return timeOrigin_; }
  double TimeSpan() const { return timeSpan_; }
  int32_t XOfTicks(int32_t ticks) const override;
  int32_t YOfValue(double value) const override;
  int32_t TicksOfX(int32_t x) const override;
  double ValueOfY(int32_t y) const;

 private:
  enum class DragKind { None, Zoom, Pan, Select, KeyValue, KeyTime, Tangent, TimeLine };
  struct Grab {
    uint32_t object = 0;
    int32_t param = 0;
    int32_t component = 0;
    int32_t time = 0;
    bool outgoing = false;  // which tangent handle
  };
  // The tracks an edit touched, before and after it.
  struct Edit {
    std::map<uint32_t, std::vector<keyframe::TrackKey>> before;
    std::map<uint32_t, std::vector<keyframe::TrackKey>> after;
  };
  struct Shown {
    uint32_t object;
    int32_t param;
    keyframe::ObjectTrack* track;
  };

  // The track of a parameter row whose object has keys, else null.
  keyframe::ObjectTrack* KeyedTrack(const TimelineRow& row) const;
  std::vector<Shown> ShownParams() const;
  void Layout(int32_t width, int32_t height);
  void FitValues(const std::vector<Shown>& shown);
  void DrawCurves(PlotPicture& picture, const std::vector<Shown>& shown) const;
  void DrawKeyRows(PlotPicture& picture) const;
  // Every key of the key view's visible rows with the point its circle stands at.
  void ForEachKeyMark(
      const std::function<void(uint32_t object, const keyframe::TrackKey& key, PlotPoint at)>& visit) const;
  void DrawAxes(PlotPicture& picture) const;
  std::optional<Grab> HitKeyOrHandle(int32_t x, int32_t y, bool& handle) const;
  bool InPlot(int32_t x, int32_t y) const;
  void SelectInside(const PlotRect& rect);
  PlotRect DragRect(int32_t x, int32_t y) const;

  void BeginEdit(const std::set<uint32_t>& objects);
  void EndEdit();
  void SetValues(int32_t y);
  void SetTangent(int32_t y, bool shift);
  void MoveKeysInTime(int32_t x);
  void MoveCurrentTime(int32_t x);
  void Restore(const std::map<uint32_t, std::vector<keyframe::TrackKey>>& keys);
  // What follows every change: key times for the bar, and the host posed and refreshed.
  void AfterChange();
  std::vector<keyframe::TrackKey> CopyKeys(uint32_t object) const;

  keyframe::SceneAnimation& animation_;
  const keyframe::TimeFormat& format_;
  TimeUnit unit_;
  std::vector<TimelineRow> rows_;
  bool onlyKeyed_ = false;
  bool curveMode_ = true;
  bool updateHost_ = true;
  std::vector<int32_t> selectedRows_;
  std::vector<int32_t> visibleRows_;

  // View geometry.
  PlotRect ruler_;
  PlotRect plot_;
  double timeOrigin_ = 0;
  double timeSpan_ = 0;
  double valueBottom_ = 0;
  double valueSpan_ = 1;

  std::set<KeyRef> selectedKeys_;
  std::set<KeyRef> selectionAtPress_;
  DragKind drag_ = DragKind::None;
  PlotPoint pressAt_;
  PlotPoint lastAt_;
  double originAtPress_ = 0;
  Grab grab_;
  std::optional<PlotRect> rubber_;
  std::optional<Edit> editing_;
  bool changed_ = false;

  std::vector<Edit> undo_;
  std::vector<Edit> redo_;
};

}  // namespace lumetra::ui
