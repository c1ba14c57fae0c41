#pragma once

#include <cstdint>
#include <vector>

namespace lumetra::platform {

// Result codes of the registry calls, numbered as on Windows.
enum RegResult : std::int32_t {
  ERROR_SUCCESS = 0,
  ERROR_FILE_NOT_FOUND = 2,
  ERROR_ACCESS_DENIED = 5,
  ERROR_INVALID_HANDLE = 6,
  ERROR_INVALID_DATA = 13,
  ERROR_INVALID_PARAMETER = 87,
  ERROR_MORE_DATA = 234,
  ERROR_BADDB = 1009,  // the file behind the root is damaged
  ERROR_CANTREAD = 1012,
  ERROR_CANTWRITE = 1013,
  ERROR_KEY_DELETED = 1018,
  ERROR_UNSUPPORTED_TYPE = 1630,
};

enum class RegistryRoot { CurrentUser, LocalMachine };

// Value types with their Windows numbers.
enum class RegType : std::uint32_t { SZ = 1, BINARY = 3, DWORD = 4 };

// What an opened key may do, like KEY_READ, KEY_WRITE and KEY_ALL_ACCESS.
enum class RegistryAccess { Read, Write, All };

// A value's bytes as RegSetValueEx takes them, except that a string is kept
// without its terminating NUL.
struct RegistryValue {
  RegType type = RegType::BINARY;
  std::vector<std::uint8_t> data;

  bool operator==(const RegistryValue&) const = default;
};

}  // namespace lumetra::platform
