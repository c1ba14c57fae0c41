#include "platform/messages.h"

#include <atomic>
#include <cstdio>

#include "platform/handler_slot.h"

namespace lumetra::platform {
namespace {

std::atomic<HeadlessPolicy> g_policy{HeadlessPolicy::Affirmative};

MessageAnswer AnswerByPolicy(MessageButtons buttons, HeadlessPolicy policy) {
  if (policy != HeadlessPolicy::Affirmative) {
    // A box without the asked-for button still gets the other refusal.
    const bool cancelFirst = policy == HeadlessPolicy::Cancel;
    for (MessageAnswer refusal : {cancelFirst ? MessageAnswer::Cancel : MessageAnswer::No,
                                  cancelFirst ? MessageAnswer::No : MessageAnswer::Cancel}) {
      if (Messages::Offers(buttons, refusal)) return refusal;
    }
  }
  return Messages::Affirmative(buttons);
}

MessageAnswer ShowHeadless(const MessageRequest& request) {
  std::string out = request.caption.empty() ? request.text : request.caption + ": " + request.text;
  if (out.empty() || out.back() != '\n') out += '\n';
  std::fwrite(out.data(), 1, out.size(), stderr);
  return AnswerByPolicy(request.buttons, g_policy.load());
}

HandlerSlot<MessageHandler>& TheSlot() {
  static HandlerSlot<MessageHandler> slot;
  return slot;
}

}  // namespace

MessageAnswer Messages::Show(std::string_view caption, std::string_view text, MessageButtons buttons,
                             MessageIcon icon) {
  const MessageHandler handler = TheSlot().Get();
  const MessageRequest request{std::string(caption), std::string(text), buttons, icon};
  return handler ? handler(request) : ShowHeadless(request);
}

MessageHandler Messages::InstallHandler(MessageHandler handler) {
  return TheSlot().Replace(std::move(handler));
}

void Messages::SetHeadlessPolicy(HeadlessPolicy policy) { g_policy.store(policy); }

HeadlessPolicy Messages::CurrentHeadlessPolicy() { return g_policy.load(); }

std::optional<HeadlessPolicy> Messages::ParseHeadlessPolicy(std::string_view word) {
  if (word == "ok" || word == "yes") return HeadlessPolicy::Affirmative;
  if (word == "cancel") return HeadlessPolicy::Cancel;
  if (word == "no") return HeadlessPolicy::No;
  return std::nullopt;
}

bool Messages::Offers(MessageButtons buttons, MessageAnswer answer) {
  switch (buttons) {
    case MessageButtons::Ok:
      return answer == MessageAnswer::Ok;
    case MessageButtons::OkCancel:
      return answer == MessageAnswer::Ok || answer == MessageAnswer::Cancel;
    case MessageButtons::YesNo:
      return answer == MessageAnswer::Yes || answer == MessageAnswer::No;
    case MessageButtons::YesNoCancel:
      return answer != MessageAnswer::Ok;
  }
  return false;
}

MessageAnswer Messages::Affirmative(MessageButtons buttons) {
  return buttons == MessageButtons::YesNo || buttons == MessageButtons::YesNoCancel ? MessageAnswer::Yes
                                                                                    : MessageAnswer::Ok;
}

}  // namespace lumetra::platform
