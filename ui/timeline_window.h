#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace lumetra::ui {

// Controls and strings of the timeline editor (dialog 4034).
enum TimelineControl : uint32_t {
  kOnlyKeyedButton = 4005,
  kEditKeysButton = 4006,
  kEditCurvesButton = 4007,
  kUpdateHostButton = 4008,
  kTimelineTree = 4053,
};
inline constexpr char kTimelineCaption[] = "Timeline Editor";

// The pictures of tree items: object types, texture node kinds and parameter types.
enum class TreePicture : int32_t {
  Object,
  Group,
  Light,
  Camera,
  CsgUnion,
  CsgIntersection,
  CsgDifference,
  CsgMerge,
  TextureNode,
  TextureLeaf,  // a texture node kind shown without a label of its own
  Scalar,
  Vector,
  Color,
  Rotation,
  Scale,
};

// One item of the tree in the order it is shown: children follow their parent with a
// depth one greater.
struct TimelineRow {
  std::string label;
  TreePicture picture = TreePicture::Object;
  int32_t depth = 0;
  uint32_t object = 0;
  int32_t param = -1;  // -1 for the object's own item
};

// What the plot draws, in the plot widget's pixels. Colours are 0xRRGGBB.
struct PlotPoint {
  int32_t x = 0;
  int32_t y = 0;
};
struct PlotPolyline {
  uint32_t colour = 0;
  std::vector<PlotPoint> points;
};
struct PlotCircle {
  PlotPoint centre;
  uint32_t outline = 0;
  uint32_t fill = 0xffffff;
};
struct PlotLabel {
  int32_t at = 0;  // x on the time ruler, y on the value axis
  std::string text;
};
struct PlotRect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;
};
struct PlotPicture {
  PlotRect ruler;
  PlotRect plot;
  std::vector<PlotLabel> timeLabels;
  std::vector<PlotLabel> valueLabels;  // the curve view only
  std::vector<PlotPolyline> lines;     // curves, and handles joined to their keys
  std::vector<PlotCircle> circles;     // keys and handles
  std::optional<int32_t> timeLineX;    // the current time (curve view)
  std::optional<PlotRect> selection;   // the selection rectangle being dragged
};

struct PointerKeys {
  bool shift = false;
  bool control = false;
  bool alt = false;
};

// The editor behind a timeline window: the tree's rows, the two views' pictures and what
// the user does to them. The window asks again for everything after each call.
class TimelineController {
 public:
  virtual ~TimelineController() = default;

  virtual const std::vector<TimelineRow>& Rows() const = 0;
  // Button 4005: only keyed objects and nodes enter the tree; the rows are made again.
  virtual void SetOnlyKeyed(bool on) = 0;
  virtual bool OnlyKeyed() const = 0;
  // Buttons 4006/4007: true shows the curve view, false the key view.
  virtual void SetCurveMode(bool curves) = 0;
  virtual bool CurveMode() const = 0;
  // Button 4008: every edit poses the host scene and refreshes its views.
  virtual void SetUpdateHost(bool on) = 0;
  virtual bool UpdateHost() const = 0;

  // The tree's selected rows, and its visible rows from the first shown one on.
  virtual void SetSelectedRows(const std::vector<int32_t>& rows) = 0;
  virtual void SetVisibleRows(const std::vector<int32_t>& rows) = 0;

  // The picture of the current view at its size.
  virtual PlotPicture Picture(int32_t width, int32_t height) = 0;
  // The pointer over the view: true where a press would grab the current-time line.
  virtual bool OverTimeLine(int32_t x, int32_t y) const = 0;
  // The left button and its drag; Cancel drops a selection rectangle (Esc).
  virtual void Press(int32_t x, int32_t y, PointerKeys keys) = 0;
  virtual void Drag(int32_t x, int32_t y, PointerKeys keys) = 0;
  virtual void Release(int32_t x, int32_t y, PointerKeys keys) = 0;
  virtual void Cancel() = 0;

  // Edits made while the editor is open, taken back and made again.
  virtual bool Undo() = 0;
  virtual bool Redo() = 0;

  // The status bar's three parts.
  virtual std::vector<std::string> StatusParts() const = 0;

  // The row the tree opens with selected, or -1.
  virtual int32_t OpeningRow() const = 0;
  // The view's pixel geometry as of its last picture: times in ticks, values on the
  // curve view's axis.
  virtual int32_t TicksOfX(int32_t x) const = 0;
  virtual int32_t XOfTicks(int32_t ticks) const = 0;
  virtual int32_t YOfValue(double value) const = 0;
};

}  // namespace lumetra::ui
