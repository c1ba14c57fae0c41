#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "abi/scene_record.h"

namespace lumetra::translate {

// One object of the host's scene as the translation reads it: its information record
// with the object data block, and its parameter record (transform, camera points).
struct HostObject {
  std::uint32_t id = 0;
  abi::ObjectInfo info{};
  abi::ObjectDataBlock data{};
  abi::ParamRecord params{};

  HostObject() = default;
  HostObject(const HostObject&) = delete;  // info points at data
  HostObject& operator=(const HostObject&) = delete;

  std::uint32_t Type() const { return info.type; }
  std::string Name() const;
  std::string TextureName() const;
  bool Rendered() const { return (info.flags & abi::kFlagRender) != 0; }
  const auto& Shape() const { return data.shape; }
};

// The object's records, or null when the host does not give its information record.
// A parameter record the host refuses reads as the identity transform.
std::unique_ptr<HostObject> ReadHostObject(const abi::SceneRecord& host, std::uint32_t id);

// The children of object `id` in order (object 0: the scene's object list), taken by
// index until the host answers that there are no more; the list is closed again.
std::vector<std::uint32_t> ChildrenOf(const abi::SceneRecord& host, std::uint32_t id);

// The objects of one of the host's always-open lists (cameras, materials).
std::vector<std::uint32_t> ListedObjects(const abi::SceneRecord& host, std::uint32_t list);

// A fixed-size text field of a host record up to its terminator.
template <std::size_t N>
std::string FieldText(const char (&field)[N]) {
  std::size_t length = 0;
  while (length < N && field[length] != '\0') ++length;
  return std::string(field, length);
}

}  // namespace lumetra::translate
