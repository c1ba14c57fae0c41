#pragma once

#include <deque>
#include <mutex>
#include <vector>

#include "platform/messages.h"

namespace lumetra::platform {

// For tests: while alive, every message box is recorded instead of shown and
// answered from a script (then by the affirmative button once the script runs
// out). A scripted answer the box does not offer throws std::logic_error, so a
// test whose script and code disagree fails loudly.
class RecordingMessages {
 public:
  RecordingMessages();
  ~RecordingMessages();
  RecordingMessages(const RecordingMessages&) = delete;
  RecordingMessages& operator=(const RecordingMessages&) = delete;

  void AnswerNext(MessageAnswer answer);
  std::vector<MessageRequest> Calls() const;
  std::size_t Count() const;
  void Clear();

 private:
  MessageAnswer Answer(const MessageRequest& request);

  mutable std::mutex mutex_;
  std::vector<MessageRequest> calls_;
  std::deque<MessageAnswer> script_;
  MessageHandler previous_;
};

}  // namespace lumetra::platform
