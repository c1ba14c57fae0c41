#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>

#include "platform/messages.h"
#include "platform/save_file_dialog.h"
#include "render/render_window_view.h"
#include "ui/bar_window.h"
#include "ui/options_window.h"
#include "ui/timeline_window.h"

namespace lumetra::ui {

// The plug-in's windows in a real toolkit. A companion library implements it (ui/qt)
// and the plug-in loads it only when the host runs that toolkit's application; without
// it the plug-in keeps its toolkit-free controllers. Everything crosses the library
// boundary through these virtual calls and plain data, never through shared statics.
class WindowToolkit : public render::RenderWindowMaker {
 public:
  // The control bar as a child of the host window `parent`; null when no such window exists.
  virtual std::unique_ptr<BarWindow> MakeBar(uint32_t parent, BarController& controller) = 0;
  // A modal message box; from any thread (a thread other than the GUI's waits for the answer).
  virtual platform::MessageAnswer ShowMessage(const platform::MessageRequest& request) = 0;
  // The save-file dialog; nullopt when cancelled. From any thread, as the message box.
  virtual std::optional<std::filesystem::path> ShowSaveFile(const platform::SaveFileRequest& request) = 0;
  // The timeline editor, modal: returns when the user closes it. GUI thread only.
  virtual void RunTimeline(TimelineController& controller) = 0;
  // The "Rendering Options" sheet on `page`, modal over the host window `parent`, on the
  // GUI thread; true when the user confirmed it (the controller then holds the settings).
  virtual bool RunOptionsSheet(uint32_t parent, int32_t page, OptionsController& controller) = 0;
};

// The companion's one exported function: its toolkit for this interface version, or null
// when the process runs no application of its toolkit or knows no such version.
inline constexpr char kWindowToolkitEntry[] = "LumetraWindowToolkit";
inline constexpr uint32_t kWindowToolkitVersion = 1;
using WindowToolkitEntry = WindowToolkit* (*)(uint32_t version);

}  // namespace lumetra::ui
