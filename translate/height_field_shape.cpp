#include "translate/height_samples.h"
#include "translate/library_result.h"
#include "translate/primitive_makers.h"

namespace lumetra::translate {
namespace {

// 8-bit fields rise 0..1 in the library's units and are stretched to 0..2, then moved
// down to -1..1; 16-bit fields rise 0..256 and are squeezed to 0..2 where they stand.
struct Fit {
  double yScale;
  double yShift;
};
constexpr Fit kNarrowFit{2.0, -1.0};
constexpr Fit kWideFit{0.0078125, 0.0};

L2Primitive CreateField(L2Scene scene, const HeightSamples& samples) {
  return samples.wide ? CreateHeight16(scene, samples.width, samples.height, samples.words.data())
                      : CreateHeight8(scene, samples.width, samples.height, samples.narrow.data());
}

// Fits the field to the square -1..1 in x and z and turns it to face the viewer as
// the host's height fields do.
void FitToSquare(L2Scene scene, L2Primitive prim, bool wide, int32_t width, int32_t height) {
  const Fit fit = wide ? kWideFit : kNarrowFit;
  LogRefusal(ScalePrim(scene, prim, 2.0 / (width - 1), fit.yScale, 2.0 / (height - 1)), "ScalePrim");
  LogRefusal(TranslatePrim(scene, prim, -1, fit.yShift, -1), "TranslatePrim");
  LogRefusal(RotatePrim(scene, prim, 90, 0, 0), "RotatePrim");
  LogRefusal(UpdatePrim(scene, prim), "UpdatePrim");
}

}  // namespace

L2Primitive MakeHeightField(const ShapeSource& source) {
  const abi::HeightFieldParams& params = source.object.Shape().heightField;
  const auto samples = LoadHeightSamples(source.host, FieldText(params.image));
  if (!samples) return 0;
  const L2Primitive prim = CreateField(source.scene, *samples);
  if (prim == 0) return 0;
  FitToSquare(source.scene, prim, samples->wide, samples->width, samples->height);
  if (params.smooth) LogRefusal(SmoothHeightField(source.scene, prim), "SmoothHeightField");
  return prim;
}

void RefitHeightField(L2Scene scene, L2Primitive prim) {
  int32_t bits = 0, length = 0, width = 0;
  if (GetHeightFieldBitDepth(scene, prim, &bits) != L2_OK ||
      GetHeightFieldLength(scene, prim, &length) != L2_OK ||
      GetHeightFieldWidth(scene, prim, &width) != L2_OK) {
    return;
  }
  FitToSquare(scene, prim, bits > 8, width, length);
}

}  // namespace lumetra::translate
