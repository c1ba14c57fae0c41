#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/registry_store.h"
#include "platform/registry_types.h"

namespace lumetra::platform {

// An open registry key, like an HKEY. Every call reads the root's file afresh,
// so values written by other processes are seen at once. Calls on a closed
// key give ERROR_INVALID_HANDLE; on a key deleted meanwhile, ERROR_KEY_DELETED.
class RegistryKey {
 public:
  RegistryKey() = default;

  bool IsOpen() const { return store_ != nullptr; }
  void Close() { store_.reset(); }
  const std::string& Path() const { return path_; }

  // Like RegQueryValueEx: `size` holds the buffer's size in bytes and
  // receives the value's size (a string counts its terminating NUL). A null
  // `data` only asks for the size; a too small buffer gives ERROR_MORE_DATA.
  RegResult QueryValue(std::string_view name, RegType* type, void* data, std::uint32_t* size) const;
  // A DWORD, or four bytes of any binary value.
  RegResult QueryDword(std::string_view name, std::uint32_t& value) const;
  // A string read into a buffer of `bufferBytes` bytes (terminator included).
  RegResult QueryString(std::string_view name, std::string& value, std::uint32_t bufferBytes) const;
  RegResult QueryBinary(std::string_view name, std::vector<std::uint8_t>& data) const;

  // Like RegSetValueEx: a string's bytes end at its first NUL; a DWORD is
  // exactly four little-endian bytes.
  RegResult SetValue(std::string_view name, RegType type, const void* data, std::uint32_t size) const;
  RegResult SetDword(std::string_view name, std::uint32_t value) const;
  RegResult SetString(std::string_view name, std::string_view value) const;
  RegResult SetBinary(std::string_view name, std::span<const std::uint8_t> data) const;
  RegResult DeleteValue(std::string_view name) const;

 private:
  friend class Registry;
  RegistryKey(std::shared_ptr<const RegistryStore> store, std::string path, RegistryAccess access);

  RegResult Find(std::string_view name, RegistryValue& value) const;
  RegResult Change(const std::function<RegResult(RegistryHive&)>& change) const;

  std::shared_ptr<const RegistryStore> store_;
  std::string path_;
  RegistryAccess access_ = RegistryAccess::Read;
};

// The registry stand-in: HKEY_CURRENT_USER and HKEY_LOCAL_MACHINE, each one
// JSON file (docs/registry-format.md). Key paths are backslash separated and
// compare without regard to case.
class Registry {
 public:
  static constexpr const char* kUserFileName = "HKEY_CURRENT_USER.json";
  static constexpr const char* kMachineFileName = "HKEY_LOCAL_MACHINE.json";

  // The directories of UserConfigDirectory() and MachineConfigDirectory().
  Registry();
  Registry(const std::filesystem::path& userDirectory, const std::filesystem::path& machineDirectory);

  RegResult OpenKey(RegistryRoot root, std::string_view path, RegistryAccess access, RegistryKey& key) const;
  // Opens the key, creating it and its missing parents; `created` tells which.
  RegResult CreateKey(RegistryRoot root, std::string_view path, RegistryAccess access, RegistryKey& key,
                      bool* created = nullptr) const;
  // Like RegDeleteKey: a key with subkeys is refused with ERROR_ACCESS_DENIED.
  RegResult DeleteKey(RegistryRoot root, std::string_view path) const;

  const std::filesystem::path& File(RegistryRoot root) const { return Store(root)->File(); }

 private:
  const std::shared_ptr<const RegistryStore>& Store(RegistryRoot root) const;

  std::shared_ptr<const RegistryStore> user_;
  std::shared_ptr<const RegistryStore> machine_;
};

}  // namespace lumetra::platform
