#include "ui/timeline_editor.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "abi/object_params.h"
#include "abi/texture_params.h"
#include "keyframe/testing/host_fixture.h"
#include "ui/timeline_axes.h"
#include "ui/timeline_tree.h"

namespace lumetra::ui {
namespace {

using keyframe::ParamValue;
using keyframe::testing::HostFixture;

TEST(TimelineAxes, NiceNumbersRoundOrCeilToOneTwoFive) {
  EXPECT_DOUBLE_EQ(Nice(1, false), 1);
  EXPECT_DOUBLE_EQ(Nice(1.01, false), 2);
  EXPECT_DOUBLE_EQ(Nice(2.5, false), 5);
  EXPECT_DOUBLE_EQ(Nice(5.5, false), 10);
  EXPECT_DOUBLE_EQ(Nice(1.4, true), 1);
  EXPECT_DOUBLE_EQ(Nice(1.5, true), 2);
  EXPECT_DOUBLE_EQ(Nice(6.9, true), 5);
  EXPECT_DOUBLE_EQ(Nice(7, true), 10);
  EXPECT_DOUBLE_EQ(Nice(0.034, false), 0.05);
}

TEST(TimelineAxes, LabelStepsAndTheirFormats) {
  struct Case {
    double lo, hi;
    double step;
    const char* label;  // of the value 1 step above the first label
  };
  const Case cases[] = {
      {0.3, 9.7, 0.5, "0.5"},      // one decimal
      {0, 400, 20, "20"},          // none
      {0, 1e-3, 5e-5, "0.00005"},  // the most decimals written out
      {0, 1e-4, 5e-6, "5.0E-06"},  // six decimals: exponent form
      {0, 1e7, 5e5, "500000"},     // the largest step written out
      {0, 1e8, 5e6, "5.0E+06"},    // a million and more: exponent form
  };
  for (const Case& c : cases) {
    const AxisLabels labels = LabelsFor(c.lo, c.hi);
    EXPECT_DOUBLE_EQ(labels.step, c.step) << c.lo << ".." << c.hi;
    EXPECT_EQ(labels.Format(labels.first + labels.step), c.label) << c.lo << ".." << c.hi;
  }
  const AxisLabels halves = LabelsFor(0.3, 9.7);
  EXPECT_DOUBLE_EQ(halves.first, 0);
  EXPECT_DOUBLE_EQ(halves.last, 10);
  EXPECT_EQ(halves.Format(-0.0), "0.0");
  const AxisLabels negative = LabelsFor(-37, 1);
  EXPECT_DOUBLE_EQ(negative.step, 2);
  EXPECT_DOUBLE_EQ(negative.first, -38);
  EXPECT_DOUBLE_EQ(negative.last, 2);
}

TEST(TimelineAxes, ValueSpanLeavesATenthFreeAndTimesFollowTheDisplay) {
  const ValueSpan span = ValueSpanFor(2, 7);
  EXPECT_DOUBLE_EQ(span.bottom, 1.5);
  EXPECT_DOUBLE_EQ(span.span, 6);
  const ValueSpan flat = ValueSpanFor(3, 3);
  EXPECT_GT(flat.span, 0);
  EXPECT_LT(flat.bottom, 3);
  EXPECT_GT(flat.bottom + flat.span, 3);

  const TimeUnit frames(keyframe::TimeFormat{keyframe::TimeDisplay::Smpte, 4, 30, 1});
  EXPECT_EQ(frames.TicksPerUnit(), 160);
  EXPECT_EQ(frames.Ticks(2.99), 478);
  EXPECT_EQ(frames.Ticks(-0.5), -80);
  EXPECT_DOUBLE_EQ(frames.ViewTime(240), 1.5);
  const TimeUnit ticks(keyframe::TimeFormat{keyframe::TimeDisplay::FrameTicks, 4, 30, 1});
  EXPECT_EQ(ticks.Ticks(2.99), 2);
}

TEST(TimelineTree, UnnamedTextureNodesAreLabelledByKindAndPattern) {
  HostFixture fixture;
  host::SceneObject& material = fixture.scene.Add(abi::kTypeTextureNode, abi::kMaterialList);
  material.name = "Chrome";
  material.node.kind = abi::kNodeMaterial;
  const auto node = [&](uint32_t kind) -> host::SceneObject& {
    host::SceneObject& object = fixture.scene.Add(abi::kTypeTextureNode, abi::kMaterialList, material.id);
    object.node.kind = kind;
    return object;
  };
  node(abi::kNodeTextureMap).node.params.pattern.pattern = 7;
  node(abi::kNodeTextureMap).node.params.pattern.pattern = 26;
  node(abi::kNodePatternPigment).node.params.pattern.pattern = 3;
  node(abi::kNodeBlockPigment).node.params.block.block = 2;
  node(abi::kNodeMapEntry).node.params.mapEntry.value = 0.25;
  node(abi::kNodeBlockPigmentOfPigments);
  node(43);  // unknown kinds stay out
  node(abi::kNodeScattering);
  keyframe::SceneAnimation animation(fixture.host);

  const std::vector<TimelineRow> rows = BuildTimelineRows(animation, false);
  std::vector<std::string> labels;
  for (const TimelineRow& row : rows) labels.push_back(row.label);
  EXPECT_EQ(labels, (std::vector<std::string>{"Chrome", "[texture map marble]", "[texture map]", "[gradient]",
                                              "[brick]", "0.25", "", "[scattering]"}));
  EXPECT_EQ(rows[0].depth, 0);
  EXPECT_EQ(rows[1].depth, 1);
  EXPECT_EQ(rows[1].picture, TreePicture::TextureNode);
  EXPECT_EQ(rows[6].picture, TreePicture::TextureLeaf);
}

// A ball keyed at two times of a four-second animation, cubic, open in the editor.
class TimelineEditorTest : public ::testing::Test {
 protected:
  static constexpr int32_t kWidth = 406;
  static constexpr int32_t kHeight = 220;

