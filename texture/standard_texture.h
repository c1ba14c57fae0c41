#pragma once

#include <optional>

#include "texture/clone_ptr.h"
#include "texture/finish.h"
#include "texture/texture.h"

namespace lumetra::texture {

// A pigment, a normal and a finish, each optional.
class StandardTexture final : public Texture {
 public:
  void Shade(ShadingPoint& point, SurfaceSample& sample) const override;
  std::unique_ptr<Texture> Clone() const override { return std::make_unique<StandardTexture>(*this); }
  // The pigment alone decides: a finish's transmission counts only with a see-through pigment.
  bool LetsLightThrough() const override { return pigment && pigment->LetsLightThrough(); }
  bool ReadsSurfaceCoordinates() const override {
    return (pigment && pigment->ReadsSurfaceCoordinates()) || (normal && normal->ReadsSurfaceCoordinates());
  }

  ClonePtr<Pigment> pigment;
  ClonePtr<Normal> normal;
  std::optional<Finish> finish;
};

}  // namespace lumetra::texture
