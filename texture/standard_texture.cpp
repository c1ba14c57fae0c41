#include "texture/standard_texture.h"

namespace lumetra::texture {

void StandardTexture::Shade(ShadingPoint& point, SurfaceSample& sample) const {
  SetPoint(point, TransformPoint(PointOf(point)));
  sample.transmission = 0.0f;
  sample.flags = 0;
  if (pigment) {
    pigment->Eval(point, sample);
  } else {
    sample.color[0] = sample.color[1] = sample.color[2] = sample.color[3] = 1.0f;
  }
  if (normal) normal->Eval(point, sample);
  if (finish) {
    finish->ApplyTo(sample);
  } else {
    ApplyDefaultFinish(sample);
  }
  const float opacity = sample.color[3];
  if (opacity < 1.0f) {
    sample.ambient *= opacity;
    sample.diffuse *= opacity;
    sample.emission *= opacity;
  }
  sample.ior = indexOfRefraction;
}

}  // namespace lumetra::texture
