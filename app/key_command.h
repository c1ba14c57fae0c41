#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/host_session.h"
#include "host/keying_script.h"

namespace CLI {
class App;
}

namespace lumetra::app {

struct GlobalOptions;

// Keying that cannot be done: no such object, a time the slider cannot reach, a
// plug-in without its control bar.
class KeyingError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A scene open with the plug-in and its control bar, driven the way a person at
// the host drives it: the bar's clicks and slider moves go through the bar's
// window procedure at the host's bar site, object changes through the scene
// events. Opening plays the scene's keying script.
class KeyingSession {
 public:
  // Throws host::SceneFileError, host::PluginError or KeyingError.
  KeyingSession(const std::string& scenePath, const std::string& pluginPath);
  ~KeyingSession();
  KeyingSession(const KeyingSession&) = delete;
  KeyingSession& operator=(const KeyingSession&) = delete;

  HostSession& Session() { return *session_; }
  // Ticks of a frame at the scene's frame rate, as the plug-in's control bar steps;
  // -1 when the rate gives frames no length.
  int32_t TicksPerFrame() const;
  int32_t Ticks(const std::string& time) const;

  // Selects the object, switches animation mode on, moves the time, chooses the
  // interpolation, gives the object the step's values and lets the change event key it.
  void Play(const host::KeyingStep& step);
  // Drags the slider to `ticks` (from elsewhere first, so the scene is posed).
  void PoseAt(int32_t ticks);

 private:
  int32_t Bar(uint32_t message, uint32_t wparam, int32_t lparam = 0);
  void SendEvent(uint32_t object, int32_t event);

  std::unique_ptr<HostSession> session_;
};

// Runs `body` (which answers an exit code) and turns the failures of opening and
// keying a scene into a message on `err` and exit code 1; `command` ("lumetra key")
// begins the messages of keying failures.
int ReportingFailures(const char* command, std::ostream& err, const std::function<int()>& body);

// `lumetra key SCENE --object NAME --time T --interpolation step|linear|cubic
// [--translate x,y,z] [--rotate x,y,z] [--scale x,y,z] -o OUT`.
void RegisterKeyCommand(CLI::App& root, const GlobalOptions& options, int& exitCode);

// Plays the step on the scene and saves it with the plug-in's data and the step
// added to its keying script. Returns the exit code: 0, or 1 with a message on `err`.
int RunKey(const std::string& scenePath, const std::string& pluginPath, const host::KeyingStep& step,
           const std::string& outPath, std::ostream& err);

}  // namespace lumetra::app
