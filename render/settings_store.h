#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/registry.h"

namespace lumetra::render {

// The registry key of the plug-in's settings: the host's base path followed by "Lumetra".
std::string SettingsKeyPath(std::string_view basePath);

// The base path used when the host gives none.
inline constexpr const char* kFallbackBasePath = "Software\\Ostrana\\Zarvel For Windows\\Plugins\\";

// Settings records list their registry values once, as
//   template <class Self, class Fields> static void Visit(Self& record, Fields& fields);
// calling fields.Int / Dword / Float / Flags / String per value in the record's order
// (Self is const when saving). The loader and the saver below are the two visitors.

// What the two visitors share: the key and the first registry failure.
class SettingsVisitor {
 public:
  explicit SettingsVisitor(const platform::RegistryKey& key) : key_(key) {}
  platform::RegResult Result() const { return result_; }

 protected:
  void Keep(platform::RegResult result) {
    if (result_ == platform::ERROR_SUCCESS) result_ = result;
  }
  const platform::RegistryKey& key_;

 private:
  platform::RegResult result_ = platform::ERROR_SUCCESS;
};

// Reads every value into its field; a value that cannot be read is written back at once
// from the field's current value (a failed write-back is kept as the result).
class SettingsLoader : public SettingsVisitor {
 public:
  using SettingsVisitor::SettingsVisitor;

  void Int(std::string_view name, int32_t& field);
  void Dword(std::string_view name, uint32_t& field);
  // `repairType` is the type a missing value is written back with.
  void Float(std::string_view name, float& field, platform::RegType repairType = platform::RegType::DWORD);
  template <size_t N>
  void Flags(std::string_view name, std::array<uint32_t, N>& field) {
    FlagsWords(name, field.data(), N);
  }
  // A string read into a buffer of `bufferBytes`.
  void String(std::string_view name, std::string& field, uint32_t bufferBytes);

 private:
  void FlagsWords(std::string_view name, uint32_t* words, size_t count);
};

// Writes every value in order; the first failure is kept as the result.
class SettingsSaver : public SettingsVisitor {
 public:
  using SettingsVisitor::SettingsVisitor;

  void Int(std::string_view name, const int32_t& field);
  void Dword(std::string_view name, const uint32_t& field);
  void Float(std::string_view name, const float& field,
             platform::RegType repairType = platform::RegType::DWORD);
  template <size_t N>
  void Flags(std::string_view name, const std::array<uint32_t, N>& field) {
    FlagsWords(name, field.data(), N);
  }
  // Strings are written only when present.
  void String(std::string_view name, const std::string& field, uint32_t bufferBytes);

 private:
  void FlagsWords(std::string_view name, const uint32_t* words, size_t count);
};

// Loads a record from the settings key under `basePath`: a missing key is created and
// the record's current values saved into it. Returns the registry's result.
template <class Record>
platform::RegResult LoadSettings(Record& record, const platform::Registry& registry,
                                 std::string_view basePath) {
  const std::string path = SettingsKeyPath(basePath);
  platform::RegistryKey key;
  if (registry.OpenKey(platform::RegistryRoot::CurrentUser, path, platform::RegistryAccess::All, key) !=
      platform::ERROR_SUCCESS) {
    const platform::RegResult created =
        registry.CreateKey(platform::RegistryRoot::CurrentUser, path, platform::RegistryAccess::All, key);
    if (created != platform::ERROR_SUCCESS) return created;
    SettingsSaver saver(key);
    Record::Visit(record, saver);
    return saver.Result();
  }
  SettingsLoader loader(key);
  Record::Visit(record, loader);
  return loader.Result();
}

// Saves a record into the existing settings key; nothing is written when the key
// cannot be opened, and the open error is the result.
template <class Record>
platform::RegResult SaveSettings(const Record& record, const platform::Registry& registry,
                                 std::string_view basePath) {
  platform::RegistryKey key;
  const platform::RegResult opened = registry.OpenKey(
      platform::RegistryRoot::CurrentUser, SettingsKeyPath(basePath), platform::RegistryAccess::Write, key);
  if (opened != platform::ERROR_SUCCESS) return opened;
  SettingsSaver saver(key);
  Record::Visit(record, saver);
  return saver.Result();
}

}  // namespace lumetra::render
