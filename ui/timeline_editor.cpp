#include "ui/timeline_editor.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "keyframe/track_evaluation.h"
#include "ui/timeline_tree.h"

namespace lumetra::ui {
namespace {

constexpr uint32_t kBlack = 0x000000;
constexpr uint32_t kRed = 0xff0000;
constexpr uint32_t kWhite = 0xffffff;
constexpr std::array<uint32_t, 3> kComponentColours{0xff0000, 0x00a000, 0x0000ff};
constexpr double kDefaultSpan = 100;  // view units, for an animation without a range
constexpr double kHandleScale = TimelineEditor::kHandleReach;

int ComponentCount(keyframe::ValueType type) { return type == keyframe::ValueType::Scalar ? 1 : 3; }

double& Component(keyframe::ParamValue& value, int component) {
  return component == 0 ? value.x : component == 1 ? value.y : value.z;
}
double Component(const keyframe::ParamValue& value, int component) {
  return component == 0 ? value.x : component == 1 ? value.y : value.z;
}

uint32_t CurveColour(keyframe::ValueType type, int component) {
  return type == keyframe::ValueType::Scalar ? kBlack : kComponentColours[static_cast<size_t>(component)];
}

// The parameter as posing writes it at `ticks`, so the drawn curve is the animation itself.
keyframe::ParamValue PosedValue(const keyframe::ObjectTrack& track, int32_t param, int32_t ticks) {
  const keyframe::TrackEvaluation evaluation = keyframe::EvaluateTrack(track, ticks);
  const keyframe::AnimChannel* channel = evaluation.Channel();
  return channel ? channel->GetValue(param) : keyframe::ParamValue{};
}

bool Near(PlotPoint point, int32_t x, int32_t y, int32_t reach) {
  return std::abs(point.x - x) <= reach && std::abs(point.y - y) <= reach;
}

bool Inside(const PlotRect& rect, PlotPoint point) {
  return point.x >= rect.left && point.x <= rect.right && point.y >= rect.top && point.y <= rect.bottom;
}

int32_t ToPixel(double value) {
  constexpr double kLimit = 1e6;  // far outside any window, still drawable
  return static_cast<int32_t>(std::lround(std::clamp(value, -kLimit, kLimit)));
}

}  // namespace

TimelineEditor::TimelineEditor(keyframe::SceneAnimation& animation, const keyframe::TimeFormat& format)
    : animation_(animation), format_(format), unit_(format) {
  rows_ = BuildTimelineRows(animation_, onlyKeyed_);
  // The animation's range, widened to every key so that none starts out of sight.
  int32_t first = animation_.StartTime();
  int32_t last = animation_.EndTime();
  for (const auto& [object, track] : animation_.AllTracks()) {
    if (track->Keys().empty()) continue;
    first = std::min(first, track->Keys().front().time);
    last = std::max(last, track->Keys().back().time);
  }
  timeOrigin_ = unit_.ViewTime(first);
  timeSpan_ = unit_.ViewTime(last) - timeOrigin_;
  if (!(timeSpan_ > 0)) timeSpan_ = kDefaultSpan;
}

void TimelineEditor::SetOnlyKeyed(bool on) {
  onlyKeyed_ = on;
  rows_ = BuildTimelineRows(animation_, onlyKeyed_);
  selectedRows_.clear();
  visibleRows_.clear();
}

keyframe::ObjectTrack* TimelineEditor::KeyedTrack(const TimelineRow& row) const {
  keyframe::ObjectTrack* track = animation_.FindTrack(row.object);
  if (row.param < 0 || !track || track->Keys().empty() || row.param >= track->ParamCount()) return nullptr;
  return track;
}

std::vector<TimelineEditor::Shown> TimelineEditor::ShownParams() const {
  std::vector<Shown> shown;
  for (const int32_t index : selectedRows_) {
    if (index < 0 || static_cast<size_t>(index) >= rows_.size()) continue;
    const TimelineRow& row = rows_[static_cast<size_t>(index)];
    if (keyframe::ObjectTrack* track = KeyedTrack(row)) shown.push_back({row.object, row.param, track});
  }
  return shown;
}

void TimelineEditor::Layout(int32_t width, int32_t height) {
  ruler_ = {2, 1, width - 1, 16};
  plot_ = {3, 17, width - 3, height - 3};
}

// Time per pixel is the span over the plot width less its two border pixels; the same for
// values over the height.
int32_t TimelineEditor::XOfTicks(int32_t ticks) const {
  const double perPixel = timeSpan_ / std::max(1, plot_.right - plot_.left - 2);
  return plot_.left + 1 + ToPixel((unit_.ViewTime(ticks) - timeOrigin_) / perPixel);
}

int32_t TimelineEditor::TicksOfX(int32_t x) const {
  const double perPixel = timeSpan_ / std::max(1, plot_.right - plot_.left - 2);
  return unit_.Ticks(timeOrigin_ + (x - plot_.left - 1) * perPixel);
}

int32_t TimelineEditor::YOfValue(double value) const {
  const double perPixel = valueSpan_ / std::max(1, plot_.bottom - plot_.top - 2);
  return plot_.top + 1 + ToPixel((valueBottom_ + valueSpan_ - value) / perPixel);
}

double TimelineEditor::ValueOfY(int32_t y) const {
  const double perPixel = valueSpan_ / std::max(1, plot_.bottom - plot_.top - 2);
  return valueBottom_ + valueSpan_ - (y - plot_.top - 1) * perPixel;
}

void TimelineEditor::FitValues(const std::vector<Shown>& shown) {
  double low = std::numeric_limits<double>::infinity();
  double high = -low;
  const auto take = [&](const keyframe::ParamValue& value, int components) {
    for (int c = 0; c < components; ++c) {
      low = std::min(low, Component(value, c));
      high = std::max(high, Component(value, c));
    }
  };
  for (const Shown& item : shown) {
    const int components = ComponentCount(item.track->ParamType(item.param));
    for (int32_t x = plot_.left + 1; x < plot_.right; ++x) {
      take(PosedValue(*item.track, item.param, TicksOfX(x)), components);
    }
    for (const keyframe::TrackKey& key : item.track->Keys())
      take(key.snapshot.GetValue(item.param), components);
  }
  const ValueSpan span = low <= high ? ValueSpanFor(low, high) : ValueSpanFor(0, 1);
  valueBottom_ = span.bottom;
  valueSpan_ = span.span;
}

PlotPicture TimelineEditor::Picture(int32_t width, int32_t height) {
  Layout(width, height);
  PlotPicture picture;
  picture.ruler = ruler_;
  picture.plot = plot_;
  if (curveMode_) {
    const std::vector<Shown> shown = ShownParams();
    // While a value or tangent is dragged the scale stays put under the pointer.
    if (drag_ != DragKind::KeyValue && drag_ != DragKind::Tangent) FitValues(shown);
    DrawCurves(picture, shown);
    picture.timeLineX = XOfTicks(animation_.CurrentTime());
  } else {
    DrawKeyRows(picture);
  }
  DrawAxes(picture);
  picture.selection = rubber_;
  return picture;
}

void TimelineEditor::DrawAxes(PlotPicture& picture) const {
  const double perPixel = timeSpan_ / std::max(1, plot_.right - plot_.left - 2);
  const AxisLabels times = LabelsFor(timeOrigin_, timeOrigin_ + timeSpan_);
  for (double t = times.first; t <= times.last + times.step / 2; t += times.step) {
    const int32_t x = plot_.left + 1 + ToPixel((t - timeOrigin_) / perPixel);
    if (x >= ruler_.left && x <= ruler_.right) picture.timeLabels.push_back({x, times.Format(t)});
  }
  if (!curveMode_) return;
  const AxisLabels values = LabelsFor(valueBottom_, valueBottom_ + valueSpan_);
  for (double v = values.first; v <= values.last + values.step / 2; v += values.step) {
    const int32_t y = YOfValue(v);
    if (y >= plot_.top && y <= plot_.bottom) picture.valueLabels.push_back({y, values.Format(v)});
  }
}

void TimelineEditor::DrawCurves(PlotPicture& picture, const std::vector<Shown>& shown) const {
  const double pixelsPerValue = std::max(1, plot_.bottom - plot_.top - 2) / valueSpan_;
  for (const Shown& item : shown) {
    const keyframe::ValueType type = item.track->ParamType(item.param);
    const int components = ComponentCount(type);
    std::vector<PlotPolyline> curves(static_cast<size_t>(components));
    for (int c = 0; c < components; ++c) curves[static_cast<size_t>(c)].colour = CurveColour(type, c);
    for (int32_t x = plot_.left + 1; x < plot_.right; ++x) {
      const keyframe::ParamValue value = PosedValue(*item.track, item.param, TicksOfX(x));
      for (int c = 0; c < components; ++c) {
        curves[static_cast<size_t>(c)].points.push_back({x, YOfValue(Component(value, c))});
      }
    }
    for (PlotPolyline& curve : curves) picture.lines.push_back(std::move(curve));
    const bool tangents = item.track->HasTangents(item.param);
    for (const keyframe::TrackKey& key : item.track->Keys()) {
      const keyframe::KeyParam param = key.snapshot.GetParam(item.param);
      const int32_t x = XOfTicks(key.time);
      const bool selected = selectedKeys_.count({item.object, key.time}) > 0;
      for (int c = 0; c < components; ++c) {
        const uint32_t colour = CurveColour(type, c);
        const PlotPoint at{x, YOfValue(Component(param.value, c))};
        if (tangents) {
          const PlotPoint in{x - kHandleReach,
                             at.y + ToPixel(Component(param.inTangent, c) * pixelsPerValue / kHandleScale)};
          const PlotPoint out{x + kHandleReach,
                              at.y - ToPixel(Component(param.outTangent, c) * pixelsPerValue / kHandleScale)};
          picture.lines.push_back({colour, {in, at, out}});
          picture.circles.push_back({in, colour, kWhite});
          picture.circles.push_back({out, colour, kWhite});
        }
        picture.circles.push_back({at, colour, selected ? kRed : kWhite});
      }
    }
  }
}

void TimelineEditor::ForEachKeyMark(
    const std::function<void(uint32_t object, const keyframe::TrackKey& key, PlotPoint at)>& visit) const {
  for (size_t i = 0; i < visibleRows_.size(); ++i) {
    const int32_t index = visibleRows_[i];
    if (index < 0 || static_cast<size_t>(index) >= rows_.size()) continue;
    const uint32_t object = rows_[static_cast<size_t>(index)].object;
    const keyframe::ObjectTrack* track = animation_.FindTrack(object);
    if (!track) continue;
    const int32_t y = plot_.top + static_cast<int32_t>(i) * kRowHeight + kRowHeight / 2;
    for (const keyframe::TrackKey& key : track->Keys()) visit(object, key, {XOfTicks(key.time), y});
  }
}

void TimelineEditor::DrawKeyRows(PlotPicture& picture) const {
  ForEachKeyMark([&](uint32_t object, const keyframe::TrackKey& key, PlotPoint at) {
    const bool selected = selectedKeys_.count({object, key.time}) > 0;
    picture.circles.push_back({at, kRed, selected ? kRed : kWhite});
  });
}

bool TimelineEditor::InPlot(int32_t x, int32_t y) const { return Inside(plot_, {x, y}); }

bool TimelineEditor::OverTimeLine(int32_t x, int32_t y) const {
  return curveMode_ && InPlot(x, y) && std::abs(x - XOfTicks(animation_.CurrentTime())) <= kTimeLineReach;
}

std::optional<TimelineEditor::Grab> TimelineEditor::HitKeyOrHandle(int32_t x, int32_t y, bool& handle) const {
  const double pixelsPerValue = std::max(1, plot_.bottom - plot_.top - 2) / valueSpan_;
  std::optional<Grab> key;
  for (const Shown& item : ShownParams()) {
    const int components = ComponentCount(item.track->ParamType(item.param));
    const bool tangents = item.track->HasTangents(item.param);
    for (const keyframe::TrackKey& entry : item.track->Keys()) {
      const keyframe::KeyParam param = entry.snapshot.GetParam(item.param);
      const int32_t kx = XOfTicks(entry.time);
      for (int c = 0; c < components; ++c) {
        const int32_t ky = YOfValue(Component(param.value, c));
        // Handles first: they lie beside keys and would be hidden by a neighbour's key.
        if (tangents) {
          const int32_t inY = ky + ToPixel(Component(param.inTangent, c) * pixelsPerValue / kHandleScale);
          const int32_t outY = ky - ToPixel(Component(param.outTangent, c) * pixelsPerValue / kHandleScale);
          if (Near({kx + kHandleReach, outY}, x, y, kGrabDistance) ||
              Near({kx - kHandleReach, inY}, x, y, kGrabDistance)) {
            handle = true;
            const bool outgoing = Near({kx + kHandleReach, outY}, x, y, kGrabDistance);
            return Grab{item.object, item.param, c, entry.time, outgoing};
          }
        }
        if (!key && Near({kx, ky}, x, y, kGrabDistance))
          key = Grab{item.object, item.param, c, entry.time, false};
      }
    }
  }
  handle = false;
  return key;
}

PlotRect TimelineEditor::DragRect(int32_t x, int32_t y) const {
  PlotRect rect{std::min(pressAt_.x, x), std::min(pressAt_.y, y), std::max(pressAt_.x, x),
                std::max(pressAt_.y, y)};
  rect.left = std::max(rect.left, plot_.left);
  rect.top = std::max(rect.top, plot_.top);
  rect.right = std::min(rect.right, plot_.right);
  rect.bottom = std::min(rect.bottom, plot_.bottom);
  return rect;
}

void TimelineEditor::SelectInside(const PlotRect& rect) {
  selectedKeys_.clear();
  if (curveMode_) {
    for (const Shown& item : ShownParams()) {
      const int components = ComponentCount(item.track->ParamType(item.param));
      for (const keyframe::TrackKey& key : item.track->Keys()) {
        const keyframe::ParamValue value = key.snapshot.GetValue(item.param);
        for (int c = 0; c < components; ++c) {
          if (Inside(rect, {XOfTicks(key.time), YOfValue(Component(value, c))})) {
            selectedKeys_.insert({item.object, key.time});
          }
        }
      }
    }
    return;
  }
  ForEachKeyMark([&](uint32_t object, const keyframe::TrackKey& key, PlotPoint at) {
    if (Inside(rect, at)) selectedKeys_.insert({object, key.time});
  });
}

void TimelineEditor::Press(int32_t x, int32_t y, PointerKeys keys) {
  pressAt_ = lastAt_ = {x, y};
  originAtPress_ = timeOrigin_;
  selectionAtPress_ = selectedKeys_;
  changed_ = false;
  if (keys.alt) {
    drag_ = DragKind::Zoom;
    return;
  }
  if (keys.control) {
    drag_ = DragKind::Pan;
    return;
  }
  if (curveMode_) {
    bool handle = false;
    if (const std::optional<Grab> grab = HitKeyOrHandle(x, y, handle)) {
      grab_ = *grab;
      if (handle) {
        drag_ = DragKind::Tangent;
        BeginEdit({grab_.object});
        return;
      }
      if (!selectedKeys_.count({grab_.object, grab_.time})) selectedKeys_ = {{grab_.object, grab_.time}};
      std::set<uint32_t> objects;
      for (const KeyRef& key : selectedKeys_) objects.insert(key.first);
      BeginEdit(objects);
      drag_ = keys.shift ? DragKind::KeyTime : DragKind::KeyValue;
      selectionAtPress_ = selectedKeys_;
      return;
    }
    if (OverTimeLine(x, y)) {
      drag_ = DragKind::TimeLine;
      return;
    }
  }
  drag_ = DragKind::Select;
  rubber_ = DragRect(x, y);
}

void TimelineEditor::Drag(int32_t x, int32_t y, PointerKeys keys) {
  const int32_t dx = x - lastAt_.x;
  lastAt_ = {x, y};
  switch (drag_) {
    case DragKind::None:
      return;
    case DragKind::Zoom: {
      if (dx == 0) return;
      const double perPixel = timeSpan_ / std::max(1, plot_.right - plot_.left - 2);
      const double fixed = timeOrigin_ + (pressAt_.x - plot_.left - 1) * perPixel;
      const double scale = dx < 0 ? 1 + std::abs(dx) / 180.0 : std::max(0.05, 1 - std::abs(dx) * 0.004);
      timeSpan_ *= scale;
      timeOrigin_ = fixed - (fixed - timeOrigin_) * scale;
      return;
    }
    case DragKind::Pan: {
      const double perPixel = timeSpan_ / std::max(1, plot_.right - plot_.left - 2);
      timeOrigin_ = originAtPress_ - (x - pressAt_.x) * perPixel;
      return;
    }
    case DragKind::Select:
      rubber_ = DragRect(x, y);
      SelectInside(*rubber_);
      return;
    case DragKind::KeyValue:
      SetValues(y);
      return;
    case DragKind::KeyTime:
      MoveKeysInTime(x);
      return;
    case DragKind::Tangent:
      SetTangent(y, keys.shift);
      return;
    case DragKind::TimeLine:
      MoveCurrentTime(x);
      return;
  }
}

void TimelineEditor::Release(int32_t x, int32_t y, PointerKeys keys) {
  if (drag_ != DragKind::None && (x != lastAt_.x || y != lastAt_.y)) Drag(x, y, keys);
  rubber_.reset();
  if (editing_) EndEdit();
  drag_ = DragKind::None;
}

void TimelineEditor::Cancel() {
  if (drag_ != DragKind::Select) return;
  rubber_.reset();
  selectedKeys_ = selectionAtPress_;
  drag_ = DragKind::None;
}

std::vector<keyframe::TrackKey> TimelineEditor::CopyKeys(uint32_t object) const {
  const keyframe::ObjectTrack* track = animation_.FindTrack(object);
  return track ? track->Keys() : std::vector<keyframe::TrackKey>{};
}

void TimelineEditor::BeginEdit(const std::set<uint32_t>& objects) {
  Edit edit;
  for (const uint32_t object : objects) edit.before[object] = CopyKeys(object);
  editing_ = std::move(edit);
}

void TimelineEditor::EndEdit() {
  if (changed_) {
    for (auto& [object, keys] : editing_->before) editing_->after[object] = CopyKeys(object);
    undo_.push_back(std::move(*editing_));
    redo_.clear();
  }
  editing_.reset();
}

void TimelineEditor::SetValues(int32_t y) {
  const double value = ValueOfY(y);
  for (const auto& [object, time] : selectedKeys_) {
    keyframe::ObjectTrack* track = animation_.FindTrack(object);
    keyframe::KeySnapshot* key = track ? track->FindKey(time) : nullptr;
    // Keys of other objects take the value where they animate the same kind of parameter.
    if (!key || grab_.param >= track->ParamCount() ||
        track->ParamType(grab_.param) != animation_.FindTrack(grab_.object)->ParamType(grab_.param)) {
      continue;
    }
    keyframe::KeyParam param = key->GetParam(grab_.param);
    Component(param.value, grab_.component) = value;
    key->SetParam(grab_.param, param);
    track->RebuildCurves();
  }
  changed_ = true;
  AfterChange();
}

void TimelineEditor::SetTangent(int32_t y, bool shift) {
  keyframe::ObjectTrack* track = animation_.FindTrack(grab_.object);
  keyframe::KeySnapshot* key = track ? track->FindKey(grab_.time) : nullptr;
  if (!key) return;
  keyframe::KeyParam param = key->GetParam(grab_.param);
  const double slope = (ValueOfY(y) - Component(param.value, grab_.component)) * kHandleScale;
  // Without Shift both sides keep one straight tangent through the key.
  if (grab_.outgoing) {
    Component(param.outTangent, grab_.component) = slope;
    if (!shift) Component(param.inTangent, grab_.component) = slope;
  } else {
    Component(param.inTangent, grab_.component) = -slope;
    if (!shift) Component(param.outTangent, grab_.component) = -slope;
  }
  key->SetParam(grab_.param, param);
  track->RebuildCurves();
  changed_ = true;
  AfterChange();
}

void TimelineEditor::MoveKeysInTime(int32_t x) {
  const double perPixel = timeSpan_ / std::max(1, plot_.right - plot_.left - 2);
  // Keys move by whole view units: frames when the view counts frames.
  const int32_t shift = unit_.Ticks(std::round((x - pressAt_.x) * perPixel));
  Restore(editing_->before);
  std::map<uint32_t, std::vector<keyframe::TrackKey>> moving;
  for (const auto& [object, time] : selectionAtPress_) {
    keyframe::ObjectTrack* track = animation_.FindTrack(object);
    keyframe::KeySnapshot taken;
    if (track && track->TakeKey(time, taken)) moving[object].push_back({time + shift, std::move(taken)});
  }
  bool fits = true;
  for (auto& [object, keys] : moving) {
    keyframe::ObjectTrack* track = animation_.FindTrack(object);
    for (keyframe::TrackKey& key : keys) fits = track->InsertKey(key.time, std::move(key.snapshot)) && fits;
  }
  // A key may not land on another key: the keys stay where they were.
  if (!fits || shift == 0) {
    Restore(editing_->before);
    selectedKeys_ = selectionAtPress_;
  } else {
    selectedKeys_.clear();
    for (const auto& [object, time] : selectionAtPress_) selectedKeys_.insert({object, time + shift});
    for (const auto& [object, keys] : moving) animation_.FindTrack(object)->RebuildCurves();
  }
  changed_ = fits && shift != 0;
  AfterChange();
}

void TimelineEditor::MoveCurrentTime(int32_t x) {
  const int32_t time = TicksOfX(std::clamp(x, plot_.left + 1, plot_.right - 1));
  animation_.StoreCurrentTime(time);
  if (updateHost_) {
    animation_.GoToTime(time, true);
    animation_.Host().RefreshViews();
  }
}

void TimelineEditor::Restore(const std::map<uint32_t, std::vector<keyframe::TrackKey>>& keys) {
  for (const auto& [object, saved] : keys) {
    keyframe::ObjectTrack* track = animation_.FindTrack(object);
    if (!track) continue;
    track->TakeAllKeys();
    for (const keyframe::TrackKey& key : saved) track->InsertKey(key.time, key.snapshot);
    track->RebuildCurves();
  }
}

void TimelineEditor::AfterChange() {
  animation_.RebuildKeyTimes();
  if (!updateHost_) return;
  animation_.GoToTime(animation_.CurrentTime(), true);
  animation_.Host().RefreshViews();
}

bool TimelineEditor::Undo() {
  if (undo_.empty() || drag_ != DragKind::None) return false;
  Restore(undo_.back().before);
  redo_.push_back(std::move(undo_.back()));
  undo_.pop_back();
  AfterChange();
  return true;
}

bool TimelineEditor::Redo() {
  if (redo_.empty() || drag_ != DragKind::None) return false;
  Restore(redo_.back().after);
  undo_.push_back(std::move(redo_.back()));
  redo_.pop_back();
  AfterChange();
  return true;
}

int32_t TimelineEditor::OpeningRow() const {
  const auto moves = [&](const TimelineRow& row) {
    const keyframe::ObjectTrack* track = KeyedTrack(row);
    if (!track) return false;
    const keyframe::ParamValue first = track->Keys().front().snapshot.GetValue(row.param);
    return std::any_of(track->Keys().begin(), track->Keys().end(), [&](const keyframe::TrackKey& key) {
      return !(key.snapshot.GetValue(row.param) == first);
    });
  };
  const uint32_t selected = animation_.SelectedObject();
  int32_t moving = -1;
  int32_t first = -1;
  for (size_t index = 0; index < rows_.size(); ++index) {
    const TimelineRow& row = rows_[index];
    const int32_t at = static_cast<int32_t>(index);
    if (row.param < 0) continue;
    if (moves(row)) {
      if (row.object == selected) return at;
      if (moving < 0) moving = at;
    }
    if (first < 0) first = at;
  }
  return moving >= 0 ? moving : first;
}

std::vector<std::string> TimelineEditor::StatusParts() const {
  std::string time;
  try {
    time = keyframe::FormatTime(format_, animation_.CurrentTime());
  } catch (const std::invalid_argument&) {
    time = std::to_string(animation_.CurrentTime());
  }
  const std::string keys =
      std::to_string(selectedKeys_.size()) + (selectedKeys_.size() == 1 ? " key" : " keys");
  const std::string hint = curveMode_ ? "Drag: value, Shift-drag a key: time, Alt: zoom, Ctrl: pan"
                                      : "Drag: select keys, Alt: zoom, Ctrl: pan";
  return {time, keys, hint};
}

}  // namespace lumetra::ui
