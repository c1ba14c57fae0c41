// lumetra animate: the scene's animation through the plug-in's "&Animation" command.
#include "app/animate_command.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "animation/testing/avi_test_support.h"
#include "app/render_command.h"
#include "app/testing/file_text.h"
#include "app/testing/interrupt_stream.h"
#include "platform/testing/recording_messages.h"
#include "platform/testing/scratch_directory.h"

namespace lumetra {
namespace {

namespace fs = std::filesystem;

// Sixteen frames at 15 per second: a ball, a turning crate and the camera move.
const std::string kOrbit = std::string(LUMETRA_SOURCE_DIR) + "/animation/testdata/orbit.json";
constexpr int32_t kWidth = 96, kHeight = 72;

struct Outcome {
  int code;
  std::string out, err;
};

Outcome Animate(app::AnimateArgs args) {
  args.scene = kOrbit;
  args.progress = "none";
  std::ostringstream out, err;
  const int code = app::RunAnimate(args, LUMETRA_PLUGIN_PATH, out, err);
  return {code, out.str(), err.str()};
}

// The still of the scene posed at `frames` frames, decoded top row first.
std::vector<uint8_t> StillAt(const fs::path& folder, const std::string& frames) {
  app::RenderArgs args;
  args.scene = kOrbit;
  args.output = (folder / ("still-" + frames + ".png")).string();
  args.time = frames;
  args.progress = "none";
  std::ostringstream out, err;
  EXPECT_EQ(app::RunRender(args, LUMETRA_PLUGIN_PATH, out, err), 0) << err.str();
  const auto decoded = animation::testing::DecodeFrames(args.output, kWidth, kHeight);
  return decoded.empty() ? std::vector<uint8_t>{} : decoded.front();
}

class AnimateCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!animation::testing::HaveFfmpegTools()) GTEST_SKIP() << "ffprobe and ffmpeg are not installed";
  }
  platform::ScratchDirectory dir_;
};

TEST_F(AnimateCommand, ALosslessMovieHoldsEveryFrameAsTheStillOfItsTime) {
  app::AnimateArgs args;
  args.output = (dir_ / "orbit.avi").string();
  args.codec = "FFV1";
  const Outcome run = Animate(args);
  ASSERT_EQ(run.code, 0) << run.err;
  EXPECT_EQ(run.out, "Wrote " + args.output + " (16 frames, 96x72)\n");
  const auto stream = animation::testing::ProbeStream(args.output);
  EXPECT_EQ(stream.at("codec_tag_string"), "FFV1");
  EXPECT_EQ(stream.at("r_frame_rate"), "15/1");
  const auto frames = animation::testing::DecodeFrames(args.output, kWidth, kHeight);
  ASSERT_EQ(frames.size(), 16u);
  // Posing in place gives what translating the posed scene afresh gives, to the pixel.
  for (const int frame : {0, 7, 15}) {
    EXPECT_EQ(frames[static_cast<size_t>(frame)], StillAt(dir_.Path(), std::to_string(frame)))
        << "frame " << frame;
  }
  EXPECT_NE(frames[0], frames[15]) << "the scene moves";
}

TEST_F(AnimateCommand, NumberedPicturesStartAtTheStartsFrameAndALaterRunKeepsTheOldMovie) {
  app::AnimateArgs args;
  args.output = (dir_ / "walk.png").string();
  args.start = "5";
  args.end = "8";
  ASSERT_EQ(Animate(args).code, 0);
  for (const char* name : {"walk-00005.png", "walk-00006.png", "walk-00007.png", "walk-00008.png"}) {
    EXPECT_TRUE(fs::exists(dir_ / name)) << name;
  }
  EXPECT_FALSE(fs::exists(dir_ / "walk-00004.png"));
  EXPECT_FALSE(fs::exists(dir_ / "walk-00009.png"));

  args.output = (dir_ / "walk.avi").string();
  args.codec = "MJPG";
  ASSERT_EQ(Animate(args).code, 0);
  const auto first = fs::file_size(dir_ / "walk.avi");
  args.dropLastFrame = true;
  ASSERT_EQ(Animate(args).code, 0);
  EXPECT_EQ(fs::file_size(dir_ / "walk.bak"), first) << "the first movie is kept as walk.bak";
  // Frames 5 to 7 at their own positions: five empty ones lead.
  EXPECT_EQ(animation::testing::ProbeStream(dir_ / "walk.avi").at("nb_frames"), "8");
}

