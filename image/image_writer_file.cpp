#include "image/image_writer_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>

#include "image/image_writer.h"

namespace lumetra::image {
namespace {

std::string Reason() { return std::strerror(errno); }

// A name no other writer in this or another process is using.
std::string TemporaryName(const std::string& targetPath) {
  static std::atomic<unsigned> counter{0};
  return targetPath + ".part-" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
}

}  // namespace

TemporaryImageFile::TemporaryImageFile(const std::string& targetPath) : targetPath_(targetPath) {
  int descriptor = -1;
  for (int attempt = 0; attempt < 100 && descriptor < 0; ++attempt) {
    temporaryPath_ = TemporaryName(targetPath);
    descriptor = ::open(temporaryPath_.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (descriptor < 0 && errno != EEXIST) break;
  }
  if (descriptor < 0) throw ImageWriteError(targetPath + ": cannot create: " + Reason());
  file_ = ::fdopen(descriptor, "w+b");
  if (file_ == nullptr) {
    const std::string reason = Reason();
    ::close(descriptor);
    ::unlink(temporaryPath_.c_str());
    throw ImageWriteError(targetPath + ": cannot create: " + reason);
  }
}

TemporaryImageFile::~TemporaryImageFile() {
  if (file_ == nullptr) return;
  std::fclose(file_);
  ::unlink(temporaryPath_.c_str());
}

void TemporaryImageFile::Commit() {
  std::FILE* file = file_;
  file_ = nullptr;
  const bool written = std::fflush(file) == 0 && ::fsync(::fileno(file)) == 0;
  const std::string reason = written ? std::string() : Reason();
  const bool closed = std::fclose(file) == 0;
  if (!written || !closed) {
    ::unlink(temporaryPath_.c_str());
    throw ImageWriteError(targetPath_ + ": cannot write: " + (written ? Reason() : reason));
  }
  if (std::rename(temporaryPath_.c_str(), targetPath_.c_str()) != 0) {
    const std::string renameReason = Reason();
    ::unlink(temporaryPath_.c_str());
    throw ImageWriteError(targetPath_ + ": cannot replace: " + renameReason);
  }
}

void WriteBytes(std::FILE* file, const void* data, size_t size) {
  if (size > 0 && std::fwrite(data, 1, size, file) != size) throw ImageWriteError("write failed: " + Reason());
}

void WriteU16(std::FILE* file, uint32_t value) {
  const uint8_t bytes[2] = {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8)};
  WriteBytes(file, bytes, sizeof bytes);
}

void WriteU32(std::FILE* file, uint32_t value) {
  WriteU16(file, value & 0xFFFF);
  WriteU16(file, value >> 16);
}

}  // namespace lumetra::image
