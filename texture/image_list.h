#pragma once

#include <memory>
#include <vector>

#include "image/image.h"

namespace lumetra::texture {

// The images a scene's textures use. The list owns them; textures keep plain pointers,
// valid while the list lives.
class ImageList {
 public:
  const image::Image* Add(std::unique_ptr<image::Image> image) {
    images_.push_back(std::move(image));
    return images_.back().get();
  }
  size_t Size() const { return images_.size(); }

 private:
  std::vector<std::unique_ptr<image::Image>> images_;
};

}  // namespace lumetra::texture
