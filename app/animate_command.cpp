#include "app/animate_command.h"

#include <CLI/CLI.hpp>
#include <array>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <iostream>
#include <map>
#include <optional>
#include <set>
#include <variant>

#include "abi/animation_run_record.h"
#include "app/farm_frames.h"
#include "app/farm_records.h"
#include "app/menu_run.h"
#include "app/plugin_location.h"
#include "app/progress_display.h"
#include "app/render_command.h"
#include "app/settings_overlay.h"
#include "host/host_context.h"
#include "image/image_writer.h"

namespace lumetra::app {
namespace {

namespace fs = std::filesystem;

constexpr std::array<const char*, abi::kOutputTif + 1> kFormats = {"avi", "bmp", "dib",     "png",
                                                                   "ppm", "tga", "tga-rle", "tif"};

int Fail(std::ostream& err, const std::string& message, int code = kRenderFailed) {
  err << "lumetra animate: " << message << "\n";
  return code;
}

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// The output choice of a format's name, or of a file's extension.
std::optional<int32_t> ChoiceOfFormat(const std::string& name) {
  for (size_t i = 0; i < kFormats.size(); ++i) {
    if (name == kFormats[i]) return static_cast<int32_t>(i);
  }
  if (name == "tiff") return abi::kOutputTif;
  return std::nullopt;
}

std::string ExtensionOf(int32_t choice) {
  return choice == abi::kOutputAvi ? ".avi" : image::ExtensionOf(image::FormatForOutputChoice(choice));
}

// A four-character code as typed: up to four characters, padded with blanks ("DIB"); "0"
// for the uncompressed default.
std::optional<uint32_t> FourCharacterCode(const std::string& text) {
  if (text == "0") return 0u;
  if (text.empty() || text.size() > 4) return std::nullopt;
  uint32_t code = 0;
  for (size_t i = 0; i < 4; ++i) {
    const auto c = static_cast<unsigned char>(i < text.size() ? text[i] : ' ');
    if (c < 0x20 || c > 0x7e) return std::nullopt;
    code |= uint32_t{c} << (8 * i);
  }
  return code;
}

// "N/D" or "N" frames per second.
std::optional<std::pair<int32_t, int32_t>> ParseFps(const std::string& text) {
  int numerator = 0, denominator = 1;
  char slash = 0, extra = 0;
  const int read = std::sscanf(text.c_str(), "%d%c%d%c", &numerator, &slash, &denominator, &extra);
  if (!(read == 1 || (read == 3 && slash == '/'))) return std::nullopt;
  if (numerator <= 0 || denominator <= 0 || numerator > abi::kTicksPerSecond * denominator)
    return std::nullopt;
  return std::pair{numerator, denominator};
}

struct Output {
  int32_t choice;
  std::string base;  // what the plug-in gets: the path without the movie's or pictures' extension
};

std::optional<Output> ChooseOutput(const AnimateArgs& args, std::string& problem) {
  std::optional<int32_t> choice;
  if (!args.format.empty()) choice = ChoiceOfFormat(args.format);
  fs::path output = args.output.empty() ? fs::path(args.scene).replace_extension("") : fs::path(args.output);
  const std::string extension = Lower(output.extension().string());
  const std::optional<int32_t> byExtension =
      extension.size() > 1 ? ChoiceOfFormat(extension.substr(1)) : std::nullopt;
  if (!choice) choice = args.output.empty() ? 0 : byExtension;
  if (!choice) {
    problem =
        "cannot tell the format of '" + args.output + "': give --format or use .avi, .bmp, .png, .tga ...";
    return std::nullopt;
  }
  // The extension the plug-in adds is not given twice.
  if (byExtension && (*byExtension == *choice || ExtensionOf(*byExtension) == ExtensionOf(*choice))) {
    output.replace_extension("");
  }
  std::error_code error;
  const fs::path absolute = fs::absolute(output, error);
  if (error || absolute.string().size() >= sizeof(abi::AnimationRunRecord{}.outputBase) - 16) {
    problem = "the output name '" + output.string() + "' is too long";
    return std::nullopt;
  }
  return Output{*choice, absolute.string()};
}

// `rate` is numerator and denominator, zeros when the scene's rate stays.
abi::AnimationRunRecord RunRecord(const AnimateArgs& args, const Output& output,
                                  std::pair<int32_t, int32_t> rate, KeyingSession& keying) {
  abi::AnimationRunRecord run{};
  run.size = sizeof run;
  run.version = abi::kAnimationRunVersion;
  run.fields = abi::kRunFileOutput | abi::kRunOutputBase | abi::kRunThroughLastKey;
  run.fileOutput = output.choice;
  std::snprintf(run.outputBase, sizeof run.outputBase, "%s", output.base.c_str());
  const auto set = [&](abi::AnimationRunField field, int32_t& slot, int32_t value) {
    run.fields |= field;
    slot = value;
  };
  if (!args.codec.empty()) {
    run.fields |= abi::kRunCompressor;
    run.compressor = *FourCharacterCode(args.codec);
  }
  if (args.quality >= 0) set(abi::kRunQuality, run.quality, args.quality);
  if (args.keyFrames >= 0) set(abi::kRunKeyFrames, run.keyFrameEvery, args.keyFrames);
  if (args.dataRate >= 0) set(abi::kRunDataRate, run.dataRate, args.dataRate);
  if (rate.first > 0) {
    run.fields |= abi::kRunFrameRate;
    run.rateNumerator = rate.first;
    run.rateDenominator = rate.second;
  }
  if (!args.start.empty()) set(abi::kRunStart, run.startTime, keying.Ticks(args.start));
  if (!args.end.empty()) set(abi::kRunEnd, run.endTime, keying.Ticks(args.end));
  if (args.dropLastFrame) set(abi::kRunDropLastFrame, run.dropLastFrame, 1);
  return run;
}

// How far the animation is, from what its render window shows: "Frame k of n" in the
// status bar's last part, the frame's time in its first, the pixels done of the frame.
struct FrameProgress {
  int frame = 0;
  int frames = 0;
  std::string time;

