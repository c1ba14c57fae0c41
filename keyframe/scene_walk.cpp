#include "keyframe/scene_walk.h"

#include <memory>
#include <set>
#include <vector>

#include "abi/result_codes.h"

namespace lumetra::keyframe {

bool Enters(WalkDescent descent, uint32_t type) {
  return type == abi::kObjectTypeGroup || type == abi::kObjectTypeCsg ||
         (type == abi::kObjectTypeTexture && descent == WalkDescent::GroupsTexturesAndCsg);
}

void WalkChildren(const HostScene& host, uint32_t object, WalkDescent descent, const ObjectVisitor& visit,
                  uint32_t skip) {
  uint32_t list = 0;
  if (host.OpenChildList(object, list) != abi::kOk) return;
  std::vector<uint32_t> children;
  uint32_t child = 0;
  for (int32_t index = 0; host.GetChild(list, index, child) == abi::kOk; ++index) children.push_back(child);
  host.CloseChildList(list);
  auto record = std::make_unique<ObjectRecord>();
  for (uint32_t id : children) {
    if (id == skip || host.ReadObject(id, *record, true) != abi::kOk) continue;
    visit(id, *record);
    if (Enters(descent, record->info.type)) WalkChildren(host, id, descent, visit);
  }
}

bool WalkObjectTree(const HostScene& host, uint32_t object, WalkDescent descent, const ObjectVisitor& visit) {
  auto record = std::make_unique<ObjectRecord>();
  if (host.ReadObject(object, *record, true) != abi::kOk) return false;
  visit(object, *record);
  if (Enters(descent, record->info.type)) WalkChildren(host, object, descent, visit);
  // A host whose chain loops back is walked once round.
  std::set<uint32_t> walked{object};
  for (uint32_t handled = object, chain = record->info.next; chain != 0 && walked.insert(chain).second;
       handled = chain, chain = record->info.next) {
    if (host.ReadObject(chain, *record, true) != abi::kOk) break;
    WalkChildren(host, chain, descent, visit, handled);
    visit(chain, *record);
  }
  return true;
}

}  // namespace lumetra::keyframe
