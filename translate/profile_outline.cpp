#include "translate/profile_outline.h"

#include <lumetra2.h>

namespace lumetra::translate {
namespace {

constexpr std::uint32_t kCornerFlagSpline = 3;

void AppendPoint(std::vector<double>& points, const abi::ProfilePoint& point, std::uint32_t hostKind) {
  const bool corner = hostKind == kCornerFlagSpline && (point.flags & abi::kProfilePointCorner) != 0;
  points.insert(points.end(), {point.x, point.y, corner ? 0.0 : 1.0});
}

}  // namespace

int32_t LibrarySplineKind(std::uint32_t hostKind) {
  switch (hostKind) {
    case 2:
    case 3:
      return L2_SPLINE_QUADRATIC;
    case 4:
      return L2_SPLINE_CUBIC;
    default:
      return L2_SPLINE_LINEAR;
  }
}

std::vector<double> ProfileOutline(const std::vector<abi::ProfilePoint>& points, std::uint32_t hostKind,
                                   bool closed) {
  std::vector<double> outline;
  for (std::size_t i = 0; i + 1 < points.size(); ++i) AppendPoint(outline, points[i], hostKind);
  if (closed && !points.empty()) AppendPoint(outline, points.front(), hostKind);
  return outline;
}

}  // namespace lumetra::translate
