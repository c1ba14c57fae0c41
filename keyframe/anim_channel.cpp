#include "keyframe/anim_channel.h"

#include <cmath>
#include <cstring>

namespace lumetra::keyframe {

bool TakeIfMoved(double& host, double mine) {
  if (!(std::fabs(host - mine) > kChangeTolerance)) return false;
  host = mine;
  return true;
}

bool TakeVectorIfMoved(double (&host)[3], const math::Vector3& mine) {
  bool moved = TakeIfMoved(host[0], mine.x);
  moved = TakeIfMoved(host[1], mine.y) | moved;
  return TakeIfMoved(host[2], mine.z) | moved;
}

bool TakeIfMovedAt(void* hostField, double mine) {
  double host;
  std::memcpy(&host, hostField, sizeof host);
  if (!TakeIfMoved(host, mine)) return false;
  std::memcpy(hostField, &host, sizeof host);
  return true;
}

bool TakeVectorIfMovedAt(void* hostField, const math::Vector3& mine) {
  double host[3];
  std::memcpy(host, hostField, sizeof host);
  if (!TakeVectorIfMoved(host, mine)) return false;
  std::memcpy(hostField, host, sizeof host);
  return true;
}

std::string AnimChannel::ParamName(int) const { return "Spline"; }

void AnimChannel::BlendExtra(double, double, const AnimChannel&, const AnimChannel&, const TrackCurves&) {}

}  // namespace lumetra::keyframe
