#pragma once

#include <cstdint>

namespace lumetra::render {

// The life of a render job as the job list shows it.
enum class JobState : int32_t {
  Initializing = 0,  // made
  Processing = 1,    // the scene is being translated or a frame posed
  Rendering = 2,     // the render call runs
  Complete = 3,      // the render call returned, also after an abort
  Terminating = 4,   // the window thread is ending
  Zombie = 5,        // the worker did not end when asked; the job stays listed
};

// "Initializing" ... "Zombie", "Unknown" for any other value.
const char* JobStateName(int32_t state);

}  // namespace lumetra::render
