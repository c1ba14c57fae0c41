// libFuzzer target: the TGA reader on arbitrary bytes.
#include "image/fuzz/reader_fuzz.h"
#include "image/tga_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return lumetra::image::fuzzing::ReadFromBytes(
      data, size, [](std::FILE* file, lumetra::image::Image& image) {
        lumetra::image::ReadTga(file, image, lumetra::image::fuzzing::kFuzzLimits);
      });
}
