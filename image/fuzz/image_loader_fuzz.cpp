// libFuzzer target: LoadImage's whole reader chain on arbitrary bytes.
#include "image/fuzz/reader_fuzz.h"
#include "image/image_loader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return lumetra::image::fuzzing::ReadFromBytes(
      data, size, [](std::FILE* file, lumetra::image::Image& image) {
        lumetra::image::LoadReport report;
        lumetra::image::LoadImageFromFile(image, file, "input", &report,
                                          lumetra::image::fuzzing::kFuzzLimits);
      });
}