  // The time is taken when the counter moves: the window shows the new frame's time first.
  void Read(const host::Desktop::Window& window) {
    int now = 0, of = 0;
    if (std::sscanf(window.status[abi::kStatusPartCounter].c_str(), "Frame %d of %d", &now, &of) != 2 ||
        now == frame)
      return;
    frame = now;
    frames = of;
    time = window.status[abi::kStatusPartTime];
  }
  std::string Label() const {
    std::string label = "frame " + std::to_string(frame) + " of " + std::to_string(frames);
    return time.empty() ? label : label + " at " + time;
  }
};

// The files the run made since `since`: the movie, or the numbered pictures (of
// `indices` when given: other runs may write beside it).
std::vector<fs::path> FilesMade(const Output& output, fs::file_time_type since,
                                const std::vector<int32_t>& indices) {
  std::vector<fs::path> made;
  std::error_code error;
  const fs::path base(output.base);
  const auto fresh = [&](const fs::path& path) { return WrittenSince(path, since); };
  if (output.choice == abi::kOutputAvi && fresh(base.string() + ".avi")) return {base.string() + ".avi"};
  if (!indices.empty()) {
    for (const int32_t index : indices) {
      const fs::path picture = FramePath(output.base, index, ExtensionOf(output.choice));
      if (fresh(picture)) made.push_back(picture);
    }
    return made;
  }
  // Numbered pictures, also the run-length TGA frames that stand in for a movie that could not be made.
  const std::string prefix = base.filename().string() + (output.choice == abi::kOutputAvi ? ".avi-" : "-");
  const std::string extension = output.choice == abi::kOutputAvi ? ".tga" : ExtensionOf(output.choice);
  const fs::path folder = base.has_parent_path() ? base.parent_path() : fs::path(".");
  for (const auto& entry : fs::directory_iterator(folder, error)) {
    const std::string name = entry.path().filename().string();
    if (name.rfind(prefix, 0) == 0 && entry.path().extension() == extension && fresh(entry.path()))
      made.push_back(entry.path());
  }
  std::sort(made.begin(), made.end());
  return made;
}

// The settings that change the pictures, as text for a frame's record.
std::string PictureSettings(const AnimateArgs& args, int32_t choice) {
  return "format=" + std::to_string(choice) + " size=" + args.size + " method=" + args.method +
         " fps=" + args.fps + " rate=" + std::to_string(args.rate) + " start=" + args.start +
         " end=" + args.end + " drop-last=" + std::to_string(args.dropLastFrame);
}

// The frames of one run of the plug-in's "&Animation", followed on its render window.
class AnimationRuns {
 public:
  AnimationRuns(HostSession& session, std::ostream& err, const std::string& progress, int framesInAll)
      : session_(session), progress_(err, progress), framesInAll_(framesInAll) {}

