#pragma once

#include <optional>
#include <string>
#include <vector>

#include "keyframe/host_scene.h"
#include "keyframe/param_value.h"
#include "keyframe/scene_animation.h"
#include "ui/timeline_window.h"

namespace lumetra::ui {

// The label of a texture node without a name, from its kind and pattern; nothing for a
// kind the tree leaves out. Kinds that have no words of their own keep the empty name.
std::optional<std::string> TextureNodeLabel(const keyframe::ObjectRecord& node);

// The picture of an object's item: CSG by its operation, texture nodes by whether their
// kind has a label, the rest by type.
TreePicture ObjectPicture(const keyframe::ObjectRecord& object);

// The picture of a parameter's item; nothing for the types that get no item.
std::optional<TreePicture> ParamPicture(keyframe::ValueType type);

// The tree's rows for the scene: the cameras, then the objects, then the materials, each
// object followed by its animated parameters and, for groups, texture nodes and CSG, by
// its children. With `onlyKeyed` an object without a track gets no item, but its children
// still enter, under its parent.
std::vector<TimelineRow> BuildTimelineRows(const keyframe::SceneAnimation& animation, bool onlyKeyed);

}  // namespace lumetra::ui
