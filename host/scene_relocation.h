// The file names of a scene that is saved into another folder.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "host/scene.h"

namespace lumetra::host {

// Rewrites the scene's relative references so that they hold from `folder` as they held
// from the scene's own folder: the files it names (meshes, images, fonts) that lie beside
// it or below its folder, its relative search paths and its relative output folder.
// Absolute names stay, and so do names found only through the search paths or the
// system's folders (the rewritten search paths still lead to them). Throws
// SceneFileError when a rewritten name does not fit its field.
// Gives every file name the scene's objects hold (meshes, images, fonts) to `rewrite`
// with the kind of file FileFinder looks for, and keeps what it answers in the name's
// place. Throws SceneFileError when an answer does not fit its field.
using FileNameRewrite = std::function<std::string(int32_t kind, const std::string& name)>;
void RewriteFileNames(Scene& scene, const FileNameRewrite& rewrite);

void RelocateReferences(Scene& scene, const std::string& folder);

}  // namespace lumetra::host
