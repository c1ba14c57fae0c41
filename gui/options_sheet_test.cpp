// The plug-in's "Rendering Options" sheet in the host's window, driven as a person drives
// it; what it stores is what the next `lumetra render` renders with.
#include <gtest/gtest.h>

#include <stdlib.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <fstream>
#include <iterator>

#include "gui/options_page.h"
#include "gui/plugin_menu.h"
#include "gui/testing/gui_host.h"
#include "gui/view_area.h"
#include "platform/byte_reader.h"
#include "platform/registry.h"
#include "platform/testing/scratch_directory.h"

namespace lumetra::gui {
namespace {

// Acts on the options sheet as soon as it shows.
void WhenSheetShows(std::function<void(QDialog*)> act) {
  auto* poll = new QTimer(qApp);
  QObject::connect(poll, &QTimer::timeout, [poll, act] {
    auto* sheet = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (!sheet || sheet->objectName() != "RenderingOptions") return;
    poll->stop();
    poll->deleteLater();
    act(sheet);
  });
  poll->start(5);
}

std::string FileBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

class OptionsSheetTest : public testing::GuiHost {
 protected:
  // The plug-in reads and writes the settings of a configuration home of this test's own.
  void SetUp() override {
    const char* old = std::getenv("LUMETRA_CONFIG_HOME");
    if (old) oldHome_ = old;
    setenv("LUMETRA_CONFIG_HOME", home_.Path().c_str(), 1);
    GuiHost::SetUp();
  }
  void TearDown() override {
    GuiHost::TearDown();
    if (oldHome_.empty()) {
      unsetenv("LUMETRA_CONFIG_HOME");
    } else {
      setenv("LUMETRA_CONFIG_HOME", oldHome_.c_str(), 1);
    }
  }

  // `lumetra render` of the scene into `picture` with this test's settings; its exit code.
  int Render(const std::filesystem::path& picture, const QStringList& extra = {}) {
    QProcess lumetra;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("LUMETRA_CONFIG_HOME", QString::fromStdString(home_.Path().string()));
    environment.insert("LUMETRA_PLUGIN", LUMETRA_PLUGIN_PATH);
    lumetra.setProcessEnvironment(environment);
    lumetra.start(LUMETRA_EXECUTABLE,
                  QStringList{"render", ScenePath(), "-o", QString::fromStdString(picture.string()), "--size",
                              "64x48"} +
                      extra);
    if (!lumetra.waitForFinished(120000)) return -1;
    return lumetra.exitCode();
  }

  // The plug-in's settings key in this test's home.
  bool OpenSettings(platform::RegistryKey& key) const {
    const platform::Registry registry(home_.Path(), home_.Path());
    return registry.OpenKey(platform::RegistryRoot::CurrentUser,
                            "Software\\Ostrana\\Zarvel For Windows\\Plugins\\Lumetra",
                            platform::RegistryAccess::Read, key) == platform::ERROR_SUCCESS;
  }

