// libFuzzer target: the TGA reader on arbitrary bytes.
#include "texture/tga_reader.h"
#include "texture/fuzz/reader_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return texture::fuzzing::ReadFromBytes(data, size, [](std::FILE* file, texture::Image& image) {
    texture::ReadTga(file, image, texture::fuzzing::kFuzzLimits);
  });
}
