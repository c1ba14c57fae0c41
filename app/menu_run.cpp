#include "app/menu_run.h"

#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <thread>

#include "abi/render_methods.h"
#include "abi/result_codes.h"
#include "app/pov_render.h"

namespace lumetra::app {
namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kWindowWait = std::chrono::seconds(10);
constexpr unsigned kLargestSide = 16384;

std::atomic<bool> g_interrupted{false};

void OnInterrupt(int) { g_interrupted = true; }

// The command id of the menu item with that text; none when the plug-in has no such item.
std::optional<uint32_t> FindCommand(const abi::MenuRecord& menu, const std::string& text) {
  if (!menu.enumMenuItem) return std::nullopt;
  for (int32_t index = 0;; ++index) {
    uint32_t flags = 0, command = 0;
    const char* itemText = nullptr;
    if (menu.enumMenuItem(index, &flags, &itemText, &command) != abi::kOk) return std::nullopt;
    if (itemText && text == itemText) return command;
  }
}

}  // namespace

// SIGTERM too: a batch system stops a task with it, and the task should end as cleanly.
struct InterruptGuard::State {
  struct sigaction interrupt {};
  struct sigaction terminate {};
};

InterruptGuard::InterruptGuard() : previous_(std::make_unique<State>()) {
  g_interrupted = false;
  struct sigaction action {};
  action.sa_handler = OnInterrupt;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, &previous_->interrupt);
  sigaction(SIGTERM, &action, &previous_->terminate);
}

InterruptGuard::~InterruptGuard() {
  sigaction(SIGINT, &previous_->interrupt, nullptr);
  sigaction(SIGTERM, &previous_->terminate, nullptr);
}

bool InterruptGuard::Interrupted() { return g_interrupted; }

std::optional<std::pair<uint32_t, uint32_t>> ParseSize(const std::string& text) {
  unsigned w = 0, h = 0;
  char x = 0, extra = 0;
  if (std::sscanf(text.c_str(), "%u%c%u%c", &w, &x, &h, &extra) != 3 || (x != 'x' && x != 'X'))
    return std::nullopt;
  if (w == 0 || h == 0 || w > kLargestSide || h > kLargestSide) return std::nullopt;
  return std::pair{w, h};
}

bool WrittenSince(const std::filesystem::path& path, std::filesystem::file_time_type since) {
  // File times come from the kernel's coarse clock, which may lag the precise one by a
  // tick: a file written within that tick still counts.
  constexpr auto kFileClockTick = std::chrono::milliseconds(10);
  std::error_code error;
  return std::filesystem::is_regular_file(path, error) &&
         std::filesystem::last_write_time(path, error) >= since - kFileClockTick;
}

std::string SizeProblem(const std::string& text) {
  return ParseSize(text) ? std::string() : "wants WIDTHxHEIGHT with each side 1 to 16384, not '" + text + "'";
}

std::string MethodProblem(const std::string& name, const std::string& pluginPath) {
  const auto method = abi::RenderMethodByName(name);
  if (!method) {
    return "unknown method '" + name +
           "'; one of: Wireframe, \"Hidden Line\", ZBuffer, Scanline, Raytracing, POV-Ray, RIB";
  }
  if (pluginPath.empty()) return {};
  if (*method == abi::kMethodPovRay) return PovRenderProblem(PovProgramsBeside(pluginPath));
  if (*method == abi::kMethodRib) return RibExporterProblem(pluginPath);
  return {};
}

void AddProgressOption(CLI::App& command, std::string& progress) {
  command.add_option("--progress", progress, "auto, bar, lines, json (a JSON object a line) or none")
      ->check(CLI::IsMember({"auto", "bar", "lines", "json", "none"}));
}

void AddThreadsOption(CLI::App& command) {
  command
      .add_option_function<int>(
          "--threads", [](const int& count) { setenv("LUMETRA_THREADS", std::to_string(count).c_str(), 1); },
          "Render threads (default: $LUMETRA_THREADS, else every core); the picture is the same for any "
          "count")
      ->envname("LUMETRA_THREADS")
      ->option_text("N")
      ->check(CLI::Range(1, 4096));
}

CLI::Validator SizeCheck() { return CLI::Validator(SizeProblem, "WIDTHxHEIGHT"); }

CLI::Validator MethodCheck() {
  return CLI::Validator([](const std::string& name) { return MethodProblem(name); }, "NAME");
}

void ApplyRenderSize(host::Scene& scene, const std::string& size) {
  const auto parsed = ParseSize(size);
  if (!parsed) return;
  const auto [width, height] = *parsed;
  scene.render.width = width;
  scene.render.height = height;
  for (const uint32_t id : scene.List(abi::kCameraList)) {
    host::SceneObject& camera = *scene.Find(id);
    if (camera.type == abi::kTypeCamera) camera.data.shape.camera.aspect = double(width) / double(height);
  }
}

RenderScene::RenderScene(const std::string& scenePath, const std::string& pluginPath,
                         const std::string& time) {
  if (time.empty()) {
    plain_ = HostSession::Open(scenePath, pluginPath);
    return;
  }
  keying_ = std::make_unique<KeyingSession>(scenePath, pluginPath);
  keying_->PoseAt(keying_->Ticks(time));
}

bool RunMenuCommand(HostSession& session, const std::string& commandText) {
  abi::MenuRecord* menu = session.Plugin().Menu();
  const std::optional<uint32_t> command =
      menu && menu->executeCommand ? FindCommand(*menu, commandText) : std::nullopt;
  if (command) menu->executeCommand(*command);
  return command.has_value();
}

RunEnd RunAndFollow(HostSession& session, const std::string& commandText,
                    const std::function<void(const host::Desktop::Window&)>& watch) {
  host::Desktop& desktop = host::Desktop::Instance();
  std::mutex watching;
  desktop.SetListener([&](uint32_t, const host::Desktop::Window* window) {
    if (!window) return;
    std::lock_guard lock(watching);
    watch(*window);
  });
  struct StopListening {
    host::Desktop& desktop;
    ~StopListening() { desktop.SetListener(nullptr); }
  } stopListening{desktop};

  const size_t openedBefore = desktop.OpenedCount();
  if (!RunMenuCommand(session, commandText)) return RunEnd::NoCommand;
  const auto openBy = Clock::now() + kWindowWait;
  while (desktop.OpenedCount() == openedBefore) {
    if (Clock::now() > openBy) return RunEnd::NoWindow;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  bool interrupted = false;
  // Short waits: a frame of a small animation takes a few milliseconds, and an interrupt should
  // stop the run within one.
  while (!desktop.WaitUntilAllClosed(Clock::now() + std::chrono::milliseconds(5))) {
    if (g_interrupted && !interrupted) {
      interrupted = true;
      desktop.CloseAll();
    }
  }
  return interrupted || g_interrupted ? RunEnd::Interrupted : RunEnd::Closed;
}

}  // namespace lumetra::app
