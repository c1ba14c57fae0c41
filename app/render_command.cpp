#include "app/render_command.h"

#include <stdlib.h>

#include <CLI/CLI.hpp>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <optional>

#include "app/global_options.h"
#include "app/host_session.h"
#include "app/menu_run.h"
#include "app/plugin_location.h"
#include "app/progress_display.h"
#include "app/settings_overlay.h"
#include "host/host_context.h"
#include "platform/file_io.h"

namespace lumetra::app {
namespace {

namespace fs = std::filesystem;

// Any mode but 1 (one level only) lets the depth of the settings count.
constexpr uint32_t kAdaptiveAntiAliasMode = 2;
// The deepest anti-aliasing the render library takes.
constexpr int kMaxAntiAliasDepth = 8;

struct Picture {
  abi::OutputFormatLetter formatLetter;
  const char* extension;
};

std::optional<Picture> PictureFor(const std::string& path, bool runLength) {
  std::string extension = fs::path(path).extension().string();
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (extension == ".png") return Picture{abi::kLetterPng, ".png"};
  if (extension == ".bmp") return Picture{abi::kLetterBmp, ".bmp"};
  if (extension == ".ppm") return Picture{abi::kLetterPpm, ".ppm"};
  if (extension == ".tga") return Picture{runLength ? abi::kLetterTgaRle : abi::kLetterTga, ".tga"};
  return std::nullopt;
}

const char* ExtensionOfLetter(uint32_t letter) {
  switch (letter) {
    case abi::kLetterBmp:
      return ".bmp";
    case abi::kLetterPng:
      return ".png";
    case abi::kLetterPpm:
      return ".ppm";
    default:
      return ".tga";
  }
}

// A folder beside the requested picture, so that the finished file moves into place
// with one rename. Its name is absolute: the plug-in reads a relative output folder from
// the scene's folder, not from ours.
fs::path MakeStagingFolder(const fs::path& output) {
  const fs::path folder = fs::absolute(output).parent_path();
  std::string pattern = (folder / ".lumetra-render-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) {
    throw std::runtime_error("cannot write into " + folder.string());
  }
  return pattern;
}

// The render window's title names the picture being made: "Render: <path>".
std::string PathFromTitle(const std::string& title) {
  const std::string_view prefix = abi::kRenderTitlePrefix;
  return title.rfind(prefix, 0) == 0 ? title.substr(prefix.size()) : std::string();
}

int Fail(std::ostream& err, const std::string& message, int code = kRenderFailed) {
  err << "lumetra render: " << message << "\n";
  return code;
}

}  // namespace

int RunRender(const RenderArgs& args, const std::string& pluginPath, std::ostream& out, std::ostream& err) {
  if (!args.size.empty() && !SizeProblem(args.size).empty()) {
    return Fail(err, "--size " + SizeProblem(args.size), kRenderBadArguments);
  }
  if (const std::string problem = args.method.empty() ? "" : MethodProblem(args.method, pluginPath);
      !problem.empty()) {
    return Fail(err, problem, kRenderBadArguments);
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
    if (!args.method.empty()) {
      overlay.emplace();
      overlay->SetRenderMethod(*abi::RenderMethodByName(args.method));
    }
    RenderScene opened(args.scene, pluginPath, args.time);
    HostSession& session = opened.Session();
    abi::RenderSettingsRecord& settings = session.Scene().render;
    ApplyRenderSize(session.Scene(), args.size);
    if (args.antialias >= 0) {
      settings.antialias = args.antialias > 0;
      settings.antialiasMode = kAdaptiveAntiAliasMode;
      settings.antialiasDepth = static_cast<uint32_t>(args.antialias);
    }
    settings.showWindow = 0;  // nobody would close it
    std::optional<fs::path> staging;
    if (picture) {
      settings.outputFormat = picture->formatLetter;
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

    ProgressDisplay progress(err, args.progress);
    std::string base;  // the picture being made, without its extension
    InterruptGuard interrupt;
    const auto started = fs::file_time_type::clock::now();
    const RunEnd end = RunAndFollow(session, abi::kMenuTextRender, [&](const host::Desktop::Window& window) {
      if (base.empty()) base = PathFromTitle(window.title);
      if (args.progress != "none") progress.Update(window.pixelsDone, window.pixelsTotal);
    });
    progress.Finish();
    if (end == RunEnd::NoCommand) return Fail(err, "the plug-in offers no \"&Render\" command");
    if (end == RunEnd::NoWindow) {
      return Fail(err, "the plug-in started no render (LUMETRA_DEBUG=1 shows its reasons)");
    }
    if (end == RunEnd::Interrupted) return Fail(err, "interrupted; no picture written", kRenderInterrupted);

    const fs::path made = base + ExtensionOfLetter(settings.outputFormat);
    std::error_code error;
    if (base.empty() || !WrittenSince(made, started)) {
      return Fail(err, "the render failed; no picture was written (LUMETRA_DEBUG=1 shows why)");
    }
    fs::path result = made;
    if (picture) {
      error = platform::ReplaceFile(made, args.output);
      if (error) return Fail(err, "cannot move the picture to '" + args.output + "': " + error.message());
      result = args.output;
    }
    out << "Wrote " << result.string() << " (" << settings.width << "x" << settings.height << ")\n";
    return 0;
  } catch (const std::exception& error) {  // a bad scene file, a plug-in that cannot be had, ...
    return Fail(err, error.what());
  }
}

void RegisterRenderCommand(CLI::App& root, const GlobalOptions& options, int& exitCode) {
  auto args = std::make_shared<RenderArgs>();
  CLI::App* command = root.add_subcommand("render", "Render a still picture of a scene through the plug-in");
  command->add_option("SCENE", args->scene, "The scene file")->required()->check(CLI::ExistingFile);
  command->add_option("-o,--output", args->output,
                      "The picture to write: .png, .bmp, .tga or .ppm (default: the scene's output "
                      "folder and format, named after the scene)");
  command
      ->add_option("--method", args->method,
                   "Wireframe, \"Hidden Line\", ZBuffer, Scanline, Raytracing, POV-Ray or RIB (default: the "
                   "plug-in's setting; this run only)")
      ->check(MethodCheck());
  command->add_option("--size", args->size, "Picture size as WIDTHxHEIGHT (default: the scene's)")
      ->check(SizeCheck());
  command->add_option("--time", args->time,
                      "Render the scene posed at this time by its keys: 480t ticks, 2s seconds or "
                      "12 frames (default: the scene as saved)");
  command
      ->add_option("--antialias", args->antialias,
                   "Anti-aliasing: up to DEPTH levels of extra samples where neighbours differ "
                   "by more than the scene's threshold; 0 turns it off (default: the scene's)")
      ->option_text("DEPTH")
      ->check(CLI::Range(0, kMaxAntiAliasDepth));
  command->add_flag("--rle", args->runLength, "Run-length packets in a .tga picture");
  AddProgressOption(*command, args->progress);
  AddThreadsOption(*command);
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

}  // namespace lumetra::app
