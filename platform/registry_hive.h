#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "platform/case_insensitive.h"
#include "platform/registry_types.h"

namespace lumetra::platform {

// Longest key name component and value name that Windows accepts.
inline constexpr std::size_t kMaxKeyComponentLength = 255;
inline constexpr std::size_t kMaxValueNameLength = 16383;
inline constexpr std::size_t kMaxKeyDepth = 512;
inline constexpr std::size_t kMaxValueBytes = 1 << 20;

// Turns "A\\B\\" into "A\\B"; nullopt for a leading backslash, an empty or
// overlong component. "" is the root itself.
std::optional<std::string> NormaliseKeyPath(std::string_view path);

// Names and strings are kept in JSON, which holds UTF-8 text only.
bool IsValidUtf8(std::string_view text);

// The keys and values of one root in memory, with the JSON form they are kept
// in on disk (docs/registry-format.md). Every key's parents exist; the root
// key "" always exists. Names compare without regard to case and keep the
// spelling they were created with.
class RegistryHive {
 public:
  RegistryHive();

  bool HasKey(std::string_view path) const;
  bool HasSubkeys(std::string_view path) const;
  // Creates the key and its missing parents; true when the key itself is new.
  bool CreateKey(std::string_view path);
  void DeleteKey(std::string_view path);

  const RegistryValue* FindValue(std::string_view path, std::string_view name) const;
  void SetValue(std::string_view path, std::string_view name, RegistryValue value);
  bool DeleteValue(std::string_view path, std::string_view name);

  std::string ToJson() const;
  // On failure returns nullopt and says why in `problem`.
  static std::optional<RegistryHive> FromJson(std::string_view text, std::string& problem);

 private:
  using Values = std::map<std::string, RegistryValue, CaseInsensitiveLess>;
  std::map<std::string, Values, CaseInsensitiveLess> keys_;
};

}  // namespace lumetra::platform
