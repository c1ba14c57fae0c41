#include "keyframe/scene_animation.h"

#include <cstring>

#include "abi/result_codes.h"
#include "keyframe/camera_channel.h"
#include "keyframe/scene_walk.h"
#include "platform/debug_log.h"

namespace lumetra::keyframe {

void SceneAnimation::SetRange(int32_t start, int32_t end) {
  startTime_ = start;
  endTime_ = end;
}

ObjectTrack* SceneAnimation::FindTrack(uint32_t object) {
  const auto it = tracks_.find(object);
  return it == tracks_.end() ? nullptr : it->second.get();
}

const ObjectTrack* SceneAnimation::FindTrack(uint32_t object) const {
  const auto it = tracks_.find(object);
  return it == tracks_.end() ? nullptr : it->second.get();
}

void SceneAnimation::RenamePendingTrack(const std::string& oldName, const std::string& newName) {
  for (const auto& track : pending_) {
    if (track->Name() == oldName) {
      track->SetName(newName);
      return;
    }
  }
}

void SceneAnimation::AttachPendingTracks() {
  for (auto& track : pending_) {
    uint32_t object = 0;
    if (host_.FindObjectByName(track->Name().c_str(), object) != abi::kOk) continue;
    if (track->Type() == abi::kTypeCamera) {
      for (int key = 0; key < track->KeyCount(); ++key) {
        if (auto* camera = dynamic_cast<CameraChannel*>(track->SnapshotAt(key).Channel()))
          camera->ResolveLinks(host_);
      }
    }
    std::unique_ptr<ObjectTrack>& attached = tracks_[object];
    if (attached) {
      MergeTrack(*attached, *track);
    } else {
      attached = std::move(track);
    }
    attached->RebuildCurves();
  }
  pending_.clear();
}

// A merged file's track meets an object keyed already: the object's keys and kind stay,
// the file's keys at other times join them. What cannot join is said.
void SceneAnimation::MergeTrack(ObjectTrack& kept, ObjectTrack& incoming) {
  if (incoming.Type() != kept.Type() || incoming.SubType() != kept.SubType()) {
    platform::DebugLog::Printf(
        "Track of '%s' from the file dropped: the object's own track is of another kind\n",
        kept.Name().c_str());
    return;
  }
  for (TrackKey& key : incoming.TakeAllKeys()) {
    if (!kept.InsertKey(key.time, std::move(key.snapshot))) {
      platform::DebugLog::Printf(
          "Key of '%s' at %d from the file dropped: the object has its own key there\n", kept.Name().c_str(),
          key.time);
    }
  }
}

void SceneAnimation::KeyObject(uint32_t object, int32_t time, const ObjectRecord& record,
                               int32_t interpolation) {
  const abi::ObjectInfo& info = record.info;
  const std::string name(info.name, strnlen(info.name, sizeof info.name));
  if (name.empty()) return;
  auto& track = tracks_[object];
  if (!track) {
    const uint32_t subType =
        info.type == abi::kObjectTypeTexture && info.textureData ? info.textureData->kind : 0;
    track = std::make_unique<ObjectTrack>(name, info.type, subType);
  }
  track->SetInterpolation(interpolation);
  KeySnapshot* key = track->FindKey(time);
  if (!key) {
    KeySnapshot fresh;
    fresh.CreateChannel(track->Type(), track->SubType());
    track->InsertKey(time, std::move(fresh));
    key = track->FindKey(time);
  }
  if (AnimChannel* channel = key->Channel()) channel->ReadFromHost(host_, object, info);
  track->RebuildCurves();
}

void SceneAnimation::SetKeys(uint32_t object, int32_t time, int32_t interpolation, bool wholeTree) {
  const auto key = [&](uint32_t id, const ObjectRecord& record) {
    KeyObject(id, time, record, interpolation);
  };
  if (wholeTree) {
    WalkObjectTree(host_, object, WalkDescent::GroupsTexturesAndCsg, key);
  } else {
    ObjectRecord record;
    if (host_.ReadObject(object, record, true) == abi::kOk) key(object, record);
  }
  host_.Redraw();
}

void SceneAnimation::DeleteObjectKey(uint32_t object, int32_t time, bool rebuildCurves) {
  const auto it = tracks_.find(object);
  if (it == tracks_.end()) return;
  ObjectTrack& track = *it->second;
  const KeySnapshot* key = track.FindKey(time);
  if (!key) return;
  if (track.KeyCount() == 1 && key->Channel()) key->Channel()->WriteToHost(host_, object);
  KeySnapshot removed;
  track.TakeKey(time, removed);
  if (track.KeyCount() == 0) {
    tracks_.erase(it);
  } else if (rebuildCurves) {
    track.RebuildCurves();
  }
}

void SceneAnimation::DeleteKeys(uint32_t object, int32_t time, bool wholeTree) {
  if (wholeTree) {
    WalkObjectTree(host_, object, WalkDescent::GroupsAndCsg,
                   [&](uint32_t id, const ObjectRecord&) { DeleteObjectKey(id, time); });
  } else {
    DeleteObjectKey(object, time);
  }
  host_.Redraw();
}

void SceneAnimation::DeleteTrack(uint32_t object) {
  const ObjectTrack* track = FindTrack(object);
  if (!track) return;
  std::vector<int32_t> times;
  for (const TrackKey& key : track->Keys()) times.push_back(key.time);
  for (int32_t time : times) DeleteObjectKey(object, time, false);
}

void SceneAnimation::DeleteFrame(int32_t time) {
  std::vector<uint32_t> objects;
  for (const auto& [object, track] : tracks_) objects.push_back(object);
  for (uint32_t object : objects) DeleteObjectKey(object, time);
}

void SceneAnimation::DeleteAll() { tracks_.clear(); }

int32_t SceneAnimation::TrackInterpolation(uint32_t object) const {
  const ObjectTrack* track = FindTrack(object);
  return track ? static_cast<int32_t>(track->InterpolationKind())
               : static_cast<int32_t>(Interpolation::Linear);
}

void SceneAnimation::SetTrackInterpolation(uint32_t object, int32_t kind) {
  const auto apply = [&](uint32_t id) {
    if (ObjectTrack* track = FindTrack(id)) {
      track->SetInterpolation(kind);
      track->RebuildCurves();
    }
  };
  apply(object);
  ObjectRecord record;
  if (host_.ReadObject(object, record, false) != abi::kOk) return;
  if (Enters(WalkDescent::GroupsTexturesAndCsg, record.info.type)) {
    WalkChildren(host_, object, WalkDescent::GroupsTexturesAndCsg,
                 [&](uint32_t id, const ObjectRecord&) { apply(id); });
  }
}

}  // namespace lumetra::keyframe
