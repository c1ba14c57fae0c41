#include "font/font_file.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <string>

namespace lumetra::font {

std::optional<FontFile> FontFile::Open(const std::string& path) {
  std::unique_ptr<std::FILE, Closer> file(std::fopen(path.c_str(), "rb"));
  if (!file) return std::nullopt;
  struct stat status {};
  // A directory or a pipe opens too, but has no size to check offsets against.
  if (::fstat(::fileno(file.get()), &status) != 0 || !S_ISREG(status.st_mode)) return std::nullopt;
  FontFile font(path, static_cast<std::uint64_t>(status.st_size));
  font.file_ = std::move(file);
  return font;
}

FontFile FontFile::FromBytes(std::string name, std::span<const std::uint8_t> bytes) {
  FontFile font(std::move(name), bytes.size());
  font.bytes_.assign(bytes.begin(), bytes.end());
  return font;
}

std::vector<std::uint8_t> FontFile::Read(std::uint64_t offset, std::uint64_t length, const char* what) const {
  if (offset > size_ || length > size_ - offset) {
    throw FontFormatError(std::string("the ") + what + " (" + std::to_string(length) + " bytes at offset " +
                          std::to_string(offset) + ") reaches past the end of the file (" +
                          std::to_string(size_) + " bytes)");
  }
  std::vector<std::uint8_t> block(length);
  if (length == 0) return block;
  if (!file_) {
    std::memcpy(block.data(), bytes_.data() + offset, length);
    return block;
  }
  if (::fseeko(file_.get(), static_cast<off_t>(offset), SEEK_SET) != 0 ||
      std::fread(block.data(), 1, length, file_.get()) != length) {
    throw FontFormatError(std::string("cannot read the ") + what + " at offset " + std::to_string(offset) +
                          ": " + (std::ferror(file_.get()) ? std::strerror(errno) : "the file got shorter"));
  }
  return block;
}

platform::ByteReader BlockReader(std::span<const std::uint8_t> bytes, std::uint64_t fileOffset,
                                 const char* what) {
  return platform::ByteReader(bytes, platform::ByteOrder::kBig,
                              [fileOffset, what, size = bytes.size()](std::size_t at, std::size_t needed) {
                                throw FontFormatError("the " + std::string(what) + " ends at offset " +
                                                      std::to_string(fileOffset + size) + ", " +
                                                      std::to_string(needed) + " bytes needed at offset " +
                                                      std::to_string(fileOffset + at));
                              });
}

}  // namespace lumetra::font
