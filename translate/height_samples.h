#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "abi/scene_record.h"
#include "image/image.h"

namespace lumetra::translate {

// The samples of a height field, one per pixel, the image's top row first: 8-bit fields
// keep bytes, fields of 16-bit images keep 16-bit words.
struct HeightSamples {
  int32_t width = 0;
  int32_t height = 0;
  bool wide = false;  // 16 bits per sample
  std::vector<std::uint8_t> narrow;
  std::vector<std::uint16_t> words;
};

// A pixel's height: the byte of a one-byte pixel (grey level or palette index), else
// the grey of its colour; 16-bit images give 16-bit heights.
HeightSamples SamplesOfImage(const image::Image& image);

// The samples of the height image a host object names: the host completes the path
// (kind 6); an image it cannot find gives nothing, silently; an image that cannot be
// used (unreadable, or smaller than 2 by 2) gives nothing and the message
// "Unsupported height format in [path]".
std::optional<HeightSamples> LoadHeightSamples(const abi::SceneRecord& host, const std::string& imageName);

}  // namespace lumetra::translate
