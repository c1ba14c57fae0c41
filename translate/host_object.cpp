#include "translate/host_object.h"

#include "abi/result_codes.h"
#include "platform/debug_log.h"

namespace lumetra::translate {
namespace {

void SetIdentity(abi::ParamRecord& params) {
  params = abi::ParamRecord{};
  params.version = abi::kParamRecordVersion;
  for (double& scale : params.scale) scale = 1.0;
  for (double& scale : params.localScale) scale = 1.0;
}

std::vector<std::uint32_t> TakeChildren(const abi::SceneRecord& host, std::uint32_t list) {
  std::vector<std::uint32_t> children;
  for (std::int32_t index = 0;; ++index) {
    std::uint32_t child = 0;
    const std::int32_t result = host.getChild(list, index, &child);
    if (result == abi::kNoMoreItems) break;
    if (result != abi::kOk) {
      platform::DebugLog::Printf("Child %d of list %u unreadable (%d)\n", index, list, result);
      break;
    }
    children.push_back(child);
  }
  return children;
}

}  // namespace

std::string HostObject::Name() const { return FieldText(info.name); }

std::string HostObject::TextureName() const { return FieldText(info.textureName); }

std::unique_ptr<HostObject> ReadHostObject(const abi::SceneRecord& host, std::uint32_t id) {
  auto object = std::make_unique<HostObject>();
  object->id = id;
  abi::PrepareObjectInfo(object->info, &object->data);
  if (host.getObjectInfo(id, &object->info) != abi::kOk) return nullptr;
  object->info.name[sizeof object->info.name - 1] = '\0';
  SetIdentity(object->params);
  if (host.getObjectParams(id, &object->params) != abi::kOk) SetIdentity(object->params);
  return object;
}

std::vector<std::uint32_t> ChildrenOf(const abi::SceneRecord& host, std::uint32_t id) {
  std::uint32_t list = 0;
  if (host.openChildList(id, &list) != abi::kOk) return {};
  std::vector<std::uint32_t> children = TakeChildren(host, list);
  if (host.closeChildList(list) != abi::kOk)
    platform::DebugLog::Printf("Child list %u did not close\n", list);
  return children;
}

std::vector<std::uint32_t> ListedObjects(const abi::SceneRecord& host, std::uint32_t list) {
  return TakeChildren(host, list);
}

}  // namespace lumetra::translate
