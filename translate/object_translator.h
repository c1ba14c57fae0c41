#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include <lumetra2.h>

#include "abi/scene_record.h"
#include "render/render_job.h"
#include "translate/host_object.h"

namespace lumetra::translate {

// Turns the host's object tree into primitives and lights of the job's scene. Each
// object becomes one primitive (groups and CSG objects a tree of their children's),
// takes its shadow flag, local transform, texture and transform (a group's also move the
// lights within it, which are placed on their own), and is filed under
// its name so that animation frames find it again. An object whose name the scene
// already holds as a primitive is that primitive. Failures skip the object and the walk goes on.
class ObjectTranslator {
 public:
  ObjectTranslator(render::RenderJob& job, const abi::SceneRecord& host);

  // Every object of the host's object list, in order.
  void TranslateScene();
  // One object and what it contains; 0 when it gives no primitive.
  L2Primitive Translate(std::uint32_t id);

 private:
  L2Primitive MakePrimitive(const HostObject& object);
  L2Primitive MakeGroup(const HostObject& object);
  L2Primitive MakeClone(const HostObject& object);
  void Finish(const HostObject& object, L2Primitive prim);
  // A new reference to the object's texture, 0 when it has none.
  L2Texture TextureReference(const HostObject& object);
  void PlaceLightsWithin(const HostObject& group, size_t lightsBefore);
  // The primitive filed under name, 0 when the name holds none.
  L2Primitive KnownPrimitive(const std::string& name) const;

  render::RenderJob& job_;
  const abi::SceneRecord& host_;
  L2Scene scene_;
  std::set<std::uint32_t> inProgress_;  // a clone or group that contains itself ends there
  std::vector<L2Primitive> lights_;     // in the order they were made
  std::set<L2NameValue> made_;          // every primitive made, lights included
};

}  // namespace lumetra::translate
