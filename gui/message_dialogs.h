// Message boxes of the host and the plug-in as Qt dialogs.
#pragma once

#include "platform/messages.h"

namespace lumetra::gui {

// A handler for platform::Messages that shows each box as a modal dialog on the GUI
// thread and answers its button; a call from another thread waits for the answer.
// Closing a box without a button answers Cancel, or No where it has no Cancel.
platform::MessageHandler MessageDialogs();

}  // namespace lumetra::gui
