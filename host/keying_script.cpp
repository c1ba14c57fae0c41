#include "host/keying_script.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <set>
#include <stdexcept>

#include "abi/time_base.h"
#include "host/field_io.h"

namespace lumetra::host {
namespace {

using nlohmann::json;

std::optional<std::array<double, 3>> ReadVector(const json& step, const char* key, const std::string& place,
                                                std::set<std::string>& used) {
  const auto found = step.find(key);
  if (found == step.end()) return std::nullopt;
  used.insert(key);
  std::array<double, 3> vector{};
  ReadNumbers(*found, place + "/" + key, vector.data(), 3, 3);
  return vector;
}

KeyingStep ReadStep(const json& step, const std::string& place) {
  if (!step.is_object()) throw FieldError(place, "expected a keying step object, got " + TypeName(step));
  std::set<std::string> used{"time", "object", "interpolation"};
  KeyingStep result;
  const auto time = step.find("time");
  if (time == step.end()) throw FieldError(place, "missing \"time\"");
  result.time = time->is_number() ? time->dump() : ReadString(*time, place + "/time");
  if (!KeyTime::Parse(result.time)) {
    throw FieldError(place + "/time",
                     "\"" + result.time + "\" is not a time (480t ticks, 2s seconds or 12 frames)");
  }
  const auto object = step.find("object");
  if (object == step.end()) throw FieldError(place, "missing \"object\"");
  result.object = ReadString(*object, place + "/object");
  const auto interpolation = step.find("interpolation");
  result.interpolation =
      interpolation == step.end() ? "linear" : ReadString(*interpolation, place + "/interpolation");
  if (InterpolationIndex(result.interpolation) < 0) {
    throw FieldError(place + "/interpolation",
                     "unknown interpolation \"" + result.interpolation + "\" (step, linear or cubic)");
  }
  result.translate = ReadVector(step, "translate", place, used);
  result.rotate = ReadVector(step, "rotate", place, used);
  result.scale = ReadVector(step, "scale", place, used);
  result.textureTranslate = ReadVector(step, "texture_translate", place, used);
  result.textureRotate = ReadVector(step, "texture_rotate", place, used);
  CheckKnownKeys(step, used, place);
  return result;
}

}  // namespace

std::optional<KeyTime> KeyTime::Parse(std::string_view text) {
  KeyTime time;
  if (!text.empty() && (text.back() == 't' || text.back() == 's')) {
    time.unit = text.back() == 't' ? Unit::Ticks : Unit::Seconds;
    text.remove_suffix(1);
  }
  if (text.empty()) return std::nullopt;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), time.value);
  if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(time.value))
    return std::nullopt;
  if (time.unit == Unit::Ticks && time.value != std::trunc(time.value)) return std::nullopt;
  return time;
}

int32_t KeyTime::Ticks(int32_t ticksPerFrame) const {
  const double perUnit = unit == Unit::Ticks     ? 1.0
                         : unit == Unit::Seconds ? abi::kTicksPerSecond
                                                 : ticksPerFrame;
  const double ticks = std::round(value * perUnit);
  if (!(ticks >= std::numeric_limits<int32_t>::min() && ticks <= std::numeric_limits<int32_t>::max())) {
    throw std::out_of_range("the time lies beyond the range of ticks");
  }
  return static_cast<int32_t>(ticks);
}

int InterpolationIndex(std::string_view name) {
  for (int index = 0; index < 3; ++index) {
    if (name == kInterpolationNames[index]) return index;
  }
  return -1;
}

std::vector<KeyingStep> ReadKeyingScript(const json& value, const std::string& place) {
  if (!value.is_array()) throw FieldError(place, "expected a list of keying steps, got " + TypeName(value));
  std::vector<KeyingStep> steps;
  for (size_t index = 0; index < value.size(); ++index) {
    steps.push_back(ReadStep(value[index], place + "/" + std::to_string(index)));
  }
  return steps;
}

json KeyingScriptToJson(const std::vector<KeyingStep>& steps) {
  json out = json::array();
  for (const KeyingStep& step : steps) {
    json entry = {{"time", step.time}, {"object", step.object}, {"interpolation", step.interpolation}};
    if (step.translate) entry["translate"] = *step.translate;
    if (step.rotate) entry["rotate"] = *step.rotate;
    if (step.scale) entry["scale"] = *step.scale;
    if (step.textureTranslate) entry["texture_translate"] = *step.textureTranslate;
    if (step.textureRotate) entry["texture_rotate"] = *step.textureRotate;
    out.push_back(std::move(entry));
  }
  return out;
}

}  // namespace lumetra::host
