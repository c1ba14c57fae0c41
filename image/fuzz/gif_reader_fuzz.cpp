// libFuzzer target: the GIF reader on arbitrary bytes.
#include "image/fuzz/reader_fuzz.h"
#include "image/gif_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return lumetra::image::fuzzing::ReadFromBytes(
      data, size, [](std::FILE* file, lumetra::image::Image& image) {
        lumetra::image::ReadGif(file, image, lumetra::image::fuzzing::kFuzzLimits);
      });
}
