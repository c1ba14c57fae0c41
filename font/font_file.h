#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/byte_reader.h"

namespace lumetra::font {

// A font whose bytes contradict themselves: a table, count or location that
// reaches past the end of the file, or a value no font may hold.
class FontFormatError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// An open font file, read in blocks that are checked against the file's size
// before anything is allocated, so a hostile count never becomes a huge read.
class FontFile {
 public:
  // nullopt when the file cannot be opened for binary reading.
  static std::optional<FontFile> Open(const std::string& path);
  // The same reader over bytes already in memory (fuzzing, tests).
  static FontFile FromBytes(std::string name, std::span<const std::uint8_t> bytes);

  const std::string& Name() const { return name_; }
  std::uint64_t Size() const { return size_; }

  // length bytes at offset; what names the data in the error when they are
  // not all inside the file.
  std::vector<std::uint8_t> Read(std::uint64_t offset, std::uint64_t length, const char* what) const;

 private:
  struct Closer {
    void operator()(std::FILE* file) const { std::fclose(file); }
  };

  FontFile(std::string name, std::uint64_t size) : name_(std::move(name)), size_(size) {}

  std::string name_;
  std::uint64_t size_;
  std::unique_ptr<std::FILE, Closer> file_;  // null for bytes in memory
  std::vector<std::uint8_t> bytes_;
};

// A big-endian reader over a block read from a font file at `fileOffset`; a read past the
// block's end throws FontFormatError naming the block (`what`) and the place in the file.
platform::ByteReader BlockReader(std::span<const std::uint8_t> bytes, std::uint64_t fileOffset,
                                 const char* what);

}  // namespace lumetra::font
