#include "translate/object_translator.h"

#include <algorithm>
#include <vector>

#include "platform/debug_log.h"
#include "translate/csg_tree.h"
#include "translate/library_result.h"
#include "translate/name_filing.h"
#include "translate/object_placement.h"
#include "translate/primitive_makers.h"
#include "translate/transform_calls.h"

namespace lumetra::translate {
namespace {

// The deepest chain of enclosing objects a locked texture is held against.
constexpr int kMaxAncestors = 256;

// The library's operation for a host CSG operation; 0 for operations it cannot do.
int32_t CsgOperation(std::uint32_t hostOperation) {
  switch (hostOperation) {
    case 0:
      return L2_CSG_UNION;
    case 1:
      return L2_CSG_INTERSECTION;
    case 2:
      return L2_CSG_DIFFERENCE;
    case 3:
      return L2_CSG_MERGE;
    default:
      return 0;
  }
}

// The enclosing objects of an object, the outermost first.
std::vector<std::unique_ptr<HostObject>> Ancestors(const abi::SceneRecord& host, const HostObject& object) {
  std::vector<std::unique_ptr<HostObject>> ancestors;
  for (std::uint32_t parent = object.info.parent; parent != 0 && ancestors.size() < kMaxAncestors;) {
    std::unique_ptr<HostObject> enclosing = ReadHostObject(host, parent);
    if (!enclosing) break;
    parent = enclosing->info.parent;
    ancestors.push_back(std::move(enclosing));
  }
  return {std::make_move_iterator(ancestors.rbegin()), std::make_move_iterator(ancestors.rend())};
}

bool IsGroup(std::uint32_t type) { return type == abi::kTypeGroup || type == abi::kTypeCsg; }

}  // namespace

ObjectTranslator::ObjectTranslator(render::RenderJob& job, const abi::SceneRecord& host)
    : job_(job), host_(host), scene_(job.scene) {}

void ObjectTranslator::TranslateScene() {
  for (const std::uint32_t id : ChildrenOf(host_, 0)) Translate(id);
}

L2Primitive ObjectTranslator::Translate(std::uint32_t id) {
  const std::unique_ptr<HostObject> object = ReadHostObject(host_, id);
  if (!object || !object->Rendered()) return 0;
  if (const L2Primitive known = KnownPrimitive(object->Name())) return known;
  if (!inProgress_.insert(id).second) {
    platform::DebugLog::Printf("Object '%s' contains itself\n", object->Name().c_str());
    return 0;
  }
  const size_t lightsBefore = lights_.size();
  const L2Primitive prim = MakePrimitive(*object);
  inProgress_.erase(id);
  if (prim != 0 && IsLight(object->Type())) lights_.push_back(prim);
  if (prim != 0) Finish(*object, prim);
  if (IsGroup(object->Type())) PlaceLightsWithin(*object, lightsBefore);
  return prim;
}

L2Primitive ObjectTranslator::MakePrimitive(const HostObject& object) {
  const ShapeSource source{scene_, host_, object};
  if (IsGroup(object.Type())) return MakeGroup(object);
  switch (object.Type()) {
    case abi::kTypeSweep:
    case abi::kTypeLathe:
    case abi::kTypeExtrusion:
      return MakeProfileShape(source);
    case abi::kTypeSplineMesh:
      return MakeSplineMesh(source);
    case abi::kTypeHeightField:
      return MakeHeightField(source);
    case abi::kTypeMeshFile:
      return MakeMeshFile(source);
    case abi::kTypeClone:
      return MakeClone(object);
    case abi::kTypeBlob:
      return MakeBlob(source);
    case abi::kTypeText:
      return MakeText(source);
    case abi::kTypePluginObject:
      return MakePluginObject(source);
    case abi::kTypePolygonMesh:
      return MakePolygonMesh(source);
    default:
      return IsLight(object.Type()) ? MakeLight(source) : MakeBasicShape(source);
  }
}

// The children's primitives joined in child order. Lights among the children are
// placed on their own: a light is no solid to join.
L2Primitive ObjectTranslator::MakeGroup(const HostObject& object) {
  std::vector<L2Primitive> members;
  for (const std::uint32_t child : ChildrenOf(host_, object.id)) {
    const L2Primitive prim = Translate(child);
    if (prim != 0 && std::find(lights_.begin(), lights_.end(), prim) == lights_.end())
      members.push_back(prim);
  }
  if (object.Type() == abi::kTypeGroup) return JoinBalanced(scene_, L2_CSG_UNION, members);
  const std::uint32_t hostOperation = object.Shape().csg.operation;
  const int32_t operation = CsgOperation(hostOperation);
  if (operation == L2_CSG_DIFFERENCE) return JoinFromLeft(scene_, operation, members);
  return operation != 0 ? JoinBalanced(scene_, operation, members) : 0;
}

L2Primitive ObjectTranslator::MakeClone(const HostObject& object) {
  const std::uint32_t sourceId = abi::CloneSource(object.info);
  const std::unique_ptr<HostObject> source = ReadHostObject(host_, sourceId);
  if (!source) return 0;
  L2Primitive sourcePrim = KnownPrimitive(source->Name());
  const bool fresh = sourcePrim == 0;
  if (fresh) sourcePrim = Translate(sourceId);
  if (sourcePrim == 0) return 0;
  const L2Primitive clone = CreateClone(scene_, sourcePrim);
  if (clone == 0 || !fresh) return clone;
  if (const L2Texture texture = GetPrimTexture(scene_, sourcePrim)) {
    const L2Texture shared = CreateTextureReference(scene_, texture);
    if (shared != 0) LogRefusal(SetPrimTexture(scene_, clone, shared), "SetPrimTexture");
  }
  return clone;
}

// Lights are placed on their own, so a group's steps move the lights made within it (from
// lightsBefore on) as they move its solids.
void ObjectTranslator::PlaceLightsWithin(const HostObject& group, size_t lightsBefore) {
  for (size_t i = lightsBefore; i < lights_.size(); ++i) PlaceWithinGroup(scene_, lights_[i], group);
}

void ObjectTranslator::Finish(const HostObject& object, L2Primitive prim) {
  if (object.info.flags & abi::kFlagNoShadows)
    LogRefusal(PrimCastsShadows(scene_, prim, 0), "PrimCastsShadows");
  std::vector<std::unique_ptr<HostObject>> ancestors;
  if ((object.info.flags & abi::kFlagTextureLockMask) == abi::kFlagTextureLockAncestors) {
    ancestors = Ancestors(host_, object);
  }
  std::vector<const HostObject*> chain;
  for (const auto& ancestor : ancestors) chain.push_back(ancestor.get());
  PlaceObject(scene_, prim, object, TextureReference(object), chain);
  made_.insert(prim);
  const std::string name = object.Name();
  if (!name.empty()) FileName(job_, name, prim);
}

// Materials, the camera and texture nodes share the scene's names; only a primitive made
// here answers for an object.
L2Primitive ObjectTranslator::KnownPrimitive(const std::string& name) const {
  const L2NameValue known = LookUpName(job_, name);
  return made_.contains(known) ? static_cast<L2Primitive>(known) : 0;
}

L2Texture ObjectTranslator::TextureReference(const HostObject& object) {
  const auto texture = static_cast<L2Texture>(LookUpName(job_, object.TextureName()));
  return texture != 0 ? CreateTextureReference(scene_, texture) : 0;
}

}  // namespace lumetra::translate
