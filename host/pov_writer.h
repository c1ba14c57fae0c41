#pragma once

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <string>

#include "host/scene.h"

namespace lumetra::host {

struct PovOptions {
  // The name the .pov gives a file the host found for the scene (a font, an image): the
  // found absolute path when unset. POV-Ray reads only from folders it trusts, so a render
  // copies the files beside the .pov and names them by their bare names.
  std::function<std::string(const std::string& found)> fileName;
};
// Writes the scene as a POV-Ray 3.7 scene file with the meaning the plug-in's ray tracer
// gives it: the same right-handed coordinates (the camera's right vector points along -x),
// rotations, object shapes at their unit sizes, lights, colours and tracing limits. What
// POV-Ray cannot be told (an object kind or texture node the writer does not know) becomes
// a comment line naming it, never a silent gap. The picture's aspect is the active camera's
// (`lumetra render --size` and `lumetra export-pov --size` set it from the picture size).
void WritePovScene(const Scene& scene, std::ostream& out, const PovOptions& options = {});

}  // namespace lumetra::host
