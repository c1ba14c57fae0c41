#pragma once

// A small host for the translation tests: texture nodes with their blocks and children,
// served through the scene record's functions exactly as the real host lays them out.

#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "abi/result_codes.h"
#include "abi/scene_record.h"

namespace lumetra::translate::testing {

class FakeTextureHost {
 public:
  FakeTextureHost() {
    current_ = this;
    record_ = abi::SceneRecord{};
    record_.getObjectInfo = &GetObjectInfo;
    record_.openChildList = &OpenChildList;
    record_.getChild = &GetChild;
    record_.closeChildList = &CloseChildList;
  }
  ~FakeTextureHost() { current_ = nullptr; }

  const abi::SceneRecord& Record() const { return record_; }

  // A new node of `kind` under `parent` (0: none); returns its id.
  std::uint32_t Add(std::uint32_t kind, std::uint32_t parent = 0, const std::string& name = "") {
    const std::uint32_t id = nextId_++;
    Node& node = nodes_[id];
    node.block.size = sizeof(abi::TextureBlock);
    node.block.version = abi::kTextureBlockVersion;
    node.block.kind = kind;
    node.name = name;
    if (parent != 0) {
      nodes_[parent].children.push_back(id);
      nodes_[parent].block.childCount = static_cast<std::uint32_t>(nodes_[parent].children.size());
    }
    return id;
  }
  auto& Params(std::uint32_t id) { return nodes_[id].block.params; }
  void RefuseChildList(std::uint32_t id) { refused_.insert(id); }

  int OpenLists() const { return opened_ - closed_; }

 private:
  struct Node {
    abi::TextureBlock block{};
    std::string name;
    std::vector<std::uint32_t> children;
  };

  static std::int32_t LUMETRA_STDCALL GetObjectInfo(std::uint32_t id, abi::ObjectInfo* info) {
    auto found = current_->nodes_.find(id);
    if (found == current_->nodes_.end()) return abi::kUnknownObject;
    info->type = abi::kObjectTypeTexture;
    std::strncpy(info->name, found->second.name.c_str(), sizeof(info->name) - 1);
    info->childCount = found->second.block.childCount;
    if (info->textureData) *info->textureData = found->second.block;
    return abi::kOk;
  }
  static std::int32_t LUMETRA_STDCALL OpenChildList(std::uint32_t id, std::uint32_t* list) {
    if (current_->refused_.count(id) || !current_->nodes_.count(id)) return abi::kUnknownObject;
    ++current_->opened_;
    *list = id + 1000;
    return abi::kOk;
  }
  static std::int32_t LUMETRA_STDCALL GetChild(std::uint32_t list, std::int32_t index, std::uint32_t* id) {
    const std::vector<std::uint32_t>& children = current_->nodes_.at(list - 1000).children;
    if (index < 0 || index >= static_cast<std::int32_t>(children.size())) return abi::kNoMoreItems;
    *id = children[index];
    return abi::kOk;
  }
  static std::int32_t LUMETRA_STDCALL CloseChildList(std::uint32_t) {
    ++current_->closed_;
    return abi::kOk;
  }

  static inline FakeTextureHost* current_ = nullptr;
  abi::SceneRecord record_;
  std::map<std::uint32_t, Node> nodes_;
  std::set<std::uint32_t> refused_;
  std::uint32_t nextId_ = 100;
  int opened_ = 0;
  int closed_ = 0;
};

}  // namespace lumetra::translate::testing
