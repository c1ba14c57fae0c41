#pragma once

#include "platform/messages.h"
#include "platform/save_file_dialog.h"
#include "ui/window_toolkit.h"

namespace lumetra::plugin {

// While attached, the plug-in's message boxes and save-file dialogs are the toolkit's
// real dialogs; detached, the handlers from before are back.
class ToolkitDialogs {
 public:
  ToolkitDialogs() = default;
  ~ToolkitDialogs() { Detach(); }
  ToolkitDialogs(const ToolkitDialogs&) = delete;
  ToolkitDialogs& operator=(const ToolkitDialogs&) = delete;

  void Attach(ui::WindowToolkit& toolkit);
  void Detach();

 private:
  bool attached_ = false;
  platform::MessageHandler previousMessages_;
  platform::SaveFileHandler previousSaveFile_;
};

}  // namespace lumetra::plugin
