#include "gui/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMenuBar>
#include <QMessageBox>
#include <QSplitter>
#include <QStatusBar>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "abi/result_codes.h"
#include "abi/scene_events.h"
#include "gui/active_jobs_window.h"
#include "gui/object_tree.h"
#include "gui/plugin_menu.h"
#include "gui/property_panel.h"
#include "gui/view_area.h"
#include "host/bar_site.h"
#include "host/desktop.h"
#include "host/object_records.h"
#include "host/scene_file.h"

namespace lumetra::gui {
namespace {

// Closing render windows waits this long for their jobs to wind down.
constexpr int kJobsCloseMilliseconds = 10000;
const QString kSceneFilter = QObject::tr("Lumetra scenes (*.json);;All files (*)");

}  // namespace

MainWindow::MainWindow(std::string pluginPath, QWidget* parent)
    : QMainWindow(parent), pluginPath_(std::move(pluginPath)) {
  auto* split = new QSplitter(Qt::Horizontal, this);
  auto* side = new QSplitter(Qt::Vertical, split);
  tree_ = new ObjectTree(side);
  properties_ = new PropertyPanel(side);
  side->setStretchFactor(0, 3);
  side->setStretchFactor(1, 2);
  viewArea_ = new ViewArea(split);
  split->addWidget(side);
  split->addWidget(viewArea_);
  split->setStretchFactor(1, 1);
  split->setSizes({280, 920});
  setCentralWidget(split);
  jobs_ = new ActiveJobsWindow(this);
  resize(1200, 800);
  statusBar()->showMessage(tr("Ready"));

  connect(tree_, &ObjectTree::objectSelected, this, &MainWindow::SelectObject);
  connect(properties_, &PropertyPanel::edited, this, &MainWindow::ObjectEdited);
  connect(viewArea_, &ViewArea::resized, this, [this] {
    if (session_) LayOutViews();
  });
}

// The plug-in goes first: its windows may live in ours, and its threads may call the host.
MainWindow::~MainWindow() {
  session_.reset();
  host::BarSite::Instance().Close();
}

void MainWindow::Start(const std::string& scenePath) {
  host::Scene scene = scenePath.empty() ? host::Scene() : host::LoadScene(scenePath);
  const uint32_t window = viewArea_->WindowId();
  host::BarSite::Instance().Open(window);
  try {
    session_ =
        app::HostSession::Open(std::move(scene), pluginPath_, [this, window](host::HostContext& context) {
          context.mainWindow = window;
          context.shiftKey = [] {
            return QGuiApplication::queryKeyboardModifiers().testFlag(Qt::ShiftModifier);
          };
          // From any thread: the repaint happens on ours, once for a burst of changes.
          context.changed = [this] {
            if (!repaintPosted_.exchange(true))
              QMetaObject::invokeMethod(this, &MainWindow::HostChanged, Qt::QueuedConnection);
          };
        });
  } catch (...) {
    host::BarSite::Instance().Close();
    throw;
  }
  BuildMenus();
  statusBar()->showMessage(tr("Plug-in: %1").arg(QString::fromStdString(session_->Plugin().Info().name)));
  SceneReplaced();
}

void MainWindow::BuildMenus() {
  QMenu* file = menuBar()->addMenu(tr("&File"));
  file->addAction(tr("&New"), QKeySequence::New, this, [this] { NewScene(); });
  file->addAction(tr("&Open..."), QKeySequence::Open, this, [this] {
    const QString path = AskForScene(tr("Open Scene"), false);
    if (!path.isEmpty()) OpenScene(path);
  });
  file->addAction(tr("&Save"), QKeySequence::Save, this, [this] { SaveScene(); });
  file->addAction(tr("Save &As..."), QKeySequence::SaveAs, this, [this] {
    const QString path = AskForScene(tr("Save Scene As"), true);
    if (!path.isEmpty()) SaveSceneAs(path);
  });
  file->addAction(tr("&Merge..."), this, [this] {
    const QString path = AskForScene(tr("Merge Scene"), false);
    if (!path.isEmpty()) MergeScene(path);
  });
  file->addSeparator();
  file->addAction(tr("&Quit"), QKeySequence::Quit, this, &QWidget::close);

  pluginMenu_ = new PluginMenu(session_->Plugin(), this);
  menuBar()->addMenu(pluginMenu_);
  connect(pluginMenu_, &PluginMenu::aboutToRun, this, &MainWindow::MakeOutputFolder);
  connect(pluginMenu_, &PluginMenu::commandRan, this, &MainWindow::FollowPlugin);

  QMenu* windows = menuBar()->addMenu(tr("&Window"));
  windows->addAction(tr("Active &Jobs"), this, [this] {
    jobs_->Refresh();
    jobs_->show();
    jobs_->raise();
  });
}

void MainWindow::MakeOutputFolder() {
  abi::RenderSettingsRecord settings{};
  if (host::FillRenderSettings(session_->Scene(), settings) != abi::kOk) return;
  const std::string folder(settings.outputDirectory,
                           strnlen(settings.outputDirectory, sizeof settings.outputDirectory));
  std::error_code error;
  if (!folder.empty()) std::filesystem::create_directories(folder, error);
  if (error) {
    statusBar()->showMessage(
        tr("Cannot make the output folder %1: %2")
            .arg(QString::fromStdString(folder), QString::fromStdString(error.message())));
  }
}

QString MainWindow::AskForScene(const QString& caption, bool saving) {
  const QString folder = session_->Scene().path.empty()
                             ? QString()
                             : QFileInfo(QString::fromStdString(session_->Scene().path)).absolutePath();
  return saving ? QFileDialog::getSaveFileName(this, caption, folder, kSceneFilter)
                : QFileDialog::getOpenFileName(this, caption, folder, kSceneFilter);
}

QString MainWindow::SceneName() const {
  const std::string& path = session_ ? session_->Scene().path : std::string();
  return path.empty() ? tr("Untitled") : QFileInfo(QString::fromStdString(path)).fileName();
}

// The plug-in's data counts: keys set with its bar change the scene file as edits do.
bool MainWindow::IsModified() {
  if (edited_) return true;
  try {
    return session_->PluginData() != savedPluginData_;
  } catch (const std::exception&) {
    return true;
  }
}

void MainWindow::UpdateTitle() {
  setWindowTitle(tr("Lumetra - %1[*]").arg(SceneName()));
  setWindowModified(IsModified());
}

void MainWindow::Warn(const QString& what, const std::exception& error) {
  QMessageBox::warning(this, tr("Lumetra"), what + "\n\n" + QString::fromUtf8(error.what()));
}

bool MainWindow::MaySave() {
  if (!IsModified()) return true;
  const auto answer =
      QMessageBox::question(this, tr("Lumetra"), tr("Save changes to %1?").arg(SceneName()),
                            QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
  if (answer == QMessageBox::Yes) return SaveScene();
  return answer == QMessageBox::No;
}

bool MainWindow::NewScene() {
  if (!MaySave()) return false;
  properties_->Show(nullptr);
  session_->Replace(host::Scene());
  SceneReplaced();
  return true;
}

// The file is read before the open scene goes, so that a bad one loses nothing.
bool MainWindow::OpenScene(const QString& path) {
  if (!MaySave()) return false;
  try {
    host::Scene scene = host::LoadScene(path.toStdString());
    properties_->Show(nullptr);
    session_->Replace(std::move(scene));
  } catch (const std::exception& error) {
    Warn(tr("Cannot open %1.").arg(path), error);
    return false;
  }
  SceneReplaced();
  return true;
}

bool MainWindow::MergeScene(const QString& path) {
  try {
    session_->Merge(host::LoadScene(path.toStdString()));
  } catch (const std::exception& error) {
    Warn(tr("Cannot merge %1.").arg(path), error);
    return false;
  }
  edited_ = true;
  tree_->Rebuild(session_->Scene());
  FollowPlugin();
  return true;
}

bool MainWindow::SaveScene() {
  const std::string& path = session_->Scene().path;
  if (!path.empty()) return SaveSceneAs(QString::fromStdString(path));
  const QString chosen = AskForScene(tr("Save Scene As"), true);
  return !chosen.isEmpty() && SaveSceneAs(chosen);
}

bool MainWindow::SaveSceneAs(const QString& path) {
  try {
    session_->Save(path.toStdString());
    savedPluginData_ = session_->PluginData();
  } catch (const std::exception& error) {
    Warn(tr("Cannot save %1.").arg(path), error);
    return false;
  }
  edited_ = false;
  UpdateTitle();
  statusBar()->showMessage(tr("Saved %1").arg(path), 5000);
  return true;
}

void MainWindow::CloseJobs() {
  host::Desktop& desktop = host::Desktop::Instance();
  desktop.CloseAll();
  QElapsedTimer waited;
  waited.start();
  // The render windows may need this thread to close.
  while (!desktop.WaitUntilAllClosed(std::chrono::steady_clock::now() + std::chrono::milliseconds(20)) &&
         waited.elapsed() < kJobsCloseMilliseconds) {
    QCoreApplication::processEvents();
  }
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (session_ && !MaySave()) {
    event->ignore();
    return;
  }
  if (session_) {
    session_->SendEvent(0, abi::kEventSceneClosing);
    CloseJobs();
  }
  jobs_->close();
  event->accept();
}

void MainWindow::SceneReplaced() {
  host::Scene& scene = session_->Scene();
  edited_ = false;
  try {
    savedPluginData_ = session_->PluginData();
  } catch (const std::exception&) {
    savedPluginData_.clear();
  }
  tree_->Rebuild(scene);
  properties_->Show(scene.Find(scene.selected));
  viewArea_->SetScene(&scene);
  LayOutViews();
}

void MainWindow::SelectObject(uint32_t id) {
  host::Scene& scene = session_->Scene();
  if (!scene.Find(id)) return;
  scene.selected = id;
  properties_->Show(scene.Find(id));
  session_->SendEvent(id, abi::kEventSelectionChanged);
  FollowPlugin();
}

// An edit is a change of the object; in animation mode the plug-in keys it.
void MainWindow::ObjectEdited(uint32_t id) {
  edited_ = true;
  session_->SendEvent(id, abi::kEventObjectChanged);
  FollowPlugin();
}

void MainWindow::LayOutViews() {
  auto& views = session_->Scene().views;
  LayOutTwoByTwo(views, viewArea_->width(), viewArea_->height());
  session_->SendEvent(0, abi::kEventBarShown);
  FollowPlugin();
}

void MainWindow::FollowPlugin() {
  viewArea_->PlaceViews();
  viewArea_->RepaintViews();
  properties_->Refresh();
  tree_->RefreshNames(session_->Scene());
  UpdateTitle();
}

void MainWindow::HostChanged() {
  repaintPosted_ = false;
  if (session_) FollowPlugin();
}

}  // namespace lumetra::gui
