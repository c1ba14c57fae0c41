#pragma once

#include <string>

#include "abi/render_settings_record.h"
#include "abi/scene_record.h"
#include "render/render_job.h"

namespace lumetra::plugin {

// Where a RIB render's scene file goes, and the length of its folder part.
struct RibFile {
  std::string path;
  int32_t dirLength = 0;
};

// The host's output directory, the scene file's name without folder and extension (the
// still picture's "out" for a scene never saved), then ".rib". A host that does not answer
// (null) leaves neither folder nor name, and a bare ".rib" would land wherever the process
// happens to run: the file goes to the temporary folder instead, named for this process.
RibFile RibFileFor(const abi::RenderSettingsRecord* host);

// The render step of a RIB job: finds the RIB exporter through the host (FindPlugin), has
// it write and render the scene with the job's RIB renderer, loads the picture and copies
// the job's size of it into the job's image, all marked changed. Any failure is logged,
// sets the job's abort flag and leaves the image as it was. True when not aborted.
bool RenderWithRib(render::RenderJob& job, const abi::SceneRecord& host);

}  // namespace lumetra::plugin
