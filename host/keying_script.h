#pragma once

#include <array>
#include <cstdint>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lumetra::host {

// A time as a person types it: "480t" ticks, "2s" or "1.5s" seconds, or a plain
// number of frames.
struct KeyTime {
  enum class Unit { Ticks, Seconds, Frames };
  Unit unit = Unit::Frames;
  double value = 0.0;

  // Null for text of another form.
  static std::optional<KeyTime> Parse(std::string_view text);
  // Ticks at `ticksPerFrame`, rounded to the nearest tick; std::out_of_range
  // beyond the 32-bit tick range.
  int32_t Ticks(int32_t ticksPerFrame) const;
};

// One step of a scene's keying script: at `time`, give the object these values
// and key it with the interpolation kind.
struct KeyingStep {
  std::string time;           // as KeyTime reads it
  std::string object;         // the object's name
  std::string interpolation;  // "step", "linear" or "cubic"
  std::optional<std::array<double, 3>> translate;
  std::optional<std::array<double, 3>> rotate;  // degrees
  std::optional<std::array<double, 3>> scale;
  // The object's texture transform: a texture sliding or turning over the object.
  std::optional<std::array<double, 3>> textureTranslate{};
  std::optional<std::array<double, 3>> textureRotate{};  // degrees

  bool operator==(const KeyingStep&) const = default;
};

// The interpolation kinds by name, in the order of the control bar's box.
inline constexpr const char* kInterpolationNames[] = {"step", "linear", "cubic"};
// The index of an interpolation name, or -1.
int InterpolationIndex(std::string_view name);

// The "keying" section of a scene file: a list of steps. Throws FieldError naming
// the place of a bad value.
std::vector<KeyingStep> ReadKeyingScript(const nlohmann::json& value, const std::string& place);
nlohmann::json KeyingScriptToJson(const std::vector<KeyingStep>& steps);

}  // namespace lumetra::host
