#include "platform/file_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

namespace lumetra::platform {

ExclusiveFileLock::ExclusiveFileLock(const std::filesystem::path& lockFile, std::error_code& error) {
  fd_ = ::open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd_ < 0) {
    error = {errno, std::generic_category()};
    return;
  }
  int result;
  do {
    result = ::flock(fd_, LOCK_EX);
  } while (result != 0 && errno == EINTR);
  if (result != 0) {
    error = {errno, std::generic_category()};
    ::close(fd_);
    fd_ = -1;
    return;
  }
  error.clear();
}

ExclusiveFileLock::~ExclusiveFileLock() {
  if (fd_ >= 0) ::close(fd_);  // closing the descriptor releases the lock
}

}  // namespace lumetra::platform
