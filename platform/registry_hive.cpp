#include "platform/registry_hive.h"

#include <algorithm>
#include <nlohmann/json.hpp>
#include <set>

#include "platform/base64.h"
#include "platform/byte_reader.h"

namespace lumetra::platform {
namespace {

using nlohmann::json;

constexpr const char* kFormatName = "lumetra-registry";
constexpr unsigned kFormatVersion = 1;

std::uint32_t DwordOf(const RegistryValue& value) {
  return LoadBytes(value.data.data(), std::min<std::size_t>(value.data.size(), 4), ByteOrder::kLittle);
}

RegistryValue DwordValue(std::uint32_t number) {
  const auto bytes = StoreBytes<4>(number, ByteOrder::kLittle);
  return {RegType::DWORD, {bytes.begin(), bytes.end()}};
}

json ValueToJson(const RegistryValue& value) {
  switch (value.type) {
    case RegType::DWORD:
      return {{"type", "DWORD"}, {"data", DwordOf(value)}};
    case RegType::SZ:
      return {{"type", "SZ"}, {"data", std::string(value.data.begin(), value.data.end())}};
    case RegType::BINARY:
      break;
  }
  return {{"type", "BINARY"}, {"data", EncodeBase64(value.data)}};
}

std::optional<RegistryValue> ValueFromJson(const json& entry, std::string& problem) {
  if (!entry.is_object() || !entry.contains("type") || !entry.contains("data") ||
      !entry["type"].is_string()) {
    problem = "a value needs a \"type\" and a \"data\" member";
    return std::nullopt;
  }
  const std::string& type = entry["type"].get_ref<const std::string&>();
  const json& data = entry["data"];
  if (type == "DWORD" && data.is_number_unsigned() && data.get<std::uint64_t>() <= 0xFFFFFFFFu) {
    return DwordValue(static_cast<std::uint32_t>(data.get<std::uint64_t>()));
  }
  if (type == "SZ" && data.is_string() &&
      data.get_ref<const std::string&>().find('\0') == std::string::npos) {
    const std::string& text = data.get_ref<const std::string&>();
    return RegistryValue{RegType::SZ, {text.begin(), text.end()}};
  }
  if (type == "BINARY" && data.is_string()) {
    if (auto bytes = DecodeBase64(data.get_ref<const std::string&>()))
      return RegistryValue{RegType::BINARY, *bytes};
  }
  problem = "a value of type \"" + type + "\" has unusable data";
  return std::nullopt;
}

bool ReadKeyFromJson(const std::string& path, const json& values, RegistryHive& hive, std::string& problem) {
  if (!values.is_object()) {
    problem = "its values are not an object";
    return false;
  }
  std::set<std::string, CaseInsensitiveLess> seen;
  for (const auto& [name, entry] : values.items()) {
    if (name.size() > kMaxValueNameLength || !seen.insert(name).second) {
      problem = "value \"" + name + "\" is too long or given twice";
      return false;
    }
    std::optional<RegistryValue> value = ValueFromJson(entry, problem);
    if (!value) {
      problem = "value \"" + name + "\": " + problem;
      return false;
    }
    hive.SetValue(path, name, std::move(*value));
  }
  return true;
}

std::optional<RegistryHive> HiveFromDocument(const json& document, std::string& problem) {
  if (!document.is_object() || document.value("format", json()) != kFormatName ||
      document.value("version", json()) != kFormatVersion || !document.contains("keys") ||
      !document["keys"].is_object()) {
    problem = std::string("not a ") + kFormatName + " document of version " + std::to_string(kFormatVersion);
    return std::nullopt;
  }
  RegistryHive hive;
  std::set<std::string, CaseInsensitiveLess> seen;
  for (const auto& [path, values] : document["keys"].items()) {
    if (NormaliseKeyPath(path) != path || !seen.insert(path).second) {
      problem = "key \"" + path + "\" is malformed or given twice";
      return std::nullopt;
    }
    hive.CreateKey(path);
    if (!ReadKeyFromJson(path, values, hive, problem)) {
      problem = "key \"" + path + "\": " + problem;
      return std::nullopt;
    }
  }
  return hive;
}

}  // namespace

bool IsValidUtf8(std::string_view text) {
  try {
    (void)json(std::string(text)).dump();
    return true;
  } catch (const json::type_error&) {
    return false;
  }
}

std::optional<std::string> NormaliseKeyPath(std::string_view path) {
  while (!path.empty() && path.back() == '\\') path.remove_suffix(1);
  std::string_view rest = path;
  for (std::size_t depth = 0; !rest.empty(); ++depth) {
    if (depth == kMaxKeyDepth) return std::nullopt;
    const std::size_t slash = rest.find('\\');
    const std::string_view component = rest.substr(0, slash);
    if (component.empty() || component.size() > kMaxKeyComponentLength) return std::nullopt;
    rest = slash == std::string_view::npos ? std::string_view{} : rest.substr(slash + 1);
  }
  return std::string(path);
}

RegistryHive::RegistryHive() { keys_[""]; }

bool RegistryHive::HasKey(std::string_view path) const { return keys_.find(path) != keys_.end(); }

bool RegistryHive::HasSubkeys(std::string_view path) const {
  if (path.empty()) return keys_.size() > 1;
  const std::string prefix = std::string(path) + '\\';
  const auto next = keys_.lower_bound(prefix);
  return next != keys_.end() && StartsWithIgnoringCase(next->first, prefix);
}

bool RegistryHive::CreateKey(std::string_view path) {
  if (HasKey(path)) return false;
  for (std::size_t slash = path.find('\\'); slash != std::string_view::npos;
       slash = path.find('\\', slash + 1)) {
    keys_.try_emplace(std::string(path.substr(0, slash)));
  }
  keys_.emplace(std::string(path), Values{});
  return true;
}

void RegistryHive::DeleteKey(std::string_view path) {
  if (const auto key = keys_.find(path); key != keys_.end() && !path.empty()) keys_.erase(key);
}

const RegistryValue* RegistryHive::FindValue(std::string_view path, std::string_view name) const {
  const auto key = keys_.find(path);
  if (key == keys_.end()) return nullptr;
  const auto value = key->second.find(name);
  return value == key->second.end() ? nullptr : &value->second;
}

void RegistryHive::SetValue(std::string_view path, std::string_view name, RegistryValue value) {
  CreateKey(path);
  Values& values = keys_.find(path)->second;
  if (const auto existing = values.find(name); existing != values.end()) {
    existing->second = std::move(value);
  } else {
    values.emplace(std::string(name), std::move(value));
  }
}

bool RegistryHive::DeleteValue(std::string_view path, std::string_view name) {
  const auto key = keys_.find(path);
  if (key == keys_.end()) return false;
  const auto value = key->second.find(name);
  if (value == key->second.end()) return false;
  key->second.erase(value);
  return true;
}

std::string RegistryHive::ToJson() const {
  json keys = json::object();
  for (const auto& [path, values] : keys_) {
    json entries = json::object();
    for (const auto& [name, value] : values) entries[name] = ValueToJson(value);
    keys[path] = std::move(entries);
  }
  const json document = {{"format", kFormatName}, {"version", kFormatVersion}, {"keys", std::move(keys)}};
  return document.dump(2) + "\n";
}

std::optional<RegistryHive> RegistryHive::FromJson(std::string_view text, std::string& problem) {
  try {
    return HiveFromDocument(json::parse(text), problem);
  } catch (const json::exception& error) {
    // Syntax errors name their byte position; a number too large for any
    // type comes as an out-of-range error, so take every kind.
    problem = error.what();
    return std::nullopt;
  }
}

}  // namespace lumetra::platform
