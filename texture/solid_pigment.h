#pragma once

#include "texture/colour.h"
#include "texture/texture.h"

namespace lumetra::texture {

class SolidPigment final : public Pigment {
 public:
  explicit SolidPigment(const Colour& c = {}) : colour(c) {}
  void Eval(ShadingPoint&, SurfaceSample& sample) const override { ColourToSample(sample, colour); }
  std::unique_ptr<Pigment> Clone() const override { return std::make_unique<SolidPigment>(*this); }
  bool LetsLightThrough() const override { return texture::LetsLightThrough(colour); }
  bool ReadsSurfaceCoordinates() const override { return false; }

  Colour colour;
};

}  // namespace lumetra::texture