  void SetUp() override {
    animation_.SetRange(0, 9600);
    ball_ = &fixture_.Add(abi::kTypeSphere, "Ball");
    KeyBall(2400, {1, 2, 3});
    KeyBall(7200, {5, 6, 3});
    editor_ = std::make_unique<TimelineEditor>(animation_, format_);
    const std::vector<TimelineRow>& rows = editor_->Rows();
    const auto row = std::find_if(rows.begin(), rows.end(), [&](const TimelineRow& r) {
      return r.object == ball_->id && r.param >= 0 &&
             Track().ParamType(r.param) == keyframe::ValueType::Translation;
    });
    ASSERT_NE(row, rows.end()) << "the ball's position has no row";
    positionRow_ = static_cast<int32_t>(row - rows.begin());
    position_ = row->param;
    editor_->SetSelectedRows({positionRow_});
    editor_->Picture(kWidth, kHeight);
  }

  void KeyBall(int32_t time, std::array<double, 3> at) {
    std::copy(at.begin(), at.end(), ball_->params.translate);
    animation_.SetKeys(ball_->id, time, static_cast<int32_t>(keyframe::Interpolation::Cubic), false);
  }
  keyframe::ObjectTrack& Track() { return *animation_.FindTrack(ball_->id); }
  keyframe::KeyParam Position(int32_t time) { return Track().FindKey(time)->GetParam(position_); }
  PlotPoint KeyAt(int32_t time, int component) {
    const ParamValue value = Position(time).value;
    return {editor_->XOfTicks(time), editor_->YOfValue(component == 0   ? value.x
                                                       : component == 1 ? value.y
                                                                        : value.z)};
  }
  void DragFrom(PlotPoint from, PlotPoint to, PointerKeys keys = {}) {
    editor_->Press(from.x, from.y, keys);
    editor_->Drag((from.x + to.x) / 2, (from.y + to.y) / 2, keys);
    editor_->Drag(to.x, to.y, keys);
    editor_->Release(to.x, to.y, keys);
  }

