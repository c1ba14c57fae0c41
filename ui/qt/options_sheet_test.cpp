#include "ui/qt/options_sheet.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>

#include "ui/qt/testing/fake_options_controller.h"

namespace lumetra::ui::qt {
namespace {

using testing::FakeOptions;

template <typename Widget>
Widget* Find(QWidget* parent, const char* name) {
  auto* widget = parent->findChild<Widget*>(name);
  EXPECT_NE(widget, nullptr) << name;
  return widget;
}

TEST(OptionsSheetDialog, ShowsTheControllersStateOnThePageAsked) {
  FakeOptions options;
  options.state.rendering.method = 3;
  options.state.rendering.shading = 2;
  options.state.rendering.flags[2] = true;
  options.state.rendering.depthEnabled = false;
  options.state.animation.fileFormat = 0;
  options.state.animation.selectEnabled = true;
  options.state.animation.codecText = "Codec : MSVC";
  options.state.animation.qualityText = "Quality: %85   ";
  options.state.edits[static_cast<size_t>(OptionsEdit::EndTime)] = "15";
  OptionsSheetDialog sheet(options, kAnimationPage, nullptr);
  EXPECT_EQ(sheet.findChild<QTabWidget*>()->currentIndex(), kAnimationPage);
  EXPECT_EQ(Find<QComboBox>(&sheet, "RenderMethod")->currentText(), "Scanline");
  EXPECT_EQ(Find<QComboBox>(&sheet, "Shading")->currentText(), "Phong");
  EXPECT_TRUE(Find<QCheckBox>(&sheet, "Transmission")->isChecked());
  EXPECT_FALSE(Find<QLineEdit>(&sheet, "TransparencyDepth")->isEnabled());
  EXPECT_FALSE(Find<QLineEdit>(&sheet, "BaseName")->isEnabled());
  EXPECT_TRUE(Find<QPushButton>(&sheet, "Select")->isEnabled());
  EXPECT_EQ(Find<QLineEdit>(&sheet, "EndTime")->text(), "15");
  EXPECT_EQ(Find<QLabel>(&sheet, "QualityText")->text(), "Quality: %85   ");
  // Showing the state told the controller nothing.
  EXPECT_TRUE(options.calls.empty());
}

TEST(OptionsSheetDialog, HandsTheUsersChangesToTheController) {
  FakeOptions options;
  OptionsSheetDialog sheet(options, kRenderingPage, nullptr);
  Find<QComboBox>(&sheet, "RenderMethod")->setCurrentIndex(4);
  Find<QCheckBox>(&sheet, "Volumes")->click();
  QTest::keyClicks(Find<QLineEdit>(&sheet, "MinimumSteps"), "7");
  Find<QComboBox>(&sheet, "FileFormat")->setCurrentIndex(3);
  EXPECT_TRUE(Find<QLineEdit>(&sheet, "BaseName")->isEnabled());
  EXPECT_FALSE(Find<QPushButton>(&sheet, "Select")->isEnabled());
  Find<QCheckBox>(&sheet, "DropLastFrame")->click();
  const std::vector<std::string> expected{"method 4", "flag 6 1", "edit 2 7", "format 3", "drop 1"};
  EXPECT_EQ(options.calls, expected);
  EXPECT_TRUE(Find<QCheckBox>(&sheet, "Volumes")->isChecked());
}

TEST(OptionsSheetDialog, OkClosesOnlyWhenTheControllerAccepts) {
  FakeOptions options;
  options.accepts = false;
  OptionsSheetDialog sheet(options, kRenderingPage, nullptr);
  sheet.show();
  sheet.accept();
  EXPECT_TRUE(sheet.isVisible());
  options.accepts = true;
  sheet.accept();
  EXPECT_FALSE(sheet.isVisible());
  EXPECT_EQ(sheet.result(), QDialog::Accepted);
  EXPECT_EQ(options.calls, (std::vector<std::string>{"accept", "accept"}));
}

TEST(OptionsSheetDialog, TheJobListsFollowTheJobsAndAbortSendsTheSelection) {
  FakeOptions options;
  options.state.jobs = {{"walk.avi", "Rendering"}, {"still.tga", "Zombie"}};
  OptionsSheetDialog sheet(options, kActiveJobsPage, nullptr);
  auto* names = Find<QListWidget>(&sheet, "JobNames");
  auto* states = Find<QListWidget>(&sheet, "JobStates");
  ASSERT_EQ(names->count(), 2);
  EXPECT_EQ(states->item(1)->text(), "Zombie");
  Find<QPushButton>(&sheet, "Abort")->click();
  names->setCurrentRow(1);
  Find<QPushButton>(&sheet, "Abort")->click();
  EXPECT_EQ(options.calls, (std::vector<std::string>{"abort -1", "abort 1"}));

  options.state.jobs.erase(options.state.jobs.begin());
  options.state.jobs[0].state = "Complete";
  QTest::qWait(OptionsSheetDialog::kJobsRefreshMilliseconds * 3);
  ASSERT_EQ(names->count(), 1);
  EXPECT_EQ(names->item(0)->text(), "still.tga");
  EXPECT_EQ(states->item(0)->text(), "Complete");
}

TEST(CustomRateDialog, ARefusedRateKeepsTheDialogOpen) {
  std::vector<std::string> offered;
  bool accepting = false;
  CustomRateDialog dialog(
      "15.00",
      [&](const std::string& text) {
        offered.push_back(text);
        return accepting;
      },
      nullptr);
  dialog.show();
  auto* rate = Find<QLineEdit>(&dialog, "FrameRateValue");
  EXPECT_EQ(rate->text(), "15.00");
  rate->setText("500");
  dialog.accept();
  EXPECT_TRUE(dialog.isVisible());
  accepting = true;
  rate->setText("29.97");
  dialog.accept();
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(offered, (std::vector<std::string>{"500", "29.97"}));
}

TEST(CompressorDialog, KeepsTheCurrentSettingsAndShowsAnotherCodecsDefaults) {
  const std::vector<CompressorEntry> entries{
      {0x4356534D, "MSVC", "Microsoft Video 1", false, 7500, 15, 300000},
      {0x47504A4D, "MJPG", "Motion JPEG", true, 8000, 1, 0}};
  CompressorDialog dialog(entries, {0x4356534D, 10000, 30, 1000}, nullptr);
  auto* list = Find<QComboBox>(&dialog, "Compressor");
  EXPECT_EQ(list->currentIndex(), 0);
  EXPECT_EQ(Find<QSpinBox>(&dialog, "Quality")->value(), 100);
  EXPECT_FALSE(Find<QSpinBox>(&dialog, "Quality")->isEnabled());
  EXPECT_EQ(Find<QSpinBox>(&dialog, "KeyFrameEvery")->value(), 30);
  list->setCurrentIndex(1);
  EXPECT_EQ(Find<QSpinBox>(&dialog, "Quality")->value(), 80);
  EXPECT_TRUE(Find<QSpinBox>(&dialog, "Quality")->isEnabled());
  EXPECT_EQ(Find<QSpinBox>(&dialog, "KeyFrameEvery")->value(), 1);
  const CompressorChoice choice = dialog.Choice();
  EXPECT_EQ(choice.handler, 0x47504A4Du);
  EXPECT_EQ(choice.quality, 8000);
  EXPECT_EQ(choice.dataRate, 0);
}

}  // namespace
}  // namespace lumetra::ui::qt
