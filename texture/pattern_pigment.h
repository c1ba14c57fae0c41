#pragma once

#include <vector>

#include "texture/colour.h"
#include "texture/pattern_choice.h"
#include "texture/texture.h"

namespace lumetra::texture {

// A colour map looked up by a pattern value; neighbouring colours are blended.
class PatternPigment final : public Pigment {
 public:
  struct Entry {
    float value = 0.0f;
    Colour colour;
  };

  explicit PatternPigment(PatternId id = PatternId::kAgate);
  void Eval(ShadingPoint& point, SurfaceSample& sample) const override;
  std::unique_ptr<Pigment> Clone() const override { return std::make_unique<PatternPigment>(*this); }
  bool LetsLightThrough() const override;
  bool ReadsSurfaceCoordinates() const override { return false; }

  // The colour map at a pattern value; an empty map gives the grey (v, v, v).
  Colour ColourAt(double v) const;

  PatternChoice pattern;
  std::vector<Entry> colourMap;  // ordered by value
};

}  // namespace lumetra::texture