  // One run with `run` as the host's answer to the plug-in; progress counts on from the
  // frames of the runs before. `written` hears of each frame of the run (from 1) once the
  // next one has begun: it is on disk then.
  RunEnd Run(const abi::AnimationRunRecord& run, const std::function<void(int)>& written = {}) {
    session_.Context().animationRun = run;
    FrameProgress frames;
    const RunEnd end =
        RunAndFollow(session_, abi::kMenuTextAnimation, [&](const host::Desktop::Window& window) {
          const int before = frames.frame;
          frames.Read(window);
          if (written && before > 0 && frames.frame > before) written(before);
          if (frames.frames == 0 || window.pixelsTotal <= 0) return;
          const int inAll = framesInAll_ > 0 ? framesInAll_ : frames.frames;
          const int frame = done_ + frames.frame;
          const int64_t total = int64_t{inAll} * window.pixelsTotal;
          const int64_t done = int64_t{frame - 1} * window.pixelsTotal + window.pixelsDone;
          progress_.Update(done, total,
                           "frame " + std::to_string(frame) + " of " + std::to_string(inAll) +
                               (frames.time.empty() ? "" : " at " + frames.time),
                           frame, inAll);
        });
    done_ += frames.frames;
    renderedFrames_ = frames.frames;
    return end;
  }
  void Finish() { progress_.Finish(); }
  int RenderedFrames() const { return renderedFrames_; }

 private:
  HostSession& session_;
  ProgressDisplay progress_;
  int framesInAll_;
  int done_ = 0;
  int renderedFrames_ = 0;
};

// The whole animation's frames as the plug-in tells them, rendering nothing.
std::optional<abi::AnimationFramesRecord> ListFrames(HostSession& session, abi::AnimationRunRecord run) {
  run.fields |= abi::kRunListOnly;
  session.Context().animationFrames.reset();
  session.Context().animationRun = run;
  RunMenuCommand(session, abi::kMenuTextAnimation);
  return session.Context().animationFrames;
}

// What an animate command line asks, checked; the exit code and message otherwise.
struct Request {
  Output output;
  std::pair<int32_t, int32_t> rate;  // zeros: the scene's
  std::optional<FrameRange> range;
};

std::variant<Request, int> Check(const AnimateArgs& args, const std::string& pluginPath, std::ostream& err) {
  if (!args.size.empty() && !SizeProblem(args.size).empty()) {
    return Fail(err, "--size " + SizeProblem(args.size), kRenderBadArguments);
  }
  if (const std::string problem = args.method.empty() ? "" : MethodProblem(args.method, pluginPath);
      !problem.empty()) {
    return Fail(err, problem, kRenderBadArguments);
  }
  if (!args.fps.empty() && !ParseFps(args.fps)) {
    return Fail(err, "--fps wants N or N/D frames per second (at most 4800), not '" + args.fps + "'",
                kRenderBadArguments);
  }
  std::string problem;
  const std::optional<Output> output = ChooseOutput(args, problem);
  if (!output) return Fail(err, problem, kRenderBadArguments);
  std::optional<FrameRange> range;
  if (!args.frames.empty() && !(range = ParseFrameRange(args.frames, problem))) {
    return Fail(err, "--frames: " + problem, kRenderBadArguments);
  }
  if ((range || args.resume) && output->choice == abi::kOutputAvi) {
    return Fail(err,
                "--frames and --resume make numbered pictures: give a picture --format (png, tif ...); "
                "`lumetra farm join` makes the movie of them",
                kRenderBadArguments);
  }
  std::pair<int32_t, int32_t> rate{0, 0};
  if (!args.fps.empty()) rate = ParseFps(args.fps).value_or(rate);
  if (args.rate >= 0) {
    const abi::FrameRateFraction& choice = abi::kFrameRateChoices.at(static_cast<size_t>(args.rate));
    rate = {choice.numerator, choice.denominator};
  }
  return Request{*output, rate, range};
}

// The scene open with its keys played, posed at the start and set up for the run.
struct AnimationSession {
  std::optional<SettingsOverlay> overlay;
  std::unique_ptr<KeyingSession> keying;
  abi::AnimationRunRecord run;

