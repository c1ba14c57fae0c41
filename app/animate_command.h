#pragma once

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>

#include "abi/animation_run_record.h"

#include "app/global_options.h"

namespace CLI {
class App;
}

namespace lumetra::app {

// What `lumetra animate` was asked; empty texts and negative numbers leave the scene's
// own setting.
struct AnimateArgs {
  std::string scene;
  std::string output;  // the movie (.avi) or the numbered pictures' base; empty: beside the scene
  std::string format;  // avi, bmp, dib, png, ppm, tga, tga-rle, tif; empty: by the output's extension
  std::string codec;   // a four-character code
  int quality = -1;    // 1..10000, 0 the codec's default
  int keyFrames = -1;  // frames between key frames, 0 the codec's default
  int dataRate = -1;   // kilobytes per second, 0 the codec's default
  std::string start;   // times as `pose` reads them
  std::string end;
  int rate = -1;     // a frame-rate choice 0..6
  std::string fps;   // "N/D" or "N"
  std::string size;  // "WxH"
  std::string method;
  std::string progress = "auto";
  bool dropLastFrame = false;
  std::string frames;  // "A-B" or "A-B:K" frame indices; empty: all
  bool resume = false;
  // When not empty, the movie is made of these numbered pictures (of the file output
  // choice picturesOutput) instead of rendering, once every frame is there as rendered.
  std::string picturesBase;
  int32_t picturesOutput = -1;
};

// The options of the movie and its frames (--format, --codec ... --size, --method,
// --drop-last-frame), which `farm submit` takes as well.
void AddAnimationOptions(CLI::App& command, AnimateArgs& args);

void RegisterAnimateCommand(CLI::App& root, const GlobalOptions& options, int& exitCode);

// Renders the scene's animation through the plug-in's "&Animation" command and waits for
// it; exit codes as `lumetra render`.
int RunAnimate(const AnimateArgs& args, const std::string& pluginPath, std::ostream& out, std::ostream& err);

// The frames the whole animation has, as the plug-in tells them, rendering none;
// nothing when the arguments are wrong (said on `err`). Throws as RunAnimate's scene
// and plug-in do.
std::optional<abi::AnimationFramesRecord> ListAnimationFrames(const AnimateArgs& args,
                                                              const std::string& pluginPath,
                                                              std::ostream& err);

// The extension of a picture format's name ("png" gives ".png"); empty for none.
std::string PictureExtension(const std::string& format);

}  // namespace lumetra::app
