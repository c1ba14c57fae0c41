// libFuzzer target: the BMP reader on arbitrary bytes.
#include "texture/bmp_reader.h"
#include "texture/fuzz/reader_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return texture::fuzzing::ReadFromBytes(data, size, [](std::FILE* file, texture::Image& image) {
    texture::ReadBmp(file, image, texture::fuzzing::kFuzzLimits);
  });
}
