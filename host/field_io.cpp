#include "host/field_io.h"

#include <cmath>
#include <cstring>
#include <limits>

#include "abi/texture_params.h"

namespace lumetra::host {
namespace {

std::string NameList(NameTable names) {
  std::string list;
  for (const NamedValue& entry : names) {
    if (!list.empty()) list += ", ";
    list += entry.name;
  }
  return list;
}

template <typename T>
void Put(std::byte* at, size_t index, T value) {
  std::memcpy(at + index * sizeof(T), &value, sizeof(T));
}

template <typename T>
T Get(const std::byte* at, size_t index) {
  T value;
  std::memcpy(&value, at + index * sizeof(T), sizeof(T));
  return value;
}

void ReadColorMap(const nlohmann::json& value, const std::string& place, std::byte* at) {
  if (!value.is_array())
    throw FieldError(place, "expected an array of colour-map entries, got " + TypeName(value));
  if (value.size() > abi::kMaxColorMapEntries) {
    throw FieldError(place, "a colour map holds at most " + std::to_string(abi::kMaxColorMapEntries) +
                                " entries, not " + std::to_string(value.size()));
  }
  Put<uint32_t>(at, 0, static_cast<uint32_t>(value.size()));
  std::byte* entries = at + sizeof(uint32_t);
  double previous = -std::numeric_limits<double>::infinity();
  for (size_t i = 0; i < value.size(); ++i) {
    const std::string entryPlace = place + "/" + std::to_string(i);
    double entry[6] = {0, 0, 0, 0, 0, 0};
    // [value, red, green, blue] or [value, red, green, blue, filter, transmit]
    ReadNumbers(value[i], entryPlace, entry, 6, 4);
    if (entry[0] < previous) {
      throw FieldError(entryPlace + "/0", "colour-map values must not decrease");
    }
    previous = entry[0];
    std::memcpy(entries + i * sizeof entry, entry, sizeof entry);
  }
}

nlohmann::json WriteColorMap(const std::byte* at) {
  nlohmann::json map = nlohmann::json::array();
  const uint32_t count = std::min(Get<uint32_t>(at, 0), abi::kMaxColorMapEntries);
  for (uint32_t i = 0; i < count; ++i) {
    double entry[6];
    std::memcpy(entry, at + sizeof(uint32_t) + i * sizeof entry, sizeof entry);
    map.push_back(nlohmann::json(std::vector<double>(entry, entry + 6)));
  }
  return map;
}

void ReadField(const FieldLayout& field, const nlohmann::json& value, const std::string& place,
               std::byte* at) {
  switch (field.kind) {
    case FieldKind::kDoubles: {
      if (field.count == 1) {
        Put<double>(at, 0, ReadNumber(value, place));
      } else {
        double numbers[5];
        ReadNumbers(value, place, numbers, field.count, field.count);
        for (uint32_t i = 0; i < field.count; ++i) Put<double>(at, i, numbers[i]);
      }
      return;
    }
    case FieldKind::kColor: {
      double color[5] = {0, 0, 0, 0, 0};
      ReadNumbers(value, place, color, 5, 3);
      for (uint32_t i = 0; i < 5; ++i) Put<double>(at, i, color[i]);
      return;
    }
    case FieldKind::kFloat: {
      double numbers[5];
      if (field.count == 1) {
        numbers[0] = ReadNumber(value, place);
      } else {
        ReadNumbers(value, place, numbers, field.count, field.count);
      }
      for (uint32_t i = 0; i < field.count; ++i) {
        if (std::abs(numbers[i]) > std::numeric_limits<float>::max()) {
          throw FieldError(place, "the number is too large for a 32-bit float");
        }
        Put<float>(at, i, static_cast<float>(numbers[i]));
      }
      return;
    }
    case FieldKind::kInteger:
      if (field.count == 1) {
        Put<uint32_t>(at, 0, ReadUnsigned(value, place));
      } else {
        if (!value.is_array() || value.size() != field.count) {
          throw FieldError(place, "expected an array of " + std::to_string(field.count) +
                                      " whole numbers, got " + TypeName(value));
        }
        for (uint32_t i = 0; i < field.count; ++i) {
          Put<uint32_t>(at, i, ReadUnsigned(value[i], place + "/" + std::to_string(i)));
        }
      }
      return;
    case FieldKind::kBool:
      if (!value.is_boolean()) throw FieldError(place, "expected true or false, got " + TypeName(value));
      Put<uint32_t>(at, 0, value.get<bool>() ? 1 : 0);
      return;
    case FieldKind::kEnum: {
      const std::string& name = ReadString(value, place);
      const auto number = ValueOfName(field.names, name);
      if (!number) {
        throw FieldError(place, "unknown " + std::string(field.name) + " \"" + name +
                                    "\" (one of: " + NameList(field.names) + ")");
      }
      Put<uint32_t>(at, 0, *number);
      return;
    }
    case FieldKind::kLetter: {
      const std::string& text = ReadString(value, place);
      if (text.size() != 1 || !std::strchr(field.letters, text[0])) {
        throw FieldError(
            place, "expected one of the letters " + std::string(field.letters) + ", got \"" + text + "\"");
      }
      Put<uint32_t>(at, 0, static_cast<uint8_t>(text[0]));
      return;
    }
    case FieldKind::kText: {
      const std::string& text = ReadString(value, place);
      if (text.size() >= field.count) {
        throw FieldError(place, "text longer than " + std::to_string(field.count - 1) + " characters");
      }
      if (text.find('\0') != std::string::npos) throw FieldError(place, "text holds a NUL character");
      std::memset(at, 0, field.count);
      std::memcpy(at, text.data(), text.size());
      return;
    }
    case FieldKind::kBytes8: {
      const std::string& name = ReadString(value, place);
      const auto index = ValueOfName(field.names, name);
      if (!index) {
        throw FieldError(place, "unknown " + std::string(field.name) + " \"" + name +
                                    "\" (one of: " + NameList(field.names) + ")");
      }
      std::memcpy(at, PluginKinds()[*index].data(), 8);
      return;
    }
    case FieldKind::kColorMap:
      ReadColorMap(value, place, at);
      return;
  }
}

nlohmann::json WriteField(const FieldLayout& field, const std::byte* at) {
  switch (field.kind) {
    case FieldKind::kDoubles:
    case FieldKind::kColor: {
      if (field.count == 1) return Get<double>(at, 0);
      std::vector<double> numbers;
      for (uint32_t i = 0; i < field.count; ++i) numbers.push_back(Get<double>(at, i));
      return numbers;
    }
    case FieldKind::kFloat: {
      if (field.count == 1) return Get<float>(at, 0);
      std::vector<float> numbers;
      for (uint32_t i = 0; i < field.count; ++i) numbers.push_back(Get<float>(at, i));
      return numbers;
    }
    case FieldKind::kInteger: {
      if (field.count == 1) return Get<uint32_t>(at, 0);
      std::vector<uint32_t> numbers;
      for (uint32_t i = 0; i < field.count; ++i) numbers.push_back(Get<uint32_t>(at, i));
      return numbers;
    }
    case FieldKind::kBool:
      return Get<uint32_t>(at, 0) != 0;
    case FieldKind::kEnum: {
      const uint32_t number = Get<uint32_t>(at, 0);
      const char* name = NameOfValue(field.names, number);
      return name ? nlohmann::json(name) : nlohmann::json(NameOfValue(field.names, field.defaults[0]));
    }
    case FieldKind::kLetter:
      return std::string(1, static_cast<char>(Get<uint32_t>(at, 0)));
    case FieldKind::kText:
      return std::string(reinterpret_cast<const char*>(at),
                         strnlen(reinterpret_cast<const char*>(at), field.count));
    case FieldKind::kBytes8: {
      const auto kinds = PluginKinds();
      for (size_t i = 0; i < kinds.size(); ++i) {
        if (std::memcmp(at, kinds[i].data(), 8) == 0) {
          return NameOfValue(field.names, static_cast<uint32_t>(i));
        }
      }
      return NameOfValue(field.names, 0);
    }
    case FieldKind::kColorMap:
      return WriteColorMap(at);
  }
  return nullptr;
}

}  // namespace

std::string TypeName(const nlohmann::json& value) {
  switch (value.type()) {
    case nlohmann::json::value_t::null:
      return "null";
    case nlohmann::json::value_t::boolean:
      return "a boolean";
    case nlohmann::json::value_t::string:
      return "a string";
    case nlohmann::json::value_t::array:
      return "an array";
    case nlohmann::json::value_t::object:
      return "an object";
    default:
      return "a number";
  }
}

double ReadNumber(const nlohmann::json& value, const std::string& place) {
  if (!value.is_number()) throw FieldError(place, "expected a number, got " + TypeName(value));
  const double number = value.get<double>();
  if (!std::isfinite(number)) throw FieldError(place, "the number is not finite");
  return number;
}

uint32_t ReadUnsigned(const nlohmann::json& value, const std::string& place) {
  if (value.is_number_unsigned() && value.get<uint64_t>() <= UINT32_MAX) {
    return static_cast<uint32_t>(value.get<uint64_t>());
  }
  if (value.is_number_integer() || value.is_number_unsigned()) {
    throw FieldError(place, "expected a whole number from 0 to 4294967295");
  }
  throw FieldError(place, "expected a whole number, got " +
                              (value.is_number() ? std::string("a fraction") : TypeName(value)));
}

const std::string& ReadString(const nlohmann::json& value, const std::string& place) {
  if (!value.is_string()) throw FieldError(place, "expected a string, got " + TypeName(value));
  return value.get_ref<const std::string&>();
}

void ReadNumbers(const nlohmann::json& value, const std::string& place, double* out, size_t count,
                 size_t minimum) {
  const std::string wanted =
      minimum == count ? std::to_string(count) : std::to_string(minimum) + " to " + std::to_string(count);
  if (!value.is_array() || value.size() < minimum || value.size() > count) {
    throw FieldError(
        place, "expected an array of " + wanted + " numbers, got " +
                   (value.is_array() ? "an array of " + std::to_string(value.size()) : TypeName(value)));
  }
  for (size_t i = 0; i < value.size(); ++i) {
    out[i] = ReadNumber(value[i], place + "/" + std::to_string(i));
  }
}

void ReadFields(const nlohmann::json& object, FieldList fields, std::byte* base, const std::string& place,
                std::set<std::string>& used) {
  for (const FieldLayout& field : fields) {
    const auto found = object.find(field.name);
    if (found == object.end()) continue;
    used.insert(field.name);
    ReadField(field, *found, place + "/" + field.name, base + field.offset);
  }
}

void WriteFields(FieldList fields, const std::byte* base, nlohmann::json& object) {
  for (const FieldLayout& field : fields) object[field.name] = WriteField(field, base + field.offset);
}

}  // namespace lumetra::host

