#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include <QStringList>

#include "platform/messages.h"
#include "platform/save_file_dialog.h"

namespace lumetra::ui::qt {

// A modal message box on the GUI thread; closing it without a button gives the box's
// Cancel, else its No, else Ok.
platform::MessageAnswer ShowMessageBox(const platform::MessageRequest& request);

// The modal save-file dialog on the GUI thread; nullopt when cancelled.
std::optional<std::filesystem::path> ShowSaveFileDialog(const platform::SaveFileRequest& request);

// A filter of descriptions and patterns, each ended by '|' ("AVI Files (*.avi)|*.avi|All
// Files (*.*)|*.*||"), as Qt's name filters: the description without the patterns it
// shows, then the patterns in brackets, "*.*" meaning every file. A description without
// a pattern is dropped.
QStringList NameFilters(const std::string& filter);

}  // namespace lumetra::ui::qt
