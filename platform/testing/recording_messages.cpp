#include "platform/testing/recording_messages.h"

#include <stdexcept>

namespace lumetra::platform {

RecordingMessages::RecordingMessages()
    : previous_(Messages::InstallHandler([this](const MessageRequest& request) { return Answer(request); })) {
}

RecordingMessages::~RecordingMessages() { Messages::InstallHandler(std::move(previous_)); }

void RecordingMessages::AnswerNext(MessageAnswer answer) {
  std::lock_guard lock(mutex_);
  script_.push_back(answer);
}

std::vector<MessageRequest> RecordingMessages::Calls() const {
  std::lock_guard lock(mutex_);
  return calls_;
}

std::size_t RecordingMessages::Count() const {
  std::lock_guard lock(mutex_);
  return calls_.size();
}

void RecordingMessages::Clear() {
  std::lock_guard lock(mutex_);
  calls_.clear();
  script_.clear();
}

MessageAnswer RecordingMessages::Answer(const MessageRequest& request) {
  std::lock_guard lock(mutex_);
  calls_.push_back(request);
  if (script_.empty()) return Messages::Affirmative(request.buttons);
  const MessageAnswer answer = script_.front();
  script_.pop_front();
  if (!Messages::Offers(request.buttons, answer)) {
    throw std::logic_error("scripted answer is not a button of the message box \"" + request.caption + ": " +
                           request.text + "\"");
  }
  return answer;
}

}  // namespace lumetra::platform
