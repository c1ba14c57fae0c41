#pragma once

// Where an animation's AVI file goes: moving an old file aside, asking for another name.
#include "render/render_job.h"

namespace lumetra::animation {

// Clears the way for a new AVI file at the job's output path. An existing file that is
// not writable fails without a message. An existing ".avi" (any letter case) becomes
// ".bak"; when it cannot be moved aside the user is asked whether to choose another
// name, which then replaces the job's output path. True when the file may be created.
bool MakeWayForOutput(render::RenderJob& job);

}  // namespace lumetra::animation
