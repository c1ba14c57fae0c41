#include "image/image_writer_file.h"
#include "image/image_writer_formats.h"

namespace lumetra::image {

constexpr uint32_t kFileHeaderSize = 14;
constexpr uint32_t kInfoHeaderSize = 40;

void WriteBmp(std::FILE* file, const BgraPicture& picture) {
  const uint64_t imageSize = picture.bottomUpBgra.size();
  if (imageSize > UINT32_MAX - kFileHeaderSize - kInfoHeaderSize) {
    throw ImageWriteError("too large for a BMP file");
  }
  WriteBytes(file, "BM", 2);
  WriteU32(file, static_cast<uint32_t>(imageSize) + kFileHeaderSize + kInfoHeaderSize);
  WriteU32(file, 0);
  WriteU32(file, kFileHeaderSize + kInfoHeaderSize);
  WriteU32(file, kInfoHeaderSize);
  WriteU32(file, static_cast<uint32_t>(picture.width));
  WriteU32(file, static_cast<uint32_t>(picture.height));
  WriteU16(file, 1);   // planes
  WriteU16(file, 32);  // bits per pixel
  WriteU32(file, 0);   // no compression
  WriteU32(file, static_cast<uint32_t>(imageSize));
  for (int field = 0; field < 4; ++field) WriteU32(file, 0);  // resolution and colour counts
  WriteBytes(file, picture.bottomUpBgra.data(), picture.bottomUpBgra.size());
}

}  // namespace lumetra::image
