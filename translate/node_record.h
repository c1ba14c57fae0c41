#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "abi/object_info.h"
#include "abi/scene_record.h"

namespace lumetra::translate {

// A texture node as the host describes it: its object record and its texture block.
struct NodeRecord {
  std::uint32_t id = 0;
  abi::ObjectInfo info{};
  abi::TextureBlock block{};

  std::uint32_t Kind() const { return block.kind; }
  bool HasChildren() const { return block.childCount > 0; }
  const auto& Params() const { return block.params; }

  NodeRecord() = default;
  NodeRecord(const NodeRecord&) = delete;  // info points at block
  NodeRecord& operator=(const NodeRecord&) = delete;
};

// Reads texture nodes and walks their children through the host's functions.
class HostNodes {
 public:
  explicit HostNodes(const abi::SceneRecord& host) : host_(host) {}

  // The node's record, or null when the host does not know the node.
  std::unique_ptr<NodeRecord> Read(std::uint32_t id) const;

  // Calls `visit` with each child of `id` in order; false when the host cannot give the
  // child list. Children whose record cannot be read are skipped.
  bool ForEachChild(std::uint32_t id, const std::function<void(const NodeRecord&)>& visit) const;

  // The node's first child, if it has one.
  std::optional<std::uint32_t> FirstChild(std::uint32_t id) const;

 private:
  const abi::SceneRecord& host_;
};

}  // namespace lumetra::translate
