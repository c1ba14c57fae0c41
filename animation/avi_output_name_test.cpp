// Moving an old AVI aside and the names of jobs writing the same file.
#include "animation/avi_output_name.h"

#include <gtest/gtest.h>

#include <fstream>

#include "animation/avi_writer.h"
#include "platform/testing/recording_messages.h"
#include "platform/testing/recording_save_file_dialog.h"
#include "platform/testing/scratch_directory.h"

namespace lumetra::animation {
namespace {

class OutputNameTest : public ::testing::Test {
 protected:
  std::shared_ptr<render::RenderJob> JobWriting(const std::string& path) const {
    auto job = std::make_shared<render::RenderJob>();
    job->outputPath = path;
    return job;
  }

  std::string Write(const std::string& name, const std::string& contents) const {
    std::ofstream(scratch_ / name) << contents;
    return (scratch_ / name).string();
  }

  std::string Contents(const std::string& name) const {
    std::ifstream in(scratch_ / name);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }

  platform::ScratchDirectory scratch_;
  platform::RecordingMessages messages_;
  platform::RecordingSaveFileDialog dialog_;
};

TEST_F(OutputNameTest, AnOldAviOfAnyLetterCaseBecomesBak) {
  Write("walk.bak", "older still");
  auto job = JobWriting(Write("walk.AVI", "old frames"));
  EXPECT_TRUE(MakeWayForOutput(*job));
  EXPECT_FALSE(std::filesystem::exists(scratch_ / "walk.AVI"));
  EXPECT_EQ(Contents("walk.bak"), "old frames");
  EXPECT_EQ(messages_.Count(), 0u);
}

TEST_F(OutputNameTest, ANewNameOrAnotherExtensionIsLeftAsItIs) {
  auto fresh = JobWriting((scratch_ / "new.avi").string());
  EXPECT_TRUE(MakeWayForOutput(*fresh));
  // A name the save-file dialog gave, where the user agreed to replace the file.
  auto picked = JobWriting(Write("walk.mov", "replace me"));
  EXPECT_TRUE(MakeWayForOutput(*picked));
  EXPECT_EQ(Contents("walk.mov"), "replace me");
  EXPECT_FALSE(std::filesystem::exists(scratch_ / "walk.bak"));
}

TEST_F(OutputNameTest, ABackupThatCannotBeReplacedIsDeletedFirst) {
  // rename() cannot put a file over a folder, but an empty folder can be removed.
  std::filesystem::create_directory(scratch_ / "walk.bak");
  auto job = JobWriting(Write("walk.avi", "old frames"));
  EXPECT_TRUE(MakeWayForOutput(*job));
  EXPECT_EQ(Contents("walk.bak"), "old frames");
  EXPECT_EQ(messages_.Count(), 0u);
}

TEST_F(OutputNameTest, JobsWritingTheSameFileInAnotherLetterCaseMakeTheUserPickAnother) {
  render::JobList jobs;
  auto first = JobWriting("C:/out/WALK.avi");
  auto second = JobWriting("c:/out/walk.avi");
  jobs.Add(first);
  jobs.Add(second);
  dialog_.AnswerNext(std::filesystem::path("C:/out/walk-2.avi"));
  EXPECT_TRUE(CheckOutputName(*second, jobs));
  EXPECT_EQ(second->outputPath, "C:/out/walk-2.avi");
  ASSERT_EQ(dialog_.Requests().size(), 1u);
  EXPECT_EQ(dialog_.Requests()[0].folder, std::filesystem::path("c:/out"));
  EXPECT_EQ(dialog_.Requests()[0].fileName, "walk.avi");
  // The first job's name is its own now.
  EXPECT_TRUE(CheckOutputName(*first, jobs));
  EXPECT_EQ(dialog_.Requests().size(), 1u);
}

TEST_F(OutputNameTest, APickThatIsAnotherJobsNameAsksAgainAndNoPickRefuses) {
  render::JobList jobs;
  auto walk = JobWriting("C:\\out\\walk.avi");
  auto run = JobWriting("C:/out/run.avi");
  auto job = JobWriting("C:/out/walk.avi");
  for (const auto& listed : {walk, run, job}) jobs.Add(listed);
  dialog_.AnswerNext(std::filesystem::path("C:/out/RUN.avi"));
  dialog_.AnswerNext(std::filesystem::path("C:/out/jump.avi"));
  EXPECT_TRUE(CheckOutputName(*job, jobs));
  EXPECT_EQ(job->outputPath, "C:/out/jump.avi");
  EXPECT_EQ(dialog_.Requests().size(), 2u);

  job->outputPath = "C:/out/run.avi";  // the dialog's script is used up: it cancels
  EXPECT_FALSE(CheckOutputName(*job, jobs));
  EXPECT_EQ(job->outputPath, "C:/out/run.avi");
}

}  // namespace
}  // namespace lumetra::animation
