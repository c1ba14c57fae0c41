#include "texture/image_bump_normal.h"

#include <cmath>

#include "texture/image_mapping.h"

namespace lumetra::texture {
namespace {

constexpr double kSmallestTilt = 1e-07;
constexpr double kDegenerateFrame = 1e-15;

// Two unit tangents across `normal`; a normal too close to the y axis for the usual
// construction takes the x and z axes.
void TangentFrame(const math::Vector3& normal, math::Vector3& tangentU, math::Vector3& tangentV) {
  const math::Vector3 across = math::Cross({0.0, 1.0, 0.0}, normal);
  if (math::Dot(across, across) < kDegenerateFrame) {
    tangentU = {1.0, 0.0, 0.0};
    tangentV = {0.0, 0.0, 1.0};
    return;
  }
  tangentU = across * (1.0 / math::Length(across));
  tangentV = math::Cross(normal, tangentU);
}

}  // namespace

float BumpMapNormal::Intensity(int32_t x, int32_t row) const {
  if (modifiers_.useIndex) return static_cast<float>(image_->Fetch(x, row)) * 0.003921569f;
  const math::Colour colour = image_->Colour(x, row);
  return 0.279f * colour.red + 0.134f * colour.green + 0.587f * colour.blue;
}

void BumpMapNormal::Eval(ShadingPoint& point, SurfaceSample&) const {
  ImageSpot spot;
  if (LocateOnImage(*image_, modifiers_, TransformPoint(PointOf(point)), point, spot) != ImageHit::kInside)
    return;
  const float here = Intensity(spot.x, spot.row);
  const float alongX = Intensity(NextWrapped(spot.x, image_->Width()), spot.row);
  const float alongRows = Intensity(spot.x, spot.nextRow);
  const double du = static_cast<double>(here - alongX) * bumpAmount;
  const double dv = static_cast<double>(here - alongRows) * bumpAmount;
  if (std::fabs(du) < kSmallestTilt && std::fabs(dv) < kSmallestTilt) return;
  const math::Vector3 normal = NormalOf(point);
  math::Vector3 tangentU, tangentV;
  TangentFrame(normal, tangentU, tangentV);
  SetNormal(point, NormalizedOrX(normal + tangentU * du + tangentV * dv));
}

}  // namespace lumetra::texture
