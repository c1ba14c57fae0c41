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

// The file a chain of links ends at, even one that does not exist yet, so that saving
// through a dangling link creates the file it names rather than replacing the link.
std::error_code ResolveLinks(const std::filesystem::path& path, std::filesystem::path& resolved) {
  resolved = path;
  for (int hop = 0; hop < 40; ++hop) {
    struct stat info {};
    if (::lstat(resolved.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return {};
    std::error_code error;
    const std::filesystem::path next = std::filesystem::read_symlink(resolved, error);
    if (error) return error;
    resolved = next.is_absolute() ? next : resolved.parent_path() / next;
  }
  return std::make_error_code(std::errc::too_many_symbolic_link_levels);
}

// A rename is only durable once the folder holding the name is synced. Some file
// systems cannot sync a folder (EINVAL); there the rename is as durable as it gets.
std::error_code SyncFolder(const std::filesystem::path& file) {
  const std::filesystem::path folder = file.has_parent_path() ? file.parent_path() : ".";
  FileDescriptor directory(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (directory.Get() < 0) return LastError();
  if (::fsync(directory.Get()) != 0 && errno != EINVAL) return LastError();
  return {};
}

// A file that replaces another takes its permission mode, exactly: open() would apply
// the umask.
std::error_code TakeModeOf(const std::filesystem::path& replaced, int fd) {
  struct stat existing {};
  if (::stat(replaced.c_str(), &existing) != 0 || ::fchmod(fd, existing.st_mode & 07777) == 0) return {};
  return LastError();
}

}  // namespace

std::error_code ReadFileBounded(const std::filesystem::path& path, std::size_t maxBytes,
                                std::string& contents) {
  FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (file.Get() < 0) return LastError();
  contents.clear();
  // The size is checked again while reading: the file may grow, or not be a regular file.
  struct stat info {};
  if (::fstat(file.Get(), &info) == 0 && S_ISREG(info.st_mode) &&
      static_cast<std::uintmax_t>(info.st_size) > maxBytes) {
    return std::make_error_code(std::errc::file_too_large);
  }
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

AtomicFile::AtomicFile(const std::filesystem::path& path, std::error_code& error) {
  error = ResolveLinks(path, target_);
  if (error) return;
  static std::atomic<unsigned> counter{0};
  for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
    temporary_ = target_;
    temporary_ += ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
    fd_ = ::open(temporary_.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd_ < 0 && errno != EEXIST) break;
  }
  if (fd_ < 0) {
    error = LastError();
    temporary_.clear();
    return;
  }
  error = TakeModeOf(target_, fd_);
  if (error) Discard();
}

AtomicFile::~AtomicFile() { Discard(); }

void AtomicFile::Discard() {
  if (stream_ != nullptr) {
    std::fclose(stream_);
  } else if (fd_ >= 0) {
    ::close(fd_);
  }
  stream_ = nullptr;
  fd_ = -1;
  if (!temporary_.empty()) ::unlink(temporary_.c_str());
  temporary_.clear();
}

std::error_code AtomicFile::Write(std::string_view bytes) {
  if (fd_ < 0) return std::make_error_code(std::errc::bad_file_descriptor);
  if (stream_ == nullptr) return WriteAll(fd_, bytes);
  if (std::fwrite(bytes.data(), 1, bytes.size(), stream_) != bytes.size()) return LastError();
  return {};
}

std::FILE* AtomicFile::Stream(std::error_code& error) {
  if (stream_ == nullptr && fd_ >= 0) {
    stream_ = ::fdopen(fd_, "w+b");
    if (stream_ == nullptr) error = LastError();
  } else if (fd_ < 0) {
    error = std::make_error_code(std::errc::bad_file_descriptor);
  }
  return stream_;
}

std::error_code AtomicFile::Commit() {
  if (fd_ < 0) return std::make_error_code(std::errc::bad_file_descriptor);
  std::error_code error;
  if (stream_ != nullptr && std::fflush(stream_) != 0) error = LastError();
  if (!error && ::fsync(fd_) != 0) error = LastError();
  // Closing can report a delayed write error.
  const bool closed = stream_ != nullptr ? std::fclose(stream_) == 0 : ::close(fd_) == 0;
  if (!closed && !error) error = LastError();
  stream_ = nullptr;
  fd_ = -1;
  if (!error && ::rename(temporary_.c_str(), target_.c_str()) != 0) error = LastError();
  if (error) {
    Discard();
    return error;
  }
  temporary_.clear();
  return SyncFolder(target_);
}

std::error_code ReplaceFile(const std::filesystem::path& from, const std::filesystem::path& to) {
  std::filesystem::path target;
  if (const std::error_code error = ResolveLinks(to, target)) return error;
  FileDescriptor file(::open(from.c_str(), O_RDONLY | O_CLOEXEC));
  if (file.Get() < 0) return LastError();
  if (const std::error_code error = TakeModeOf(target, file.Get())) return error;
  if (::fsync(file.Get()) != 0) return LastError();
  if (::rename(from.c_str(), target.c_str()) != 0) return LastError();
  return SyncFolder(target);
}

std::error_code WriteFileAtomically(const std::filesystem::path& path, std::string_view contents) {
  std::error_code error;
  AtomicFile file(path, error);
  if (!error) error = file.Write(contents);
  return error ? error : file.Commit();
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
