#pragma once

#include <cstdint>
#include <functional>

#include "keyframe/host_scene.h"

namespace lumetra::keyframe {

// Which objects a walk enters: keying enters groups, texture nodes and CSG
// objects; deleting leaves texture nodes out.
enum class WalkDescent { GroupsTexturesAndCsg, GroupsAndCsg };

// Called with each object of a walk and its ObjectInfo (with both blocks).
using ObjectVisitor = std::function<void(uint32_t id, const ObjectRecord& record)>;

// The object tree as keying with "Object" walks it: the object itself; the
// objects below it when it is a type the walk enters; then, up the chain of
// objects its ObjectInfo names, every object below each chain object except the
// one just come from, and the chain object itself. Objects whose ObjectInfo
// cannot be read are left out with what lies below them; child lists that
// cannot be opened are skipped. Answers false when the object itself cannot be read.
bool WalkObjectTree(const HostScene& host, uint32_t object, WalkDescent descent, const ObjectVisitor& visit);

// The children of `object`, recursively, entering the types the walk enters;
// `skip` is left out with what lies below it.
void WalkChildren(const HostScene& host, uint32_t object, WalkDescent descent, const ObjectVisitor& visit,
                  uint32_t skip = 0);

// True for the types a walk enters.
bool Enters(WalkDescent descent, uint32_t type);

}  // namespace lumetra::keyframe
