// Bringing the objects of another scene file into the open scene.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/scene.h"

namespace lumetra::host {

// An object that arrived in a merge: its id in the scene, the name it had in its file and
// the name it has now (another when the scene already had an object of that name).
struct MergedObject {
  uint32_t id = 0;
  std::string fileName;
  std::string name;
};

// Appends the objects of `other`'s tree and cameras to `scene`, with their children, links
// and arrays; names already taken get a number (" 2", " 3", ...). Materials come along
// unless the scene has one of that name, which the merged objects then wear. Relative file
// names are rewritten to hold from the scene's folder. Answers the merged objects, parents
// before their children. `other`'s plug-in data and views are not taken.
std::vector<MergedObject> MergeScene(Scene& scene, Scene other);

}  // namespace lumetra::host
