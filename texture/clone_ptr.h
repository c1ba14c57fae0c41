#pragma once

#include <memory>
#include <type_traits>
#include <utility>

namespace lumetra::texture {

// An owning pointer that copies what it owns through the object's own Clone(), so that
// the texture tree's classes copy deeply with their default copy constructors.
template <typename T>
class ClonePtr {
 public:
  ClonePtr() = default;
  // Implicit, so that a freshly made object of a derived class can be stored directly.
  template <typename U>
  requires std::is_convertible_v<U*, T*> ClonePtr(std::unique_ptr<U> owned) : owned_(std::move(owned)) {}
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

}  // namespace lumetra::texture
