#include "render/job_state.h"

namespace lumetra::render {

const char* JobStateName(int32_t state) {
  static constexpr const char* kNames[] = {"Initializing", "Processing",  "Rendering",
                                           "Complete",     "Terminating", "Zombie"};
  if (state < 0 || state >= static_cast<int32_t>(sizeof kNames / sizeof kNames[0])) {
    return "Unknown";
  }
  return kNames[state];
}

}  // namespace lumetra::render