  HostFixture fixture_;
  keyframe::SceneAnimation animation_{fixture_.host};
  keyframe::TimeFormat format_{keyframe::TimeDisplay::Frames, 4, 30, 1};  // 160 ticks a frame
  host::SceneObject* ball_ = nullptr;
  std::unique_ptr<TimelineEditor> editor_;
  int32_t positionRow_ = -1;
  int32_t position_ = -1;
};

TEST_F(TimelineEditorTest, OpensOnAMovingParameterOfTheSelectedObjectFirst) {
  EXPECT_EQ(editor_->OpeningRow(), positionRow_) << "the ball's rotation comes first but does not move";
  host::SceneObject& box = fixture_.Add(abi::kTypeBox, "Box");
  for (const int32_t time : {0, 4800}) {
    box.params.translate[1] = time / 4800.0;
    animation_.SetKeys(box.id, time, static_cast<int32_t>(keyframe::Interpolation::Linear), false);
  }
  TimelineEditor editor(animation_, format_);
  const auto rowOf = [&](uint32_t object, int32_t param) {
    const std::vector<TimelineRow>& rows = editor.Rows();
    return static_cast<int32_t>(
        std::find_if(rows.begin(), rows.end(),
                     [&](const TimelineRow& row) { return row.object == object && row.param == param; }) -
        rows.begin());
  };
  ASSERT_LT(rowOf(box.id, position_), static_cast<int32_t>(editor.Rows().size()));
  const int32_t ballFirst = rowOf(ball_->id, position_);
  const int32_t boxFirst = rowOf(box.id, position_);
  EXPECT_EQ(editor.OpeningRow(), std::min(ballFirst, boxFirst)) << "nothing selected: the first that moves";
  fixture_.scene.selected = box.id;
  EXPECT_EQ(editor.OpeningRow(), boxFirst);
  fixture_.scene.selected = 0;
  for (const int32_t time : {0, 4800}) animation_.FindTrack(box.id)->FindKey(time)->SetParam(position_, {});
  for (const int32_t time : {2400, 7200})
    animation_.FindTrack(ball_->id)->FindKey(time)->SetParam(position_, {});
  EXPECT_EQ(editor.OpeningRow(), rowOf(ball_->id, 0)) << "none moves: the first parameter";
}

TEST_F(TimelineEditorTest, TheCurveIsDrawnAsPosingWritesItOneSampleAColumn) {
  const PlotPicture picture = editor_->Picture(kWidth, kHeight);
  ASSERT_EQ(picture.lines.size(), 3u + 2 * 3);  // three curves, and a handle pair a component a key
  const PlotPolyline& x = picture.lines[0];
  EXPECT_EQ(x.colour, 0xff0000u);
  EXPECT_EQ(picture.lines[1].colour, 0x00a000u);
  EXPECT_EQ(x.points.size(), static_cast<size_t>(picture.plot.right - picture.plot.left - 1));
  for (const size_t column : {size_t{50}, size_t{200}, size_t{330}}) {
    const PlotPoint point = x.points[column];
    animation_.GoToTime(editor_->TicksOfX(point.x), false);
    EXPECT_NEAR(point.y, editor_->YOfValue(ball_->params.translate[0]), 1) << "column " << column;
  }
  // The values fill the plot but a tenth of their range above and below.
  EXPECT_NEAR(editor_->YOfValue(6),
              picture.plot.top + 1 + (picture.plot.bottom - picture.plot.top - 2) / 12.0, 1);
  ASSERT_TRUE(picture.timeLineX);
  EXPECT_EQ(*picture.timeLineX, editor_->XOfTicks(0));
  ASSERT_FALSE(picture.timeLabels.empty());
  EXPECT_EQ(picture.timeLabels.front().text, "0");  // frames
  EXPECT_EQ(picture.timeLabels.front().at, picture.plot.left + 1);
}

TEST_F(TimelineEditorTest, TangentDragsSetBothSidesOrWithShiftOnlyOne) {
  const PlotPoint key = KeyAt(2400, 0);
  DragFrom({key.x + TimelineEditor::kHandleReach, key.y}, {key.x + TimelineEditor::kHandleReach, key.y - 20});
  const double slope = (editor_->ValueOfY(key.y - 20) - 1) * 15;
  keyframe::KeyParam param = Position(2400);
  EXPECT_DOUBLE_EQ(param.outTangent.x, slope);
  EXPECT_DOUBLE_EQ(param.inTangent.x, slope);
  EXPECT_EQ(param.outTangent.y, 0);
  EXPECT_EQ(param.inTangent.z, 0);

  // The incoming handle now lies below-left by the slope; Shift drags it alone.
  const PlotPoint later = KeyAt(7200, 1);
  DragFrom({later.x - TimelineEditor::kHandleReach, later.y},
           {later.x - TimelineEditor::kHandleReach, later.y + 30}, {.shift = true});
  param = Position(7200);
  EXPECT_DOUBLE_EQ(param.inTangent.y, -(editor_->ValueOfY(later.y + 30) - 6) * 15);
  EXPECT_EQ(param.outTangent.y, 0);
  EXPECT_EQ(param.inTangent.x, 0);
  EXPECT_EQ(Position(2400).outTangent.x, slope) << "the other key keeps its tangents";
}

TEST_F(TimelineEditorTest, AValueDragSetsTheComponentOfEverySelectedKeyAndUndoGivesTheKeysBack) {
  const std::vector<keyframe::TrackKey> before = Track().Keys();
  // Both keys in a selection rectangle (drawn from the right: the time line stands at the
  // left), then the first one's x dragged.
  const PlotRect plot = editor_->Picture(kWidth, kHeight).plot;
  DragFrom({plot.right - 2, plot.bottom - 2}, {plot.left + 10, plot.top + 2});
  EXPECT_EQ(editor_->SelectedKeys().size(), 2u);
  const PlotPoint key = KeyAt(2400, 0);
  DragFrom(key, {key.x + 1, key.y - 25});
  const double value = editor_->ValueOfY(key.y - 25);
  EXPECT_DOUBLE_EQ(Position(2400).value.x, value);
  EXPECT_DOUBLE_EQ(Position(7200).value.x, value);
  EXPECT_EQ(Position(2400).value.y, 2);
  EXPECT_EQ(Position(7200).value.y, 6);

  ASSERT_TRUE(editor_->Undo());
  ASSERT_EQ(Track().Keys().size(), before.size());
  for (size_t i = 0; i < before.size(); ++i) {
    EXPECT_EQ(Track().Keys()[i].time, before[i].time);
    for (int p = 0; p < Track().ParamCount(); ++p) {
      EXPECT_EQ(Track().Keys()[i].snapshot.GetValue(p), before[i].snapshot.GetValue(p))
          << "key " << i << " param " << p;
    }
  }
  EXPECT_FALSE(editor_->Undo()) << "the selection is no edit";
  ASSERT_TRUE(editor_->Redo());
  EXPECT_DOUBLE_EQ(Position(7200).value.x, value);
  EXPECT_FALSE(editor_->Redo());
}

TEST_F(TimelineEditorTest, EditsPoseTheHostOnlyWithUpdatingOn) {
  const PlotPoint key = KeyAt(2400, 0);
  const int refreshes = fixture_.Log().refreshes;
  editor_->SetUpdateHost(false);
  DragFrom(key, {key.x, key.y - 10});
  EXPECT_EQ(fixture_.Log().refreshes, refreshes);
  EXPECT_EQ(ball_->params.translate[0], 5) << "the ball stays as last keyed";
  editor_->SetUpdateHost(true);
  ASSERT_TRUE(editor_->Undo());
  EXPECT_GT(fixture_.Log().refreshes, refreshes);
  EXPECT_DOUBLE_EQ(ball_->params.translate[0], 1) << "posed at the current time, before the first key";
}

TEST_F(TimelineEditorTest, DraggingTheCurrentTimeLinePosesTheScene) {
  const PlotRect plot = editor_->Picture(kWidth, kHeight).plot;
  const int32_t lineX = editor_->XOfTicks(0);
  ASSERT_TRUE(editor_->OverTimeLine(lineX + 2, plot.top + 50));
  EXPECT_FALSE(editor_->OverTimeLine(lineX + 3, plot.top + 50));
  const int refreshes = fixture_.Log().refreshes;
  const int32_t to = editor_->XOfTicks(4800);
  DragFrom({lineX + 1, plot.top + 50}, {to, plot.top + 50});
  EXPECT_EQ(animation_.CurrentTime(), editor_->TicksOfX(to));
  EXPECT_NEAR(animation_.CurrentTime(), 4800, 30);
  EXPECT_GT(ball_->params.translate[0], 1);
  EXPECT_LT(ball_->params.translate[0], 5);
  EXPECT_GT(fixture_.Log().refreshes, refreshes);
  EXPECT_EQ(*editor_->Picture(kWidth, kHeight).timeLineX, to);
}

TEST_F(TimelineEditorTest, ShiftDraggingAKeyMovesItByWholeFramesButNeverOntoAnother) {
  const PlotPoint key = KeyAt(2400, 0);
  DragFrom(key, {key.x + 20, key.y + 40}, {.shift = true});  // 20 px are three frames
  ASSERT_EQ(Track().Keys().size(), 2u);
  EXPECT_EQ(Track().Keys()[0].time, 2400 + 3 * 160);
  EXPECT_EQ(Track().Keys()[0].snapshot.GetValue(position_).x, 1) << "the value stays";
  EXPECT_EQ(editor_->SelectedKeys(), (std::set<TimelineEditor::KeyRef>{{ball_->id, 2880}}));

  const PlotPoint moved = KeyAt(2880, 0);
  DragFrom(moved, {editor_->XOfTicks(7200), moved.y}, {.shift = true});
  EXPECT_EQ(Track().Keys()[0].time, 2880);
  EXPECT_EQ(Track().Keys()[1].time, 7200);
  ASSERT_TRUE(editor_->Undo());
  EXPECT_EQ(Track().Keys()[0].time, 2400);
}

TEST_F(TimelineEditorTest, TheViewOpensOnTheRangeWidenedToEveryKey) {
  EXPECT_DOUBLE_EQ(editor_->TimeOrigin(), 0);
  EXPECT_DOUBLE_EQ(editor_->TimeSpan(), 60);  // frames
  KeyBall(12000, {0, 0, 0});
  const TimelineEditor wider(animation_, format_);
  EXPECT_DOUBLE_EQ(wider.TimeSpan(), 75);
}

TEST_F(TimelineEditorTest, AltZoomsAboutThePressAndCtrlPans) {
  const double span = editor_->TimeSpan();
  const int32_t x = editor_->XOfTicks(4800);
  editor_->Press(x, 100, {.alt = true});
  editor_->Drag(x - 18, 100, {.alt = true});
  EXPECT_DOUBLE_EQ(editor_->TimeSpan(), span * 1.1);
  editor_->Drag(x + 7, 100, {.alt = true});
  EXPECT_DOUBLE_EQ(editor_->TimeSpan(), span * 1.1 * (1 - 25 * 0.004));
  editor_->Release(x + 7, 100, {.alt = true});
  EXPECT_NEAR(editor_->TicksOfX(x), 4800, 40) << "the pressed time stays under the pointer";

  const double origin = editor_->TimeOrigin();
  const double perPixel = editor_->TimeSpan() / (kWidth - 6 - 2);
  DragFrom({200, 100}, {150, 100}, {.control = true});
  EXPECT_NEAR(editor_->TimeOrigin(), origin + 50 * perPixel, 1e-9);
}

TEST_F(TimelineEditorTest, TheKeyViewDrawsRowsOfKeysAndSelectsWithARectangleThatEscDrops) {
  editor_->SetCurveMode(false);
  editor_->SetVisibleRows({0, positionRow_});
  PlotPicture picture = editor_->Picture(kWidth, kHeight);
  ASSERT_EQ(picture.circles.size(), 4u);  // both rows belong to the ball
  EXPECT_EQ(picture.circles[0].centre.y, picture.plot.top + 10);
  EXPECT_EQ(picture.circles[2].centre.y, picture.plot.top + 30);
  EXPECT_FALSE(picture.timeLineX);
  EXPECT_TRUE(picture.valueLabels.empty());

  const int32_t first = editor_->XOfTicks(2400);
  editor_->Press(first - 5, picture.plot.top + 2, {});
  editor_->Drag(first + 5, picture.plot.top + 15, {});
  EXPECT_EQ(editor_->SelectedKeys(), (std::set<TimelineEditor::KeyRef>{{ball_->id, 2400}}));
  picture = editor_->Picture(kWidth, kHeight);
  ASSERT_TRUE(picture.selection);
  EXPECT_EQ(picture.circles[0].fill, 0xff0000u);
  EXPECT_EQ(picture.circles[1].fill, 0xffffffu);
  editor_->Cancel();
  EXPECT_TRUE(editor_->SelectedKeys().empty());
  EXPECT_FALSE(editor_->Picture(kWidth, kHeight).selection);
  EXPECT_EQ(Track().Keys()[0].time, 2400) << "the key view moves nothing";
}

TEST(TimelineTree, OnlyKeyedLeavesUnkeyedObjectsOutButKeepsTheirKeyedChildren) {
  HostFixture fixture;
  host::SceneObject& group = fixture.Add(abi::kTypeGroup, "Shelf");
  const uint32_t groupId = group.id;
  host::SceneObject& cup = fixture.Add(abi::kTypeSphere, "Cup", groupId);
  fixture.Add(abi::kTypeBox, "Plate", groupId);
  fixture.Add(abi::kTypeBox, "Floor");
  keyframe::SceneAnimation animation(fixture.host);
  animation.SetKeys(cup.id, 0, 1, false);

  const auto objects = [](const std::vector<TimelineRow>& rows) {
    std::vector<std::pair<std::string, int32_t>> shown;
    for (const TimelineRow& row : rows) {
      if (row.param < 0) shown.emplace_back(row.label, row.depth);
    }
    return shown;
  };
  using Shown = std::vector<std::pair<std::string, int32_t>>;
  EXPECT_EQ(objects(BuildTimelineRows(animation, false)),
            (Shown{{"Shelf", 0}, {"Cup", 1}, {"Plate", 1}, {"Floor", 0}}));
  const std::vector<TimelineRow> keyed = BuildTimelineRows(animation, true);
  EXPECT_EQ(objects(keyed), (Shown{{"Cup", 0}}));
  ASSERT_GT(keyed.size(), 1u) << "the keyed object's parameters follow it";
  EXPECT_EQ(keyed[1].depth, 1);
  EXPECT_EQ(keyed[1].object, cup.id);
}

}  // namespace
}  // namespace lumetra::ui
