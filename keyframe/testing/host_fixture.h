#pragma once

#include <string>

#include "abi/scene_record.h"
#include "host/host_context.h"
#include "host/host_functions.h"
#include "host/scene.h"
#include "keyframe/host_scene.h"

namespace lumetra::keyframe::testing {

// The substitute host over an empty scene, with its functions in a scene record.
struct HostFixture {
  host::Scene scene;
  host::HostContext context{scene};
  abi::SceneRecord record{};
  HostScene host{&record};

  HostFixture() { host::FillSceneRecord(record); }

  host::SceneObject& Add(uint32_t type, const std::string& name, uint32_t parent = 0) {
    host::SceneObject& object = scene.Add(type, 0, parent);
    object.name = name;
    return object;
  }
  host::SceneObject& Object(uint32_t id) { return *scene.Find(id); }
  host::HostCallLog& Log() { return context.Log(); }
};

}  // namespace lumetra::keyframe::testing
