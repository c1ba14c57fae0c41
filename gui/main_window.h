// The host's main window: the scene's views with the plug-in's control bar, the object
// tree, the selected object's values, and the File, plug-in and Window menus.
#pragma once

#include <QMainWindow>
#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "app/host_session.h"

namespace lumetra::gui {

class ActiveJobsWindow;
class ObjectTree;
class PluginMenu;
class PropertyPanel;
class ViewArea;

class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  explicit MainWindow(std::string pluginPath, QWidget* parent = nullptr);
  ~MainWindow() override;

  // Loads the plug-in with the scene of `scenePath` (a new scene when empty) in this
  // window, as lumetra loads it. Throws host::SceneFileError or host::PluginError.
  void Start(const std::string& scenePath);

  app::HostSession& Session() { return *session_; }
  ViewArea& Views() { return *viewArea_; }
  ObjectTree& Tree() { return *tree_; }
  PropertyPanel& Properties() { return *properties_; }
  PluginMenu& PluginCommands() { return *pluginMenu_; }
  ActiveJobsWindow& Jobs() { return *jobs_; }

  // "showcase.json", or "Untitled" for a scene never saved.
  QString SceneName() const;
  // Whether the scene differs from its file: edited here, or keyed by the plug-in.
  bool IsModified();

  // The File menu's commands with their files given. Each answers false when the user
  // cancelled or the command failed; a failure is shown in a message box and changes
  // nothing. New and Open first offer to save a modified scene.
  bool NewScene();
  bool OpenScene(const QString& path);
  bool MergeScene(const QString& path);
  bool SaveScene();  // asks for a file when the scene has none
  bool SaveSceneAs(const QString& path);
  // Asks "Save changes to <name>?" when the scene is modified; false when cancelled.
  bool MaySave();
  // Closes the render windows (their jobs abort) and waits a while for them to go.
  void CloseJobs();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildMenus();
  void SelectObject(uint32_t id);
  void ObjectEdited(uint32_t id);
  // The host's own layout for the view area's size, then the plug-in's around its bar.
  void LayOutViews();
  // After the plug-in had its say: views where the records put them, values as they are.
  void FollowPlugin();
  // Makes the folder the scene's pictures go to, as a modeller keeps its render folder.
  void MakeOutputFolder();
  void HostChanged();
  void SceneReplaced();
  void UpdateTitle();
  void Warn(const QString& what, const std::exception& error);
  QString AskForScene(const QString& caption, bool saving);

  std::string pluginPath_;
  std::unique_ptr<app::HostSession> session_;
  ViewArea* viewArea_;
  ObjectTree* tree_;
  PropertyPanel* properties_;
  PluginMenu* pluginMenu_ = nullptr;
  ActiveJobsWindow* jobs_;
  bool edited_ = false;
  std::vector<uint8_t> savedPluginData_;
  std::atomic<bool> repaintPosted_{false};
};

}  // namespace lumetra::gui
