#pragma once

#include <vector>

#include "math/vector3.h"
#include "texture/clone_ptr.h"
#include "texture/noise_params.h"
#include "texture/warp.h"

namespace lumetra::texture {

class TransformWarp;

// What every object of the texture tree has: its warps, applied first to last, and the
// noise settings of its pattern.
class TextureNode {
 public:
  virtual ~TextureNode() = default;

  math::Vector3 TransformPoint(const math::Vector3& in) const;

  void AppendWarp(std::unique_ptr<Warp> warp) { warps_.emplace_back(std::move(warp)); }
  // The last warp when it is a transform warp, else a new identity transform warp appended.
  TransformWarp& LastTransformWarp();
  const std::vector<ClonePtr<Warp>>& Warps() const { return warps_; }

  NoiseParams& Noise() { return noise_; }
  const NoiseParams& Noise() const { return noise_; }

  // The flag byte every node carries; the texture code itself does not read it.
  bool flag = false;

 protected:
  TextureNode() = default;
  TextureNode(const TextureNode&) = default;
  TextureNode& operator=(const TextureNode&) = default;

 private:
  std::vector<ClonePtr<Warp>> warps_;
  NoiseParams noise_;
};

}  // namespace lumetra::texture
