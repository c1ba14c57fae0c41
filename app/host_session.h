#pragma once

#include <memory>
#include <string>
#include <vector>

#include "host/host_context.h"
#include "host/plugin_module.h"
#include "host/scene.h"

namespace lumetra::app {

// A scene open in the host with the plug-in connected, as a host runs it: the scene is
// read first (a bad file stops everything), the plug-in is loaded with the host
// functions in its scene record, told the host is ready (event 7), handed the data it
// stored in the scene file, and told the scene is in place (event 6).
class HostSession {
 public:
  // Throws host::SceneFileError or host::PluginError.
  static std::unique_ptr<HostSession> Open(const std::string& scenePath, const std::string& pluginPath);
  ~HostSession();

  host::Scene& Scene() { return *scene_; }
  host::HostContext& Context() { return *context_; }
  host::PluginModule& Plugin() { return *plugin_; }
  // Results of the events sent so far, in order, as {event, result}.
  const std::vector<std::pair<int32_t, int32_t>>& EventResults() const { return events_; }

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
  void SendEvent(int32_t event);
  void HandOverPluginData();
  bool HandOver(const std::vector<uint8_t>& bytes);

  std::unique_ptr<host::Scene> scene_;
  std::unique_ptr<host::HostContext> context_;
  std::unique_ptr<host::PluginModule> plugin_;  // closed first: it may still call the host
  std::vector<std::pair<int32_t, int32_t>> events_;
};

}  // namespace lumetra::app
