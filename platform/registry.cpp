#include "platform/registry.h"

#include <cstring>

#include "platform/byte_reader.h"
#include "platform/config_paths.h"

namespace lumetra::platform {
namespace {

// The bytes RegQueryValueEx hands out: a string with its terminating NUL.
std::vector<std::uint8_t> BytesOf(const RegistryValue& value) {
  std::vector<std::uint8_t> bytes = value.data;
  if (value.type == RegType::SZ) bytes.push_back(0);
  return bytes;
}

bool IsUsableValueName(std::string_view name) {
  return name.size() <= kMaxValueNameLength && IsValidUtf8(name);
}

std::optional<RegistryValue> ValueFromCaller(RegType type, const std::uint8_t* data, std::uint32_t size) {
  if ((data == nullptr && size != 0) || size > kMaxValueBytes) return std::nullopt;
  RegistryValue value{type, std::vector<std::uint8_t>(data, data + size)};
  switch (type) {
    case RegType::DWORD:
      return size == 4 ? std::optional(value) : std::nullopt;
    case RegType::SZ: {
      value.data.erase(std::find(value.data.begin(), value.data.end(), 0), value.data.end());
      const std::string_view text(reinterpret_cast<const char*>(value.data.data()), value.data.size());
      return IsValidUtf8(text) ? std::optional(value) : std::nullopt;
    }
    case RegType::BINARY:
      return value;
  }
  return std::nullopt;
}

}  // namespace

RegistryKey::RegistryKey(std::shared_ptr<const RegistryStore> store, std::string path, RegistryAccess access)
    : store_(std::move(store)), path_(std::move(path)), access_(access) {}

RegResult RegistryKey::Find(std::string_view name, RegistryValue& value) const {
  if (!IsOpen()) return ERROR_INVALID_HANDLE;
  if (access_ == RegistryAccess::Write) return ERROR_ACCESS_DENIED;
  RegistryHive hive;
  if (const RegResult result = store_->Load(hive); result != ERROR_SUCCESS) return result;
  if (!hive.HasKey(path_)) return ERROR_KEY_DELETED;
  const RegistryValue* found = hive.FindValue(path_, name);
  if (found == nullptr) return ERROR_FILE_NOT_FOUND;
  value = *found;
  return ERROR_SUCCESS;
}

RegResult RegistryKey::Change(const std::function<RegResult(RegistryHive&)>& change) const {
  if (!IsOpen()) return ERROR_INVALID_HANDLE;
  if (access_ == RegistryAccess::Read) return ERROR_ACCESS_DENIED;
  return store_->Update(
      [&](RegistryHive& hive) { return hive.HasKey(path_) ? change(hive) : ERROR_KEY_DELETED; });
}

RegResult RegistryKey::QueryValue(std::string_view name, RegType* type, void* data,
                                  std::uint32_t* size) const {
  if (data != nullptr && size == nullptr) return ERROR_INVALID_PARAMETER;
  RegistryValue value;
  if (const RegResult result = Find(name, value); result != ERROR_SUCCESS) return result;
  if (type != nullptr) *type = value.type;
  if (size == nullptr) return ERROR_SUCCESS;
  const std::vector<std::uint8_t> bytes = BytesOf(value);
  const std::uint32_t room = *size;
  *size = static_cast<std::uint32_t>(bytes.size());
  if (data == nullptr) return ERROR_SUCCESS;
  if (room < bytes.size()) return ERROR_MORE_DATA;
  std::memcpy(data, bytes.data(), bytes.size());
  return ERROR_SUCCESS;
}

RegResult RegistryKey::QueryDword(std::string_view name, std::uint32_t& value) const {
  RegistryValue found;
  if (const RegResult result = Find(name, found); result != ERROR_SUCCESS) return result;
  if (found.type == RegType::SZ) return ERROR_UNSUPPORTED_TYPE;
  if (found.data.size() != 4) return found.data.size() > 4 ? ERROR_MORE_DATA : ERROR_INVALID_DATA;
  value = LoadU32(found.data.data(), ByteOrder::kLittle);
  return ERROR_SUCCESS;
}

RegResult RegistryKey::QueryString(std::string_view name, std::string& value,
                                   std::uint32_t bufferBytes) const {
  RegistryValue found;
  if (const RegResult result = Find(name, found); result != ERROR_SUCCESS) return result;
  if (found.type != RegType::SZ) return ERROR_UNSUPPORTED_TYPE;
  if (found.data.size() + 1 > bufferBytes) return ERROR_MORE_DATA;
  value.assign(found.data.begin(), found.data.end());
  return ERROR_SUCCESS;
}

RegResult RegistryKey::QueryBinary(std::string_view name, std::vector<std::uint8_t>& data) const {
  RegistryValue found;
  if (const RegResult result = Find(name, found); result != ERROR_SUCCESS) return result;
  data = BytesOf(found);
  return ERROR_SUCCESS;
}

RegResult RegistryKey::SetValue(std::string_view name, RegType type, const void* data,
                                std::uint32_t size) const {
  std::optional<RegistryValue> value = ValueFromCaller(type, static_cast<const std::uint8_t*>(data), size);
  if (!value || !IsUsableValueName(name)) return ERROR_INVALID_PARAMETER;
  return Change([&](RegistryHive& hive) {
    hive.SetValue(path_, name, std::move(*value));
    return ERROR_SUCCESS;
  });
}

RegResult RegistryKey::SetDword(std::string_view name, std::uint32_t value) const {
  const auto bytes = StoreBytes<4>(value, ByteOrder::kLittle);
  return SetValue(name, RegType::DWORD, bytes.data(), bytes.size());
}

RegResult RegistryKey::SetString(std::string_view name, std::string_view value) const {
  if (value.find('\0') != std::string_view::npos || value.size() > kMaxValueBytes)
    return ERROR_INVALID_PARAMETER;
  return SetValue(name, RegType::SZ, value.data(), static_cast<std::uint32_t>(value.size()));
}

RegResult RegistryKey::SetBinary(std::string_view name, std::span<const std::uint8_t> data) const {
  if (data.size() > kMaxValueBytes) return ERROR_INVALID_PARAMETER;
  return SetValue(name, RegType::BINARY, data.data(), static_cast<std::uint32_t>(data.size()));
}

RegResult RegistryKey::DeleteValue(std::string_view name) const {
  return Change([&](RegistryHive& hive) {
    return hive.DeleteValue(path_, name) ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND;
  });
}

Registry::Registry() : Registry(UserConfigDirectory(), MachineConfigDirectory()) {}

Registry::Registry(const std::filesystem::path& userDirectory, const std::filesystem::path& machineDirectory)
    : user_(std::make_shared<RegistryStore>(userDirectory / kUserFileName)),
      machine_(std::make_shared<RegistryStore>(machineDirectory / kMachineFileName)) {}

const std::shared_ptr<const RegistryStore>& Registry::Store(RegistryRoot root) const {
  return root == RegistryRoot::CurrentUser ? user_ : machine_;
}

RegResult Registry::OpenKey(RegistryRoot root, std::string_view path, RegistryAccess access,
                            RegistryKey& key) const {
  key.Close();
  const std::optional<std::string> normalised = NormaliseKeyPath(path);
  if (!normalised || !IsValidUtf8(*normalised)) return ERROR_INVALID_PARAMETER;
  RegistryHive hive;
  if (const RegResult result = Store(root)->Load(hive); result != ERROR_SUCCESS) return result;
  if (!hive.HasKey(*normalised)) return ERROR_FILE_NOT_FOUND;
  key = RegistryKey(Store(root), *normalised, access);
  return ERROR_SUCCESS;
}

RegResult Registry::CreateKey(RegistryRoot root, std::string_view path, RegistryAccess access,
                              RegistryKey& key, bool* created) const {
  if (created != nullptr) *created = false;
  const RegResult opened = OpenKey(root, path, access, key);
  if (opened != ERROR_FILE_NOT_FOUND && opened != ERROR_BADDB) return opened;
  const std::string normalised = *NormaliseKeyPath(path);
  bool isNew = false;
  const RegResult result = Store(root)->Update([&](RegistryHive& hive) {
    isNew = hive.CreateKey(normalised);
    return ERROR_SUCCESS;
  });
  if (result != ERROR_SUCCESS) return result;
  if (created != nullptr) *created = isNew;
  key = RegistryKey(Store(root), normalised, access);
  return ERROR_SUCCESS;
}

RegResult Registry::DeleteKey(RegistryRoot root, std::string_view path) const {
  const std::optional<std::string> normalised = NormaliseKeyPath(path);
  if (!normalised || !IsValidUtf8(*normalised)) return ERROR_INVALID_PARAMETER;
  if (normalised->empty()) return ERROR_ACCESS_DENIED;
  return Store(root)->Update([&](RegistryHive& hive) {
    if (!hive.HasKey(*normalised)) return ERROR_FILE_NOT_FOUND;
    if (hive.HasSubkeys(*normalised)) return ERROR_ACCESS_DENIED;
    hive.DeleteKey(*normalised);
    return ERROR_SUCCESS;
  });
}

}  // namespace lumetra::platform
