// libFuzzer target: the BMP reader on arbitrary bytes.
#include "image/bmp_reader.h"
#include "image/fuzz/reader_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return lumetra::image::fuzzing::ReadFromBytes(
      data, size, [](std::FILE* file, lumetra::image::Image& image) {
        lumetra::image::ReadBmp(file, image, lumetra::image::fuzzing::kFuzzLimits);
      });
}
