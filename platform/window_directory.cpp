#include "platform/window_directory.h"

#include <poll.h>
#include <pthread.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

#include "platform/debug_log.h"
#include "platform/message_loop.h"
#include "platform/shared_memory.h"

namespace lumetra::platform::window_directory {
namespace {

constexpr const char* kTableName = "LumetraWindows";
// Slot 0 of the table is the block counter; slot b is the process of block b.
constexpr std::size_t kTableSize = std::size_t{kBlockCount} * sizeof(std::uint32_t);
// A sender gives up on a listener whose queue stays full this long.
constexpr timeval kSendTimeout{1, 0};

// One datagram: this head, then `size` bytes.
struct WireHead {
  std::uint32_t magic;
  std::uint32_t window;
  std::uint32_t sender;
  std::uint32_t size;
  std::uint64_t kind;
};
constexpr std::uint32_t kMagic = 0x4C57434Du;

// Owns a file descriptor.
class Descriptor {
 public:
  explicit Descriptor(int fd = -1) : fd_(fd) {}
  ~Descriptor() { Reset(); }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int Get() const { return fd_; }
  int Release() { return std::exchange(fd_, -1); }
  void Reset(int fd = -1) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = fd;
  }

 private:
  int fd_;
};

sockaddr_un AddressOf(int process, socklen_t& length) {
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  const std::string name = SocketName(process);
  std::memcpy(address.sun_path, name.data(), name.size());
  length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + name.size());
  return address;
}

class Directory {
 public:
  // Never destroyed: loops that static objects own unregister their windows late in exit.
  static Directory& Instance() {
    static Directory* const directory = new Directory;
    return *directory;
  }

  WindowId AllocateId() {
    std::lock_guard lock(mutex_);
    AdoptAfterFork();
    if (leftInBlock_ == 0) {
      nextId_ = TakeBlock() * kWindowsPerBlock;
      leftInBlock_ = kWindowsPerBlock;
    }
    --leftInBlock_;
    return nextId_++;
  }

  void Register(WindowId window, MessageLoop& loop) {
    std::lock_guard lock(mutex_);
    AdoptAfterFork();
    windows_[window] = &loop;
    if (!listening_ && !stopped_) StartListening();
  }

  void Unregister(WindowId window) {
    std::lock_guard lock(mutex_);
    AdoptAfterFork();
    windows_.erase(window);
  }

  int OwnerProcess(WindowId window) {
    std::lock_guard lock(mutex_);
    AdoptAfterFork();
    const std::uint32_t block = window / kWindowsPerBlock;
    if (block == 0) return 0;
    if (!table_.IsOpen()) return ownBlocks_.contains(block) ? ::getpid() : 0;
    return static_cast<int>(std::atomic_ref(Slots()[block]).load());
  }

  // True when `window` is here; the message is then queued.
  bool DeliverHere(WindowId window, WindowId sender, std::uintptr_t kind,
                   std::span<const std::uint8_t> bytes) {
    std::lock_guard lock(mutex_);
    AdoptAfterFork();
    const auto found = windows_.find(window);
    return found != windows_.end() && found->second->PostCopyData(window, sender, kind, bytes);
  }

  static void StopAtExit() { Instance().Stop(); }

 private:
  Directory() : owner_(::getpid()) {
    std::error_code error;
    table_ = SharedMemory::Create(kTableName, kTableSize, error);
    if (error) DebugLog::Printf("Windows of other processes unreachable: %s\n", error.message().c_str());
  }

  std::uint32_t* Slots() const { return static_cast<std::uint32_t*>(table_.Data()); }

  std::uint32_t TakeBlock() {
    std::uint32_t block = 0;
    if (!table_.IsOpen()) {
      block = ++localBlocks_;
      ownBlocks_.insert(block);
      return block;
    }
    // After 2^20 blocks the counter wraps and blocks of long-gone processes are reused.
    std::atomic_ref counter(Slots()[0]);
    while (block == 0) block = counter.fetch_add(1) % kBlockCount;
    std::atomic_ref(Slots()[block]).store(static_cast<std::uint32_t>(::getpid()));
    return block;
  }

  // A forked child inherits the parent's windows, ids and socket but none of its threads:
  // it starts afresh with ids and a socket of its own.
  void AdoptAfterFork() {
    if (owner_ == ::getpid()) return;
    owner_ = ::getpid();
    windows_.clear();
    ownBlocks_.clear();
    leftInBlock_ = 0;
    socket_.Reset();
    stop_.Reset();
    // The parent's listener thread does not exist here; its handle must never be joined.
    static_cast<void>(listener_.release());
    listening_ = false;
    stopped_ = false;
  }

