#include "platform/save_file_dialog.h"

#include <gtest/gtest.h>

#include <fstream>

#include "platform/messages.h"
#include "platform/testing/recording_save_file_dialog.h"
#include "platform/testing/scratch_directory.h"

namespace lumetra::platform {
namespace {

class HeadlessSaveFileDialog : public ::testing::Test {
 protected:
  void TearDown() override { Messages::SetHeadlessPolicy(HeadlessPolicy::Affirmative); }

  SaveFileRequest RequestFor(const std::string& fileName) const {
    SaveFileRequest request;
    request.defaultExtension = ".avi";
    request.folder = scratch_.Path();
    request.fileName = fileName;
    return request;
  }

  void Touch(const std::string& name) const { std::ofstream(scratch_ / name) << "taken"; }

  ScratchDirectory scratch_;
};

TEST_F(HeadlessSaveFileDialog, AffirmativePicksTheFirstNumberedNameNotTakenAndSaysSo) {
  Touch("walk-2.avi");
  Touch("walk-3.avi");
  ::testing::internal::CaptureStderr();
  const std::optional<std::filesystem::path> picked = SaveFileDialog::Show(RequestFor("walk.avi"));
  EXPECT_EQ(::testing::internal::GetCapturedStderr(),
            "Save As: " + (scratch_ / "walk-4.avi").string() + "\n");
  EXPECT_EQ(picked, scratch_ / "walk-4.avi");
}

TEST_F(HeadlessSaveFileDialog, ANameWithoutExtensionGetsTheDefaultOne) {
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(SaveFileDialog::Show(RequestFor("walk")), scratch_ / "walk-2.avi");
  ::testing::internal::GetCapturedStderr();
}

TEST_F(HeadlessSaveFileDialog, ARefusingPolicyPicksNothing) {
  for (HeadlessPolicy policy : {HeadlessPolicy::Cancel, HeadlessPolicy::No}) {
    Messages::SetHeadlessPolicy(policy);
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(SaveFileDialog::Show(RequestFor("walk.avi")), std::nullopt);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "Save As: no name picked\n");
  }
}

TEST(RecordingSaveFileDialog, AnswersFromTheScriptThenCancelsAndRestoresTheOuterHandler) {
  RecordingSaveFileDialog outer;
  {
    RecordingSaveFileDialog inner;
    inner.AnswerNext("/tmp/picked.avi");
    SaveFileRequest request;
    request.fileName = "walk.avi";
    EXPECT_EQ(SaveFileDialog::Show(request), std::filesystem::path("/tmp/picked.avi"));
    EXPECT_EQ(SaveFileDialog::Show(request), std::nullopt);
    ASSERT_EQ(inner.Requests().size(), 2u);
    EXPECT_EQ(inner.Requests()[0].fileName, "walk.avi");
  }
  SaveFileDialog::Show({});
  EXPECT_EQ(outer.Requests().size(), 1u);
}

}  // namespace
}  // namespace lumetra::platform
