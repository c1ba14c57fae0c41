#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/message_loop.h"

namespace lumetra::platform {

// A copy-data message's bytes that carry just a 32-bit code.
inline std::vector<std::uint8_t> Code(std::uint32_t code) {
  std::vector<std::uint8_t> bytes(4);
  std::memcpy(bytes.data(), &code, 4);
  return bytes;
}

// A window that collects copy-data messages until it has `wanted` of them; its loop's
// Run() answers 0 then, or 1 when it gave up waiting.
struct Receiver {
  static constexpr std::uintptr_t kGiveUpTimer = 77;

  explicit Receiver(std::size_t wanted, std::uint32_t giveUpMilliseconds = 5000) : wanted(wanted) {
    window = loop.CreateWindow([this](MessageLoop& self, const Message& message) {
      if (message.message == WM_TIMER && message.wparam == kGiveUpTimer) self.PostQuit(1);
      if (message.message != WM_COPYDATA) return false;
      received.push_back(message);
      if (received.size() == this->wanted) self.PostQuit(0);
      return false;
    });
    loop.SetTimer(window, kGiveUpTimer, giveUpMilliseconds);
  }
  MessageLoop loop;
  WindowId window = kNoWindow;
  std::size_t wanted;
  std::vector<Message> received;
};

}  // namespace lumetra::platform
