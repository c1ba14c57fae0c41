#pragma once

#include <filesystem>
#include <system_error>

namespace lumetra::platform {

// An exclusive advisory lock (flock) on a lock file, held for the object's
// life. Serialises read-modify-write cycles of one file between processes and
// between threads (each lock opens its own descriptor).
class ExclusiveFileLock {
 public:
  ExclusiveFileLock(const std::filesystem::path& lockFile, std::error_code& error);
  ~ExclusiveFileLock();
  ExclusiveFileLock(const ExclusiveFileLock&) = delete;
  ExclusiveFileLock& operator=(const ExclusiveFileLock&) = delete;

 private:
  int fd_ = -1;
};

}  // namespace lumetra::platform
