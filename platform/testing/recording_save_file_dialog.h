#pragma once

#include <deque>
#include <filesystem>
#include <mutex>
#include <optional>
#include <vector>

#include "platform/save_file_dialog.h"

namespace lumetra::platform {

// For tests: while alive, every save-file dialog is recorded instead of shown and
// answered from a script; once the script runs out the dialog is cancelled.
class RecordingSaveFileDialog {
 public:
  RecordingSaveFileDialog();
  ~RecordingSaveFileDialog();
  RecordingSaveFileDialog(const RecordingSaveFileDialog&) = delete;
  RecordingSaveFileDialog& operator=(const RecordingSaveFileDialog&) = delete;

  // The next dialog picks `path`; nullopt cancels it.
  void AnswerNext(std::optional<std::filesystem::path> path);
  std::vector<SaveFileRequest> Requests() const;

 private:
  std::optional<std::filesystem::path> Answer(const SaveFileRequest& request);

  mutable std::mutex mutex_;
  std::vector<SaveFileRequest> requests_;
  std::deque<std::optional<std::filesystem::path>> script_;
  SaveFileHandler previous_;
};

}  // namespace lumetra::platform
