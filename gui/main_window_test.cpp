#include "gui/main_window.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDoubleSpinBox>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QTimer>
#include <QTreeWidget>
#include <filesystem>
#include <fstream>
#include <thread>

#include "abi/menu_record.h"
#include "abi/scene_events.h"
#include "app/menu_run.h"
#include "gui/active_jobs_window.h"
#include "gui/object_tree.h"
#include "gui/plugin_menu.h"
#include "gui/property_panel.h"
#include "gui/testing/gui_host.h"
#include "gui/view_area.h"
#include "host/bar_site.h"
#include "host/desktop.h"
#include "host/testing/scene_test_support.h"

namespace lumetra::gui {
namespace {

namespace fs = std::filesystem;
using testing::AnswerNextBox;
using testing::Await;
using testing::GuiHost;
using testing::Sent;

TEST_F(GuiHost, ViewsStandAtTheirRecordsAroundThePluginsBarAndFollowTheArea) {
  const host::BarSite& site = host::BarSite::Instance();
  ASSERT_TRUE(site.HasBar());
  const auto check = [&] {
    const QSize area = window_->Views().size();
    const auto& bar = site.BarPlacement();
    // The plug-in put its bar along the bottom of the whole area and the views above it.
    EXPECT_EQ(bar.width, area.width());
    EXPECT_EQ(bar.top + bar.height, area.height());
    int bottom = 0;
    for (int index = 0; index < abi::kViewCount; ++index) {
      const abi::ViewRecord& record = Scene().views[index];
      const SceneView& view = window_->Views().View(index);
      EXPECT_TRUE(view.isVisible());
      EXPECT_EQ(view.geometry(),
                QRect(record.left, record.top, record.right - record.left, record.bottom - record.top));
      EXPECT_EQ(record.areaWidth, static_cast<uint32_t>(area.width()));
      bottom = std::max(bottom, record.bottom);
    }
    EXPECT_EQ(bottom, bar.top);
    EXPECT_EQ(window_->Views().View(3).geometry().right() + 1, area.width());
  };
  check();
  const int widthBefore = window_->Views().width();
  window_->resize(1300, 900);
  QApplication::processEvents();
  ASSERT_GT(window_->Views().width(), widthBefore);
  check();

  // A maximised view alone takes the area above the bar.
  Scene().views[1].flags |= abi::kViewMaximised;
  window_->resize(1200, 850);
  QApplication::processEvents();
  EXPECT_FALSE(window_->Views().View(0).isVisible());
  EXPECT_TRUE(window_->Views().View(1).isVisible());
  EXPECT_EQ(window_->Views().View(1).geometry(),
            QRect(0, 0, window_->Views().width(), site.BarPlacement().top));
  // The plug-in reads the Shift key through the host.
  uint32_t held = 2;
  ASSERT_EQ(window_->Session().Plugin().Scene()->getHostValue(abi::kHostValueShiftKey, &held), 0);
  EXPECT_EQ(held, 0u);
  uint32_t parent = 0;
  ASSERT_EQ(window_->Session().Plugin().Scene()->getHostValue(abi::kHostValueMainWindow, &parent), 0);
  EXPECT_EQ(parent, window_->Views().WindowId());
}

TEST_F(GuiHost, ChoosingAnObjectSelectsItAndTellsThePlugin) {
  EXPECT_EQ(window_->Properties().ObjectId(), Scene().selected);  // the file's selection
  const size_t before = Sent(window_->Session(), abi::kEventSelectionChanged);
  Choose("Crate");
  EXPECT_EQ(Scene().selected, IdOf("Crate"));
  EXPECT_EQ(Sent(window_->Session(), abi::kEventSelectionChanged), before + 1);
  EXPECT_EQ(window_->Session().EventResults().back(),
            (std::pair<int32_t, int32_t>{abi::kEventSelectionChanged, 0}));
  EXPECT_EQ(window_->Properties().ObjectId(), IdOf("Crate"));
  // A camera shows where it stands and looks instead of a transform.
  Choose("Camera");
  EXPECT_EQ(window_->Properties().Row("Position"), nullptr);
  ASSERT_NE(Editor("Location", 2), nullptr);
  EXPECT_EQ(Editor("Location", 2)->value(), -8.0);
  EXPECT_NE(Editor("Fov", 0), nullptr);
}

TEST_F(GuiHost, AnEditChangesTheObjectForThePluginAndMarksTheScene) {
  EXPECT_FALSE(window_->isWindowModified());
  EXPECT_EQ(window_->windowTitle(), "Lumetra - every-kind.json[*]");
  Choose("Funnel");
  const size_t before = Sent(window_->Session(), abi::kEventObjectChanged);
  EditPosition(3.5);
  EXPECT_EQ(Scene().FindByName("Funnel")->params.translate[0], 3.5);
  abi::ParamRecord params{};
  params.version = abi::kParamRecordVersion;
  ASSERT_EQ(window_->Session().Plugin().Scene()->getObjectParams(IdOf("Funnel"), &params), 0);
  EXPECT_EQ(params.translate[0], 3.5);
  EXPECT_EQ(Sent(window_->Session(), abi::kEventObjectChanged), before + 1);
  EXPECT_TRUE(window_->isWindowModified());

  // A kind's own value: the cone's upper radius.
  QWidget* upper = window_->Properties().Row("Upper radius");
  ASSERT_NE(upper, nullptr);
  upper->findChild<QDoubleSpinBox*>()->setValue(0.5);
  EXPECT_EQ(Scene().FindByName("Funnel")->data.shape.cone.upperRadius, 0.5);

  // Values the plug-in stores show in the panel once the host hears of the change.
  params.translate[0] = -2;
  ASSERT_EQ(window_->Session().Plugin().Scene()->setObjectParams(IdOf("Funnel"), &params, 0), 0);
  EXPECT_TRUE(Await([&] { return Editor("Position", 0)->value() == -2; }));
}

TEST_F(GuiHost, SavedScenesOpenAgainAsTheyWereAndNewOnesAreEmpty) {
  Choose("Funnel");
  EditPosition(4.25);
  const QString saved = QString::fromStdString((folder_ / "saved.json").string());
  ASSERT_TRUE(window_->SaveSceneAs(saved));
  EXPECT_FALSE(window_->isWindowModified());
  EXPECT_EQ(window_->windowTitle(), "Lumetra - saved.json[*]");
  const size_t objects = Scene().ObjectCount();

  ASSERT_TRUE(window_->NewScene());
  EXPECT_EQ(Scene().ObjectCount(), 0u);
  EXPECT_EQ(window_->Tree().topLevelItemCount(), 0);
  EXPECT_EQ(window_->windowTitle(), "Lumetra - Untitled[*]");
  EXPECT_EQ(window_->Properties().ObjectId(), 0u);

  ASSERT_TRUE(window_->OpenScene(saved));
  EXPECT_EQ(Scene().ObjectCount(), objects);
  EXPECT_EQ(Scene().FindByName("Funnel")->params.translate[0], 4.25);
  EXPECT_FALSE(window_->isWindowModified());
  EXPECT_NE(window_->Tree().ItemOf(IdOf("Funnel")), nullptr);
  const auto& events = window_->Session().EventResults();
  EXPECT_EQ(Sent(window_->Session(), abi::kEventSceneClosing), 2u);
  EXPECT_EQ(events.back().first, abi::kEventBarShown);  // the views laid out for the new scene
}

TEST_F(GuiHost, ClosingAModifiedSceneAsksAndCancelKeepsIt) {
  Choose("Funnel");
  EditPosition(1.5);
  QString asked;
  AnswerNextBox(QMessageBox::Cancel, &asked);
  EXPECT_FALSE(window_->NewScene());
  EXPECT_EQ(asked, "Save changes to every-kind.json?");
  EXPECT_EQ(Scene().FindByName("Funnel")->params.translate[0], 1.5);

  AnswerNextBox(QMessageBox::Cancel);
  EXPECT_FALSE(window_->close());
  EXPECT_TRUE(window_->isVisible());

  // Yes saves first; the file then holds the edit.
  AnswerNextBox(QMessageBox::Yes);
  ASSERT_TRUE(window_->OpenScene(ScenePath()));
  EXPECT_EQ(Scene().FindByName("Funnel")->params.translate[0], 1.5);

  EditPosition(9);
  AnswerNextBox(QMessageBox::No);
  EXPECT_TRUE(window_->close());
}

TEST_F(GuiHost, ABadFileIsReportedAndTheOpenSceneStays) {
  const fs::path bad = folder_ / "bad.json";
  std::ofstream(bad)
      << R"({"format": "lumetra-scene", "version": 1, "objects": [{"type": "sphere", "radius": 2}]})";
  QString reported;
  AnswerNextBox(QMessageBox::Ok, &reported);
  EXPECT_FALSE(window_->OpenScene(QString::fromStdString(bad.string())));
  EXPECT_TRUE(reported.contains("bad.json")) << reported.toStdString();
  EXPECT_NE(Scene().FindByName("Funnel"), nullptr);
  AnswerNextBox(QMessageBox::Ok, &reported);
  EXPECT_FALSE(window_->MergeScene(QString::fromStdString(bad.string())));
  EXPECT_EQ(Scene().FindByName("sphere"), nullptr);
  EXPECT_FALSE(window_->isWindowModified());
}

TEST_F(GuiHost, AMergedSceneArrivesInTheTreeUnderFreshNames) {
  const size_t before = Scene().ObjectCount();
  ASSERT_TRUE(window_->MergeScene(ScenePath()));
  EXPECT_GT(Scene().ObjectCount(), before);
  ASSERT_NE(Scene().FindByName("Marble Ball 2"), nullptr);
  EXPECT_NE(window_->Tree().ItemOf(IdOf("Marble Ball 2")), nullptr);
  EXPECT_EQ(Sent(window_->Session(), abi::kEventMergeEnds), 2u);  // the event and the notice
  EXPECT_TRUE(window_->isWindowModified());
}

TEST_F(GuiHost, ThePluginsMenuListsItsItemsEnabledAsItSays) {
  PluginMenu& menu = window_->PluginCommands();
  EXPECT_EQ(menu.title().toStdString(), window_->Session().Plugin().Info().name);
  for (const char* text :
       {abi::kMenuTextRender, abi::kMenuTextAnimation, abi::kMenuTextOptions, abi::kMenuTextTimeline}) {
    EXPECT_NE(menu.Item(text), nullptr) << text;
  }
  // Nothing is keyed: no animation to make.
  EXPECT_TRUE(menu.Item(abi::kMenuTextRender)->isEnabled());
  EXPECT_FALSE(menu.Item(abi::kMenuTextAnimation)->isEnabled());
  EXPECT_FALSE(menu.Run(abi::kMenuTextAnimation));
  EXPECT_FALSE(menu.Run("&No such command"));

  // An edit keys the object (at 0, outside animation mode): now there is an animation.
  Choose("Crate");
  EditPosition(2);
  emit menu.aboutToShow();
  EXPECT_TRUE(menu.Item(abi::kMenuTextAnimation)->isEnabled());
}

TEST_F(GuiHost, ActiveJobsListsARenderWindowAndAbortClosesIt) {
  fs::create_directories(folder_ / "out");
  app::ApplyRenderSize(Scene(), "48x36");
  Scene().render.showWindow = 1;  // the window stays until it is closed
  ActiveJobsWindow& jobs = window_->Jobs();
  ASSERT_TRUE(window_->PluginCommands().Run(abi::kMenuTextRender));
  ASSERT_TRUE(Await([&] { return jobs.List().topLevelItemCount() == 1; }));
  QTreeWidgetItem* job = jobs.List().topLevelItem(0);
  EXPECT_TRUE(job->text(0).contains("every-kind")) << job->text(0).toStdString();
  job->setSelected(true);
  jobs.AbortSelected();
  EXPECT_TRUE(Await([&] { return host::Desktop::Instance().OpenCount() == 0; }));
  EXPECT_TRUE(Await([&] { return jobs.List().topLevelItemCount() == 0; }));
}

}  // namespace
}  // namespace lumetra::gui
