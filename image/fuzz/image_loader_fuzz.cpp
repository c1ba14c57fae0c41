// libFuzzer target: LoadImage's whole reader chain on arbitrary bytes.
#include "image/fuzz/reader_fuzz.h"
#include "image/image_loader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return image::fuzzing::ReadFromBytes(data, size, [](std::FILE* file, image::Image& image) {
    image::LoadReport report;
    image::LoadImageFromFile(image, file, "input", &report, image::fuzzing::kFuzzLimits);
  });
}
