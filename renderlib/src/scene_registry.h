// The live scenes of the process, by handle.
#pragma once

#include <memory>

#include "scene.h"

namespace lumetra::renderlib {

L2Scene registerScene(std::unique_ptr<Scene> scene);
// Null for an unknown handle.
Scene* findScene(L2Scene handle);
// Takes the scene out of the registry; null for an unknown handle.
std::unique_ptr<Scene> unregisterScene(L2Scene handle);

}  // namespace lumetra::renderlib
