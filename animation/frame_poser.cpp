#include "animation/frame_poser.h"

#include "keyframe/host_scene.h"
#include "keyframe/profile_channel.h"
#include "keyframe/texture_node_channels.h"
#include "keyframe/track_evaluation.h"
#include "translate/camera_view.h"
#include "translate/host_arrays.h"
#include "translate/library_result.h"
#include "translate/name_filing.h"
#include "translate/node_posing.h"
#include "translate/object_placement.h"
#include "translate/primitive_makers.h"

namespace lumetra::animation {
namespace {

using translate::HostObject;

// The deepest chain of enclosing objects or clone sources followed.
constexpr int kMaxChain = 256;

bool Poses(keyframe::KeyState state) {
  return state == keyframe::KeyState::AtKey || state == keyframe::KeyState::BetweenKeys ||
         state == keyframe::KeyState::AfterLast;
}

// A copy of the track the worker owns: the keys, then curves built from them.
keyframe::ObjectTrack CopyOf(const keyframe::ObjectTrack& track) {
  keyframe::ObjectTrack copy(track.Name(), track.Type(), track.SubType());
  copy.SetInterpolation(track.StoredInterpolation());
  for (const keyframe::TrackKey& key : track.Keys()) copy.InsertKey(key.time, key.snapshot);
  copy.RebuildCurves();
  return copy;
}

translate::Point Translation(const HostObject* object) {
  if (!object) return {};
  const auto& t = object->params.translate;
  return {t[0], t[1], t[2]};
}

}  // namespace

FramePoser::FramePoser(render::RenderJob& job, const abi::SceneRecord& host,
                       const keyframe::SceneAnimation& animation)
    : job_(job), host_(host) {
  for (const auto& [id, track] : animation.AllTracks()) Add(id, *track);
  const size_t keyed = objects_.size();
  for (size_t i = 0; i < keyed; ++i) {
    const uint32_t type = objects_[i]->record->Type();
    if (type == abi::kTypeGroup || type == abi::kTypeCsg) AddLightsWithin(objects_[i]->record->id, 0);
  }
  // Dependencies are looked up once every keyed object has its record, so that they
  // see the posed copies.
  for (auto& object : objects_) ResolveLinks(*object);
}

void FramePoser::AddLightsWithin(uint32_t group, int depth) {
  if (depth >= kMaxChain) return;  // a group that holds itself
  for (const uint32_t child : translate::ChildrenOf(host_, group)) {
    if (Find(child)) continue;
    const auto record = translate::ReadHostObject(host_, child);
    if (!record) continue;
    if (translate::IsLight(record->Type())) {
      // Without keys of its own: it only follows its groups.
      Add(child, keyframe::ObjectTrack(record->Name(), record->Type(), 0));
    } else if (record->Type() == abi::kTypeGroup || record->Type() == abi::kTypeCsg) {
      AddLightsWithin(child, depth + 1);
    }
  }
}

const FramePoser::Object* FramePoser::Find(uint32_t id) const {
  for (const auto& object : objects_) {
    if (object->record->id == id) return object.get();
  }
  return nullptr;
}

void FramePoser::ResolveLinks(Object& object) {
  const HostObject& record = *object.record;
  if (translate::IsLight(record.Type())) {
    for (uint32_t parent = record.info.parent; parent != 0 && object.groups.size() < kMaxChain;) {
      const HostObject* group = RecordOf(parent);
      if (!group) break;
      object.groups.push_back(group);
      if (const Object* keyed = Find(parent)) object.posedGroups.push_back(keyed);
      parent = group->info.parent;
    }
  }
  if (object.role == Role::Camera && record.Shape().camera.ownTransformOnly == 0) {
    object.locationLink = RecordOf(abi::CameraLocationObject(record.info));
    object.interestLink = RecordOf(abi::CameraLookAtObject(record.info));
  }
  if (object.role == Role::Clone) {
    uint32_t source = abi::CloneSource(record.info);
    for (int depth = 0; depth < kMaxChain; ++depth) {
      const HostObject* linked = RecordOf(source);
      if (!linked || linked->Type() != abi::kTypeClone) break;
      source = abi::CloneSource(linked->info);
    }
    if (const HostObject* linked = RecordOf(source)) {
      object.cloneSource = static_cast<L2Primitive>(translate::LookUpName(job_, linked->Name()));
    }
  }
  if ((record.info.flags & abi::kFlagTextureLockMask) == abi::kFlagTextureLockAncestors) {
    for (uint32_t parent = record.info.parent; parent != 0 && object.ancestors.size() < kMaxChain;) {
      const HostObject* enclosing = RecordOf(parent);
      if (!enclosing) break;
      object.ancestors.insert(object.ancestors.begin(), enclosing);
      parent = enclosing->info.parent;
    }
  }
}

FramePoser::~FramePoser() = default;

void FramePoser::Add(uint32_t id, const keyframe::ObjectTrack& track) {
  auto record = translate::ReadHostObject(host_, id);
  if (!record) return;
  auto object = std::make_unique<Object>(Object{.track = CopyOf(track)});
  if (record->Type() == abi::kTypeTextureNode) {
    object->role = Role::TextureNode;
    object->nodeTarget = translate::LookUpName(job_, record->Name());
    object->node = std::make_unique<abi::TextureBlock>();
    keyframe::ObjectRecord node;
    if (object->nodeTarget == 0 || keyframe::HostScene(&host_).ReadObject(id, node, true) != abi::kOk) return;
    *object->node = node.texture;
  } else if (record->Type() == abi::kTypeCamera) {
    if (id != job_.camera || job_.view == 0) return;
    object->role = Role::Camera;
  } else {
    object->role = record->Type() == abi::kTypeClone ? Role::Clone : Role::Shape;
    object->prim = static_cast<L2Primitive>(translate::LookUpName(job_, record->Name()));
    if (object->prim == 0) return;
  }
  if (record->Type() == abi::kTypeSweep || record->Type() == abi::kTypeLathe ||
      record->Type() == abi::kTypeExtrusion) {
    // The host's points keep their corner flags; the keys move only their places.
    const auto& profile = record->Shape().profile;
    if (auto points =
            translate::ReadHostArray<abi::ProfilePoint>(host_.readProfilePoints, id, profile.pointCount, 1)) {
      object->points.outline = std::move(*points);
    }
  }
  object->record = std::move(record);
  objects_.push_back(std::move(object));
}

const HostObject* FramePoser::RecordOf(uint32_t id) {
  if (id == 0) return nullptr;
  if (const Object* keyed = Find(id)) return keyed->record.get();
  for (const auto& other : others_) {
    if (other->id == id) return other.get();
  }
  auto record = translate::ReadHostObject(host_, id);
  if (!record) return nullptr;
  others_.push_back(std::move(record));
  return others_.back().get();
}

void FramePoser::Pose(int32_t time) {
  // Every record first: locked textures and the camera's links read this frame's pose
  // of the objects they depend on, whatever their order.
  for (auto& object : objects_) object->posed = PoseRecord(*object, time);
  // A light moves when one of its groups does.
  for (auto& object : objects_) {
    for (const Object* group : object->posedGroups) object->posed = object->posed || group->posed;
  }
  for (auto& object : objects_) {
    if (object->posed && object->role == Role::Shape) PoseShape(*object);
  }
  for (auto& object : objects_) {
    if (object->posed && object->role == Role::Clone) PoseClone(*object);
  }
  for (auto& object : objects_) {
    if (object->posed && object->role == Role::Camera) AimCamera(*object);
    // The node's values go into what the translation made of it; the library is not called.
    if (object->posed && object->role == Role::TextureNode)
      translate::PoseTrackedNode(object->nodeTarget, *object->node);
  }
}

bool FramePoser::PoseRecord(Object& object, int32_t time) {
  const keyframe::TrackEvaluation evaluation = keyframe::EvaluateTrack(object.track, time);
  const keyframe::AnimChannel* channel = evaluation.Channel();
  if (!Poses(evaluation.state) || !channel) return false;
  HostObject& record = *object.record;
  channel->PoseRecords(record.params, record.data);
  if (const auto* node = dynamic_cast<const keyframe::TextureNodeChannel*>(channel); node && object.node) {
    node->PoseNode(*object.node);
  }
  if (const auto* profile = dynamic_cast<const keyframe::ProfileChannel*>(channel)) {
    auto& outline = object.points.outline;
    outline.resize(profile->Points().size(), abi::ProfilePoint{});
    for (std::size_t i = 0; i < outline.size(); ++i) {
      const math::Vector3& point = profile->Points()[i];
      outline[i].x = point.x;
      outline[i].y = point.y;
      outline[i].z = point.z;
    }
  } else if (const auto* mesh = dynamic_cast<const keyframe::SplineMeshChannel*>(channel)) {
    auto& coordinates = object.points.controlPoints;
    coordinates.clear();
    for (const math::Vector3& point : mesh->Points())
      coordinates.insert(coordinates.end(), {point.x, point.y, point.z});
  }
  return true;
}

L2Texture FramePoser::DetachTexture(L2Primitive prim) {
  const L2Texture texture = GetPrimTexture(job_.scene, prim);
  if (texture != 0) {
    translate::LogRefusal(SetPrimTexture(job_.scene, prim, 0), "SetPrimTexture");
    translate::LogRefusal(RemoveTextureTransform(job_.scene, texture), "RemoveTextureTransform");
  }
  return texture;
}

void FramePoser::PoseShape(Object& object) {
  const L2Scene scene = job_.scene;
  translate::ResetPlacement(scene, object.prim, object.record->Type());
  translate::UpdateShape(scene, object.prim, *object.record, object.points);
  const L2Texture texture = DetachTexture(object.prim);
  translate::PlaceObject(scene, object.prim, *object.record, texture, object.ancestors);
  for (const HostObject* group : object.groups) translate::PlaceWithinGroup(scene, object.prim, *group);
}

void FramePoser::PoseClone(Object& object) {
  if (object.cloneSource == 0) return;
  translate::LogRefusal(AlignTransforms(job_.scene, object.cloneSource, object.prim), "AlignTransforms");
  const L2Texture texture = DetachTexture(object.prim);
  translate::PlaceObject(job_.scene, object.prim, *object.record, texture, object.ancestors);
}

void FramePoser::AimCamera(const Object& camera) {
  translate::AimView(job_.scene, job_.view, *camera.record, Translation(camera.locationLink),
                     Translation(camera.interestLink));
}

}  // namespace lumetra::animation
