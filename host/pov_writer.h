#pragma once

#include <cstdint>
#include <iosfwd>

#include "host/scene.h"

namespace lumetra::host {

// Writes the scene as a POV-Ray 3.7 scene file with the meaning the plug-in's ray tracer
// gives it: the same right-handed coordinates (the camera's right vector points along -x),
// rotations, object shapes at their unit sizes, lights, colours and tracing limits. What
// POV-Ray cannot be told (an object kind or texture node the writer does not know) becomes
// a comment line naming it, never a silent gap. The picture's aspect is the active camera's
// (`lumetra render --size` and `lumetra export-pov --size` set it from the picture size).
void WritePovScene(const Scene& scene, std::ostream& out);

// Whether WritePovScene writes objects of this type as shapes or lights (the others get
// a comment).
bool PovWritesObjectType(uint32_t type);

}  // namespace lumetra::host