  AnimationSession(const AnimateArgs& args, const std::string& pluginPath, const Request& request) {
    if (!args.method.empty()) {
      overlay.emplace();
      overlay->SetRenderMethod(*abi::RenderMethodByName(args.method));
    }
    keying = std::make_unique<KeyingSession>(args.scene, pluginPath);
    keying->PoseAt(args.start.empty() ? 0 : keying->Ticks(args.start));
    host::Scene& scene = keying->Session().Scene();
    ApplyRenderSize(scene, args.size);
    scene.render.showWindow = 0;             // nobody would close it
    scene.render.outputDirectory[0] = '\0';  // the run names the whole path
    run = RunRecord(args, request.output, request.rate, *keying);
  }
  HostSession& Session() { return keying->Session(); }
};

int Animate(const AnimateArgs& args, const std::string& pluginPath, std::ostream& out, std::ostream& err) {
  const std::variant<Request, int> checked = Check(args, pluginPath, err);
  if (const int* code = std::get_if<int>(&checked)) return *code;
  const Request& request = std::get<Request>(checked);
  const Output* output = &request.output;
  const std::optional<FrameRange>& range = request.range;
  const bool joining = !args.picturesBase.empty();
  const bool picking = range || args.resume;
  // The frames' records: what made them. A join compares the pictures' records with it.
  const int32_t pictureChoice = joining ? args.picturesOutput : output->choice;
  const FrameOrigin origin = OriginOf(args.scene, PictureSettings(args, pictureChoice));

  AnimationSession prepared(args, pluginPath, request);
  HostSession& session = prepared.Session();
  const abi::RenderSettingsRecord& settings = session.Scene().render;
  abi::AnimationRunRecord& run = prepared.run;

  // Which frames to make: all in one run, or those picked, in as few runs as they allow.
  std::vector<FrameRange> runs;
  std::vector<int32_t> pickedFrames;
  int framesInAll = 0;
  if (picking || joining) {
    const std::optional<abi::AnimationFramesRecord> whole = ListFrames(session, run);
    if (!whole) return Fail(err, "the plug-in did not tell the animation's frames");
    if (whole->count <= 0) return Fail(err, "the animation has no frames at its frame rate");
    FrameRange all{whole->firstIndex, whole->firstIndex + whole->count - 1, 1};
    if (range) {
      const FrameRange whole = all;
      all = {std::max(range->first, all.first), std::min(range->last, all.last), range->stride};
      if (all.first > all.last) {
        return Fail(
            err, "--frames " + args.frames + " holds none of the animation's frames " + FrameRangeText(whole),
            kRenderBadArguments);
      }
    }
    std::vector<int32_t> wanted;
    std::map<FrameState, int> states;
    const fs::path base = joining ? fs::path(args.picturesBase) : fs::path(output->base);
    const std::string extension = ExtensionOf(pictureChoice);
    std::vector<std::string> unfit;  // a join's frames that are not there as rendered
    for (const int32_t index : all.Indices()) {
      const FrameState state = args.resume || joining
                                   ? JudgeFrame(FramePath(base.string(), index, extension), origin)
                                   : FrameState::Missing;
      ++states[state];
      if (state == FrameState::Good && !joining) continue;
      if (state != FrameState::Good)
        unfit.push_back(FramePath(base.filename().string(), index, extension) + " (" + FrameStateName(state) +
                        ")");
      wanted.push_back(index);
    }
    if (joining && !unfit.empty()) {
      std::string names;
      for (size_t k = 0; k < unfit.size() && k < 20; ++k) names += "\n  " + unfit[k];
      if (unfit.size() > 20) names += "\n  ... and " + std::to_string(unfit.size() - 20) + " more";
      return Fail(err, std::to_string(unfit.size()) + " of " + std::to_string(whole->count) +
                           " frames are not there as rendered; no movie was written:" + names);
    }
    if (args.resume) {
      out << "Frames " << FrameRangeText(all) << ": " << states[FrameState::Good] << " good, "
          << states[FrameState::Missing] << " missing, " << states[FrameState::Damaged] << " damaged, "
          << states[FrameState::Stale] << " stale; rendering " << wanted.size() << "\n";
    }
    if (wanted.empty()) {
      out << "Nothing to render: every frame of " << FrameRangeText(all) << " is there\n";
      return 0;
    }
    runs = joining ? std::vector<FrameRange>{} : RangesOf(wanted, all.stride);
    if (!joining) pickedFrames = wanted;
    framesInAll = static_cast<int>(wanted.size());
  }
  if (joining) {
    run.fields |= abi::kRunFromPictures;
    run.picturesOutput = args.picturesOutput;
    std::snprintf(run.picturesBase, sizeof run.picturesBase, "%s", args.picturesBase.c_str());
  }

  AnimationRuns animation(session, err, args.progress, framesInAll);
  InterruptGuard interrupt;
  const auto started = fs::file_time_type::clock::now();
  std::set<fs::path> recorded;
  const auto record = [&](const fs::path& picture) {
    if (recorded.insert(picture).second) RecordFrame(picture, origin);
  };
  RunEnd end = RunEnd::Closed;
  if (runs.empty()) {
    end = animation.Run(run);
  } else {
    for (const FrameRange& part : runs) {
      run.fields |= abi::kRunFrames;
      run.firstFrame = part.first;
      run.lastFrame = part.last;
      run.frameStride = part.stride;
      // Each frame gets its record as it lands, so that others (a farm's status) count it.
      end = animation.Run(run, [&](int frame) {
        const fs::path picture =
            FramePath(output->base, part.first + (frame - 1) * part.stride, ExtensionOf(output->choice));
        if (WrittenSince(picture, started)) record(picture);
      });
      if (end != RunEnd::Closed) break;
    }
  }
  animation.Finish();
  if (end == RunEnd::NoCommand) return Fail(err, "the plug-in offers no \"&Animation\" command");
  if (end == RunEnd::NoWindow) {
    return Fail(err,
                "the plug-in started no animation: the scene needs keys (LUMETRA_DEBUG=1 shows its reasons)");
  }
  const std::vector<fs::path> made = FilesMade(*output, started, pickedFrames);
  if (output->choice != abi::kOutputAvi) {
    for (const fs::path& picture : made) record(picture);
  }
  if (end == RunEnd::Interrupted) {
    return Fail(err, "interrupted; " + std::to_string(made.size()) + " file(s) kept", kRenderInterrupted);
  }
  if (made.empty()) return Fail(err, "the animation failed; nothing was written (LUMETRA_DEBUG=1 shows why)");
  if (made.size() == 1 && made.front().extension() == ".avi") {
    out << "Wrote " << made.front().string() << " (" << animation.RenderedFrames() << " frames, "
        << settings.width << "x" << settings.height << ")\n";
  } else {
    out << "Wrote " << made.size() << " pictures " << made.front().string() << " ... " << made.back().string()
        << " (" << settings.width << "x" << settings.height << ")\n";
  }
  return 0;
}

CLI::Validator FormatCheck() {
  return CLI::Validator(
      [](const std::string& text) {
        return ChoiceOfFormat(text) ? std::string() : "unknown format '" + text + "'";
      },
      "FORMAT");
}

CLI::Validator CodecCheck() {
  return CLI::Validator(
      [](const std::string& text) {
        return FourCharacterCode(text) ? std::string()
                                       : "a codec is a four-character code such as MJPG, not '" + text + "'";
      },
      "FOURCC");
}

CLI::Validator FpsCheck() {
  return CLI::Validator(
      [](const std::string& text) {
        return ParseFps(text) ? std::string()
                              : "wants N or N/D frames per second (at most 4800), not '" + text + "'";
      },
      "N/D");
}

}  // namespace

std::optional<abi::AnimationFramesRecord> ListAnimationFrames(const AnimateArgs& args,
                                                              const std::string& pluginPath,
                                                              std::ostream& err) {
  const std::variant<Request, int> checked = Check(args, pluginPath, err);
  if (!std::holds_alternative<Request>(checked)) return std::nullopt;
  AnimationSession prepared(args, pluginPath, std::get<Request>(checked));
  return ListFrames(prepared.Session(), prepared.run);
}

std::string PictureExtension(const std::string& format) {
  const std::optional<int32_t> choice = ChoiceOfFormat(format);
  return choice ? ExtensionOf(*choice) : "";
}

int RunAnimate(const AnimateArgs& args, const std::string& pluginPath, std::ostream& out, std::ostream& err) {
  try {
    return Animate(args, pluginPath, out, err);
  } catch (const std::exception& error) {  // a bad scene file, a plug-in that cannot be had, ...
    return Fail(err, error.what());
  }
}

void AddAnimationOptions(CLI::App& command, AnimateArgs& args) {
  command
      .add_option("--format", args.format,
                  "avi, bmp, dib, png, ppm, tga, tga-rle or tif (default: by the "
                  "output's extension, else avi)")
      ->check(FormatCheck());
  command
      .add_option("--codec", args.codec,
                  "The movie's compressor as a four-character code: DIB (uncompressed), MSVC, MJPG, cvid, "
                  "FFV1, XVID, H264 ... (default: the scene's)")
      ->check(CodecCheck());
  command.add_option("--quality", args.quality, "Compression quality 1..10000; 0 the codec's default")
      ->check(CLI::Range(0, 10000));
  command.add_option("--keyframes", args.keyFrames, "A key frame every N frames; 0 the codec's default")
      ->check(CLI::Range(0, 100000));
  command
      .add_option("--data-rate", args.dataRate, "Data rate in kilobytes per second; 0 the codec's default")
      ->check(CLI::Range(0, 1000000));
  command.add_option("--start", args.start, "First frame's time: 480t ticks, 2s seconds or 12 frames");
  command.add_option("--end", args.end,
                     "Last frame's time (default: the scene's end or its last key, whichever is later)");
  auto* rate = command
                   .add_option("--rate", args.rate,
                               "Frame rate choice: 0 10 FPS, 1 15 FPS, 2 24 FPS, 3 25 FPS, 4 30 FPS, 5 NTSC "
                               "(5994/100), 6 60 FPS")
                   ->check(CLI::Range(0, static_cast<int>(abi::kFrameRateChoices.size()) - 1));
  command.add_option("--fps", args.fps, "Frame rate as N or N/D frames per second")
      ->check(FpsCheck())
      ->excludes(rate);
  command.add_option("--size", args.size, "Picture size as WIDTHxHEIGHT (default: the scene's)")
      ->check(SizeCheck());
  command
      .add_option("--method", args.method,
                  "Wireframe, \"Hidden Line\", ZBuffer, Scanline, Raytracing, POV-Ray or RIB")
      ->check(MethodCheck());
  command.add_flag(
      "--drop-last-frame", args.dropLastFrame,
      "Leave out a frame that falls on the end time, so a looping movie does not repeat its first "
      "picture");
}

void RegisterAnimateCommand(CLI::App& root, const GlobalOptions& options, int& exitCode) {
  auto args = std::make_shared<AnimateArgs>();
  CLI::App* command =
      root.add_subcommand("animate", "Render a scene's animation to an AVI movie or numbered pictures");
  command->add_option("SCENE", args->scene, "The scene file")->required()->check(CLI::ExistingFile);
  command->add_option("-o,--output", args->output,
                      "The movie (.avi) or the numbered pictures' name (walk.png gives walk-00000.png ...); "
                      "default: beside the scene, named after it");
  AddAnimationOptions(*command, *args);
  command->add_option("--frames", args->frames,
                      "Only the frames A-B (indices from 0), or every K-th of them with A-B:K; numbered "
                      "pictures named as a whole run names them");
  command->add_flag("--resume", args->resume,
                    "Render only the frames that are missing, damaged or stale (made from another scene, "
                    "other settings or another version: each picture's .made record says)");
  AddProgressOption(*command, args->progress);
  AddThreadsOption(*command);
  command->footer(
      "The scene's keys (its keying script and keyframe data) are played, the scene is posed at the start\n"
      "and the plug-in's \"&Animation\" command renders every frame, posing the scene in place. The\n"
      "animation settings come from the scene's keyframe data (else the registry's defaults); options\n"
      "change them for this run only. An existing movie is kept as .bak. Ctrl-C stops after the frame in\n"
      "hand and closes the movie so that the frames written play.\n"
      "Example: lumetra animate examples/orbit/orbit.json -o orbit.avi --codec MJPG --size 320x240\n"
      "Exit codes: 0 written; 1 the animation failed; 2 bad arguments; 130 interrupted.\n");
  command->callback([args, &options, &exitCode] {
    exitCode = RunAnimate(*args, LocatePlugin(options.plugin), std::cout, std::cerr);
  });
}

}  // namespace lumetra::app
