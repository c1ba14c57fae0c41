// The plug-in's timeline editor over the orbit example, opened through its menu and read
// as widgets: the drawn curve against the keyframe engine run as a separate program, and
// the current-time line posing the host's scene.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <array>
#include <cmath>
#include <functional>
#include <vector>

#include "gui/plugin_menu.h"
#include "gui/testing/gui_host.h"

namespace lumetra::gui {
namespace {

namespace fs = std::filesystem;
using Translate = std::array<double, 3>;

constexpr int32_t kSecond = 4800;  // ticks
constexpr int kKeyReach = 20;      // pixels beside a key where its circle and handles lie

// Runs one of the project's programs with the plug-in the tests load; its output, or
// empty when it failed.
QByteArray RunProgram(const QString& program, const QStringList& arguments) {
  QProcess process;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("LUMETRA_PLUGIN", LUMETRA_PLUGIN_PATH);
  process.setProcessEnvironment(environment);
  process.start(program, arguments);
  if (!process.waitForFinished(60000) || process.exitCode() != 0) {
    ADD_FAILURE() << program.toStdString() << " " << arguments.join(' ').toStdString() << ": "
                  << process.readAllStandardError().toStdString();
    return {};
  }
  return process.readAllStandardOutput();
}

class TimelineTest : public testing::GuiHost {
 protected:
  // The orbit example keyed again through lumetra key, so the scene holds the keys its
  // script makes: the Marble Ball's cubic path through three keys over two seconds.
  void SetUp() override {
    GuiHost::SetUp();
    fs::copy(fs::path(LUMETRA_SOURCE_DIR) / "examples/orbit", folder_ / "orbit");
    const QString keyed = QString::fromStdString((folder_ / "orbit/keyed.json").string());
    RunProgram(LUMETRA_EXECUTABLE, {"key", QString::fromStdString((folder_ / "orbit/orbit.json").string()),
                                    "--object", "Marble Ball", "--time", "0", "--interpolation", "cubic",
                                    "--translate", "-2.5,1,0", "-o", keyed});
    ASSERT_TRUE(window_->OpenScene(keyed));
    Choose("Marble Ball");
    saved_ = QString::fromStdString((folder_ / "orbit/saved.json").string());
    ASSERT_TRUE(window_->SaveSceneAs(saved_));
  }

  // Opens the editor through the plug-in's menu and runs `inside` on it while it is open.
  void WithEditor(const std::function<void(QWidget& editor)>& inside) {
    bool ran = false;
    auto* poll = new QTimer(window_.get());
    QObject::connect(poll, &QTimer::timeout, [&, poll] {
      QWidget* editor = QApplication::activeModalWidget();
      if (!editor || editor->objectName() != "TimelineEditor") return;
      poll->stop();
      view_ = editor->findChild<QWidget*>("CurveView");
      if (view_) inside(*editor);
      ran = true;
      editor->close();
    });
    poll->start(10);
    ASSERT_TRUE(window_->PluginCommands().Run("&Timeline"));
    delete poll;
    EXPECT_TRUE(ran) << "no timeline editor opened";
  }

  // The Marble Ball's position as the keyframe engine poses the saved scene at `ticks`.
  Translate EnginePose(int32_t ticks) {
    const QByteArray output =
        RunProgram(LUMETRA_TOOL, {"pose", saved_, "--time", QString("%1t").arg(ticks), "--json"});
    for (const QJsonValue object : QJsonDocument::fromJson(output)["objects"].toArray()) {
      if (object["name"].toString() != "Marble Ball") continue;
      const QJsonArray at = object["params"]["Translate"].toArray();
      return {at[0].toDouble(), at[1].toDouble(), at[2].toDouble()};
    }
    ADD_FAILURE() << "the ball is not posed at " << ticks << ": " << output.toStdString();
    return {};
  }

  Translate BallAt() {
    const double* at = Scene().FindByName("Marble Ball")->params.translate;
    return {at[0], at[1], at[2]};
  }

