#include "keyframe/anim_channel.h"

#include <cmath>

namespace keyframe {

bool TakeIfMoved(double& host, double mine) {
  if (!(std::fabs(host - mine) > kChangeTolerance)) return false;
  host = mine;
  return true;
}

bool TakeVectorIfMoved(double (&host)[3], const lmath::Vector3& mine) {
  bool moved = TakeIfMoved(host[0], mine.x);
  moved = TakeIfMoved(host[1], mine.y) | moved;
  return TakeIfMoved(host[2], mine.z) | moved;
}

std::string AnimChannel::ParamName(int) const { return "Spline"; }

void AnimChannel::BlendExtra(double, double, const AnimChannel&, const AnimChannel&, const TrackCurves&) {}

}  // namespace keyframe
