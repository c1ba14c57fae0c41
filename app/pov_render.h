#pragma once

#include <string>

#include "host/scene.h"

namespace lumetra::app {

// The programs of the host's POV-Ray render call.
struct PovRenderPrograms {
  std::string povray;  // a path, or a name looked up on PATH
  std::string bridge;  // lumetra-povbridge
};

// The programs of a host whose plug-in is `pluginPath`: the bridge lies beside the
// plug-in; POV-Ray is $LUMETRA_POVRAY when set, else "povray".
PovRenderPrograms PovProgramsBeside(const std::string& pluginPath);

// The line a user reads when a POV-Ray render cannot start for want of a program; empty
// when both are there.
std::string PovRenderProblem(const PovRenderPrograms& programs);

// The host's POV-Ray render call: writes the scene as POV-Ray scene language into a
// folder of its own and starts the bridge on it, which runs POV-Ray for the render window
// named in the shared control block; returns without waiting. A bridge that dies without
// telling the window is reported to the window in its place, so no job waits forever.
// False, with the reason in `error`, when nothing could be started.
bool StartPovRender(const host::Scene& scene, const PovRenderPrograms& programs, std::string& error);

}  // namespace lumetra::app
