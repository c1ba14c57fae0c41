#include "plugin/host_messages.h"

#include <cstddef>
#include <string>

#include "abi/result_codes.h"

namespace lumetra::plugin {
namespace {

uint32_t StyleOf(const platform::MessageRequest& request) {
  uint32_t style = abi::kBoxOk;
  switch (request.buttons) {
    case platform::MessageButtons::Ok:
      style = abi::kBoxOk;
      break;
    case platform::MessageButtons::OkCancel:
      style = abi::kBoxOkCancel;
      break;
    case platform::MessageButtons::YesNo:
      style = abi::kBoxYesNo;
      break;
    case platform::MessageButtons::YesNoCancel:
      style = abi::kBoxYesNoCancel;
      break;
  }
  switch (request.icon) {
    case platform::MessageIcon::Stop:
      return style | abi::kBoxIconStop;
    case platform::MessageIcon::Exclamation:
      return style | abi::kBoxIconExclamation;
    case platform::MessageIcon::Information:
      return style | abi::kBoxIconInformation;
    case platform::MessageIcon::Question:
      return style | abi::kBoxIconQuestion;
    case platform::MessageIcon::None:
      return style;
  }
  return style;
}

platform::MessageAnswer AnswerOf(uint32_t answered, platform::MessageButtons buttons) {
  switch (answered) {
    case abi::kAnsweredOk:
      return platform::MessageAnswer::Ok;
    case abi::kAnsweredCancel:
      return platform::MessageAnswer::Cancel;
    case abi::kAnsweredYes:
      return platform::MessageAnswer::Yes;
    case abi::kAnsweredNo:
      return platform::MessageAnswer::No;
    default:
      return platform::Messages::Affirmative(buttons);  // a host's answer we cannot read
  }
}

bool OffersMessageBoxes(const abi::DesktopRecord& desktop) {
  return desktop.size >= offsetof(abi::DesktopRecord, messageBox) + sizeof desktop.messageBox &&
         desktop.messageBox != nullptr;
}

}  // namespace

const abi::DesktopRecord* HostDesktop(const abi::SceneRecord& host) {
  abi::DesktopRecord* desktop = nullptr;
  if (!host.getHostValue || host.getHostValue(abi::kHostValueDesktop, &desktop) != abi::kOk) return nullptr;
  return desktop;
}

void HostMessages::Attach(const abi::DesktopRecord* desktop) {
  Detach();
  if (!desktop || !OffersMessageBoxes(*desktop)) return;
  previous_ = platform::Messages::InstallHandler([desktop](const platform::MessageRequest& request) {
    const uint32_t answered =
        desktop->messageBox(request.caption.c_str(), request.text.c_str(), StyleOf(request));
    return AnswerOf(answered, request.buttons);
  });
  attached_ = true;
}

void HostMessages::Detach() {
  if (!attached_) return;
  platform::Messages::InstallHandler(previous_);
  attached_ = false;
}

}  // namespace lumetra::plugin
