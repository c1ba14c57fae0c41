// libFuzzer target: LoadImage's whole reader chain on arbitrary bytes.
#include "texture/fuzz/reader_fuzz.h"
#include "texture/image_loader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return texture::fuzzing::ReadFromBytes(data, size, [](std::FILE* file, texture::Image& image) {
    texture::LoadReport report;
    texture::LoadImageFromFile(image, file, "input", &report, texture::fuzzing::kFuzzLimits);
  });
}
