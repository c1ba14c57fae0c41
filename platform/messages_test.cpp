#include "platform/messages.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "platform/testing/recording_messages.h"

namespace lumetra::platform {
namespace {

class HeadlessMessages : public ::testing::Test {
 protected:
  void TearDown() override { Messages::SetHeadlessPolicy(HeadlessPolicy::Affirmative); }
};

TEST_F(HeadlessMessages, PrintsCaptionAndTextToStderr) {
  ::testing::internal::CaptureStderr();
  Messages::Show("Error", "Failed to create POV-Ray render job", MessageButtons::Ok, MessageIcon::Error);
  Messages::Show("", "Only one POV-Ray render window\nmay be open at one time\n", MessageButtons::Ok,
                 MessageIcon::Stop);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(),
            "Error: Failed to create POV-Ray render job\n"
            "Only one POV-Ray render window\nmay be open at one time\n");
}

TEST_F(HeadlessMessages, AnswersByPolicyWithAButtonTheBoxOffers) {
  struct Case {
    HeadlessPolicy policy;
    MessageButtons buttons;
    MessageAnswer expected;
  };
  const Case cases[] = {
      {HeadlessPolicy::Affirmative, MessageButtons::OkCancel, MessageAnswer::Ok},
      {HeadlessPolicy::Affirmative, MessageButtons::YesNoCancel, MessageAnswer::Yes},
      {HeadlessPolicy::Cancel, MessageButtons::OkCancel, MessageAnswer::Cancel},
      {HeadlessPolicy::Cancel, MessageButtons::YesNo, MessageAnswer::No},
      {HeadlessPolicy::Cancel, MessageButtons::Ok, MessageAnswer::Ok},
      {HeadlessPolicy::No, MessageButtons::YesNoCancel, MessageAnswer::No},
      {HeadlessPolicy::No, MessageButtons::OkCancel, MessageAnswer::Cancel},
  };
  ::testing::internal::CaptureStderr();
  for (const Case& c : cases) {
    Messages::SetHeadlessPolicy(c.policy);
    EXPECT_EQ(Messages::Show("Notice", "question", c.buttons, MessageIcon::Question), c.expected)
        << static_cast<int>(c.policy) << " " << static_cast<int>(c.buttons);
  }
  ::testing::internal::GetCapturedStderr();
}

TEST(MessagePolicy, ParsesTheCommandLineWords) {
  EXPECT_EQ(Messages::ParseHeadlessPolicy("cancel"), HeadlessPolicy::Cancel);
  EXPECT_EQ(Messages::ParseHeadlessPolicy("no"), HeadlessPolicy::No);
  EXPECT_EQ(Messages::ParseHeadlessPolicy("yes"), HeadlessPolicy::Affirmative);
  EXPECT_EQ(Messages::ParseHeadlessPolicy("maybe"), std::nullopt);
}

TEST(RecordingMessages, RecordsEveryCallAndAnswersFromTheScript) {
  RecordingMessages recorder;
  recorder.AnswerNext(MessageAnswer::Cancel);
  EXPECT_EQ(Messages::Show("Warning", "Overwrite?", MessageButtons::OkCancel, MessageIcon::Exclamation),
            MessageAnswer::Cancel);
  EXPECT_EQ(Messages::Show("Notice", "Again?", MessageButtons::YesNo), MessageAnswer::Yes);  // script used up
  const std::vector<MessageRequest> calls = recorder.Calls();
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0].caption, "Warning");
  EXPECT_EQ(calls[0].text, "Overwrite?");
  EXPECT_EQ(calls[0].icon, MessageIcon::Warning);
  EXPECT_EQ(calls[1].buttons, MessageButtons::YesNo);
}

TEST(RecordingMessages, RefusesAScriptedAnswerTheBoxDoesNotOffer) {
  RecordingMessages recorder;
  recorder.AnswerNext(MessageAnswer::Yes);
  EXPECT_THROW(Messages::Show("Error", "Only OK here"), std::logic_error);
}

TEST(RecordingMessages, NestedRecordersRestoreTheOuterOne) {
  RecordingMessages outer;
  {
    RecordingMessages inner;
    Messages::Show("Notice", "inner");
    EXPECT_EQ(inner.Count(), 1u);
  }
  Messages::Show("Notice", "outer");
  ASSERT_EQ(outer.Count(), 1u);
  EXPECT_EQ(outer.Calls()[0].text, "outer");
}

}  // namespace
}  // namespace lumetra::platform
