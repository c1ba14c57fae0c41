#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/pov_render.h"
#include "host/host_context.h"
#include "host/plugin_module.h"
#include "host/scene.h"
#include "host/scene_merge.h"

namespace lumetra::app {

// Why the host could not offer the RIB exporter beside the plug-in at `pluginPath`; empty
// when it is there.
std::string RibExporterProblem(const std::string& pluginPath);

// A scene open in the host with the plug-in connected, as a host runs it: the scene is
// read first (a bad file stops everything), the plug-in is loaded with the host
// functions in its scene record, told the host is ready (event 7), handed the data it
// stored in the scene file, and told the scene is in place (event 6). A RIB exporter
// (liblumetra-rib-exporter.so) in the plug-in's folder is loaded first, for FindPlugin. The plug-in stays
// loaded while other scenes take the place of the first (Replace).
class HostSession {
 public:
  // What a host with a window gives every scene's context before the plug-in sees it:
  // its main window, its Shift key, its repaint.
  using ContextSetup = std::function<void(host::HostContext&)>;

  // Throws host::SceneFileError or host::PluginError.
  static std::unique_ptr<HostSession> Open(const std::string& scenePath, const std::string& pluginPath,
                                           ContextSetup setup = {});
  // The same with a scene already read (a new, empty one). Throws host::PluginError.
  static std::unique_ptr<HostSession> Open(host::Scene scene, const std::string& pluginPath,
                                           ContextSetup setup = {});
  ~HostSession();

  host::Scene& Scene() { return *scene_; }
  host::HostContext& Context() { return *context_; }
  host::PluginModule& Plugin() { return *plugin_; }
  // The RIB exporter loaded from the plug-in's folder, or null when none is there.
  host::PluginModule* RibExporter() { return ribExporter_.get(); }
  // Results of the events and notices sent so far, in order, as {event, result}.
  const std::vector<std::pair<int32_t, int32_t>>& EventResults() const { return events_; }

  // Sends a scene event about `object` (0: the scene) and answers the plug-in's result;
  // 0 when the plug-in takes no events.
  int32_t SendEvent(uint32_t object, int32_t event);

  // Tells the plug-in the scene closes (event 8), then puts `scene` in its place as Open
  // does: its context set up, the plug-in's data handed over, event 6.
  void Replace(host::Scene scene);
  // Brings the objects of `other` into the scene (host::MergeScene) between the merge
  // notices, handing the plug-in the data it stored in that file; each object that
  // arrived is announced with the name it had there and the name it has now.
  std::vector<host::MergedObject> Merge(host::Scene other);

  // Takes the plug-in's current data into the scene and writes it to `path` atomically.
  void Save(const std::string& path);
  // The bytes the plug-in stores in the scene file now; empty when it stores none.
  // Throws host::PluginError when it writes another count than it announced.
  std::vector<uint8_t> PluginData();
  // Hands the plug-in stored data as a scene load does, then tells it the scene is in
  // place. True when the plug-in read all of the bytes and asked for no more.
  bool LoadPluginData(const std::vector<uint8_t>& bytes);

 private:
  HostSession() = default;
  void Install(host::Scene scene);
  void Notify(uint32_t object, int32_t event, const char* data = nullptr, const char* result = nullptr);
  void HandOverPluginData(const host::Scene& from);
  bool HandOver(const std::vector<uint8_t>& bytes);

  ContextSetup setup_;
  PovRenderPrograms povPrograms_;
  std::unique_ptr<host::Scene> scene_;
  std::unique_ptr<host::HostContext> context_;
  std::unique_ptr<host::PluginModule> plugin_;       // closed first: it may still call the host
  std::unique_ptr<host::PluginModule> ribExporter_;  // beside the plug-in, when installed
  std::vector<std::pair<int32_t, int32_t>> events_;
};

}  // namespace lumetra::app
