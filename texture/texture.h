#pragma once

#include <algorithm>
#include <memory>

#include "lumetra2.h"
#include "texture/shading_point.h"
#include "texture/texture_node.h"

namespace lumetra::texture {

// A whole surface description: shading fills every field of the sample.
class Texture : public TextureNode {
 public:
  // Warps the caller's point (the warped point is written back) and fills the sample.
  virtual void Shade(ShadingPoint& point, SurfaceSample& sample) const = 0;
  virtual std::unique_ptr<Texture> Clone() const = 0;
  // False only when no sample it shades can let light through (opacity 1, no transmission);
  // a texture that cannot tell answers true.
  virtual bool LetsLightThrough() const { return true; }
  // False only when no sample it shades depends on the surface's own (u, v); a texture that
  // cannot tell answers true.
  virtual bool ReadsSurfaceCoordinates() const { return true; }

  float indexOfRefraction = 1.0f;
};

// The colour part of a standard texture.
class Pigment : public TextureNode {
 public:
  // Writes the colour (and what it lets through) into the sample.
  virtual void Eval(ShadingPoint& point, SurfaceSample& sample) const = 0;
  virtual std::unique_ptr<Pigment> Clone() const = 0;
  // As Texture::LetsLightThrough, for the colours it writes.
  virtual bool LetsLightThrough() const { return true; }
  // As Texture::ReadsSurfaceCoordinates.
  virtual bool ReadsSurfaceCoordinates() const { return true; }
};

// The normal perturbation of a standard texture.
class Normal : public TextureNode {
 public:
  // Replaces the normal of the shading point with the perturbed unit normal.
  virtual void Eval(ShadingPoint& point, SurfaceSample& sample) const = 0;
  virtual std::unique_ptr<Normal> Clone() const = 0;
  // As Texture::ReadsSurfaceCoordinates.
  virtual bool ReadsSurfaceCoordinates() const { return true; }
};

// Whether any node of a list reads the surface's own coordinates; `node` picks the node out of
// an entry, and a missing node reads nothing.
template <typename Entries, typename NodeOf>
bool AnyReadsSurfaceCoordinates(const Entries& entries, NodeOf node) {
  return std::any_of(entries.begin(), entries.end(), [&](const auto& entry) {
    const auto& held = node(entry);
    return held && held->ReadsSurfaceCoordinates();
  });
}
// The same for a list of the nodes themselves.
template <typename Nodes>
bool AnyReadsSurfaceCoordinates(const Nodes& nodes) {
  return AnyReadsSurfaceCoordinates(
      nodes, [](const auto& node) -> const auto& { return node; });
}

}  // namespace lumetra::texture
