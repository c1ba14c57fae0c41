#pragma once

#include <optional>
#include <string>

#include "host/scene.h"

namespace lumetra::host {

// What a RIB export and render came to: the picture on success, else why not.
struct RibRenderResult {
  bool ok = false;
  std::string image;
  std::string error;
};

// The program a RIB renderer setting names: "rendrib.exe" and "rendrib" (the old
// default) stand for lumetra-rib; a bare name is looked for on $PATH, then beside the host
// executable. None when no such program is found.
std::optional<std::string> ResolveRibRenderer(const std::string& name);

// Writes `scene` to `ribFile` with the picture beside it (the RIB file's name with ".tif";
// its folder is the first `dirLength` bytes of `ribFile`), runs the renderer on it
// (argv = {renderer, ribFile}) and waits. Succeeds when the renderer exits with 0 and the
// picture exists; otherwise no picture of that name is left behind.
RibRenderResult ExportAndRenderRib(const Scene& scene, const std::string& renderer,
                                   const std::string& ribFile, size_t dirLength);

}  // namespace lumetra::host
