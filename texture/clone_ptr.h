#pragma once

#include <memory>
#include <utility>

namespace texture {

// An owning pointer that copies what it owns through the object's own Clone(), so that
// the texture tree's classes copy deeply with their default copy constructors.
template <typename T>
class ClonePtr {
 public:
  ClonePtr() = default;
  ClonePtr(std::unique_ptr<T> owned) : owned_(std::move(owned)) {}  // NOLINT: implicit by design
  ClonePtr(const ClonePtr& other) : owned_(other.owned_ ? other.owned_->Clone() : nullptr) {}
  ClonePtr(ClonePtr&&) noexcept = default;
  ClonePtr& operator=(const ClonePtr& other) {
    if (this != &other) owned_ = other.owned_ ? other.owned_->Clone() : nullptr;
    return *this;
  }
  ClonePtr& operator=(ClonePtr&&) noexcept = default;

  T* get() const { return owned_.get(); }
  T* operator->() const { return owned_.get(); }
  T& operator*() const { return *owned_; }
  explicit operator bool() const { return owned_ != nullptr; }

 private:
  std::unique_ptr<T> owned_;
};

}  // namespace texture
