#include "platform/window_directory.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstddef>
#include <cstring>
#include <vector>

#include "platform/message_loop.h"
#include "platform/testing/child_process.h"
#include "platform/testing/copy_data_receiver.h"

namespace lumetra::platform {
namespace {

TEST(WindowDirectory, CopyDataFromAnotherProcessArrivesInTheWindowsLoopInOrder) {
  Receiver receiver(3);
  const WindowId target = receiver.window;
  const pid_t child = StartChild([target] {
    for (const std::uint32_t code : {3u, 2u, 5u}) {
      if (!window_directory::SendCopyData(target, 1234, 0x55AA, Code(code))) return 1;
    }
    return 0;
  });
  EXPECT_EQ(receiver.loop.Run(), 0);
  EXPECT_EQ(WaitForChild(child), 0);
  ASSERT_EQ(receiver.received.size(), 3u);
  const std::uint32_t expected[] = {3, 2, 5};
  for (std::size_t i = 0; i < 3; ++i) {
    const Message& message = receiver.received[i];
    EXPECT_EQ(message.window, target);
    EXPECT_EQ(message.message, WM_COPYDATA);
    EXPECT_EQ(message.wparam, 1234u);
    EXPECT_EQ(message.copyDataKind, 0x55AAu);
    EXPECT_EQ(message.copyData, Code(expected[i]));
  }
}

TEST(WindowDirectory, CarriesTheLargestMessageWholeAndRefusesALargerOne) {
  Receiver receiver(1);
  const WindowId target = receiver.window;
  std::vector<std::uint8_t> largest(window_directory::kMaxCopyDataBytes);
  for (std::size_t i = 0; i < largest.size(); ++i) largest[i] = static_cast<std::uint8_t>(i * 7 + i / 256);
  const pid_t child = StartChild([&] {
    std::vector<std::uint8_t> tooLarge(largest.size() + 1);
    if (window_directory::SendCopyData(target, 0, 0, tooLarge)) return 1;
    return window_directory::SendCopyData(target, 0, 0, largest) ? 0 : 2;
  });
  EXPECT_EQ(receiver.loop.Run(), 0);
  EXPECT_EQ(WaitForChild(child), 0);
  ASSERT_EQ(receiver.received.size(), 1u);
  EXPECT_EQ(receiver.received[0].copyData, largest);
  // The same bound holds within the process.
  EXPECT_FALSE(window_directory::SendCopyData(target, 0, 0, std::vector<std::uint8_t>(largest.size() + 1)));
}

// Raw datagrams at the listener's address, as a confused or hostile sender would write them.
int SendRaw(int process, const std::vector<std::uint8_t>& datagram) {
  const int fd = ::socket(AF_UNIX, SOCK_DGRAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  const std::string name = window_directory::SocketName(process);
  std::memcpy(address.sun_path, name.data(), name.size());
  const auto length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + name.size());
  const ssize_t sent =
      ::sendto(fd, datagram.data(), datagram.size(), 0, reinterpret_cast<sockaddr*>(&address), length);
  ::close(fd);
  return sent == static_cast<ssize_t>(datagram.size()) ? 0 : 1;
}

std::vector<std::uint8_t> Datagram(std::uint32_t magic, WindowId window, std::uint32_t size,
                                   std::size_t bytes) {
  std::vector<std::uint8_t> datagram(24 + bytes, 0xEE);
  const std::uint32_t head[4] = {magic, window, 9, size};
  std::memcpy(datagram.data(), head, sizeof head);
  std::memset(datagram.data() + 16, 0, 8);
  return datagram;
}

TEST(WindowDirectory, MalformedOrMisaddressedDatagramsAreDroppedAndTheListenerGoesOn) {
  Receiver receiver(1);
  const WindowId target = receiver.window;
  const WindowId gone = receiver.loop.CreateWindow(nullptr);
  receiver.loop.DestroyWindow(gone);
  const int parent = ::getpid();
  const pid_t child = StartChild([&] {
    const std::uint32_t magic = 0x4C57434Du;
    int failures = 0;
    failures += SendRaw(parent, {1, 2, 3});                                // shorter than a head
    failures += SendRaw(parent, Datagram(0x12345678u, target, 4, 4));      // not our magic
    failures += SendRaw(parent, Datagram(magic, target, 400, 4));          // claims more than it has
    failures += SendRaw(parent, Datagram(magic, target, 0, 4));            // has more than it claims
    failures += SendRaw(parent, Datagram(magic, gone, 4, 4));              // a destroyed window
    failures += SendRaw(parent, Datagram(magic, target, 100000, 100000));  // beyond the bound
    if (failures != 0) return 1;
    return window_directory::SendCopyData(target, 0, 0, Code(3)) ? 0 : 2;
  });
  EXPECT_EQ(receiver.loop.Run(), 0);
  EXPECT_EQ(WaitForChild(child), 0);
  ASSERT_EQ(receiver.received.size(), 1u);
  EXPECT_EQ(receiver.received[0].copyData, Code(3));
}

TEST(WindowDirectory, IdsNameTheirProcessAndAreNotReusedByAnother) {
  MessageLoop loop;
  const WindowId mine = loop.CreateWindow(nullptr);
  EXPECT_EQ(window_directory::OwnerProcess(mine), ::getpid());
  int ids[2] = {-1, -1};
  ASSERT_EQ(::pipe(ids), 0);
  const pid_t child = StartChild([&] {
    MessageLoop childLoop;
    const WindowId theirs = childLoop.CreateWindow(nullptr);
    return ::write(ids[1], &theirs, sizeof theirs) == sizeof theirs ? 0 : 1;
  });
  ::close(ids[1]);
  WindowId theirs = kNoWindow;
  ASSERT_EQ(::read(ids[0], &theirs, sizeof theirs), static_cast<ssize_t>(sizeof theirs));
  ::close(ids[0]);
  EXPECT_EQ(window_directory::OwnerProcess(theirs), child);
  EXPECT_EQ(WaitForChild(child), 0);
  EXPECT_NE(theirs, mine);
  EXPECT_NE(theirs / window_directory::kWindowsPerBlock, mine / window_directory::kWindowsPerBlock);
  // Its process is gone: nobody listens for the window any more.
  EXPECT_FALSE(window_directory::SendCopyData(theirs, mine, 0, Code(3)));
  EXPECT_EQ(window_directory::OwnerProcess(kNoWindow), 0);
}

}  // namespace
}  // namespace lumetra::platform