TEST_F(AnimateCommand, AMovieThatCannotBeMadeAsksAndFallsBackToRunLengthPictures) {
  platform::RecordingMessages messages;
  app::AnimateArgs args;
  args.output = (dir_ / "walk.avi").string();
  args.codec = "ZZZZ";  // no compressor has this code
  args.end = "2";
  messages.AnswerNext(platform::MessageAnswer::Ok);  // the compressor's failure
  messages.AnswerNext(platform::MessageAnswer::Cancel);
  Outcome run = Animate(args);
  EXPECT_EQ(run.code, app::kRenderFailed);
  EXPECT_TRUE(fs::is_empty(dir_.Path())) << "a refusal renders nothing";
  const auto shown = messages.Calls();
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[0].text, "Failed to create video compressor for '" + args.output + "'");
  EXPECT_EQ(shown[1].text, "AVI file won't be created - render anyway?");

  run = Animate(args);  // answered OK
  ASSERT_EQ(run.code, 0) << run.err;
  for (const char* name : {"walk.avi-00000.tga", "walk.avi-00001.tga", "walk.avi-00002.tga"}) {
    EXPECT_TRUE(fs::exists(dir_ / name)) << name;
  }
  EXPECT_FALSE(fs::exists(dir_ / "walk.avi"));
}

TEST_F(AnimateCommand, InterruptingStopsAndLeavesAMovieThatPlaysTheFramesWritten) {
  app::AnimateArgs args;
  args.scene = kOrbit;
  args.output = (dir_ / "long.avi").string();
  args.codec = "MJPG";
  args.end = "600";  // far more frames than are made before the interrupt is taken
  args.progress = "lines";
  std::ostringstream out;
  app::testing::InterruptStream err("frame 4 of ");
  const int code = app::RunAnimate(args, LUMETRA_PLUGIN_PATH, out, err);
  ASSERT_TRUE(err.Sent()) << err.Text();
  EXPECT_EQ(code, app::kRenderInterrupted) << err.Text();
  const auto frames = animation::testing::DecodeFrames(args.output, kWidth, kHeight);
  EXPECT_GE(frames.size(), 3u);
  EXPECT_LT(frames.size(), 601u);
}

TEST_F(AnimateCommand, ArgumentsThatCannotBeUsedSayWhyAndWriteNothing) {
  app::AnimateArgs unknown;
  unknown.output = (dir_ / "orbit.mov").string();
  Outcome run = Animate(unknown);
  EXPECT_EQ(run.code, app::kRenderBadArguments);
  EXPECT_NE(run.err.find("cannot tell the format"), std::string::npos) << run.err;

  app::AnimateArgs size;
  size.size = "0x10";
  run = Animate(size);
  EXPECT_EQ(run.code, app::kRenderBadArguments);
  EXPECT_NE(run.err.find("--size wants WIDTHxHEIGHT"), std::string::npos) << run.err;
  EXPECT_TRUE(fs::is_empty(dir_.Path()));
}

// Frames picked by index, resumed and joined into a movie.
using app::testing::Slurp;
using app::testing::Spit;

