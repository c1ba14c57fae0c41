#include "platform/save_file_dialog.h"

#include <cstdio>

#include "platform/handler_slot.h"
#include "platform/messages.h"

namespace lumetra::platform {
namespace {

std::filesystem::path FirstFreeName(const SaveFileRequest& request) {
  const std::filesystem::path shown(request.fileName);
  const std::string extension = shown.has_extension() ? shown.extension().string() : request.defaultExtension;
  for (int number = 2;; ++number) {
    std::filesystem::path candidate =
        request.folder / (shown.stem().string() + "-" + std::to_string(number) + extension);
    std::error_code error;
    if (!std::filesystem::exists(std::filesystem::symlink_status(candidate, error))) {
      return candidate;
    }
  }
}

std::optional<std::filesystem::path> ShowHeadless(const SaveFileRequest& request) {
  std::optional<std::filesystem::path> picked;
  if (Messages::CurrentHeadlessPolicy() == HeadlessPolicy::Affirmative) {
    picked = FirstFreeName(request);
  }
  const std::string line = "Save As: " + (picked ? picked->string() : std::string("no name picked")) + "\n";
  std::fwrite(line.data(), 1, line.size(), stderr);
  return picked;
}

HandlerSlot<SaveFileHandler>& TheSlot() {
  static HandlerSlot<SaveFileHandler> slot;
  return slot;
}

}  // namespace

std::optional<std::filesystem::path> SaveFileDialog::Show(const SaveFileRequest& request) {
  const SaveFileHandler handler = TheSlot().Get();
  return handler ? handler(request) : ShowHeadless(request);
}

SaveFileHandler SaveFileDialog::InstallHandler(SaveFileHandler handler) {
  return TheSlot().Replace(std::move(handler));
}

}  // namespace lumetra::platform
