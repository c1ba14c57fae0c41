#include "texture/pattern_id.h"

#include "platform/debug_log.h"

namespace lumetra::texture {

PatternId PatternIdFromSubKind(std::int32_t subKind) {
  if (subKind == 0 || subKind == 1) return static_cast<PatternId>(subKind);
  if (subKind >= 2 && subKind <= 25) return static_cast<PatternId>(subKind + 1);
  platform::DebugLog::Write("Unknown noise pattern\n");
  return PatternId::kAgate;
}

}  // namespace lumetra::texture
