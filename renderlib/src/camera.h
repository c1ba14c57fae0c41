// Primary rays of a view.
#pragma once

#include "ray.h"
#include "view.h"

namespace lumetra::renderlib {

class Camera {
 public:
  explicit Camera(const View& view);
  // The ray through a point of the pixel grid: x from the left, y from the top, both in
  // pixels; (0.5, 0.5) is the first pixel's centre.
  Ray primaryRay(double x, double y) const;
  int width() const { return width_; }
  int height() const { return height_; }

 private:
  Vec3 origin_, forward_, right_, up_;
  int width_, height_;
};

}  // namespace lumetra::renderlib
