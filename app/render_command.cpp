#include "app/render_command.h"

#include <signal.h>
#include <stdlib.h>
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <atomic>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <mutex>
#include <optional>
#include <thread>

#include "app/global_options.h"
#include "app/host_session.h"
#include "app/plugin_location.h"
#include "app/progress_display.h"
#include "app/settings_overlay.h"
#include "host/desktop.h"
#include "host/host_context.h"
#include "host/plugin_module.h"
#include "host/scene_file.h"
#include "render/render_method.h"

namespace app {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr uint32_t kRenderCommand = 373700;
// Any mode but 1 (one level only) lets the depth of the settings count.
constexpr uint32_t kAdaptiveAntiAliasMode = 2;
// The deepest anti-aliasing the render library takes.
constexpr int kMaxAntiAliasDepth = 8;
constexpr auto kWindowWait = std::chrono::seconds(10);

std::atomic<bool> g_interrupted{false};

void OnInterrupt(int) { g_interrupted = true; }

// Ctrl-C ends the render cleanly instead of the process, while this object lives.
class InterruptGuard {
 public:
  InterruptGuard() {
    g_interrupted = false;
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, &previous_);
  }
  ~InterruptGuard() { sigaction(SIGINT, &previous_, nullptr); }

 private:
  struct sigaction previous_ {};
};

struct Picture {
  char formatLetter;
  const char* extension;
};

std::optional<Picture> PictureFor(const std::string& path, bool runLength) {
  std::string extension = fs::path(path).extension().string();
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (extension == ".png") return Picture{'N', ".png"};
  if (extension == ".bmp") return Picture{'S', ".bmp"};
  if (extension == ".ppm") return Picture{'P', ".ppm"};
  if (extension == ".tga") return Picture{runLength ? 'C' : 'T', ".tga"};
  return std::nullopt;
}

const char* ExtensionOfLetter(uint32_t letter) {
  switch (letter) {
    case 'S':
      return ".bmp";
    case 'N':
      return ".png";
    case 'P':
      return ".ppm";
    default:
      return ".tga";
  }
}

bool ParseSize(const std::string& text, uint32_t& width, uint32_t& height) {
  unsigned w = 0, h = 0;
  char x = 0, extra = 0;
  if (std::sscanf(text.c_str(), "%u%c%u%c", &w, &x, &h, &extra) != 3 || (x != 'x' && x != 'X')) {
    return false;
  }
  constexpr unsigned kLargest = 16384;
  if (w == 0 || h == 0 || w > kLargest || h > kLargest) return false;
  width = w;
  height = h;
  return true;
}

// A folder beside the requested picture, so that the finished file moves into place
// with one rename.
fs::path MakeStagingFolder(const fs::path& output) {
  const fs::path folder = output.has_parent_path() ? output.parent_path() : fs::path(".");
  std::string pattern = (folder / ".lumetra-render-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) {
    throw std::runtime_error("cannot write into " + folder.string());
  }
  return pattern;
}

// The render window's title names the picture being made: "Render: <path>".
std::string PathFromTitle(const std::string& title) {
  const std::string prefix = "Render: ";
  return title.rfind(prefix, 0) == 0 ? title.substr(prefix.size()) : std::string();
}

struct Watch {
  std::mutex mutex;
  std::string path;  // of the picture, without its extension
};

// A picture of another shape than the camera's would come out stretched: for this run the
// cameras take the picture's aspect (their horizontal field of view stays).
void FitCamerasTo(host::Scene& scene, uint32_t width, uint32_t height) {
  for (const uint32_t id : scene.List(iface::kCameraList)) {
    host::SceneObject& camera = *scene.Find(id);
    if (camera.type == iface::kTypeCamera) camera.data.shape.camera.aspect = double(width) / double(height);
  }
}

int Fail(std::ostream& err, const std::string& message, int code = kRenderFailed) {
  err << "lumetra render: " << message << "\n";
  return code;
}

}  // namespace

