#include "translate/node_record.h"

#include "abi/result_codes.h"

namespace lumetra::translate {

namespace {

// An open child list, closed again however the walk ends.
class ChildList {
 public:
  ChildList(const abi::SceneRecord& host, std::uint32_t id) : host_(host) {
    open_ = host_.openChildList && host_.getChild && host_.closeChildList &&
            host_.openChildList(id, &list_) == abi::kOk;
  }
  ~ChildList() {
    if (open_) (void)host_.closeChildList(list_);
  }
  ChildList(const ChildList&) = delete;
  ChildList& operator=(const ChildList&) = delete;

  bool IsOpen() const { return open_; }
  // The next child's id; false past the last child or when the host fails.
  bool Next(std::uint32_t& child) { return host_.getChild(list_, index_++, &child) == abi::kOk; }

 private:
  const abi::SceneRecord& host_;
  std::uint32_t list_ = 0;
  std::int32_t index_ = 0;
  bool open_ = false;
};

}  // namespace

std::unique_ptr<NodeRecord> HostNodes::Read(std::uint32_t id) const {
  if (!host_.getObjectInfo) return nullptr;
  auto record = std::make_unique<NodeRecord>();
  record->id = id;
  abi::PrepareObjectInfo(record->info, nullptr, &record->block);
  if (host_.getObjectInfo(id, &record->info) != abi::kOk) return nullptr;
  return record;
}

bool HostNodes::ForEachChild(std::uint32_t id, const std::function<void(const NodeRecord&)>& visit) const {
  ChildList children(host_, id);
  if (!children.IsOpen()) return false;
  std::uint32_t child = 0;
  while (children.Next(child)) {
    if (const std::unique_ptr<NodeRecord> record = Read(child)) visit(*record);
  }
  return true;
}

std::optional<std::uint32_t> HostNodes::FirstChild(std::uint32_t id) const {
  ChildList children(host_, id);
  std::uint32_t child = 0;
  if (children.IsOpen() && children.Next(child)) return child;
  return std::nullopt;
}

}  // namespace lumetra::translate
