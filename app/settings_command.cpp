#include "app/settings_command.h"

#include <CLI/CLI.hpp>
#include <bit>
#include <cstdlib>
#include <iomanip>
#include <iostream>
#include <map>
#include <nlohmann/json.hpp>
#include <optional>
#include <span>
#include <sstream>

#include "abi/render_methods.h"
#include "abi/settings_values.h"
#include "host/host_context.h"
#include "platform/byte_reader.h"

namespace lumetra::app {
namespace {

using abi::SettingKind;
using abi::SettingValue;
using nlohmann::json;

constexpr uint32_t kTextBufferBytes = 128;

std::string KeyPath() { return std::string(host::kRegistryBase) + abi::kSettingsKeyName; }

std::string CodeText(uint32_t code) {
  std::string text;
  for (int shift = 0; shift < 32; shift += 8) text += static_cast<char>((code >> shift) & 0xFF);
  return text;
}

std::string Number(double value) { return abi::SettingNumberText(value); }

// The value as the plug-in reads it: a missing one is its default, and render settings
// outside their load ranges take their reset values.
json ReadValue(const platform::RegistryKey* key, const SettingValue& value) {
  uint32_t word = 0;
  const bool stored = key && key->QueryDword(value.name, word) == platform::ERROR_SUCCESS;
  switch (value.kind) {
    case SettingKind::Integer:
      return static_cast<int64_t>(value.Loaded(stored ? static_cast<int32_t>(word) : value.defaultValue));
    case SettingKind::Real:
      return static_cast<double>(static_cast<float>(
          value.Loaded(stored ? static_cast<double>(std::bit_cast<float>(word)) : value.defaultValue)));
    case SettingKind::FourCC:
      return CodeText(stored ? word : abi::FourCC(abi::kDefaultCompressor));
    case SettingKind::FlagsWords: {
      std::vector<uint8_t> bytes;
      std::vector<uint32_t> words(abi::kDefaultShadingFlags.begin(), abi::kDefaultShadingFlags.end());
      if (key && key->QueryBinary(value.name, bytes) == platform::ERROR_SUCCESS &&
          bytes.size() == words.size() * 4) {
        for (size_t i = 0; i < words.size(); ++i) {
          words[i] = platform::LoadU32(bytes.data() + i * 4, platform::ByteOrder::kLittle);
        }
      }
      return words;
    }
    case SettingKind::Text: {
      std::string text;
      if (key && key->QueryString(value.name, text, kTextBufferBytes) == platform::ERROR_SUCCESS) return text;
      return abi::kDefaultRibRenderer;
    }
  }
  return nullptr;
}

json ReadAll(const platform::Registry& registry) {
  platform::RegistryKey key;
  const bool open = registry.OpenKey(platform::RegistryRoot::CurrentUser, KeyPath(),
                                     platform::RegistryAccess::Read, key) == platform::ERROR_SUCCESS;
  json document = {{"render", json::object()}, {"animation", json::object()}};
  for (const SettingValue* value : abi::kRenderSettingValues) {
    document["render"][value->name] = ReadValue(open ? &key : nullptr, *value);
  }
  for (const SettingValue* value : abi::kAnimationSettingValues) {
    document["animation"][value->name] = ReadValue(open ? &key : nullptr, *value);
  }
  return document;
}

// The typed value when the options sheet would accept it, else the reason it is refused.
std::optional<json> Parse(const SettingValue& value, const std::string& text, std::string& refusal) {
  switch (value.kind) {
    case SettingKind::Integer:
    case SettingKind::Real: {
      const auto number = value.Read(text);
      if (!number) break;
      if (value.kind == SettingKind::Integer) return static_cast<int64_t>(*number);
      return static_cast<double>(static_cast<float>(*number));
    }
    case SettingKind::FlagsWords: {
      std::vector<uint32_t> words;
      std::stringstream list(text);
      std::string item;
      bool valid = true;
      while (std::getline(list, item, ',')) {
        char* end = nullptr;
        const unsigned long word = std::strtoul(item.c_str(), &end, 0);
        valid = valid && end != item.c_str() && *end == '\0' && (word & ~abi::kShadingFlagsOffered) == 0;
        words.push_back(static_cast<uint32_t>(word));
      }
      if (valid && words.size() == abi::kDefaultShadingFlags.size()) return words;
      refusal = "give seven words, one per render method, of the bits 0x7FE";
      return std::nullopt;
    }
    case SettingKind::FourCC: {
      bool printable = text.size() == 4;
      for (const char letter : text) printable = printable && letter >= 0x20 && letter < 0x7F;
      if (printable) return text;
      refusal = "give four printable characters";
      return std::nullopt;
    }
    case SettingKind::Text:
      if (text.size() <= static_cast<size_t>(value.maximum)) return text;
      refusal = "at most " + Number(value.maximum) + " characters";
      return std::nullopt;
  }
  refusal = value.RangeMessage();
  return std::nullopt;
}

platform::RegResult Write(const platform::RegistryKey& key, const SettingValue& value, const json& typed) {
  switch (value.kind) {
    case SettingKind::Integer:
      return key.SetDword(value.name, static_cast<uint32_t>(static_cast<int32_t>(typed.get<int64_t>())));
    case SettingKind::Real:
      return key.SetDword(value.name, std::bit_cast<uint32_t>(typed.get<float>()));
    case SettingKind::FourCC:
      return key.SetDword(value.name, abi::FourCC(typed.get<std::string>()));
    case SettingKind::Text:
      return key.SetString(value.name, typed.get<std::string>());
    case SettingKind::FlagsWords: {
      std::vector<uint8_t> bytes;
      for (const uint32_t word : typed.get<std::vector<uint32_t>>()) {
        const auto stored = platform::StoreBytes<4>(word, platform::ByteOrder::kLittle);
        bytes.insert(bytes.end(), stored.begin(), stored.end());
      }
      return key.SetBinary(value.name, bytes);
    }
  }
  return platform::ERROR_INVALID_PARAMETER;
}

std::string Shown(const json& value) {
  if (value.is_string()) return value.get<std::string>();
  if (value.is_array()) {
    std::string words;
    for (const json& word : value) words += (words.empty() ? "" : ",") + std::to_string(word.get<uint32_t>());
    return words;
  }
  if (value.is_number_float()) return Number(value.get<double>());
  return value.dump();
}

void PrintText(const json& document, std::ostream& out) {
  for (const char* part : {"render", "animation"}) {
    for (const auto& [name, value] : document[part].items()) {
      out << std::left << std::setw(27) << name << Shown(value) << "\n";
    }
  }
}

std::string HelpFooter() {
  std::ostringstream text;
  text << "Settings (registry values under HKEY_CURRENT_USER\\" << KeyPath() << "):\n";
  for (const auto& table : {std::span<const SettingValue* const>(abi::kRenderSettingValues),
                            std::span<const SettingValue* const>(abi::kAnimationSettingValues)}) {
    for (const SettingValue* value : table) {
      std::string range;
      switch (value->kind) {
        case SettingKind::Integer:
        case SettingKind::Real:
          range = value->maximum == abi::kNoLimit ? "at least " + Number(value->minimum)
                                                  : Number(value->minimum) + " to " + Number(value->maximum);
          break;
        case SettingKind::FlagsWords:
          range = "seven words of the bits 0x7FE";
          break;
        case SettingKind::FourCC:
          range = "four characters";
          break;
        case SettingKind::Text:
          range = "at most " + Number(value->maximum) + " characters";
          break;
      }
      if (value->derived) range = "set through AVIFrameRateChoice and AVIFrameRateValue";
      text << "  " << std::left << std::setw(27) << value->name << value->meaning << "; " << range << "\n";
    }
  }
  return text.str();
}

}  // namespace

int RunSettings(const platform::Registry& registry, const std::vector<std::string>& changes, bool asJson,
                std::ostream& out, std::ostream& err) {
  std::map<const SettingValue*, json> typed;
  bool refused = false;
  for (const std::string& change : changes) {
    const size_t equals = change.find('=');
    const SettingValue* value = equals == std::string::npos
                                    ? nullptr
                                    : abi::FindSettingValue(std::string_view(change).substr(0, equals));
    if (!value) {
      err << "lumetra settings: '" << change << "' is not NAME=VALUE with a setting's name (see --help)\n";
      refused = true;
      continue;
    }
    const std::string text = change.substr(equals + 1);
    if (value->derived) {
      err << "lumetra settings: " << value->name << " follows AVIFrameRateChoice and AVIFrameRateValue\n";
      refused = true;
      continue;
    }
    std::string refusal;
    if (const auto parsed = Parse(*value, text, refusal)) {
      typed[value] = *parsed;
    } else {
      err << "lumetra settings: " << value->name << "=" << text << " refused: " << refusal << "\n";
      refused = true;
    }
  }
  if (refused) {
    err << "lumetra settings: nothing was written\n";
    return 1;
  }
  if (!typed.empty()) {
    // The frame-rate fraction follows the choice and the custom rate, as on the sheet.
    if (typed.contains(&abi::kFrameRateChoiceSetting) || typed.contains(&abi::kCustomFrameRateSetting)) {
      const json current = ReadAll(registry)["animation"];
      const auto pick = [&](const SettingValue& value) {
        return typed.contains(&value) ? typed[&value] : current[value.name];
      };
      const auto rate = abi::FrameRateOfChoice(pick(abi::kFrameRateChoiceSetting).get<int32_t>(),
                                               pick(abi::kCustomFrameRateSetting).get<float>());
      typed[&abi::kFrameRateNumeratorSetting] = rate->numerator;
      typed[&abi::kFrameRateDenominatorSetting] = rate->denominator;
    }
    platform::RegistryKey key;
    platform::RegResult result = registry.CreateKey(platform::RegistryRoot::CurrentUser, KeyPath(),
                                                    platform::RegistryAccess::All, key);
    for (const auto& [value, parsed] : typed) {
      if (result == platform::ERROR_SUCCESS) result = Write(key, *value, parsed);
    }
    if (result != platform::ERROR_SUCCESS) {
      err << "lumetra settings: cannot write " << registry.File(platform::RegistryRoot::CurrentUser).string()
          << " (registry error " << result << ")\n";
      return 1;
    }
  }
  const json document = ReadAll(registry);
  if (asJson) {
    out << document.dump(2) << "\n";
  } else {
    PrintText(document, out);
  }
  return 0;
}

void RegisterSettingsCommand(CLI::App& root, int& exitCode) {
  CLI::App* command = root.add_subcommand(
      "settings",
      "Prints the plug-in's render settings and animation defaults from the registry, or changes them");
  struct Arguments {
    bool json = false;
    std::vector<std::string> changes;
  };
  auto args = std::make_shared<Arguments>();
  command->add_flag("--json", args->json, "Print JSON");
  command->add_option("--set", args->changes,
                      "NAME=VALUE: change a setting, checked as the options sheet checks it; a refused "
                      "value writes nothing");
  command->footer(HelpFooter());
  command->callback([args, &exitCode] {
    exitCode = RunSettings(platform::Registry(), args->changes, args->json, std::cout, std::cerr);
  });
}

}  // namespace lumetra::app
