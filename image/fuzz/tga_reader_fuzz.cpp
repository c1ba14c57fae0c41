// libFuzzer target: the TGA reader on arbitrary bytes.
#include "image/tga_reader.h"
#include "image/fuzz/reader_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return image::fuzzing::ReadFromBytes(data, size, [](std::FILE* file, image::Image& image) {
    image::ReadTga(file, image, image::fuzzing::kFuzzLimits);
  });
}
