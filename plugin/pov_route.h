#pragma once

#include "abi/scene_record.h"
#include "plugin/pov_shared_blocks.h"
#include "render/render_job.h"

namespace lumetra::plugin {

// Whether a POV-Ray job of another process has its window open: the blocks are the
// machine's, so one POV-Ray render runs at a time on the whole machine.
bool PovBlocksTakenElsewhere(const PovSharedBlocks& blocks);

// Makes a translated POV-Ray job ready: its picture lives in the display block, which
// waits for a picture of the job's size. False when the blocks are missing.
bool PreparePovJob(render::RenderJob& job, PovSharedBlocks& blocks);

// The render step of a POV-Ray job: the host's POV-Ray call starts the render, then the
// step waits in 10 ms sleeps until the render window hears that the picture is in the
// display block (the job's state leaves "rendering") or the job is aborted. Meanwhile
// POV-Ray's percentage shows in the window's status bar and as the job's progress. A job
// whose window the control block no longer names is aborted.
void RenderWithPovRay(render::RenderJob& job, const abi::SceneRecord* host, PovSharedBlocks& blocks);

}  // namespace lumetra::plugin
