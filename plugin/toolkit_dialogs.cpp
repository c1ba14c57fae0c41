#include "plugin/toolkit_dialogs.h"

namespace lumetra::plugin {

void ToolkitDialogs::Attach(ui::WindowToolkit& toolkit) {
  Detach();
  previousMessages_ = platform::Messages::InstallHandler(
      [&toolkit](const platform::MessageRequest& request) { return toolkit.ShowMessage(request); });
  previousSaveFile_ = platform::SaveFileDialog::InstallHandler(
      [&toolkit](const platform::SaveFileRequest& request) { return toolkit.ShowSaveFile(request); });
  attached_ = true;
}

void ToolkitDialogs::Detach() {
  if (!attached_) return;
  platform::Messages::InstallHandler(std::move(previousMessages_));
  platform::SaveFileDialog::InstallHandler(std::move(previousSaveFile_));
  attached_ = false;
}

}  // namespace lumetra::plugin
