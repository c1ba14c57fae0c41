#include "translate/height_samples.h"

#include <cstdio>
#include <cstring>

#include "abi/result_codes.h"
#include "image/image_loader.h"
#include "platform/messages.h"
#include "translate/host_object.h"

namespace lumetra::translate {
namespace {

void ShowUnsupported(const std::string& path) {
  char text[abi::kMaxPath + 64];
  std::snprintf(text, sizeof text, "Unsupported height format in [%s]", path.c_str());
  platform::Messages::Show("Error", text, platform::MessageButtons::Ok, platform::MessageIcon::Error);
}

}  // namespace

std::optional<HeightSamples> LoadHeightSamples(const abi::SceneRecord& host, const std::string& imageName) {
  char path[abi::kMaxPath] = {};
  std::snprintf(path, sizeof path, "%s", imageName.c_str());
  if (!host.findFile || host.findFile(abi::kFindHeightField, path) != abi::kOk) return std::nullopt;
  const std::string found = FieldText(path);
  image::Image image;
  if (image::LoadImage(image, found) != 1 || image.Width() < 2 || image.Height() < 2) {
    ShowUnsupported(found);
    return std::nullopt;
  }
  return image::SamplesOfImage(image);
}

}  // namespace lumetra::translate