  platform::ScratchDirectory home_;
  std::string oldHome_;
};

TEST_F(OptionsSheetTest, TheAcceptedMethodIsWhatTheNextRenderUses) {
  bool shown = false;
  WhenSheetShows([&](QDialog* sheet) {
    shown = true;
    EXPECT_EQ(sheet->findChild<QTabWidget*>()->currentIndex(), 0) << "the menu opens the first page";
    auto* method = sheet->findChild<QComboBox*>("RenderMethod");
    ASSERT_NE(method, nullptr);
    EXPECT_EQ(method->currentText(), "Raytracing");
    method->setCurrentIndex(0);  // Wireframe
    sheet->accept();
  });
  ASSERT_TRUE(window_->PluginCommands().Run("&Options"));
  ASSERT_TRUE(shown);

  platform::RegistryKey key;
  ASSERT_TRUE(OpenSettings(key));
  uint32_t method = 99;
  ASSERT_EQ(key.QueryDword("RenderMethod", method), platform::ERROR_SUCCESS);
  EXPECT_EQ(method, 0u);

  ASSERT_EQ(Render(folder_ / "stored.png"), 0);
  ASSERT_EQ(Render(folder_ / "wireframe.png", {"--method", "Wireframe"}), 0);
  ASSERT_EQ(Render(folder_ / "traced.png", {"--method", "Raytracing"}), 0);
  EXPECT_EQ(FileBytes(folder_ / "stored.png"), FileBytes(folder_ / "wireframe.png"));
  EXPECT_NE(FileBytes(folder_ / "stored.png"), FileBytes(folder_ / "traced.png"));
}

TEST_F(OptionsSheetTest, TheKeyMenuOpensTheAnimationPageWhoseEndMovesTheBar) {
  QWidget* bar = window_->Views().findChild<QWidget*>("AnimControlBar");
  ASSERT_NE(bar, nullptr);
  QWidget* slider = bar->findChild<QWidget*>("CSliderEx");
  auto* keyButton = bar->findChild<QAbstractButton*>("button4038");
  ASSERT_NE(keyButton, nullptr);
  QTest::mouseClick(keyButton, Qt::RightButton);
  auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
  ASSERT_NE(menu, nullptr);
  QAction* options = nullptr;
  for (QAction* action : menu->actions()) {
    if (action->text() == "Options") options = action;
  }
  ASSERT_NE(options, nullptr);
  menu->close();

  bool shown = false;
  WhenSheetShows([&](QDialog* sheet) {
    shown = true;
    EXPECT_EQ(sheet->findChild<QTabWidget*>()->currentIndex(), 2);
    auto* end = sheet->findChild<QLineEdit*>("EndTime");
    ASSERT_NE(end, nullptr);
    end->selectAll();
    QTest::keyClicks(end, "45");  // frames at the default 15 FPS: three seconds
    sheet->accept();
  });
  options->trigger();
  ASSERT_TRUE(shown);
  QApplication::processEvents();
  EXPECT_EQ(slider->property("maximum").toInt(), 3 * 4800);
}

TEST_F(OptionsSheetTest, TheHostTurnsTheNextSheetToItsPageOnly) {
  OptionsPageTurner turner(1);
  int turned = -1;
  WhenSheetShows([&](QDialog* sheet) {
    auto* pages = sheet->findChild<QTabWidget*>();
    testing::Await([&] { return pages->currentIndex() == 1; });
    turned = pages->currentIndex();
    EXPECT_EQ(pages->currentWidget()->objectName(), "ActiveJobsPage");
    sheet->reject();
  });
  ASSERT_TRUE(window_->PluginCommands().Run("&Options"));
  EXPECT_EQ(turned, 1);

  // Once turned it leaves later sheets on the page the plug-in opens.
  WhenSheetShows([&](QDialog* sheet) {
    auto* pages = sheet->findChild<QTabWidget*>();
    QTest::qWait(50);
    turned = pages->currentIndex();
    sheet->reject();
  });
  ASSERT_TRUE(window_->PluginCommands().Run("&Options"));
  EXPECT_EQ(turned, 0);
}

TEST_F(OptionsSheetTest, ThePagesFollowTheirRulesWithThePluginBehind) {
  bool shown = false;
  QString asked;
  WhenSheetShows([&](QDialog* sheet) {
    shown = true;
    auto* method = sheet->findChild<QComboBox*>("RenderMethod");
    auto* transmission = sheet->findChild<QAbstractButton*>("Transmission");
    auto* volumes = sheet->findChild<QAbstractButton*>("Volumes");
    auto* depth = sheet->findChild<QLineEdit*>("TransparencyDepth");
    ASSERT_TRUE(method && transmission && volumes && depth);
    volumes->click();            // Raytracing's own
    method->setCurrentIndex(3);  // Scanline: 14 has no transmission
    EXPECT_FALSE(volumes->isChecked());
    EXPECT_TRUE(depth->isEnabled());
    transmission->click();
    EXPECT_FALSE(depth->isEnabled());
    transmission->click();
    EXPECT_TRUE(depth->isEnabled());
    method->setCurrentIndex(4);
    EXPECT_TRUE(volumes->isChecked()) << "Raytracing kept its box";

    testing::AnswerNextBox(QMessageBox::Ok, &asked);
    sheet->findChild<QAbstractButton*>("Abort")->click();

    auto* format = sheet->findChild<QComboBox*>("FileFormat");
    format->setCurrentIndex(3);  // PNG
    EXPECT_TRUE(sheet->findChild<QLineEdit*>("BaseName")->isEnabled());
    EXPECT_FALSE(sheet->findChild<QAbstractButton*>("Select")->isEnabled());
    format->setCurrentIndex(0);  // AVI
    EXPECT_FALSE(sheet->findChild<QLineEdit*>("BaseName")->isEnabled());
    EXPECT_TRUE(sheet->findChild<QAbstractButton*>("Select")->isEnabled());
    sheet->reject();
  });
  ASSERT_TRUE(window_->PluginCommands().Run("&Options"));
  ASSERT_TRUE(shown);
  EXPECT_EQ(asked, "Select a job to delete");
  // Cancelled: nothing stored.
  platform::RegistryKey key;
  ASSERT_TRUE(OpenSettings(key));
  std::vector<uint8_t> flags;
  ASSERT_EQ(key.QueryBinary("ShadingFlags", flags), platform::ERROR_SUCCESS);
  EXPECT_EQ(platform::LoadU32(flags.data() + 16, platform::ByteOrder::kLittle), 454u);
}

}  // namespace
}  // namespace lumetra::gui
