#include <string>
#include <vector>

#include "image/image_writer_file.h"
#include "image/image_writer_formats.h"

namespace lumetra::image {

void WritePpm(std::FILE* file, const BgraPicture& picture) {
  const std::string header =
      "P6\n" + std::to_string(picture.width) + " " + std::to_string(picture.height) + "\n255\n";
  WriteBytes(file, header.data(), header.size());
  std::vector<uint8_t> line(static_cast<size_t>(picture.width) * 3);
  for (int32_t y = 0; y < picture.height; ++y) {
    const uint8_t* source = TopDownRow(picture, y);
    for (size_t x = 0; x < static_cast<size_t>(picture.width); ++x, source += 4) {
      line[x * 3] = source[2];
      line[x * 3 + 1] = source[1];
      line[x * 3 + 2] = source[0];
    }
    WriteBytes(file, line.data(), line.size());
  }
}

}  // namespace lumetra::image
