#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace lumetra::platform {

enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel };

enum class MessageIcon {
  None,
  Stop,
  Error = Stop,
  Exclamation,
  Warning = Exclamation,
  Information,
  Question,
};

enum class MessageAnswer { Ok, Cancel, Yes, No };

struct MessageRequest {
  std::string caption;
  std::string text;
  MessageButtons buttons = MessageButtons::Ok;
  MessageIcon icon = MessageIcon::None;
};

// How the headless handler answers: the affirmative button (Ok/Yes), or the
// one the command line asked for ("cancel" or "no") when the box offers it.
enum class HeadlessPolicy { Affirmative, Cancel, No };

using MessageHandler = std::function<MessageAnswer(const MessageRequest&)>;

// Stand-in for message boxes. The handler is process-wide: headless by
// default, a GUI installs a real dialog, tests install a recorder.
class Messages {
 public:
  static MessageAnswer Show(std::string_view caption, std::string_view text,
                            MessageButtons buttons = MessageButtons::Ok,
                            MessageIcon icon = MessageIcon::None);

  // Returns the handler that was installed before; an empty handler restores
  // the headless one.
  static MessageHandler InstallHandler(MessageHandler handler);

  static void SetHeadlessPolicy(HeadlessPolicy policy);
  // The policy headless stand-ins of other dialogs answer by as well.
  static HeadlessPolicy CurrentHeadlessPolicy();
  // "ok"/"yes" (affirmative), "cancel", "no"; anything else is nullopt.
  static std::optional<HeadlessPolicy> ParseHeadlessPolicy(std::string_view word);

  static bool Offers(MessageButtons buttons, MessageAnswer answer);
  static MessageAnswer Affirmative(MessageButtons buttons);
};

}  // namespace lumetra::platform