  void StartListening() {
    Descriptor socket(::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0));
    Descriptor stop(::eventfd(0, EFD_CLOEXEC));
    const int on = 1;
    socklen_t length = 0;
    const sockaddr_un address = AddressOf(::getpid(), length);
    if (socket.Get() < 0 || stop.Get() < 0 ||
        ::setsockopt(socket.Get(), SOL_SOCKET, SO_PASSCRED, &on, sizeof on) != 0 ||
        ::bind(socket.Get(), reinterpret_cast<const sockaddr*>(&address), length) != 0) {
      DebugLog::Printf("Cannot listen for messages of other processes: %s\n", std::strerror(errno));
      stopped_ = true;  // not tried again for every window
      return;
    }
    socket_.Reset(socket.Release());
    stop_.Reset(stop.Release());
    listener_ = std::make_unique<std::thread>([this, fd = socket_.Get(), stopFd = stop_.Get()] {
      // A new thread takes its maker's name (a job's window thread, say); this one is the process's.
      if (pthread_setname_np(pthread_self(), "lumetra-windows") != 0)
        DebugLog::Write("Cannot name the thread that listens for other processes' messages\n");
      Listen(fd, stopFd);
    });
    listening_ = true;
    static std::once_flag atExit;
    std::call_once(atExit, [] { std::atexit(StopAtExit); });
  }

  void Stop() {
    std::unique_ptr<std::thread> listener;
    {
      std::lock_guard lock(mutex_);
      if (owner_ != ::getpid() || !listening_) return;
      const std::uint64_t one = 1;
      if (::write(stop_.Get(), &one, sizeof one) != sizeof one) return;
      listener = std::move(listener_);
      listening_ = false;
      stopped_ = true;
    }
    listener->join();
    std::lock_guard lock(mutex_);
    socket_.Reset();
    stop_.Reset();
  }

  void Listen(int fd, int stopFd) {
    std::vector<std::uint8_t> buffer(sizeof(WireHead) + kMaxCopyDataBytes);
    for (;;) {
      pollfd waits[2] = {{fd, POLLIN, 0}, {stopFd, POLLIN, 0}};
      if (::poll(waits, 2, -1) < 0) {
        if (errno == EINTR) continue;
        return;
      }
      if (waits[1].revents != 0) return;
      if (waits[0].revents & POLLIN) ReceiveOne(fd, buffer);
    }
  }

  // Anything but a whole message from this user is dropped.
  void ReceiveOne(int fd, std::vector<std::uint8_t>& buffer) {
    iovec part{buffer.data(), buffer.size()};
    alignas(cmsghdr) char control[CMSG_SPACE(sizeof(ucred))];
    msghdr message{};
    message.msg_iov = &part;
    message.msg_iovlen = 1;
    message.msg_control = control;
    message.msg_controllen = sizeof control;
    const ssize_t got = ::recvmsg(fd, &message, MSG_DONTWAIT);
    if (got < static_cast<ssize_t>(sizeof(WireHead)) || (message.msg_flags & (MSG_TRUNC | MSG_CTRUNC)) != 0)
      return;
    const cmsghdr* credentials = CMSG_FIRSTHDR(&message);
    if (credentials == nullptr || credentials->cmsg_level != SOL_SOCKET ||
        credentials->cmsg_type != SCM_CREDENTIALS)
      return;
    ucred sender{};
    std::memcpy(&sender, CMSG_DATA(credentials), sizeof sender);
    if (sender.uid != ::geteuid()) return;
    WireHead head{};
    std::memcpy(&head, buffer.data(), sizeof head);
    if (head.magic != kMagic || head.size != static_cast<std::size_t>(got) - sizeof head) return;
    DeliverHere(head.window, head.sender, static_cast<std::uintptr_t>(head.kind),
                {buffer.data() + sizeof head, head.size});
  }

  std::mutex mutex_;
  int owner_;
  SharedMemory table_;
  std::set<std::uint32_t> ownBlocks_;  // without the shared table
  std::uint32_t localBlocks_ = 0;
  WindowId nextId_ = 0;
  std::uint32_t leftInBlock_ = 0;
  std::map<WindowId, MessageLoop*> windows_;
  Descriptor socket_;
  Descriptor stop_;
  std::unique_ptr<std::thread> listener_;
  bool listening_ = false;
  bool stopped_ = false;
};

}  // namespace

std::string SocketName(int process) {
  return std::string(1, '\0') + "lumetra-windows-" + std::to_string(process);
}

WindowId AllocateId() { return Directory::Instance().AllocateId(); }

void Register(WindowId window, MessageLoop& loop) { Directory::Instance().Register(window, loop); }

void Unregister(WindowId window) { Directory::Instance().Unregister(window); }

int OwnerProcess(WindowId window) { return Directory::Instance().OwnerProcess(window); }

bool SendCopyData(WindowId window, WindowId sender, std::uintptr_t kind,
                  std::span<const std::uint8_t> bytes) {
  if (bytes.size() > kMaxCopyDataBytes) return false;
  if (Directory::Instance().DeliverHere(window, sender, kind, bytes)) return true;
  const int process = OwnerProcess(window);
  if (process <= 0 || process == ::getpid()) return false;

  const WireHead head{kMagic, window, sender, static_cast<std::uint32_t>(bytes.size()), kind};
  std::vector<std::uint8_t> datagram(sizeof head + bytes.size());
  std::memcpy(datagram.data(), &head, sizeof head);
  if (!bytes.empty()) std::memcpy(datagram.data() + sizeof head, bytes.data(), bytes.size());
  const Descriptor socket(::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0));
  if (socket.Get() < 0) return false;
  ::setsockopt(socket.Get(), SOL_SOCKET, SO_SNDTIMEO, &kSendTimeout, sizeof kSendTimeout);
  socklen_t length = 0;
  const sockaddr_un address = AddressOf(process, length);
  const ssize_t sent = ::sendto(socket.Get(), datagram.data(), datagram.size(), 0,
                                reinterpret_cast<const sockaddr*>(&address), length);
  return sent == static_cast<ssize_t>(datagram.size());
}

}  // namespace lumetra::platform::window_directory
