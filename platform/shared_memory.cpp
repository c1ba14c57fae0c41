#include "platform/shared_memory.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <limits>
#include <thread>
#include <utility>

#include "platform/debug_log.h"

namespace lumetra::platform {
namespace {

// How long an opener waits for the creator to give a new block its size.
constexpr auto kSizingWait = std::chrono::seconds(2);
constexpr int kOpenAttempts = 100;

std::error_code LastError() { return {errno, std::generic_category()}; }

std::error_code LockShared(int fd) {
  while (::flock(fd, LOCK_SH) != 0) {
    if (errno != EINTR) return LastError();
  }
  return {};
}

// Creates the name exclusively or opens what exists; `created` tells which.
int OpenOrCreate(const std::string& systemName, bool& created) {
  int fd = ::shm_open(systemName.c_str(), O_RDWR | O_CREAT | O_EXCL, 0600);
  created = fd >= 0;
  if (fd < 0 && errno == EEXIST) fd = ::shm_open(systemName.c_str(), O_RDWR, 0);
  return fd;
}

// Waits until the block's creator has sized it; gives its size.
std::error_code WaitForSize(int fd, std::size_t& size) {
  const auto deadline = std::chrono::steady_clock::now() + kSizingWait;
  for (;;) {
    struct stat info {};
    if (::fstat(fd, &info) != 0) return LastError();
    size = static_cast<std::size_t>(info.st_size);
    if (size > 0) return {};
    if (std::chrono::steady_clock::now() > deadline) return std::make_error_code(std::errc::timed_out);
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
}

// True when the name was removed by its last user between our open and our
// lock: the block we hold is then no longer the one the name refers to.
bool WasRemoved(int fd) {
  struct stat info {};
  return ::fstat(fd, &info) != 0 || info.st_nlink == 0;
}

// A POSIX name is one path component; the size must fit the file offset type.
bool IsUsableRequest(std::string_view name, const std::string& systemName, std::size_t size) {
  return !name.empty() && systemName.find('/', 1) == std::string::npos && systemName.size() <= NAME_MAX &&
         size > 0 && size <= static_cast<std::size_t>(std::numeric_limits<off_t>::max());
}

}  // namespace

std::string SharedMemory::SystemName(std::string_view name) {
  const char* space = std::getenv("LUMETRA_SHM_NAMESPACE");
  return "/" + std::string(name) + (space != nullptr ? space : "");
}

SharedMemory::SharedMemory(std::string systemName, int fd, void* view, std::size_t size, bool existed)
    : systemName_(std::move(systemName)), fd_(fd), view_(view), size_(size), existed_(existed) {}

SharedMemory SharedMemory::Create(std::string_view name, std::size_t size, std::error_code& error) {
  const std::string systemName = SystemName(name);
  if (!IsUsableRequest(name, systemName, size)) {
    error = std::make_error_code(std::errc::invalid_argument);
    return {};
  }
  for (int attempt = 0; attempt < kOpenAttempts; ++attempt) {
    bool created = false;
    const int fd = OpenOrCreate(systemName, created);
    if (fd < 0 && errno == ENOENT) continue;  // removed between the two opens
    if (fd < 0) {
      error = LastError();
      return {};
    }
    error = LockShared(fd);
    if (!error && WasRemoved(fd)) {
      ::close(fd);
      continue;
    }
    std::size_t existing = 0;
    if (!error && created && ::ftruncate(fd, static_cast<off_t>(size)) != 0) error = LastError();
    if (!error && !created) error = WaitForSize(fd, existing);
    if (!error && !created && existing < size) {
      DebugLog::Printf("Shared memory %s holds %zu bytes, fewer than the %zu asked for\n", systemName.c_str(),
                       existing, size);
      error = std::make_error_code(std::errc::invalid_argument);
    }
    void* view = error ? MAP_FAILED : ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    if (!error && view == MAP_FAILED) error = LastError();
    if (error) {
      SharedMemory failed(systemName, fd, nullptr, 0, !created);
      return {};  // `failed` lets go of the name on its way out
    }
    error.clear();
    return SharedMemory(systemName, fd, view, size, !created);
  }
  error = std::make_error_code(std::errc::resource_unavailable_try_again);
  return {};
}

SharedMemory::SharedMemory(SharedMemory&& other) noexcept
    : systemName_(std::move(other.systemName_)),
      fd_(std::exchange(other.fd_, -1)),
      view_(std::exchange(other.view_, nullptr)),
      size_(std::exchange(other.size_, 0)),
      existed_(other.existed_) {}

SharedMemory& SharedMemory::operator=(SharedMemory&& other) noexcept {
  if (this != &other) {
    Close();
    systemName_ = std::move(other.systemName_);
    fd_ = std::exchange(other.fd_, -1);
    view_ = std::exchange(other.view_, nullptr);
    size_ = std::exchange(other.size_, 0);
    existed_ = other.existed_;
  }
  return *this;
}

void SharedMemory::Close() {
  if (view_ != nullptr && ::munmap(view_, size_) != 0) {
    DebugLog::Printf("Shared memory %s cannot be unmapped: %s\n", systemName_.c_str(),
                     LastError().message().c_str());
  }
  view_ = nullptr;
  size_ = 0;
  if (fd_ < 0) return;
  // Only the last user gets the exclusive lock; it removes the name while
  // holding it, so a new opener either sees the name gone or keeps it alive.
  if (::flock(fd_, LOCK_EX | LOCK_NB) == 0 && ::shm_unlink(systemName_.c_str()) != 0) {
    DebugLog::Printf("Shared memory %s cannot be removed: %s\n", systemName_.c_str(),
                     LastError().message().c_str());
  }
  ::close(std::exchange(fd_, -1));
}

std::uint32_t SharedMemory::LoadU32(std::size_t offset) const {
  if (!IsOpen() || offset % 4 != 0 || offset + 4 > size_) return 0;
  return std::atomic_ref(*reinterpret_cast<std::uint32_t*>(static_cast<std::byte*>(view_) + offset)).load();
}

void SharedMemory::StoreU32(std::size_t offset, std::uint32_t value) {
  if (!IsOpen() || offset % 4 != 0 || offset + 4 > size_) return;
  std::atomic_ref(*reinterpret_cast<std::uint32_t*>(static_cast<std::byte*>(view_) + offset)).store(value);
}

}  // namespace lumetra::platform
