#pragma once

#include <vector>

#include "texture/clone_ptr.h"
#include "texture/pattern_choice.h"
#include "texture/texture.h"

namespace lumetra::texture {

// Whole normals looked up by a pattern value; neighbouring normals are blended.
class NormalMap final : public Normal {
 public:
  struct Entry {
    float value = 0.0f;
    ClonePtr<Normal> normal;
  };

  explicit NormalMap(PatternId id = PatternId::kAgate) { pattern.id = id; }
  void Eval(ShadingPoint& point, SurfaceSample& sample) const override;
  std::unique_ptr<Normal> Clone() const override { return std::make_unique<NormalMap>(*this); }
  bool ReadsSurfaceCoordinates() const override {
    return AnyReadsSurfaceCoordinates(
        entries, [](const Entry& entry) -> const auto& { return entry.normal; });
  }

  PatternChoice pattern;
  std::vector<Entry> entries;  // ordered by value
};

}  // namespace lumetra::texture
