#pragma once

#include "abi/desktop_record.h"
#include "abi/scene_record.h"
#include "platform/messages.h"

namespace lumetra::plugin {

// The host's desktop, where render windows and message boxes show; null when the host
// has none.
const abi::DesktopRecord* HostDesktop(const abi::SceneRecord& host);

// While attached to a desktop that shows message boxes, the plug-in's boxes show there,
// so the host's user (or the host's command line) answers them, as every program's boxes
// on the original platform's one screen. Detached, the plug-in answers by its own policy.
class HostMessages {
 public:
  HostMessages() = default;
  ~HostMessages() { Detach(); }
  HostMessages(const HostMessages&) = delete;
  HostMessages& operator=(const HostMessages&) = delete;

  void Attach(const abi::DesktopRecord* desktop);
  void Detach();

 private:
  bool attached_ = false;
  platform::MessageHandler previous_;
};

}  // namespace lumetra::plugin
