#include "platform/testing/recording_save_file_dialog.h"

namespace lumetra::platform {

RecordingSaveFileDialog::RecordingSaveFileDialog()
    : previous_(SaveFileDialog::InstallHandler(
          [this](const SaveFileRequest& request) { return Answer(request); })) {}

RecordingSaveFileDialog::~RecordingSaveFileDialog() { SaveFileDialog::InstallHandler(std::move(previous_)); }

void RecordingSaveFileDialog::AnswerNext(std::optional<std::filesystem::path> path) {
  std::lock_guard lock(mutex_);
  script_.push_back(std::move(path));
}

std::vector<SaveFileRequest> RecordingSaveFileDialog::Requests() const {
  std::lock_guard lock(mutex_);
  return requests_;
}

std::optional<std::filesystem::path> RecordingSaveFileDialog::Answer(const SaveFileRequest& request) {
  std::lock_guard lock(mutex_);
  requests_.push_back(request);
  if (script_.empty()) return std::nullopt;
  std::optional<std::filesystem::path> answer = std::move(script_.front());
  script_.pop_front();
  return answer;
}

}  // namespace lumetra::platform
