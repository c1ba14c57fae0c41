#pragma once

#include <cstdint>

#include "image/image.h"
#include "texture/image_map_settings.h"
#include "texture/shading_point.h"

namespace lumetra::texture {

// Where a shading point falls on an image: the stored pixel, the stored row of the next
// image row along v (the row before it in a bottom-up image), and the fractions of the way
// to the neighbours along x and along v.
struct ImageSpot {
  int32_t x = 0;
  int32_t row = 0;
  int32_t nextRow = 0;
  float fractionX = 0.0f;
  float fractionRow = 0.0f;
};

enum class ImageHit {
  kUnmapped,  // the map type cannot map the point
  kOutside,   // outside a once-only image
  kInside,
};

// Maps the already warped `point` (with the shading record's surface coordinates) onto
// `image` by the modifiers' map type and once flag; `spot` is set when inside.
ImageHit LocateOnImage(const image::Image& image, const BitmapModifiers& modifiers,
                       const math::Vector3& point, const ShadingPoint& record, ImageSpot& spot);

// The neighbour of a stored column or row, wrapping at the image's edge.
inline int32_t NextWrapped(int32_t index, int32_t count) { return index + 1 < count ? index + 1 : 0; }

}  // namespace lumetra::texture
