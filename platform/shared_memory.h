#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <system_error>

namespace lumetra::platform {

// A named block of shared memory, the stand-in for a named file mapping with
// a read-write view. The system name is "/" + name + $LUMETRA_SHM_NAMESPACE
// (when set), so parallel test runs use separate blocks.
//
// Like the Windows object, the name lives while any process has the block
// open: every opener holds a shared flock on it, and whoever closes it while
// nobody else holds one removes the name.
class SharedMemory {
 public:
  // Creates the block, or opens it when the name exists (Existed() tells). A
  // new block is zero-filled. An existing block smaller than `size` is an
  // error (std::errc::invalid_argument), since a view of `size` bytes would
  // reach past its end; a larger one is mapped for its first `size` bytes.
  static SharedMemory Create(std::string_view name, std::size_t size, std::error_code& error);

  static std::string SystemName(std::string_view name);

  SharedMemory() = default;
  ~SharedMemory() { Close(); }
  SharedMemory(SharedMemory&& other) noexcept;
  SharedMemory& operator=(SharedMemory&& other) noexcept;
  SharedMemory(const SharedMemory&) = delete;
  SharedMemory& operator=(const SharedMemory&) = delete;

  bool IsOpen() const { return view_ != nullptr; }
  bool Existed() const { return existed_; }
  std::size_t Size() const { return size_; }
  std::span<std::byte> View() const { return {static_cast<std::byte*>(view_), size_}; }
  void* Data() const { return view_; }

  // A 32-bit field at `offset` (4-byte aligned, inside the view), read and written whole:
  // other processes use the block without a lock. A closed block reads 0 and ignores
  // writes.
  std::uint32_t LoadU32(std::size_t offset) const;
  void StoreU32(std::size_t offset, std::uint32_t value);

  // Unmaps the view and lets go of the name (removing it for the last user).
  void Close();

 private:
  SharedMemory(std::string systemName, int fd, void* view, std::size_t size, bool existed);

  std::string systemName_;
  int fd_ = -1;
  void* view_ = nullptr;
  std::size_t size_ = 0;
  bool existed_ = false;
};

}  // namespace lumetra::platform