namespace lumetra::host {

void CheckKnownKeys(const nlohmann::json& object, const std::set<std::string>& used,
                    const std::string& place) {
  for (const auto& [key, value] : object.items()) {
    if (!used.count(key)) throw FieldError(place + "/" + key, "unknown field \"" + key + "\"");
  }
}

void ReadTransform(const nlohmann::json& value, const std::string& place, double* scale, double* rotate,
                   double* translate) {
  if (!value.is_object()) throw FieldError(place, "expected an object, got " + TypeName(value));
  for (int axis = 0; axis < 3; ++axis) {
    scale[axis] = 1;
    rotate[axis] = 0;
    translate[axis] = 0;
  }
  const std::pair<const char*, double*> parts[] = {
      {"scale", scale}, {"rotate", rotate}, {"translate", translate}};
  std::set<std::string> used;
  for (const auto& [name, out] : parts) {
    const auto found = value.find(name);
    if (found == value.end()) continue;
    used.insert(name);
    ReadNumbers(*found, place + "/" + name, out, 3, 3);
  }
  CheckKnownKeys(value, used, place);
}

nlohmann::json WriteTransform(const double* scale, const double* rotate, const double* translate) {
  const auto triple = [](const double* v) { return std::vector<double>{v[0], v[1], v[2]}; };
  return {{"scale", triple(scale)}, {"rotate", triple(rotate)}, {"translate", triple(translate)}};
}

}  // namespace lumetra::host
