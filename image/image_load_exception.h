#pragma once

#include <stdexcept>
#include <string>

namespace lumetra::image {

// Raised inside the image readers for a file they cannot decode. `what()` is the
// reader's message ("Bad GIF Image", "JPEG Load Error", ...); `detail()` may add the
// decoding library's own words.
class ImgLoadException : public std::runtime_error {
 public:
  explicit ImgLoadException(const std::string& message, std::string detail = {})
      : std::runtime_error(message), detail_(std::move(detail)) {}
  const std::string& detail() const { return detail_; }

 private:
  std::string detail_;
};

}  // namespace lumetra::image