  // The curve view's axes, as it drew them last.
  template <typename T>
  int Ask(const char* method, const char* type, T argument) {
    int answer = 0;
    EXPECT_TRUE(
        QMetaObject::invokeMethod(view_, method, Q_RETURN_ARG(int, answer), QArgument<T>(type, argument)));
    return answer;
  }
  int TicksAt(int x) { return Ask("ticksAt", "int", x); }
  int ColumnOf(int ticks) { return Ask("columnOf", "int", ticks); }
  int RowOf(double value) { return Ask("rowOf", "double", value); }

  QString saved_;
  QWidget* view_ = nullptr;
};

// The middle of the red pixels in one column of a picture, where the x curve is drawn, in
// the painter's coordinates: pixel row y spans y to y + 1 there.
double RedRow(const QImage& image, int x) {
  double rows = 0, weights = 0;
  for (int y = 0; y < image.height(); ++y) {
    const QColor colour = image.pixelColor(x, y);
    const int redness = colour.red() - std::max(colour.green(), colour.blue());
    if (redness < 40) continue;
    rows += (y + 0.5) * redness;
    weights += redness;
  }
  return weights > 0 ? rows / weights : -1;
}

TEST_F(TimelineTest, TheDrawnCurveIsThePoseOfTheKeyframeEngine) {
  WithEditor([&](QWidget& editor) {
    auto* tree = editor.findChild<QTreeWidget*>("CMultiTree");
    ASSERT_NE(tree, nullptr);
    ASSERT_EQ(tree->selectedItems().size(), 1);
    const QTreeWidgetItem* chosen = tree->selectedItems().front();
    EXPECT_EQ(chosen->text(0), "Translate") << "opens on the host's selected object's moving parameter";
    ASSERT_NE(chosen->parent(), nullptr);
    EXPECT_EQ(chosen->parent()->text(0), "Marble Ball");

    const QImage picture = view_->grab().toImage();
    const std::array<int, 3> keys{ColumnOf(0), ColumnOf(kSecond), ColumnOf(2 * kSecond)};
    int compared = 0;
    for (int tenth = 1; tenth < 10 && compared < 3; ++tenth) {
      const int x = picture.width() * tenth / 10;
      if (std::any_of(keys.begin(), keys.end(), [&](int key) { return std::abs(x - key) < kKeyReach; }))
        continue;
      const int32_t ticks = TicksAt(x);
      const Translate pose = EnginePose(ticks);
      const int row = RowOf(pose[0]);
      // Where the green or blue curve crosses the red one the colours mix.
      if (std::abs(row - RowOf(pose[1])) < 4 || std::abs(row - RowOf(pose[2])) < 4) continue;
      EXPECT_NEAR(RedRow(picture, x), row, 1.0) << "column " << x << " at " << ticks << " ticks";
      ++compared;
    }
    EXPECT_EQ(compared, 3);
  });
}

TEST_F(TimelineTest, DraggingTheCurrentTimeLinePosesTheScene) {
  const Translate atStart = BallAt();
  WithEditor([&](QWidget&) {
    view_->grab();
    const int line = ColumnOf(0);
    // A row clear of the keys at the start, which a press would grab first.
    const Translate start = EnginePose(0);
    int y = view_->height() / 2;
    while (std::any_of(start.begin(), start.end(), [&](double v) { return std::abs(RowOf(v) - y) < 8; }))
      y += 8;
    const int to = view_->width() * 3 / 8;
    QTest::mousePress(view_, Qt::LeftButton, {}, {line, y});
    QTest::mouseMove(view_, {(line + to) / 2, y});
    QTest::mouseMove(view_, {to, y});
    QTest::mouseRelease(view_, Qt::LeftButton, {}, {to, y});
    const int32_t ticks = TicksAt(to);
    ASSERT_GT(ticks, kSecond / 4);
    const Translate moved = BallAt();
    const Translate expected = EnginePose(ticks);
    for (size_t c = 0; c < 3; ++c) EXPECT_NEAR(moved[c], expected[c], 1e-9) << "component " << c;
    EXPECT_NE(moved, atStart);
  });
}

}  // namespace
}  // namespace lumetra::gui
