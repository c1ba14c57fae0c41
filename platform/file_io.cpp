#include "platform/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>

namespace lumetra::platform {
namespace {

std::error_code LastError() { return {errno, std::generic_category()}; }

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int Get() const { return fd_; }
  // Closing can report a delayed write error, so writers close explicitly.
  std::error_code Close() {
    const int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0 ? std::error_code{} : LastError();
  }

 private:
  int fd_;
};

std::error_code WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return LastError();
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return {};
}

std::filesystem::path ResolveLinks(const std::filesystem::path& path) {
  std::error_code error;
  const std::filesystem::path resolved = std::filesystem::weakly_canonical(path, error);
  return error ? path : resolved;
}

// New files get the usual 0666 less umask; a replaced file keeps its mode.
mode_t ModeFor(const std::filesystem::path& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 ? (info.st_mode & 07777) : 0666;
}

std::filesystem::path TemporaryNameBeside(const std::filesystem::path& path) {
  static std::atomic<unsigned> counter{0};
  std::filesystem::path temporary = path;
  temporary += ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
  return temporary;
}

}  // namespace

std::error_code ReadFileBounded(const std::filesystem::path& path, std::size_t maxBytes, std::string& contents) {
  FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (file.Get() < 0) return LastError();
  contents.clear();
  char buffer[65536];
  for (;;) {
    const ssize_t got = ::read(file.Get(), buffer, sizeof buffer);
    if (got < 0) {
      if (errno == EINTR) continue;
      return LastError();
    }
    if (got == 0) return {};
    if (contents.size() + static_cast<std::size_t>(got) > maxBytes) {
      return std::make_error_code(std::errc::file_too_large);
    }
    contents.append(buffer, static_cast<std::size_t>(got));
  }
}

std::error_code WriteFileAtomically(const std::filesystem::path& path, std::string_view contents) {
  const std::filesystem::path target = ResolveLinks(path);
  const std::filesystem::path temporary = TemporaryNameBeside(target);
  FileDescriptor file(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, ModeFor(target)));
  if (file.Get() < 0) return LastError();
  std::error_code error = WriteAll(file.Get(), contents);
  if (!error && ::fsync(file.Get()) != 0) error = LastError();
  const std::error_code closeError = file.Close();
  if (!error) error = closeError;
  if (!error && ::rename(temporary.c_str(), target.c_str()) != 0) error = LastError();
  if (error) ::unlink(temporary.c_str());
  return error;
}

bool IsWritableFile(const std::filesystem::path& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0 &&
         ::access(path.c_str(), W_OK) == 0;
}

std::error_code MoveAside(const std::filesystem::path& path, std::filesystem::path& movedTo) {
  for (int attempt = 0; attempt < 1000; ++attempt) {
    movedTo = path;
    movedTo += attempt == 0 ? std::string(".corrupt") : ".corrupt." + std::to_string(attempt);
    // link() refuses an existing name, so an earlier damaged copy is never replaced.
    if (::link(path.c_str(), movedTo.c_str()) == 0) {
      return ::unlink(path.c_str()) == 0 ? std::error_code{} : LastError();
    }
    if (errno != EEXIST) return LastError();
  }
  return std::make_error_code(std::errc::file_exists);
}

}  // namespace lumetra::platform
