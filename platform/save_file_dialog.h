#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace lumetra::platform {

// What a save-file dialog is opened with, as the Windows common dialog takes it.
struct SaveFileRequest {
  std::string defaultExtension;  // added to a name typed without one, e.g. ".avi"
  // Pairs of description and pattern, each part ended by '|', the list by another '|':
  // "AVI Files (*.avi)|*.avi|All Files (*.*)|*.*||".
  std::string filter;
  bool overwritePrompt = true;   // asks before an existing file is picked
  bool hideReadOnly = true;      // no "open as read-only" box
  std::filesystem::path folder;  // where the dialog starts
  std::string fileName;          // the name it shows first, without folder
};

// The path the user picked, or nullopt when the dialog was cancelled.
using SaveFileHandler = std::function<std::optional<std::filesystem::path>(const SaveFileRequest&)>;

// Stand-in for the save-file dialog. The handler is process-wide like that of the
// message boxes: headless by default, a GUI installs a real dialog, tests a scripted one.
// Headless, the dialog answers by the message boxes' headless policy: the affirmative
// answer picks "<stem>-2<ext>", "<stem>-3<ext>", ..., the first name that does not exist
// in the folder yet (the extension of the shown name, else the default one); a refusal
// picks nothing. Either way one line "Save As: ..." goes to stderr.
class SaveFileDialog {
 public:
  static std::optional<std::filesystem::path> Show(const SaveFileRequest& request);

  // Returns the handler that was installed before; an empty handler restores the
  // headless one.
  static SaveFileHandler InstallHandler(SaveFileHandler handler);
};

}  // namespace lumetra::platform
