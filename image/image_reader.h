#pragma once

#include <cstdio>
#include <string>
#include <utility>

#include "image/image.h"
#include "image/image_load_exception.h"

namespace lumetra::image {

// What one reader made of a file.
struct ReadResult {
  enum class Status { kNotThisFormat, kLoaded, kFailed };

  Status status = Status::kNotThisFormat;
  std::string message;  // why the file was refused; empty when loaded

  static ReadResult Loaded() { return {Status::kLoaded, {}}; }
  static ReadResult NotThisFormat(std::string why) { return {Status::kNotThisFormat, std::move(why)}; }
  static ReadResult Failed(std::string why) { return {Status::kFailed, std::move(why)}; }
  bool IsLoaded() const { return status == Status::kLoaded; }
};

// Reads the first `size` bytes of the file and rewinds it; false when it is shorter.
inline bool ReadSignature(std::FILE* file, unsigned char* bytes, size_t size) {
  std::rewind(file);
  const bool complete = std::fread(bytes, 1, size, file) == size;
  std::rewind(file);
  return complete;
}

// Runs a reader's decoding step on a fresh image and hands it over only when it
// succeeded; an ImgLoadException becomes a failure carrying the message (and the
// library's detail, when there is one).
template <typename Decode>
ReadResult DecodeInto(Image& image, Decode&& decode) {
  Image decoded;
  try {
    std::forward<Decode>(decode)(decoded);
  } catch (const ImgLoadException& error) {
    const std::string& detail = error.detail();
    return ReadResult::Failed(detail.empty() ? error.what()
                                             : std::string(error.what()) + " (" + detail + ")");
  }
  image = std::move(decoded);
  return ReadResult::Loaded();
}

}  // namespace lumetra::image
