#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>

#include "host/scene.h"

namespace lumetra::host {

struct RibOptions {
  std::string display = "picture.tif";  // the picture the renderer writes (Display "file")
  int32_t width = 0;                    // picture size; 0 takes the scene's render size
  int32_t height = 0;
};

// Writes the scene as a RenderMan 3.2 ASCII RIB file with the meaning the plug-in's ray
// tracer gives it: the same view (angle and aspect of the active camera), shapes at their
// unit sizes, transforms, lights and a surface per material from its pigment colour and
// finish. RenderMan's camera space is left-handed (x right, y up, z into the picture);
// the world-to-camera matrix carries the scene there, so the world keeps the scene's own
// coordinates. What RIB is not told (an object kind it has no shape for) becomes a comment
// line naming it, never a silent gap.
void WriteRibScene(const Scene& scene, std::ostream& out, const RibOptions& options);

// Whether WriteRibScene writes objects of this type as shapes or lights.
bool RibWritesObjectType(uint32_t type);

}  // namespace lumetra::host
