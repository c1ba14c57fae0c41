#include "host/child_lists.h"

namespace lumetra::host {

std::optional<uint32_t> ChildLists::Open(std::vector<uint32_t> children) {
  if (open_.size() >= kMaxOpen) return std::nullopt;
  while (next_ < kFirstHandle || open_.count(next_)) ++next_;  // skips the wrap-around
  const uint32_t handle = next_++;
  open_.emplace(handle, std::move(children));
  return handle;
}

const std::vector<uint32_t>* ChildLists::Find(uint32_t handle) const {
  const auto found = open_.find(handle);
  return found == open_.end() ? nullptr : &found->second;
}

bool ChildLists::Close(uint32_t handle) { return open_.erase(handle) == 1; }

}  // namespace lumetra::host
