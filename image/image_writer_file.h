#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace lumetra::image {

// A file written under a temporary name in the target's directory and renamed over
// the target by Commit(); dropped without Commit() it is removed again.
class TemporaryImageFile {
 public:
  // Throws ImageWriteError when the temporary file cannot be made.
  explicit TemporaryImageFile(const std::string& targetPath);
  ~TemporaryImageFile();
  TemporaryImageFile(const TemporaryImageFile&) = delete;
  TemporaryImageFile& operator=(const TemporaryImageFile&) = delete;

  std::FILE* File() const { return file_; }
  // Flushes, syncs and closes the file, then renames it to the target; throws
  // ImageWriteError on failure.
  void Commit();

 private:
  std::string targetPath_;
  std::string temporaryPath_;
  std::FILE* file_ = nullptr;
};

// Writes all of `data` or throws ImageWriteError.
void WriteBytes(std::FILE* file, const void* data, size_t size);
void WriteU16(std::FILE* file, uint32_t value);  // little-endian
void WriteU32(std::FILE* file, uint32_t value);  // little-endian

}  // namespace lumetra::image