int RunRender(const RenderArgs& args, const std::string& pluginPath, std::ostream& out,
              std::ostream& err) {
  uint32_t width = 0, height = 0;
  if (!args.size.empty() && !ParseSize(args.size, width, height)) {
    return Fail(err, "--size wants WIDTHxHEIGHT with each side 1 to 16384, not '" + args.size + "'",
                kRenderBadArguments);
  }
  std::optional<render::RenderMethod> method;
  if (!args.method.empty()) {
    method = render::MethodByName(args.method);
    if (!method) {
      return Fail(err, "unknown method '" + args.method +
                           "'; one of: Wireframe, \"Hidden Line\", ZBuffer, Scanline, Raytracing",
                  kRenderBadArguments);
    }
    if (!render::UsesRenderLibrary(*method)) {
      return Fail(err, std::string("the \"") + render::MethodInfo(*method).name +
                           "\" method hands the scene to an outside renderer, which this "
                           "command does not drive",
                  kRenderBadArguments);
    }
  }
  std::optional<Picture> picture;
  if (!args.output.empty()) {
    picture = PictureFor(args.output, args.runLength);
    if (!picture) {
      return Fail(err, "cannot write '" + args.output + "': use .png, .bmp, .tga or .ppm",
                  kRenderBadArguments);
    }
  }

  try {
    std::optional<SettingsOverlay> overlay;
    if (method) {
      overlay.emplace();
      overlay->SetDword(host::kRegistryBase, "RenderMethod", static_cast<uint32_t>(*method));
    }
    auto session = HostSession::Open(args.scene, pluginPath);
    iface::RenderSettingsRecord& settings = session->Scene().render;
    if (width) {
      settings.width = width;
      settings.height = height;
      FitCamerasTo(session->Scene(), width, height);
    }
    if (args.antialias >= 0) {
      settings.antialias = args.antialias > 0;
      settings.antialiasMode = kAdaptiveAntiAliasMode;
      settings.antialiasDepth = static_cast<uint32_t>(args.antialias);
    }
    settings.showWindow = 0;  // nobody would close it
    std::optional<fs::path> staging;
    if (picture) {
      settings.outputFormat = static_cast<uint32_t>(picture->formatLetter);
      staging = MakeStagingFolder(args.output);
      const std::string folder = staging->string() + "/";
      if (folder.size() >= sizeof settings.outputDirectory) {
        return Fail(err, "the folder of '" + args.output + "' has too long a name");
      }
      std::snprintf(settings.outputDirectory, sizeof settings.outputDirectory, "%s", folder.c_str());
    }
    struct RemoveStaging {
      std::optional<fs::path>& folder;
      ~RemoveStaging() {
        std::error_code ignored;
        if (folder) fs::remove_all(*folder, ignored);
      }
    } removeStaging{staging};

    const bool terminal = args.progress == "bar" ||
                          (args.progress == "auto" && isatty(STDERR_FILENO));
    ProgressDisplay progress(err, terminal);
    Watch watch;
    host::Desktop& desktop = host::Desktop::Instance();
    const size_t openedBefore = desktop.OpenedCount();
    desktop.SetListener([&](uint32_t, const host::Desktop::Window* window) {
      if (!window) return;
      std::lock_guard lock(watch.mutex);
      if (watch.path.empty()) watch.path = PathFromTitle(window->title);
      if (args.progress != "none") progress.Update(window->pixelsDone, window->pixelsTotal);
    });
    struct StopListening {
      host::Desktop& desktop;
      ~StopListening() { desktop.SetListener(nullptr); }
    } stopListening{desktop};

    InterruptGuard interrupt;
    const auto started = fs::file_time_type::clock::now();
    iface::MenuRecord* menu = session->Plugin().Menu();
    if (!menu || !menu->executeCommand) return Fail(err, "the plug-in offers no menu commands");
    menu->executeCommand(kRenderCommand);

    const auto openBy = Clock::now() + kWindowWait;
    while (desktop.OpenedCount() == openedBefore) {
      if (Clock::now() > openBy) {
        return Fail(err, "the plug-in started no render (LUMETRA_DEBUG=1 shows its reasons)");
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    bool interrupted = false;
    while (!desktop.WaitUntilAllClosed(Clock::now() + std::chrono::milliseconds(50))) {
      if (g_interrupted && !interrupted) {
        interrupted = true;
        desktop.CloseAll();
      }
    }
    {
      std::lock_guard lock(watch.mutex);
      progress.Finish();
    }
    if (interrupted || g_interrupted) return Fail(err, "interrupted; no picture written", kRenderInterrupted);

    std::string base;
    {
      std::lock_guard lock(watch.mutex);
      base = watch.path;
    }
    const fs::path made = base + ExtensionOfLetter(settings.outputFormat);
    std::error_code error;
    if (base.empty() || !fs::exists(made, error) || fs::last_write_time(made, error) < started) {
      return Fail(err, "the render failed; no picture was written (LUMETRA_DEBUG=1 shows why)");
    }
    fs::path result = made;
    if (picture) {
      fs::rename(made, args.output, error);
      if (error) return Fail(err, "cannot move the picture to '" + args.output + "': " + error.message());
      result = args.output;
    }
    out << "Wrote " << result.string() << " (" << settings.width << "x" << settings.height << ")\n";
    return 0;
  } catch (const host::SceneFileError& error) {
    return Fail(err, error.what());
  } catch (const host::PluginError& error) {
    return Fail(err, error.what());
  } catch (const std::exception& error) {
    return Fail(err, error.what());
  }
}

void RegisterRenderCommand(CLI::App& root, const GlobalOptions& options, int& exitCode) {
  auto args = std::make_shared<RenderArgs>();
  CLI::App* command =
      root.add_subcommand("render", "Render a still picture of a scene through the plug-in");
  command->add_option("SCENE", args->scene, "The scene file")->required()->check(CLI::ExistingFile);
  command->add_option("-o,--output", args->output,
                      "The picture to write: .png, .bmp, .tga or .ppm (default: the scene's output "
                      "folder and format, named after the scene)");
  command->add_option("--method", args->method,
                      "Wireframe, \"Hidden Line\", ZBuffer, Scanline or Raytracing (default: the "
                      "plug-in's setting; this run only)");
  command->add_option("--size", args->size, "Picture size as WIDTHxHEIGHT (default: the scene's)");
  command->add_option("--antialias", args->antialias,
                      "Anti-aliasing: up to DEPTH levels of extra samples where neighbours differ "
                      "by more than the scene's threshold; 0 turns it off (default: the scene's)")
      ->option_text("DEPTH")
      ->check(CLI::Range(0, kMaxAntiAliasDepth));
  command->add_flag("--rle", args->runLength, "Run-length packets in a .tga picture");
  command->add_option("--progress", args->progress, "auto, bar, lines or none")
      ->check(CLI::IsMember({"auto", "bar", "lines", "none"}));
  command->footer(
      "The host loads the scene and the plug-in and runs the plug-in's \"&Render\" command,\n"
      "as a click on its menu would; progress goes to stderr. Ctrl-C aborts the render and\n"
      "writes nothing.\n"
      "Example: lumetra render examples/showcase/showcase.json -o showcase.png --size 640x480\n"
      "Exit codes: 0 written; 1 the render failed; 2 bad arguments; 130 interrupted.\n");
  command->callback([args, &options, &exitCode] {
    exitCode = RunRender(*args, LocatePlugin(options.plugin), std::cout, std::cerr);
  });
}

}  // namespace app