std::vector<std::string> Pictures(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) {
    if (entry.path().extension() == ".png") names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

TEST(AnimateFrames, PickedFramesAreTheWholeRunsPicturesUnderTheSameNames) {
  platform::ScratchDirectory dir;
  app::AnimateArgs whole;
  whole.output = (dir / "all" / "orbit.png").string();
  fs::create_directories(dir / "all");
  ASSERT_EQ(Animate(whole).code, 0);
  ASSERT_EQ(Pictures(dir / "all").size(), 16u);

  app::AnimateArgs part = whole;
  part.output = (dir / "part" / "orbit.png").string();
  fs::create_directories(dir / "part");
  part.frames = "3-13:5";
  const Outcome picked = Animate(part);
  ASSERT_EQ(picked.code, 0) << picked.err;
  EXPECT_EQ(Pictures(dir / "part"),
            (std::vector<std::string>{"orbit-00003.png", "orbit-00008.png", "orbit-00013.png"}));
  for (const std::string& name : Pictures(dir / "part")) {
    EXPECT_EQ(Slurp(dir / "part" / name), Slurp(dir / "all" / name)) << name;
  }
  part.frames = "14-40";  // past the end: only the frames there are
  ASSERT_EQ(Animate(part).code, 0);
  EXPECT_EQ(Pictures(dir / "part").size(), 5u);

  part.frames = "0-3";
  part.output = (dir / "part" / "orbit.avi").string();
  const Outcome movie = Animate(part);
  EXPECT_EQ(movie.code, 2);
  EXPECT_NE(movie.err.find("numbered pictures"), std::string::npos) << movie.err;
  part.output = (dir / "part" / "orbit.png").string();
  part.frames = "9-3";
  EXPECT_EQ(Animate(part).code, 2);
  part.frames = "40-50";
  const Outcome beyond = Animate(part);
  EXPECT_EQ(beyond.code, 2);
  EXPECT_NE(beyond.err.find("none of the animation's frames 0-15"), std::string::npos) << beyond.err;
}

TEST(AnimateFrames, AResumeRendersOnlyMissingDamagedAndStaleFrames) {
  platform::ScratchDirectory dir;
  app::AnimateArgs args;
  args.output = (dir / "orbit.png").string();
  ASSERT_EQ(Animate(args).code, 0);
  const std::string good = Slurp(dir / "orbit-00004.png");
  fs::remove(dir / "orbit-00002.png");
  Spit(dir / "orbit-00004.png", "half a picture");
  fs::remove(dir / "orbit-00009.png.made");
  args.resume = true;
  const Outcome resumed = Animate(args);
  ASSERT_EQ(resumed.code, 0) << resumed.err;
  EXPECT_NE(resumed.out.find("13 good, 1 missing, 1 damaged, 1 stale; rendering 3"), std::string::npos)
      << resumed.out;
  // Each frame its own run: a run must not find the one before still claiming the output.
  EXPECT_NE(resumed.out.find("Wrote 3 pictures"), std::string::npos) << resumed.out;
  EXPECT_EQ(Slurp(dir / "orbit-00004.png"), good);
  const Outcome again = Animate(args);
  EXPECT_NE(again.out.find("Nothing to render"), std::string::npos) << again.out;
  args.size = "48x36";  // other settings: every frame is stale
  EXPECT_NE(Animate(args).out.find("rendering 16"), std::string::npos);
}

TEST(AnimateFrames, AMovieOfRenderedFramesNamesTheMissingOnesOrMatchesALocalMovie) {
  if (!animation::testing::HaveFfmpegTools()) GTEST_SKIP() << "ffprobe and ffmpeg are not installed";
  platform::ScratchDirectory dir;
  app::AnimateArgs frames;
  frames.output = (dir / "frames" / "orbit.png").string();
  fs::create_directories(dir / "frames");
  ASSERT_EQ(Animate(frames).code, 0);
  app::AnimateArgs local;
  local.output = (dir / "local.avi").string();
  local.codec = "FFV1";
  ASSERT_EQ(Animate(local).code, 0);

  app::AnimateArgs join = local;
  join.output = (dir / "joined.avi").string();
  join.picturesBase = (dir / "frames" / "orbit").string();
  join.picturesOutput = 3;  // PNG
  fs::remove(dir / "frames" / "orbit-00005.png");
  fs::remove(dir / "frames" / "orbit-00011.png.made");
  const Outcome refused = Animate(join);
  EXPECT_EQ(refused.code, 1);
  EXPECT_NE(refused.err.find("2 of 16 frames"), std::string::npos) << refused.err;
  EXPECT_NE(refused.err.find("orbit-00005.png (missing)"), std::string::npos) << refused.err;
  EXPECT_NE(refused.err.find("orbit-00011.png (stale)"), std::string::npos) << refused.err;
  EXPECT_FALSE(fs::exists(dir / "joined.avi")) << "no movie with a gap";

  frames.resume = true;
  ASSERT_EQ(Animate(frames).code, 0);
  const Outcome joined = Animate(join);
  ASSERT_EQ(joined.code, 0) << joined.err;
  const auto made = animation::testing::DecodeFrames(dir / "joined.avi", kWidth, kHeight);
  EXPECT_EQ(made.size(), 16u);
  EXPECT_EQ(made, animation::testing::DecodeFrames(dir / "local.avi", kWidth, kHeight));
}

// Picked frames of the test scene into `folder`, with the progress a farm's task shows.
app::AnimateArgs PickedFrames(const fs::path& folder, const std::string& frames) {
  app::AnimateArgs args;
  args.scene = kOrbit;
  args.output = (folder / "orbit.png").string();
  args.frames = frames;
  args.progress = "json";
  return args;
}

TEST(AnimateFrames, ATerminatedRunKeepsWholeRecordedFramesAndAResumeRendersTheRest) {
  platform::ScratchDirectory dir;
  app::AnimateArgs args = PickedFrames(dir.Path(), "0-15");
  args.size = "1280x720";  // frames slow enough that the run cannot finish before it hears the signal
  std::ostringstream out;
  app::testing::InterruptStream err("\"frame\":5,", SIGTERM);  // as Slurm stops a task
  const int code = app::RunAnimate(args, LUMETRA_PLUGIN_PATH, out, err);
  ASSERT_TRUE(err.Sent()) << err.Text();
  EXPECT_EQ(code, app::kRenderInterrupted) << err.Text();
  const size_t kept = Pictures(dir.Path()).size();
  EXPECT_GE(kept, 4u);
  EXPECT_LT(kept, 16u);
  args.resume = true;
  args.progress = "none";
  const Outcome resumed = Animate(args);
  ASSERT_EQ(resumed.code, 0) << resumed.err;
  EXPECT_NE(resumed.out.find(std::to_string(kept) + " good, " + std::to_string(16 - kept) +
                             " missing, 0 damaged, 0 stale; rendering " + std::to_string(16 - kept)),
            std::string::npos)
      << resumed.out;
  EXPECT_EQ(Pictures(dir.Path()).size(), 16u);
}

TEST(AnimateFrames, EachPickedFrameIsRecordedAsItLandsNotOnlyWhenTheRunEnds) {
  platform::ScratchDirectory dir;
  const app::AnimateArgs args = PickedFrames(dir.Path(), "2-12:2");
  std::vector<bool> recordedWhileRunning;
  app::testing::InterruptStream err("\"frame\":4,", [&] {  // frames 2, 4 and 6 are done
    for (const char* name : {"orbit-00002.png.made", "orbit-00006.png.made", "orbit-00010.png.made"})
      recordedWhileRunning.push_back(fs::exists(dir / name));
  });
  std::ostringstream out;
  ASSERT_EQ(app::RunAnimate(args, LUMETRA_PLUGIN_PATH, out, err), 0) << err.Text();
  EXPECT_EQ(recordedWhileRunning, (std::vector<bool>{true, true, false}));
  EXPECT_TRUE(fs::exists(dir / "orbit-00012.png.made"));
}

}  // namespace
}  // namespace lumetra
