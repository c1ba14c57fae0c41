#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include <lumetra2.h>

#include "abi/scene_record.h"
#include "animation/frame_posing.h"
#include "keyframe/object_track.h"
#include "keyframe/scene_animation.h"
#include "render/render_job.h"
#include "translate/host_object.h"
#include "translate/shape_update.h"

namespace lumetra::animation {

// Poses a translated render-library scene in place for each frame of an animation,
// instead of translating the scene again. Made on the caller's thread right after the
// translation: it copies the tracks of the keyed objects and the records of those
// objects and of what they depend on (ancestors of locked textures, clone sources, the
// camera's linked objects), so the worker needs neither the host nor the live tracks.
// Each frame then evaluates the tracks into the record copies and gives the library
// what the translation would have given it for those records.
class FramePoser : public FramePosing {
 public:
  FramePoser(render::RenderJob& job, const abi::SceneRecord& host, const keyframe::SceneAnimation& animation);
  ~FramePoser() override;
  FramePoser(const FramePoser&) = delete;
  FramePoser& operator=(const FramePoser&) = delete;

  // Poses the job's scene at `time`. Objects before their first key keep the pose they
  // were translated with.
  void Pose(int32_t time) override;

  // How many keyed objects the frames pose (those with a primitive or the view).
  std::size_t PosedCount() const { return objects_.size(); }

 private:
  enum class Role { Shape, Clone, Camera, TextureNode };
  struct Object {
    Role role = Role::Shape;
    keyframe::ObjectTrack track;
    std::unique_ptr<translate::HostObject> record{};
    L2Primitive prim = 0;
    // A texture node: its block, and the object the translation made of it (by its name).
    std::unique_ptr<abi::TextureBlock> node{};
    L2NameValue nodeTarget = 0;
    L2Primitive cloneSource = 0;
    std::vector<const translate::HostObject*> ancestors{};  // outermost first
    // A light's enclosing groups, innermost first, and those of them the frames pose.
    std::vector<const translate::HostObject*> groups{};
    std::vector<const Object*> posedGroups{};
    // The objects a camera follows: its location and its interest point move with them.
    const translate::HostObject* locationLink = nullptr;
    const translate::HostObject* interestLink = nullptr;
    translate::PosedPoints points{};
    bool posed = false;  // this frame
  };

  void Add(uint32_t id, const keyframe::ObjectTrack& track);
  // The lights within a keyed group, which move with it though the group's primitive
  // does not carry them.
  void AddLightsWithin(uint32_t group, int depth);
  // The record of a keyed object, or a copy read once for one that only is depended on.
  const translate::HostObject* RecordOf(uint32_t id);
  void ResolveLinks(Object& object);
  bool PoseRecord(Object& object, int32_t time);
  const Object* Find(uint32_t id) const;
  void PoseShape(Object& object);
  void PoseClone(Object& object);
  void AimCamera(const Object& camera);
  L2Texture DetachTexture(L2Primitive prim);

  render::RenderJob& job_;
  const abi::SceneRecord& host_;
  std::vector<std::unique_ptr<Object>> objects_;
  std::vector<std::unique_ptr<translate::HostObject>> others_;
};

}  // namespace lumetra::animation
