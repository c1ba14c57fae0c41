#include "animation/avi_output_name.h"

#include <filesystem>

#include "animation/avi_writer.h"
#include "platform/case_insensitive.h"
#include "platform/file_io.h"
#include "platform/messages.h"
#include "platform/native_path.h"
#include "platform/save_file_dialog.h"

namespace lumetra::animation {
namespace fs = std::filesystem;
namespace {

bool EndsWithAvi(const std::string& path) {
  constexpr std::string_view kExtension = ".avi";
  return path.size() >= kExtension.size() &&
         platform::EqualsIgnoringCase(std::string_view(path).substr(path.size() - kExtension.size()),
                                      kExtension);
}

// Renames an old AVI to its ".bak" name. Where that name cannot be replaced in place,
// the old backup is deleted first.
bool MoveToBackup(const fs::path& path) {
  fs::path backup = path;
  backup.replace_extension(".bak");
  std::error_code error;
  fs::rename(path, backup, error);
  if (!error) return true;
  if (!fs::remove(backup, error)) return false;
  fs::rename(path, backup, error);
  return !error;
}

bool AsksForAnotherName(const std::string& path) {
  return platform::Messages::Show("Error", "AVI File: '" + path + "' is busy - choose another name?",
                                  platform::MessageButtons::OkCancel,
                                  platform::MessageIcon::Error) == platform::MessageAnswer::Ok;
}

bool SamePath(const std::string& a, const std::string& b) {
  return platform::EqualsIgnoringCase(platform::NativePath(a).string(), platform::NativePath(b).string());
}

}  // namespace

bool MakeWayForOutput(render::RenderJob& job) {
  const fs::path path = platform::NativePath(job.outputPath);
  // A name that cannot even be looked up is left to the file's creation, which reports it.
  std::error_code error;
  if (!fs::exists(path, error)) return true;
  if (!platform::IsWritableFile(path)) return false;
  // Any other name was picked in the save-file dialog, which asked before overwriting.
  if (!EndsWithAvi(job.outputPath) || MoveToBackup(path)) return true;
  return AsksForAnotherName(job.outputPath) && ChooseAnotherName(job);
}

bool ChooseAnotherName(render::RenderJob& job) {
  const fs::path path = platform::NativePath(job.outputPath);
  platform::SaveFileRequest request;
  request.defaultExtension = ".avi";
  request.filter = "AVI Files (*.avi)|*.avi|All Files (*.*)|*.*||";
  request.overwritePrompt = true;
  request.hideReadOnly = true;
  request.folder = path.parent_path();
  request.fileName = path.filename().string();
  const std::optional<fs::path> picked = platform::SaveFileDialog::Show(request);
  if (!picked) return false;
  job.outputPath = picked->string();
  return true;
}

bool CheckOutputName(render::RenderJob& job, const render::JobList& jobs) {
  const auto writesTheSameFile = [&job](const render::RenderJob& other) {
    return &other != &job && SamePath(other.outputPath, job.outputPath);
  };
  // A picked name may be another job's: every pick checks the whole list again.
  while (jobs.Any(writesTheSameFile)) {
    if (!ChooseAnotherName(job)) return false;
  }
  return true;
}

}  // namespace lumetra::animation
