#pragma once

#include <vector>

#include "texture/clone_ptr.h"
#include "texture/pattern_choice.h"
#include "texture/texture.h"

namespace lumetra::texture {

// Whole pigments looked up by a pattern value; neighbouring pigments' colours are blended.
class PigmentMapPigment final : public Pigment {
 public:
  struct Entry {
    float value = 0.0f;
    ClonePtr<Pigment> pigment;
  };

  explicit PigmentMapPigment(PatternId id = PatternId::kAgate);
  void Eval(ShadingPoint& point, SurfaceSample& sample) const override;
  std::unique_ptr<Pigment> Clone() const override { return std::make_unique<PigmentMapPigment>(*this); }
  bool LetsLightThrough() const override;
  bool ReadsSurfaceCoordinates() const override {
    return AnyReadsSurfaceCoordinates(
        entries, [](const Entry& entry) -> const auto& { return entry.pigment; });
  }

  PatternChoice pattern;
  std::vector<Entry> entries;  // ordered by value
};

}  // namespace lumetra::texture
