#pragma once

#include <cstdint>

namespace lumetra::abi {

// Events the host sends through OnSceneEvent(objectId, event) and, for the notices a
// scene load or merge brings, OnSceneNotify(objectId, event, data, result).
enum SceneEvent : int32_t {
  kEventObjectRemoved = 1,
  kEventSelectionChanged = 2,
  kEventObjectAdded = 3,  // a new object has no keys yet: nothing for the plug-in to do
  kEventObjectChanged = 4,
  kEventObjectDrawn = 5,  // the host redrew an object; animation keeps no state for it
  kEventSceneInPlace = 6,
  kEventHostReady = 7,
  kEventSceneClosing = 8,
  kEventBarShown = 9,
  kEventObjectEdited = 10,
  kEventObjectRenamed = 11,
  kEventObjectReplaced = 12,
  kEventImportBegins = 13,  // notice: objects of a file are about to arrive
  kEventImportEnds = 14,    // notice: they have arrived; tracks the file brought attach now
  kEventMergeBegins = 15,
  kEventMergeEnds = 16,
  kEventMergedObject = 17,
};

}  // namespace lumetra::abi
