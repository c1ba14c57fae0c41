#pragma once

#include "abi/scene_record.h"

namespace lumetra::host {

// Fills the host-function slots of a scene interface record. The functions work on the
// current HostContext; without one they answer kNoScene.
void FillSceneRecord(abi::SceneRecord& record);

}  // namespace lumetra::host
