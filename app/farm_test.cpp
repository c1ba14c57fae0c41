// Animations on a render farm: frame ranges and chunks, the frames' records, the batch
// jobs' command lines and scripts (run with a stand-in lumetra, no Slurm), packing, and
// progress lines. Picking, resuming and joining frames are animate_command_test's.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "app/farm_command.h"
#include "app/farm_frames.h"
#include "app/farm_records.h"
#include "app/farm_slurm.h"
#include "app/progress_display.h"
#include "app/testing/file_text.h"
#include "host/scene_file.h"
#include "image/image_writer.h"
#include "platform/testing/scratch_directory.h"

namespace lumetra {
namespace {

namespace fs = std::filesystem;
using app::FrameRange;

// An animation whose scene names an image file beside it.
const std::string kExampleOrbit = std::string(LUMETRA_SOURCE_DIR) + "/examples/orbit/orbit.json";

using app::testing::Slurp;
using app::testing::Spit;

TEST(FrameRanges, ReadRangesStepsAndSingleFrames) {
  std::string problem;
  EXPECT_EQ(app::ParseFrameRange("4-11", problem), (FrameRange{4, 11, 1}));
  EXPECT_EQ(app::ParseFrameRange("0-30:10", problem), (FrameRange{0, 30, 10}));
  EXPECT_EQ(app::ParseFrameRange("7", problem), (FrameRange{7, 7, 1}));
  EXPECT_EQ(app::ParseFrameRange("3-3", problem)->Indices(), std::vector<int32_t>{3});
  EXPECT_EQ(app::ParseFrameRange("0-30:10", problem)->Indices(), (std::vector<int32_t>{0, 10, 20, 30}));
  EXPECT_EQ(app::ParseFrameRange("1-8:3", problem)->Indices(), (std::vector<int32_t>{1, 4, 7}));
  EXPECT_EQ(app::FrameRangeText({0, 30, 10}), "0-30:10");
  EXPECT_EQ(app::FrameRangeText({4, 11, 1}), "4-11");
}

TEST(FrameRanges, RefuseWhatIsNoRangeAndSayWhy) {
  for (const char* bad : {"", "a-b", "4-", "-4", "4-11:", "4-11:0", "4-11:-2", "11-4", "4 - 11", "4-11x",
                          "+4-11", "4-11:2:3", "99999999999-1"}) {
    std::string problem;
    EXPECT_FALSE(app::ParseFrameRange(bad, problem)) << bad;
    EXPECT_NE(problem.find('\'' + std::string(bad) + '\''), std::string::npos) << problem;
  }
}

TEST(FrameRanges, ChunksCoverEveryFrameOnceInOrder) {
  EXPECT_EQ(app::Chunks({0, 30, 1}, 4).size(), 8u);
  EXPECT_EQ(app::Chunks({0, 30, 1}, 4).back(), (FrameRange{28, 30, 1})) << "the last chunk takes the rest";
  EXPECT_EQ(app::Chunks({5, 8, 1}, 10), (std::vector<FrameRange>{{5, 8, 1}}));
  EXPECT_EQ(app::Chunks({0, 20, 5}, 2), (std::vector<FrameRange>{{0, 5, 5}, {10, 15, 5}, {20, 20, 5}}));
  for (const int32_t perChunk : {1, 3, 7, 31, 100}) {
    std::vector<int32_t> covered;
    for (const FrameRange& chunk : app::Chunks({2, 32, 1}, perChunk)) {
      EXPECT_LE(static_cast<int32_t>(chunk.Indices().size()), perChunk);
      for (const int32_t index : chunk.Indices()) covered.push_back(index);
    }
    EXPECT_EQ(covered, (FrameRange{2, 32, 1}.Indices())) << perChunk;
  }
}

TEST(FrameRanges, PickedFramesGroupIntoTheFewestRunsOfTheirStep) {
  EXPECT_EQ(app::RangesOf({1, 2, 3, 7, 9, 10}, 1),
            (std::vector<FrameRange>{{1, 3, 1}, {7, 7, 1}, {9, 10, 1}}));
  EXPECT_EQ(app::RangesOf({0, 10, 20, 40}, 10), (std::vector<FrameRange>{{0, 20, 10}, {40, 40, 10}}));
  EXPECT_TRUE(app::RangesOf({}, 1).empty());
  EXPECT_EQ(app::FramePath("out/walk", 3, ".png"), "out/walk-00003.png");
  EXPECT_EQ(app::FramePath("walk", 123456, ".tif"), "walk-123456.tif");
}

// A small picture of one colour, as a run writes frames.
void WritePicture(const fs::path& path, uint8_t shade) {
  const std::vector<uint8_t> pixels(4 * 4 * 4, shade);
  image::WriteImageFile({pixels, 4, 4}, image::ImageFileFormat::kPng, path.string());
}

TEST(FrameRecords, TellGoodFramesFromMissingDamagedAndStaleOnes) {
  platform::ScratchDirectory dir;
  const fs::path picture = dir / "walk-00001.png";
  const app::FrameOrigin origin{"scene-hash", "settings-hash", "1.0.0"};
  EXPECT_EQ(app::JudgeFrame(picture, origin), app::FrameState::Missing);

  WritePicture(picture, 40);
  EXPECT_EQ(app::JudgeFrame(picture, origin), app::FrameState::Stale)
      << "no record: nobody knows what made it";
  ASSERT_TRUE(app::RecordFrame(picture, origin));
  EXPECT_EQ(app::JudgeFrame(picture, origin), app::FrameState::Good);

  for (const app::FrameOrigin& other : {app::FrameOrigin{"edited-scene", "settings-hash", "1.0.0"},
                                        app::FrameOrigin{"scene-hash", "other-size", "1.0.0"},
                                        app::FrameOrigin{"scene-hash", "settings-hash", "1.1.0"}}) {
    EXPECT_EQ(app::JudgeFrame(picture, other), app::FrameState::Stale)
        << other.scene << other.settings << other.version;
  }

  WritePicture(picture, 200);  // another picture under the recorded one's name
  EXPECT_EQ(app::JudgeFrame(picture, origin), app::FrameState::Damaged);
  const std::string png = Slurp(picture);
  Spit(picture, png.substr(0, png.size() / 2));  // cut short, as a full disk would
  EXPECT_EQ(app::JudgeFrame(picture, origin), app::FrameState::Damaged);
  Spit(app::RecordPathOf(picture), "{ not json");
  WritePicture(picture, 40);
  EXPECT_EQ(app::JudgeFrame(picture, origin), app::FrameState::Stale)
      << "an unreadable record proves nothing";
  EXPECT_FALSE(app::RecordFrame(dir / "gone.png", origin));
}

TEST(FrameRecords, TheSceneHashFollowsTheFilesItNames) {
  platform::ScratchDirectory dir;
  fs::copy_file(kExampleOrbit, dir / "orbit.json");
  fs::copy_file(fs::path(kExampleOrbit).parent_path() / "tiles.png", dir / "tiles.png");
  const app::FrameOrigin first = app::OriginOf((dir / "orbit.json").string(), "size=96x72");
  EXPECT_EQ(app::OriginOf((dir / "orbit.json").string(), "size=96x72"), first);
  EXPECT_NE(app::OriginOf((dir / "orbit.json").string(), "size=64x48").settings, first.settings);
  WritePicture(dir / "tiles.png", 9);  // the texture changed, the scene file did not
  EXPECT_NE(app::OriginOf((dir / "orbit.json").string(), "size=96x72").scene, first.scene);
  EXPECT_EQ(app::HashText("a"), "af63dc4c8601ec8c") << "FNV-1a, stable on every machine";
}

app::FarmJob SomeJob() {
  app::FarmJob job;
  job.folder = "/shared/it's here/orbit.farm";
  job.render.scene = job.folder + "/scene/orbit.json";
  job.render.output = job.folder + "/frames/orbit.png";
  job.render.format = "png";
  job.render.size = "320x180";
  job.render.codec = "FFV1";
  job.render.quality = 0;
  job.movie = "/shared/orbit.avi";
  job.frames = {0, 30, 1};
  job.chunk = 4;
  job.cpus = 2;
  job.partition = "render";
  job.sbatchArgs = {"--time=10", "--mem=2G"};
  job.lumetra = "/opt/lumetra/bin/lumetra";
  job.arrays = {"41"};
  job.joins = {"42"};
  return job;
}

bool Has(const std::vector<std::string>& words, const std::string& word) {
  return std::find(words.begin(), words.end(), word) != words.end();
}

TEST(FarmCommands, TheTaskArrayAndTheJoinAsSbatchIsCalled) {
  const app::FarmJob job = SomeJob();
  EXPECT_EQ(app::ArrayRanges({0, 1, 2, 3, 4, 5, 6, 7}), "0-7");
  EXPECT_EQ(app::ArrayRanges({1, 4, 5, 7}), "1,4-5,7");
  const std::vector<std::string> array = app::ArrayCommand(job, {0, 1, 2, 5});
  EXPECT_EQ(array.front(), "sbatch");
  EXPECT_EQ(array.back(), "task.sh");
  for (const char* word :
       {"--parsable", "--array=0-2,5", "--requeue", "--cpus-per-task=2", "--partition=render", "--time=10",
        "--mem=2G", "--error=logs/task-%a.log", "--open-mode=append"}) {
    EXPECT_TRUE(Has(array, word)) << word;
  }
  EXPECT_TRUE(Has(array, "--chdir=" + job.folder));
  const std::vector<std::string> join = app::JoinCommand(job, "41");
  EXPECT_TRUE(Has(join, "--dependency=afterany:41")) << "a failed task must not keep the join from its retry";
  EXPECT_TRUE(Has(join, "--partition=render"));
  EXPECT_EQ(join.back(), "join.sh");
  app::FarmJob anywhere = job;
  anywhere.partition.clear();
  anywhere.sbatchArgs.clear();
  for (const std::string& word : app::ArrayCommand(anywhere, {0}))
    EXPECT_EQ(word.find("--partition"), std::string::npos);
}

TEST(FarmCommands, SlurmsAnswersAreRead) {
  EXPECT_EQ(app::ParseJobId("1234\n"), "1234");
  EXPECT_EQ(app::ParseJobId("1234;cluster\n"), "1234");
  EXPECT_FALSE(app::ParseJobId("sbatch: error: invalid partition\n"));
  EXPECT_FALSE(app::ParseJobId(""));
  const auto states =
      app::ParseQueue("41_0 RUNNING\n41_3 PENDING\n410_1 RUNNING\n42 PENDING\n41_[4-7] PENDING\n", "41");
  EXPECT_EQ(states.size(), 3u);
  EXPECT_EQ(states.at("0"), "RUNNING");
  EXPECT_EQ(states.at("[4-7]"), "PENDING");
  EXPECT_EQ(states.count("1"), 0u) << "another array's task";
  const std::string log = app::ProgressDisplay::JsonLine(2, 4, 30, 5.0, 12.5, 40.0) + "\n" +
                          app::ProgressDisplay::JsonLine(3, 4, 55, 7.0, 6.25, 41.0) + "\nWrote 4 pictures\n";
  const auto progress = app::LastProgress(log);
  ASSERT_TRUE(progress);
  EXPECT_EQ(progress->frame, 3);
  EXPECT_EQ(progress->frames, 4);
  EXPECT_EQ(progress->percent, 55);
  EXPECT_DOUBLE_EQ(progress->left, 6.3);
  EXPECT_FALSE(app::LastProgress("lumetra animate: the scene needs keys\n"));
}

TEST(FarmCommands, TheRecordReadsBackAndABrokenOneIsRefused) {
  const app::FarmJob job = SomeJob();
  std::string problem;
  const auto back = app::FarmJobFromJson(app::FarmJobToJson(job), problem);
  ASSERT_TRUE(back) << problem;
  EXPECT_EQ(app::FarmJobToJson(*back), app::FarmJobToJson(job));
  EXPECT_EQ(back->FramePicture(7), job.folder + "/frames/orbit-00007.png");
  EXPECT_FALSE(app::FarmJobFromJson("{\"format\": \"lumetra-scene\"}", problem));
  nlohmann::json partial = nlohmann::json::parse(app::FarmJobToJson(job));
  partial.erase("frames");
  EXPECT_FALSE(app::FarmJobFromJson(partial.dump(), problem));
  EXPECT_NE(problem.find("frames"), std::string::npos) << problem;
  partial = nlohmann::json::parse(app::FarmJobToJson(job));
  partial["chunk"] = 0;
  EXPECT_FALSE(app::FarmJobFromJson(partial.dump(), problem));
}

// The task script as a node runs it, with a lumetra that only says what it was asked.
TEST(FarmCommands, EachTaskRendersItsChunkWithTheJobsSettings) {
  platform::ScratchDirectory dir;
  app::FarmJob job = SomeJob();
  job.folder = (dir / "it's a farm").string();
  fs::create_directories(job.folder);
  job.lumetra = (dir / "fake lumetra").string();
  Spit(job.lumetra, "#!/bin/sh\nfor word in \"$@\"; do printf '%s\\n' \"$word\"; done\n");
  fs::permissions(job.lumetra, fs::perms::owner_all);
  Spit(dir / "task.sh", app::TaskScript(job));
  const auto run = [&](const std::string& task) {
    const std::string command = "cd '" + dir.Path().string() + "' && SLURM_ARRAY_TASK_ID=" + task +
                                " SLURM_CPUS_PER_TASK=64 sh task.sh > words 2>/dev/null";
    const int status = std::system(command.c_str());
    std::vector<std::string> words;
    std::istringstream lines(Slurp(dir / "words"));
    for (std::string word; std::getline(lines, word);) words.push_back(word);
    return std::pair{status, words};
  };
  const auto [status, words] = run("7");
  ASSERT_EQ(status, 0);
  const std::vector<std::string> expected = {
      "animate",  job.render.scene, "--output", job.render.output, "--format", "png",      "--codec",
      "FFV1",     "--quality",      "0",        "--size",          "320x180",  "--frames", "28-30",
      "--resume", "--progress",     "json"};
  ASSERT_GE(words.size(), expected.size());
  EXPECT_EQ(std::vector<std::string>(words.end() - static_cast<long>(expected.size()), words.end()),
            expected);
  EXPECT_EQ(run("2").second.end()[-4], "8-11");
  EXPECT_NE(run("8").first, 0) << "no such chunk";
  EXPECT_NE(app::JoinScript(job).find("farm join '" + dir.Path().string() + "/it'\\''s a farm'"),
            std::string::npos);
}

TEST(FarmCommands, PackingCopiesTheSceneWithEveryFileItNames) {
  platform::ScratchDirectory dir;
  const std::string packed = app::PackScene(kExampleOrbit, (dir / "scene").string());
  EXPECT_EQ(packed, (dir / "scene" / "orbit.json").string());
  EXPECT_EQ(Slurp(dir / "scene" / "files" / "1-tiles.png"),
            Slurp(fs::path(kExampleOrbit).parent_path() / "tiles.png"));
  EXPECT_NE(Slurp(packed).find("\"files/1-tiles.png\""), std::string::npos);
  const host::Scene copy = host::LoadScene(packed);  // finds its files in its own folder only
  EXPECT_EQ(copy.ObjectCount(), host::LoadScene(kExampleOrbit).ObjectCount());
  EXPECT_EQ(copy.keying.size(), host::LoadScene(kExampleOrbit).keying.size());
}

// The join of numbered pictures after its one retry: no Slurm is needed to name what is missing.
TEST(FarmCommands, AJoinAfterItsRetryNamesTheMissingFramesAndABadFolderIsSaidSo) {
  platform::ScratchDirectory dir;
  app::FarmJob job = SomeJob();
  job.folder = (dir / "orbit.farm").string();
  job.movie.clear();
  job.render.output = (dir / "orbit.png").string();
  job.frames = {0, 5, 1};
  job.retried = true;
  fs::create_directories(job.folder);
  Spit(fs::path(job.folder) / "farm.json", app::FarmJobToJson(job));
  for (const int32_t index : {0, 1, 2, 4}) {
    WritePicture(job.FramePicture(index), 10);
    ASSERT_TRUE(app::RecordFrame(job.FramePicture(index), {"s", "t", "v"}));
  }
  fs::remove(job.FramePicture(2) + ".made");  // written, but killed before its record
  std::ostringstream out, err;
  EXPECT_EQ(app::RunFarmJoin(job.folder, LUMETRA_PLUGIN_PATH, out, err), 1);
  EXPECT_NE(err.str().find("3 frame(s) are missing"), std::string::npos) << err.str();
  for (const int32_t index : {2, 3, 5})
    EXPECT_NE(err.str().find(job.FramePicture(index)), std::string::npos) << index;
  EXPECT_EQ(err.str().find(job.FramePicture(4)), std::string::npos);

  for (const int32_t index : {2, 3, 5}) {
    WritePicture(job.FramePicture(index), 10);
    ASSERT_TRUE(app::RecordFrame(job.FramePicture(index), {"s", "t", "v"}));
  }
  std::ostringstream done, quiet;
  EXPECT_EQ(app::RunFarmJoin(job.folder, LUMETRA_PLUGIN_PATH, done, quiet), 0) << quiet.str();
  EXPECT_NE(done.str().find("All 6 frames are there"), std::string::npos) << done.str();

  std::ostringstream none, why;
  EXPECT_EQ(app::RunFarmStatus((dir / "elsewhere").string(), none, why), 1);
  EXPECT_NE(why.str().find("no farm job in"), std::string::npos) << why.str();
  Spit(fs::path(job.folder) / "farm.json", "{\"format\": \"lumetra-farm-job\"}");
  EXPECT_EQ(app::RunFarmCancel(job.folder, none, why), 1);
  EXPECT_NE(why.str().find("incomplete"), std::string::npos) << why.str();
}

TEST(ProgressLines, JsonLinesSayTheFrameItsPercentTheTimesAndMemory) {
  const nlohmann::json line =
      nlohmann::json::parse(app::ProgressDisplay::JsonLine(3, 16, 42, 12.34, -1, 55.55));
  EXPECT_EQ(line["frame"], 3);
  EXPECT_EQ(line["frames"], 16);
  EXPECT_EQ(line["percent"], 42);
  EXPECT_DOUBLE_EQ(line["elapsed"].get<double>(), 12.3);
  EXPECT_DOUBLE_EQ(line["left"].get<double>(), -1.0) << "unknown before anything is done";
  EXPECT_DOUBLE_EQ(line["peak_mib"].get<double>(), 55.6);

  std::ostringstream out;
  app::ProgressDisplay progress(out, "json");
  const int64_t perFrame = 1000;
  for (int frame = 1; frame <= 2; ++frame) {
    for (int64_t done = 0; done <= perFrame; done += 5) {
      progress.Update((frame - 1) * perFrame + done, 2 * perFrame, "frame", frame, 2);
    }
  }
  std::vector<nlohmann::json> lines;
  std::istringstream text(out.str());
  for (std::string each; std::getline(text, each);) lines.push_back(nlohmann::json::parse(each));
  ASSERT_FALSE(lines.empty());
  EXPECT_LE(lines.size(), 2u * 101u) << "a line when the percent moves, not at every update";
  EXPECT_EQ(lines.front()["frame"], 1);
  EXPECT_EQ(lines.front()["percent"], 0);
  EXPECT_EQ(lines.back()["frame"], 2);
  EXPECT_EQ(lines.back()["percent"], 100);
  EXPECT_GT(lines.back()["peak_mib"].get<double>(), 0.0);
  for (const nlohmann::json& each : lines) EXPECT_EQ(each["frames"], 2);

  std::ostringstream quiet;
  app::ProgressDisplay none(quiet, "none");
  none.Update(5, 10);
  EXPECT_TRUE(quiet.str().empty());
}

}  // namespace
}  // namespace lumetra
