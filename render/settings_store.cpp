#include "render/settings_store.h"

#include <bit>
#include <vector>

#include "abi/render_methods.h"
#include "platform/byte_reader.h"

namespace lumetra::render {
namespace {

std::vector<uint8_t> WordsToBytes(const uint32_t* words, size_t count) {
  std::vector<uint8_t> bytes;
  for (size_t i = 0; i < count; ++i) {
    const auto word = platform::StoreBytes<4>(words[i], platform::ByteOrder::kLittle);
    bytes.insert(bytes.end(), word.begin(), word.end());
  }
  return bytes;
}

}  // namespace

std::string SettingsKeyPath(std::string_view basePath) {
  return std::string(basePath) + abi::kSettingsKeyName;
}

void SettingsLoader::Int(std::string_view name, int32_t& field) {
  uint32_t value = static_cast<uint32_t>(field);
  Dword(name, value);
  field = static_cast<int32_t>(value);
}

void SettingsLoader::Dword(std::string_view name, uint32_t& field) {
  uint32_t value = 0;
  if (key_.QueryDword(name, value) == platform::ERROR_SUCCESS) {
    field = value;
  } else {
    Keep(key_.SetDword(name, field));
  }
}

void SettingsLoader::Float(std::string_view name, float& field, platform::RegType repairType) {
  uint32_t value = 0;
  if (key_.QueryDword(name, value) == platform::ERROR_SUCCESS) {
    field = std::bit_cast<float>(value);
  } else {
    const auto bytes = platform::StoreBytes<4>(std::bit_cast<uint32_t>(field), platform::ByteOrder::kLittle);
    Keep(key_.SetValue(name, repairType, bytes.data(), 4));
  }
}

void SettingsLoader::FlagsWords(std::string_view name, uint32_t* words, size_t count) {
  std::vector<uint8_t> bytes;
  if (key_.QueryBinary(name, bytes) == platform::ERROR_SUCCESS && bytes.size() == count * 4) {
    for (size_t i = 0; i < count; ++i) {
      words[i] = platform::LoadU32(bytes.data() + i * 4, platform::ByteOrder::kLittle);
    }
  } else {
    Keep(key_.SetBinary(name, WordsToBytes(words, count)));
  }
}

void SettingsLoader::String(std::string_view name, std::string& field, uint32_t bufferBytes) {
  std::string value;
  if (key_.QueryString(name, value, bufferBytes) == platform::ERROR_SUCCESS) {
    field = value;
  } else {
    Keep(key_.SetString(name, field));
  }
}

void SettingsSaver::Int(std::string_view name, const int32_t& field) {
  Keep(key_.SetDword(name, static_cast<uint32_t>(field)));
}

void SettingsSaver::Dword(std::string_view name, const uint32_t& field) { Keep(key_.SetDword(name, field)); }

void SettingsSaver::Float(std::string_view name, const float& field, platform::RegType) {
  Keep(key_.SetDword(name, std::bit_cast<uint32_t>(field)));
}

void SettingsSaver::FlagsWords(std::string_view name, const uint32_t* words, size_t count) {
  Keep(key_.SetBinary(name, WordsToBytes(words, count)));
}

void SettingsSaver::String(std::string_view name, const std::string& field, uint32_t) {
  if (!field.empty()) Keep(key_.SetString(name, field));
}

}  // namespace lumetra::render
