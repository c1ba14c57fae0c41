#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <vector>

namespace lumetra::host {

// Open child lists by handle. Handles 0, 1 and 2 are the scene's three top-level lists
// and are always open; opening an object's list takes a snapshot of its children under
// a fresh handle until it is closed.
class ChildLists {
 public:
  static constexpr uint32_t kFirstHandle = 16;
  static constexpr size_t kMaxOpen = 4096;  // a caller that never closes cannot grow it further

  // A new handle for `children`, or none when too many lists are open.
  std::optional<uint32_t> Open(std::vector<uint32_t> children);
  // The snapshot of an open handle, or null.
  const std::vector<uint32_t>* Find(uint32_t handle) const;
  bool Close(uint32_t handle);
  size_t OpenCount() const { return open_.size(); }

 private:
  std::map<uint32_t, std::vector<uint32_t>> open_;
  uint32_t next_ = kFirstHandle;
};

}  // namespace lumetra::host
