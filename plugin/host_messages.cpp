#include "plugin/host_messages.h"

#include <cstddef>
#include <string>

#include "abi/result_codes.h"

namespace plugin {
namespace {

uint32_t StyleOf(const platform::MessageRequest& request) {
  uint32_t style = iface::kBoxOk;
  switch (request.buttons) {
    case platform::MessageButtons::Ok: style = iface::kBoxOk; break;
    case platform::MessageButtons::OkCancel: style = iface::kBoxOkCancel; break;
    case platform::MessageButtons::YesNo: style = iface::kBoxYesNo; break;
    case platform::MessageButtons::YesNoCancel: style = iface::kBoxYesNoCancel; break;
  }
  switch (request.icon) {
    case platform::MessageIcon::Stop: return style | iface::kBoxIconStop;
    case platform::MessageIcon::Exclamation: return style | iface::kBoxIconExclamation;
    case platform::MessageIcon::Information: return style | iface::kBoxIconInformation;
    case platform::MessageIcon::Question: return style | iface::kBoxIconQuestion;
    case platform::MessageIcon::None: return style;
  }
  return style;
}

platform::MessageAnswer AnswerOf(uint32_t answered, platform::MessageButtons buttons) {
  switch (answered) {
    case iface::kAnsweredOk: return platform::MessageAnswer::Ok;
    case iface::kAnsweredCancel: return platform::MessageAnswer::Cancel;
    case iface::kAnsweredYes: return platform::MessageAnswer::Yes;
    case iface::kAnsweredNo: return platform::MessageAnswer::No;
    default: return platform::Messages::Affirmative(buttons);  // a host's answer we cannot read
  }
}

bool OffersMessageBoxes(const iface::DesktopRecord& desktop) {
  return desktop.size >= offsetof(iface::DesktopRecord, messageBox) + sizeof desktop.messageBox &&
         desktop.messageBox != nullptr;
}

}  // namespace

const iface::DesktopRecord* HostDesktop(const iface::SceneRecord& host) {
  iface::DesktopRecord* desktop = nullptr;
  if (!host.getHostValue || host.getHostValue(iface::kHostValueDesktop, &desktop) != iface::kOk) return nullptr;
  return desktop;
}

void HostMessages::Attach(const iface::DesktopRecord* desktop) {
  Detach();
  if (!desktop || !OffersMessageBoxes(*desktop)) return;
  previous_ = platform::Messages::InstallHandler([desktop](const platform::MessageRequest& request) {
    const uint32_t answered = desktop->messageBox(request.caption.c_str(), request.text.c_str(), StyleOf(request));
    return AnswerOf(answered, request.buttons);
  });
  attached_ = true;
}

void HostMessages::Detach() {
  if (!attached_) return;
  platform::Messages::InstallHandler(previous_);
  attached_ = false;
}

}  // namespace plugin
