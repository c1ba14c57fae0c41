#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include <CLI/CLI.hpp>

#include "app/host_session.h"
#include "app/key_command.h"
#include "host/desktop.h"

namespace lumetra::app {

// Ctrl-C ends a render or an animation cleanly instead of the process, while this
// object lives.
class InterruptGuard {
 public:
  InterruptGuard();
  ~InterruptGuard();
  InterruptGuard(const InterruptGuard&) = delete;
  InterruptGuard& operator=(const InterruptGuard&) = delete;
  static bool Interrupted();

 private:
  struct State;
  std::unique_ptr<State> previous_;
};

// "WIDTHxHEIGHT", each side 1 to 16384.
std::optional<std::pair<uint32_t, uint32_t>> ParseSize(const std::string& text);
// What is wrong with a size or a render method's name as an option gives it; empty when
// nothing. Given the plug-in's path, an outside renderer's programs must be there too.
std::string SizeProblem(const std::string& text);
std::string MethodProblem(const std::string& name, const std::string& pluginPath = {});
// --progress auto|bar|lines|json|none into `progress`.
void AddProgressOption(CLI::App& command, std::string& progress);
// --threads N, or $LUMETRA_THREADS, checked; given, it becomes $LUMETRA_THREADS, where the
// render library reads its thread count (also in renderers the plug-in runs as programs).
void AddThreadsOption(CLI::App& command);

// The same as the command line's checks.
CLI::Validator SizeCheck();
CLI::Validator MethodCheck();

// Whether `path` is a file written at or after `since`, a time of the file clock read
// before the writing began.
bool WrittenSince(const std::filesystem::path& path, std::filesystem::file_time_type since);

// The render size of a --size option ("WIDTHxHEIGHT") for this run; nothing when the text
// names no size. A picture of another shape than the camera's would come out stretched, so
// the cameras take the picture's aspect (their horizontal field of view stays).
void ApplyRenderSize(host::Scene& scene, const std::string& size);

// A scene opened in the host for rendering: as it was saved, or, at a time, with its keys
// played and the scene posed there through the plug-in's control bar.
class RenderScene {
 public:
  // Throws as HostSession::Open and KeyingSession do.
  RenderScene(const std::string& scenePath, const std::string& pluginPath, const std::string& time);
  HostSession& Session() { return keying_ ? keying_->Session() : *plain_; }

 private:
  std::unique_ptr<KeyingSession> keying_;
  std::unique_ptr<HostSession> plain_;
};

// How a run of one of the plug-in's render commands ended.
enum class RunEnd { Closed, NoCommand, NoWindow, Interrupted };

// Runs the plug-in's menu command of that text and returns when the plug-in does,
// following no window; false when the plug-in has no such command.
bool RunMenuCommand(HostSession& session, const std::string& commandText);

// Runs the plug-in's menu command of that text (found by walking its menu, as a host
// does) and waits until every window it opened has closed; Ctrl-C closes them as their
// close boxes would. `watch` sees every change of a window.
RunEnd RunAndFollow(HostSession& session, const std::string& commandText,
                    const std::function<void(const host::Desktop::Window&)>& watch);

}  // namespace lumetra::app
