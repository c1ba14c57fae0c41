#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "abi/animation_run_record.h"
#include "host/child_lists.h"
#include "host/file_finder.h"
#include "host/scene.h"

namespace lumetra::host {

// What the plug-in asked of the host that has no result of its own: kept so that
// tests and the command line can see that views were redrawn or objects changed.
struct HostCallLog {
  std::vector<int32_t> updateModes;                        // SetUpdateMode
  std::vector<std::pair<int32_t, int32_t>> redraws;        // Redraw(what, flags)
  std::vector<std::pair<uint32_t, uint32_t>> changes;      // ObjectChanged(id, what)
  std::vector<std::pair<uint32_t, uint32_t>> paramStores;  // SetObjectParams(id, ., flags)
  std::vector<std::pair<uint32_t, uint32_t>> infoStores;   // SetObjectInfo(id, ., flags)
  std::vector<uint32_t> arrayStores;                       // WriteProfilePoints, WriteSplinePoints
  int refreshes = 0;                                       // RefreshViews
  int povRayRequests = 0;
};

// The scene the host functions work on, with the host's own state. Constructing one
// makes it the current context the host functions reach; destroying it clears that.
// One context at a time.
class HostContext {
 public:
  explicit HostContext(Scene& scene);
  ~HostContext();
  HostContext(const HostContext&) = delete;
  HostContext& operator=(const HostContext&) = delete;

  static HostContext* Current();

  Scene& GetScene() { return scene_; }
  HostCallLog& Log() { return log_; }
  ChildLists& Lists() { return lists_; }
  const FileFinder& Finder() const { return finder_; }

  // What the next animation run asks of the plug-in (host value 210); none when unset.
  std::optional<abi::AnimationRunRecord> animationRun;
  // What the last animation run told of its frames.
  std::optional<abi::AnimationFramesRecord> animationFrames;
  uint32_t applicationValue = 1;  // host value 100
  uint32_t mainWindow = 0;        // host value 101; 0: no window (headless)
  // Host value 120: whether the Shift key is held; unset, it never is (no keyboard).
  std::function<bool()> shiftKey;
  // Called when the plug-in has changed objects or asked for the views to be redrawn (a
  // pose while the time slider moves), so a window repaints; from the calling thread.
  std::function<void()> changed;
  // The host's POV-Ray render call: starts POV-Ray on the scene without waiting; false,
  // with the reason, when it cannot. Unset, the host has no POV-Ray.
  std::function<bool(std::string& error)> startPovRender;
  int32_t updateMode = 1;

 private:
  Scene& scene_;
  HostCallLog log_;
  ChildLists lists_;
  FileFinder finder_;
};

// The host's registry base path, host value 110.
inline constexpr const char* kRegistryBase = "Software\\Ostrana\\Zarvel For Windows\\Plugins\\";

}  // namespace lumetra::host
